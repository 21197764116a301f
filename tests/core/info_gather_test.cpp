#include "core/info_gather.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/exception.h"
#include "platform/fake/fake_machine.h"

namespace tolvaren {
namespace {

class EMapFailure : public Exception {
 public:
  using Exception::Exception;
};

const auto kMapFailure = [] { throw EMapFailure("Cannot map physical memory to process memory!\r\n"); };

TEST(InfoGather, MessageModePrintsTheLabelledLine) {
  platform::fake::FakeConsole console;
  InfoGather(console, "TBIOS.GetInfo", emMessage, [] { throw Exception("Invalid data type for 'Identifier'"); });
  EXPECT_EQ(console.output, "TBIOS.GetInfo: Invalid data type for 'Identifier'\n");
}

TEST(InfoGather, TrailingLineBreakGivesAnEmptyLineInThePlatformLineEnd) {
  platform::fake::FakeConsole linuxConsole;
  InfoGather(linuxConsole, "TSMBIOS.GetInfo", emMessage, kMapFailure);
  EXPECT_EQ(linuxConsole.output, "TSMBIOS.GetInfo: Cannot map physical memory to process memory!\n\n");

  platform::fake::FakeMachine windows;
  windows.console.lineEnd = "\r\n";
  InfoGather(windows.console, "TSMBIOS.GetInfo", emMessage, kMapFailure);
  EXPECT_EQ(windows.console.output, "TSMBIOS.GetInfo: Cannot map physical memory to process memory!\r\n\r\n");
}

TEST(InfoGather, SilentModeSwallows) {
  platform::fake::FakeConsole console;
  bool after = false;
  InfoGather(console, "TSMBIOS.GetInfo", emSilent, kMapFailure);
  after = true;
  EXPECT_TRUE(after);
  EXPECT_EQ(console.output, "");
}

TEST(InfoGather, RaiseModeRaisesAGeneralExceptionWithTheText) {
  platform::fake::FakeConsole console;
  try {
    InfoGather(console, "TSMBIOS.GetInfo", emRaise, kMapFailure);
    FAIL() << "nothing raised";
  } catch (const EMapFailure&) {
    FAIL() << "the original exception escaped";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "TSMBIOS.GetInfo: Cannot map physical memory to process memory!\r\n");
    EXPECT_STREQ(e.ClassName(), "Exception");
  }
  EXPECT_EQ(console.output, "");
}

TEST(InfoGather, ForeignExceptionsPassThroughInEveryMode) {
  platform::fake::FakeConsole console;
  for (const TExceptionMode mode : {emRaise, emMessage, emSilent}) {
    EXPECT_THROW(InfoGather(console, "TMachine.GetInfo", mode, [] { throw std::bad_alloc(); }), std::bad_alloc);
    EXPECT_THROW(InfoGather(console, "TMachine.GetInfo", mode, [] { throw std::runtime_error("x"); }),
                 std::runtime_error);
  }
  EXPECT_EQ(console.output, "");
}

TEST(InfoGather, IntegerFormPassesItsArgumentAndRunsOnce) {
  platform::fake::FakeConsole console;
  int calls = 0;
  int seen = 0;
  InfoGather(
      console, "TSMBIOS.GetInfo", emRaise,
      [&](int n) {
        ++calls;
        seen = n;
      },
      7);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(seen, 7);
  EXPECT_EQ(static_cast<int>(emRaise), 0);
  EXPECT_EQ(static_cast<int>(emMessage), 1);
  EXPECT_EQ(static_cast<int>(emSilent), 2);
  EXPECT_EQ(sizeof(TExceptionMode), 1u);
}

}  // namespace
}  // namespace tolvaren
