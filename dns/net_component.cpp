#include "dns/net_component.h"

#include <memory>
#include <mutex>

namespace tolvaren::dns {
namespace {

struct SharedStack {
  std::mutex lock;
  int count = 0;
  std::unique_ptr<SocketStack> stack;
  platform::SocketApi* api = nullptr;
};

SharedStack& Shared() {
  static SharedStack shared;
  return shared;
}

// Joins the count, creating the stack for the first component. When the
// platform library does not start, the count is taken back and no stack
// exists, so the next component tries again.
SocketStack& Join() {
  SharedStack& shared = Shared();
  std::lock_guard<std::mutex> guard(shared.lock);
  if (!shared.stack) {
    shared.stack = std::make_unique<SocketStack>(shared.api != nullptr ? *shared.api : platform::NativeSocketApi());
  }
  ++shared.count;
  return *shared.stack;
}

}  // namespace

NetComponent::NetComponent() : stack_(Join()) {}

NetComponent::~NetComponent() {
  SharedStack& shared = Shared();
  std::lock_guard<std::mutex> guard(shared.lock);
  if (--shared.count == 0) shared.stack.reset();
}

void NetComponent::UseSocketApi(platform::SocketApi* api) {
  SharedStack& shared = Shared();
  std::lock_guard<std::mutex> guard(shared.lock);
  shared.api = api;
}

int NetComponent::ComponentCount() {
  SharedStack& shared = Shared();
  std::lock_guard<std::mutex> guard(shared.lock);
  return shared.count;
}

}  // namespace tolvaren::dns
