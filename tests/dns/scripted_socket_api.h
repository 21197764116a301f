#pragma once

#include <gtest/gtest.h>

#include <stdexcept>

#include "dns/net_component.h"
#include "platform/fake/fake_sockets.h"

namespace tolvaren::dns::testing {

using platform::Ipv4Bytes;
using platform::SocketId;

// True when no network component lives: only then can one start on a socket
// library of its own (while a stack exists, a component on another library is
// refused).
inline bool NoComponentAlive() {
  platform::fake::FakeSocketApi probeApi;
  try {
    NetComponent probe(probeApi);
    return true;
  } catch (const std::logic_error&) {
    return false;
  }
}

// A test whose network components run on a scripted socket library, handed to
// each component it creates; every component is gone when the test ends.
class ScriptedSocketsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(NoComponentAlive()) << "a component outlived its test"; }
  void TearDown() override { EXPECT_TRUE(NoComponentAlive()) << "a component outlived its test"; }

  platform::fake::FakeSocketApi api;
};

}  // namespace tolvaren::dns::testing
