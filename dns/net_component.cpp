#include "dns/net_component.h"

#include <memory>
#include <mutex>
#include <stdexcept>

namespace tolvaren::dns {
namespace {

struct SharedStack {
  std::mutex lock;
  int count = 0;
  std::unique_ptr<SocketStack> stack;
};

SharedStack& Shared() {
  static SharedStack shared;
  return shared;
}

// Joins the count, creating the stack for the first component. When the
// platform library does not start, the count is taken back and no stack
// exists, so the next component tries again.
SocketStack& Join(platform::SocketApi& sockets) {
  SharedStack& shared = Shared();
  std::lock_guard<std::mutex> guard(shared.lock);
  if (!shared.stack) {
    shared.stack = std::make_unique<SocketStack>(sockets);
  } else if (&shared.stack->Api() != &sockets) {
    throw std::logic_error("network components on two socket libraries at once");
  }
  ++shared.count;
  return *shared.stack;
}

}  // namespace

NetComponent::NetComponent(platform::SocketApi& sockets) : stack_(Join(sockets)) {}

NetComponent::~NetComponent() {
  SharedStack& shared = Shared();
  std::lock_guard<std::mutex> guard(shared.lock);
  if (--shared.count == 0) shared.stack.reset();
}

}  // namespace tolvaren::dns
