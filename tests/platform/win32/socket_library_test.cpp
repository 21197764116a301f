#include <gtest/gtest.h>

#include "platform/net_exception.h"
#include "platform/win32/socket_library.h"

namespace tolvaren::platform::win32_backend {
namespace {

TEST(SocketLibrary, FunctionsAreBoundByNameAfterStartUp) {
  SocketLibrary library;  // a binding of its own, apart from the process's
  std::atomic<void*> socketFn{nullptr};
  try {
    library.Function("socket", socketFn);
    FAIL() << "bound before start-up";
  } catch (const ESocketLibraryError& e) {
    EXPECT_EQ(e.Context(), "Error on call Winsock2 library function socket");
    EXPECT_EQ(e.SystemError(), 10093u);
  }
  ASSERT_TRUE(library.StartUp());
  EXPECT_TRUE(library.StartUp());  // once started, stays started
  void* bound = library.Function("socket", socketFn);
  EXPECT_NE(bound, nullptr);
  EXPECT_EQ(socketFn.load(), bound);
  std::atomic<void*> missing{nullptr};
  EXPECT_THROW(library.Function("NoSuchWinsockFunction", missing), ESocketLibraryError);
}

}  // namespace
}  // namespace tolvaren::platform::win32_backend
