#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "dns/socket_stack.h"

namespace tolvaren::dns {

enum class SocketType { kDatagram };

// One IPv4 socket of the platform and the sender of the last datagram read.
class SocketHandle {
 public:
  explicit SocketHandle(SocketStack& stack) : stack_(stack) {}
  SocketHandle(const SocketHandle&) = delete;
  SocketHandle& operator=(const SocketHandle&) = delete;
  ~SocketHandle() { Close(); }

  // Creates the platform socket, closing an open one first; raises
  // EInvalidSocket when the platform refuses.
  void OpenSocket(SocketType type, int protocol);

  // Shuts the socket down for sending and closes it; results are ignored.
  void Close();

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
  // Local binding; this client never binds, so they stay empty.
  std::string IP;
  int Port = 0;
  int ClientPortMin = 0;
  int ClientPortMax = 0;

 private:
  SocketStack& stack_;
};

}  // namespace tolvaren::dns
