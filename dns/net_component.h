#pragma once

#include "dns/socket_stack.h"
#include "platform/sockets.h"

namespace tolvaren::dns {

// The base of every network component. The first one created in the process
// creates the shared SocketStack on the socket library it is given (starting
// that library), the last one destroyed frees it; the count is kept under a
// process-wide lock. Components that live at the same time share one library.
class NetComponent {
 public:
  explicit NetComponent(platform::SocketApi& sockets);
  NetComponent(const NetComponent&) = delete;
  NetComponent& operator=(const NetComponent&) = delete;
  virtual ~NetComponent();

  SocketStack& Stack() { return stack_; }

 private:
  SocketStack& stack_;
};

}  // namespace tolvaren::dns
