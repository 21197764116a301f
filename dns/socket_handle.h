#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "dns/socket_stack.h"

namespace tolvaren::dns {

// One IPv4 socket of the platform and the sender of the last datagram read.
class SocketHandle {
 public:
  explicit SocketHandle(SocketStack& stack) : stack_(stack) {}
  SocketHandle(const SocketHandle&) = delete;
  SocketHandle& operator=(const SocketHandle&) = delete;
  ~SocketHandle() { Close(); }

  // Creates the platform datagram socket, closing an open one first; raises
  // EInvalidSocket when the platform refuses.
  void OpenSocket(int protocol);

  // Shuts the socket down for sending and closes it; results are ignored.
  void Close();

  // Makes a dotted address and port the socket's peer (ESocketError when the
  // platform refuses): only its datagrams are received from then on, and an
  // ICMP error for one sent to it fails the next receive at once. Nothing
  // is asked of the platform when they are the peer already.
  void Connect(const std::string& address, int port);

  // Sends bytes as one datagram to a dotted address.
  void WriteDatagram(const std::string& address, int port, std::string_view bytes);

  // Receives one datagram into buffer; the platform's count, -1 on failure.
  int ReadDatagram(std::uint8_t* buffer, std::size_t size);

  // True when a datagram can be read within timeoutMs (SocketStack's rules);
  // raises EConnClosedGracefully when the socket is not open.
  bool WaitReadable(int timeoutMs);

  SocketId Handle = platform::kNoSocket;
  bool IsOpen = false;
  std::string PeerIP;
  int PeerPort = 0;

 private:
  SocketStack& stack_;
  std::string peerAddress_;  // the connected peer, empty for none
  int peerPort_ = 0;
};

}  // namespace tolvaren::dns
