#include "platform/fake/fake_services.h"

namespace tolvaren::platform::fake {

int FakeConsole::ReadChar() {
  if (!readHappened) {
    readHappened = true;
    outputBeforeFirstRead = output;
  }
  if (inputPosition >= input.size()) return -1;
  return static_cast<unsigned char>(input[inputPosition++]);
}

}  // namespace tolvaren::platform::fake
