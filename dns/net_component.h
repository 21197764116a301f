#pragma once

#include "dns/socket_stack.h"
#include "platform/sockets.h"

namespace tolvaren::dns {

// The base of every network component. The first one created in the process
// creates the shared SocketStack (starting the platform socket library), the
// last one destroyed frees it; the count is kept under a process-wide lock.
class NetComponent {
 public:
  NetComponent();
  NetComponent(const NetComponent&) = delete;
  NetComponent& operator=(const NetComponent&) = delete;
  virtual ~NetComponent();

  SocketStack& Stack() { return stack_; }

  // The socket library the next stack starts on (null: the system's own).
  // Tests put a scripted library in place before the first component.
  static void UseSocketApi(platform::SocketApi* api);

  // Number of live components, for tests.
  static int ComponentCount();

 private:
  SocketStack& stack_;
};

}  // namespace tolvaren::dns
