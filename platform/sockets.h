#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/ipv4_address.h"

namespace tolvaren::platform {

// Winsock's "message too long" (WSAEMSGSIZE): a datagram larger than the
// buffer it was to be received into, or than a send can take.
constexpr int kMessageTooLong = 10040;

// A platform socket; kNoSocket when none.
using SocketId = std::intptr_t;
constexpr SocketId kNoSocket = -1;

// The IPv4 datagram calls of the system's socket library. Failures are
// reported the way the library reports them (-1 or kNoSocket), and LastError
// then gives the code in Winsock numbering on every system, so the error texts
// of the network layer are the same everywhere. The Windows binding raises
// ESocketLibraryError (platform/net_exception.h) when the library itself
// cannot be had.
class SocketApi {
 public:
  virtual ~SocketApi() = default;

  // Starts the library; true when it runs. Called before any other call and
  // again after a refusal; a started library stays started, and is cleaned up
  // by itself at process end.
  virtual bool StartUp() = 0;

  virtual SocketId OpenDatagramSocket(int protocol) = 0;
  virtual int SetBroadcast(SocketId socket, bool enabled) = 0;
  virtual int SendTo(SocketId socket, const std::uint8_t* data, std::size_t size, const Ipv4Bytes& address,
                     std::uint16_t port) = 0;
  // Fixes the peer of a datagram socket: from then on only its datagrams are
  // received, and an ICMP error for one sent to it (a closed port) fails the
  // next receive with 10061 or 10054 instead of leaving the wait to run out.
  // 0, or -1 on failure.
  virtual int Connect(SocketId socket, const Ipv4Bytes& address, std::uint16_t port) = 0;
  // Returns the byte count or -1; a datagram longer than size fails with
  // kMessageTooLong on every system.
  virtual int ReceiveFrom(SocketId socket, std::uint8_t* buffer, std::size_t size, Ipv4Bytes& sender,
                          std::uint16_t& senderPort) = 0;
  // Waits until a socket of the lists is ready or the time runs out
  // (timeoutMs < 0: no limit); leaves the ready sockets in the lists and
  // returns their count, 0 on time-out, -1 on failure.
  virtual int Wait(std::vector<SocketId>& read, std::vector<SocketId>& write, std::vector<SocketId>& error,
                   int timeoutMs) = 0;
  // The first IPv4 address of a host name; false when the lookup fails
  // (LastError then gives 11001 for an unknown host).
  virtual bool LookUpHost(const std::string& name, Ipv4Bytes& address) = 0;
  virtual void ShutdownSending(SocketId socket) = 0;
  virtual void CloseSocket(SocketId socket) = 0;
  virtual int LastError() = 0;
};

// The socket library of the system this binary was built for.
SocketApi& NativeSocketApi();

}  // namespace tolvaren::platform
