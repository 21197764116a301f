#include <gtest/gtest.h>

#include "platform/sockets.h"
#include "tests/support/server_socket.h"

namespace tolvaren::platform {
namespace {

constexpr Ipv4Bytes kLoopback{127, 0, 0, 1};

// errno values come back in Winsock numbering.
TEST(LinuxSockets, ErrorsUseWinsockCodes) {
  SocketApi& api = NativeSocketApi();
  ASSERT_TRUE(api.StartUp());
  EXPECT_EQ(api.OpenDatagramSocket(255), kNoSocket);
  EXPECT_EQ(api.LastError(), 10043);  // protocol not supported
  const SocketId first = api.OpenDatagramSocket(0);
  ASSERT_NE(first, kNoSocket);
  api.CloseSocket(first);
  const std::uint8_t byte = 0;
  EXPECT_EQ(api.SendTo(first, &byte, 1, kLoopback, 9), -1);
  EXPECT_EQ(api.LastError(), 10009);  // bad file number
}

// A datagram longer than the buffer fails as under Winsock instead of arriving cut.
TEST(LinuxSockets, OversizedDatagramFails) {
  SocketApi& api = NativeSocketApi();
  const SocketId server = api.OpenDatagramSocket(0);
  const SocketId client = api.OpenDatagramSocket(0);
  ASSERT_TRUE(testing::BindSocket(server, kLoopback, 0));
  const std::string payload(100, 'x');
  ASSERT_EQ(api.SendTo(client, reinterpret_cast<const std::uint8_t*>(payload.data()), payload.size(), kLoopback,
                       testing::LocalPort(server)),
            100);
  std::vector<SocketId> read{server}, none1, none2;
  ASSERT_EQ(api.Wait(read, none1, none2, 1000), 1);
  std::uint8_t buffer[10];
  Ipv4Bytes sender{};
  std::uint16_t senderPort = 0;
  EXPECT_EQ(api.ReceiveFrom(server, buffer, sizeof buffer, sender, senderPort), -1);
  EXPECT_EQ(api.LastError(), kMessageTooLong);
  EXPECT_EQ(sender, kLoopback);
  api.CloseSocket(server);
  api.CloseSocket(client);
}

}  // namespace
}  // namespace tolvaren::platform
