#pragma once

#include <gtest/gtest.h>

#include "dns/net_component.h"
#include "platform/fake/fake_sockets.h"

namespace tolvaren::dns::testing {

using platform::Ipv4Bytes;
using platform::SocketId;

// A test whose network components run on a scripted socket library, handed to
// each component it creates; every component is gone when the test ends.
class ScriptedSocketsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(NetComponent::ComponentCount(), 0) << "a component outlived its test"; }
  void TearDown() override { EXPECT_EQ(NetComponent::ComponentCount(), 0) << "a component outlived its test"; }

  platform::fake::FakeSocketApi api;
};

}  // namespace tolvaren::dns::testing
