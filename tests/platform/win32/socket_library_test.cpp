#include <gtest/gtest.h>

#include "platform/net_exception.h"
#include "platform/win32/socket_library.h"
#include "tests/support/failure_of.h"

namespace tolvaren::platform::win32_backend {
namespace {

TEST(SocketLibrary, FunctionsAreBoundByNameAfterStartUp) {
  SocketLibrary library;  // a binding of its own, apart from the process's
  std::atomic<void*> socketFn{nullptr};
  const auto unbound = testing::CaughtOf<ESocketLibraryError>([&] { library.Function("socket", socketFn); });
  ASSERT_TRUE(unbound) << "bound before start-up";
  EXPECT_EQ(unbound->Context(), "Error on call Winsock2 library function socket");
  EXPECT_EQ(unbound->SystemError(), 10093u);
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
