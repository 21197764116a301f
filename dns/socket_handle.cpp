#include "dns/socket_handle.h"

#include <vector>

#include "dns/net_errors.h"
#include "dns/net_messages.h"
#include "platform/ipv4_address.h"

namespace tolvaren::dns {
void SocketHandle::OpenSocket(int protocol) {
  Close();
  const SocketId socket = stack_.Api().OpenDatagramSocket(protocol);
  if (socket == platform::kNoSocket) throw EInvalidSocket(text::kCannotAllocateSocket);
  Handle = socket;
  IsOpen = true;
  peerAddress_.clear();
  peerPort_ = 0;
}

void SocketHandle::Close() {
  if (!IsOpen) return;
  IsOpen = false;
  stack_.Api().ShutdownSending(Handle);
  stack_.Api().CloseSocket(Handle);
  Handle = platform::kNoSocket;
}

void SocketHandle::Connect(const std::string& address, int port) {
  if (address == peerAddress_ && port == peerPort_) return;
  stack_.FailOnSocketError(
      stack_.Api().Connect(Handle, ParseDottedQuad(address), static_cast<std::uint16_t>(port & 0xFFFF)));
  peerAddress_ = address;
  peerPort_ = port;
}

void SocketHandle::WriteDatagram(const std::string& address, int port, std::string_view bytes) {
  const Ipv4Bytes destination = ParseDottedQuad(address);
  const int sent = stack_.Api().SendTo(Handle, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                                       destination, static_cast<std::uint16_t>(port & 0xFFFF));
  if (sent == -1) {
    if (stack_.Api().LastError() == platform::kMessageTooLong) throw EPackageSizeTooBig(text::kPackageSizeTooBig);
    stack_.FailOnSocketError(sent);
  }
  if (sent != static_cast<int>(bytes.size())) throw ENotAllBytesSent(text::kNotAllBytesSent);
}

int SocketHandle::ReadDatagram(std::uint8_t* buffer, std::size_t size) {
  Ipv4Bytes sender{};
  std::uint16_t senderPort = 0;
  const int count = stack_.Api().ReceiveFrom(Handle, buffer, size, sender, senderPort);
  if (count >= 0) {
    PeerIP = platform::FormatIpv4(sender);
    PeerPort = senderPort;
  }
  return count;
}

bool SocketHandle::WaitReadable(int timeoutMs) {
  if (!IsOpen) throw EConnClosedGracefully(text::kConnClosedGracefully);
  std::vector<SocketId> read{Handle};
  return stack_.WaitForSockets(&read, nullptr, nullptr, timeoutMs) == 1;
}

}  // namespace tolvaren::dns
