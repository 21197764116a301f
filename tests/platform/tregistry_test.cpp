#include "platform/tregistry.h"

#include <gtest/gtest.h>

#include <array>
#include <stdexcept>

#include "platform/fake/fake_registry.h"
#include "platform/linux/linux_registry.h"

namespace tolvaren {
namespace {

using platform::fake::FakeRegistry;

constexpr char kValues[] = R"(
# every type the fake can hold
[HKLM\SOFTWARE\Acme\Tool]
Text = sz:hello
Path = expand:%SystemRoot%\system32
Empty = sz:
Number = dword:0xFFFFFFFE
Blob = hex:01,00,ff
Lines = multi:A|B
Padded = hex(1):61,62,00,63,00
NoData = hex(1):
@ = sz:default text
[HKLM\SOFTWARE\Acme\Tool\Sub]
[HKLM\SOFTWARE\Acme\Tool\Other]
[HKDD\Config Manager\Enum\C0]
)";

template <typename F>
std::string ErrorOf(F&& read) {
  try {
    read();
  } catch (const ERegistryException& e) {
    return e.Message();
  }
  return "(no error)";
}

class TRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake.Load(kValues);
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\SOFTWARE\\Acme\\Tool"));
  }
  FakeRegistry fake;
  TRegistry reg{fake};
};

TEST_F(TRegistryTest, ReadStringTakesTextTypesAndRefusesOthers) {
  EXPECT_EQ(reg.ReadString("Text"), "hello");
  EXPECT_EQ(reg.ReadString("text"), "hello");  // names ignore case
  EXPECT_EQ(reg.ReadString("Path"), "%SystemRoot%\\system32");
  EXPECT_EQ(reg.ReadString("Padded"), "ab");
  EXPECT_EQ(reg.ReadString(""), "default text");
  EXPECT_EQ(reg.ReadString("Empty"), "");
  EXPECT_EQ(reg.ReadString("Missing"), "");
  EXPECT_EQ(reg.ReadString("NoData"), "");
  EXPECT_EQ(ErrorOf([&] { reg.ReadString("Number"); }), "Invalid data type for 'Number'");
  EXPECT_EQ(ErrorOf([&] { reg.ReadString("Lines"); }), "Invalid data type for 'Lines'");
  EXPECT_EQ(ErrorOf([&] { reg.ReadString("Blob"); }), "Invalid data type for 'Blob'");
}

TEST_F(TRegistryTest, ReadIntegerNeedsADword) {
  EXPECT_EQ(reg.ReadInteger("Number"), -2);
  EXPECT_EQ(ErrorOf([&] { reg.ReadInteger("Text"); }), "Invalid data type for 'Text'");
  EXPECT_EQ(ErrorOf([&] { reg.ReadInteger("Missing"); }), "Failed to get data for 'Missing'");
}

TEST_F(TRegistryTest, ReadBinaryCopiesWhatFitsAndIsNotText) {
  std::array<std::uint8_t, 5> buffer{};
  EXPECT_EQ(reg.ReadBinaryData("Blob", buffer.data(), buffer.size()), 3u);
  EXPECT_EQ(buffer[2], 0xFF);
  // "A", "B" and the list's closing zero fill the buffer exactly.
  EXPECT_EQ(reg.ReadBinaryData("Lines", buffer.data(), buffer.size()), 5u);
  EXPECT_EQ(buffer[2], 'B');
  EXPECT_EQ(reg.ReadBinaryData("Missing", buffer.data(), buffer.size()), 0u);
  EXPECT_EQ(ErrorOf([&] { reg.ReadBinaryData("Text", buffer.data(), buffer.size()); }), "Invalid data type for 'Text'");
  EXPECT_EQ(ErrorOf([&] { reg.ReadBinaryData("Path", buffer.data(), buffer.size()); }), "Invalid data type for 'Path'");
  EXPECT_EQ(ErrorOf([&] { reg.ReadBinaryData("Number", buffer.data(), buffer.size()); }),
            "Invalid data type for 'Number'");
  EXPECT_EQ(ErrorOf([&] { reg.ReadBinaryData("Blob", buffer.data(), 2); }), "Invalid data type for 'Blob'");
}

TEST_F(TRegistryTest, TypesAndNames) {
  EXPECT_EQ(reg.GetDataType("Text"), rdString);
  EXPECT_EQ(reg.GetDataType("Path"), rdExpandString);
  EXPECT_EQ(reg.GetDataType("Number"), rdInteger);
  EXPECT_EQ(reg.GetDataType("Blob"), rdBinary);
  EXPECT_EQ(reg.GetDataType("Lines"), rdUnknown);
  EXPECT_TRUE(reg.ValueExists("Empty"));
  EXPECT_FALSE(reg.ValueExists("Missing"));

  StringList names;
  names.Add("stale");
  reg.GetKeyNames(names);
  ASSERT_EQ(names.Count(), 2);
  EXPECT_EQ(names[0], "Sub");
  EXPECT_EQ(names[1], "Other");
  reg.GetValueNames(names);
  EXPECT_EQ(names.Count(), 9);
  EXPECT_EQ(names[0], "Text");
}

TEST_F(TRegistryTest, RelativePathsStartAtTheOpenKey) {
  EXPECT_TRUE(reg.KeyExists("Sub"));
  EXPECT_FALSE(reg.KeyExists("Tool"));
  ASSERT_TRUE(reg.OpenKeyReadOnly("Sub"));
  EXPECT_EQ(reg.CurrentPath(), "SOFTWARE\\Acme\\Tool\\Sub");
  EXPECT_EQ(fake.openKeys, 1);  // the previous key was closed

  // A key that does not open leaves the open key as it was.
  EXPECT_FALSE(reg.OpenKeyReadOnly("Nowhere"));
  EXPECT_EQ(reg.CurrentPath(), "SOFTWARE\\Acme\\Tool\\Sub");

  reg.CloseKey();
  EXPECT_EQ(fake.openKeys, 0);
  EXPECT_TRUE(reg.OpenKey("SOFTWARE\\Acme", false));  // from the root again
  EXPECT_FALSE(reg.OpenKey("\\SOFTWARE\\Acme\\Created", false));
  EXPECT_FALSE(reg.KeyExists("\\SOFTWARE\\Acme\\Created"));
}

TEST(TRegistry, RootsAreSeparateTrees) {
  FakeRegistry fake;
  fake.Load(kValues);
  TRegistry reg(fake);
  EXPECT_FALSE(reg.OpenKeyReadOnly("\\Config Manager\\Enum"));
  reg.SetRootKey(platform::RegistryRoot::DynData);
  EXPECT_TRUE(reg.OpenKeyReadOnly("\\Config Manager\\Enum"));
  EXPECT_FALSE(reg.OpenKeyReadOnly("\\SOFTWARE"));
}

TEST(TRegistry, LinuxHasNoKeys) {
  platform::linux_backend::LinuxRegistry linux;
  TRegistry reg(linux);
  EXPECT_FALSE(reg.OpenKeyReadOnly("\\SYSTEM\\CurrentControlSet\\Enum"));
  EXPECT_FALSE(reg.KeyExists("\\SYSTEM"));
  // Reads without an open key find nothing and raise nothing.
  EXPECT_EQ(reg.ReadString("Anything"), "");
  StringList names;
  reg.GetKeyNames(names);
  EXPECT_EQ(names.Count(), 0);
}

TEST(FakeRegistry, RefusesLinesItCannotRead) {
  for (const char* text : {"Name = sz:value", "[HKCU\\Software]", "[HKLM\\A]\nName = text", "[HKLM\\A]\nB = hex:1,xyz",
                           "[HKLM\\A", "[HKLM\\A]\nno equals sign"}) {
    FakeRegistry fake;
    EXPECT_THROW(fake.Load(text), std::invalid_argument) << text;
  }
}

}  // namespace
}  // namespace tolvaren
