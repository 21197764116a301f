#include "core/info_gather.h"

#include <string_view>

#include "platform/exception.h"

namespace tolvaren {
namespace {

constexpr std::string_view kCrLf = "\r\n";

// A message that ends in a line break is printed with it, so an empty line
// follows. The break goes out as the platform's own line end, so no stray
// carriage return reaches a Linux script.
void PrintFailure(platform::Console& console, std::string_view text) {
  if (text.size() >= kCrLf.size() && text.substr(text.size() - kCrLf.size()) == kCrLf) {
    console.WriteLine(text.substr(0, text.size() - kCrLf.size()));
    console.WriteLine("");
    return;
  }
  console.WriteLine(text);
}

}  // namespace

void InfoGather(platform::Console& console, std::string_view label, TExceptionMode mode,
                const std::function<void()>& operation) {
  try {
    operation();
  } catch (const Exception& e) {
    const std::string text = std::string(label) + ": " + e.Message();
    switch (mode) {
      case emRaise:
        throw Exception(text);
      case emMessage:
        PrintFailure(console, text);
        break;
      case emSilent:
        break;
    }
  }
}

void InfoGather(platform::Console& console, std::string_view label, TExceptionMode mode,
                const std::function<void(int)>& operation, int argument) {
  InfoGather(console, label, mode, [&] { operation(argument); });
}

}  // namespace tolvaren
