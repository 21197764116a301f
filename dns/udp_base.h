#pragma once

#include <memory>
#include <string>

#include "dns/net_component.h"
#include "dns/socket_handle.h"

namespace tolvaren::dns {

// A UDP component: one socket, opened on demand and kept across exchanges so
// every datagram leaves from the same local port.
class UdpBase : public NetComponent {
 public:
  static constexpr int kUseReceiveTimeout = -1;
  static constexpr int kWaitWithoutLimit = SocketStack::kNoTimeLimit;

  explicit UdpBase(platform::SocketApi& sockets) : NetComponent(sockets) {}
  ~UdpBase() override;

  // True while the socket exists and is open. Setting true opens it, false
  // frees it; setting the value it already has does nothing.
  bool Active() const { return socket_ && socket_->IsOpen; }
  void SetActive(bool active);

  // Applied as SO_BROADCAST when the socket opens. A resolver never sends to
  // a broadcast address, so it stays off.
  static constexpr bool kBroadcastEnabled = false;
  bool BroadcastEnabled() const { return kBroadcastEnabled; }

  // The largest datagram a receive takes.
  int BufferSize = 8192;

  // Waits for one datagram and returns its bytes, empty when none came in
  // time. kUseReceiveTimeout waits ReceiveTimeout, kWaitWithoutLimit without
  // limit, other values are milliseconds (0 only looks).
  std::string ReceivePacket(int timeoutMs);

  // The socket, null until first needed and after the component went inactive.
  SocketHandle* Socket() { return socket_.get(); }

 protected:
  // Opens the socket, closing an open one first.
  void OpenSocket();

  std::string host_;
  int port_ = 0;
  int receiveTimeout_ = kWaitWithoutLimit;
  // A receive failed with an error of the socket (a refusal): the next send
  // goes out on a new one. Wine keeps such an error on the socket for good,
  // where it would fail every later exchange.
  bool socketFailed_ = false;

 private:
  void ApplyBroadcast();

  std::unique_ptr<SocketHandle> socket_;
};

// A UDP component that sends to one server.
class UdpClient : public UdpBase {
 public:
  explicit UdpClient(platform::SocketApi& sockets) : UdpBase(sockets) {}

  // "LOCALHOST", a dotted IPv4 address or a host name.
  const std::string& Host() const { return host_; }
  void SetHost(std::string host) { host_ = std::move(host); }

  // Destination port, used modulo 65536.
  int Port() const { return port_; }
  void SetPort(int port) { port_ = port; }

  // Milliseconds a receive waits; kWaitWithoutLimit (the default) waits on.
  int ReceiveTimeout() const { return receiveTimeout_; }
  void SetReceiveTimeout(int timeoutMs) { receiveTimeout_ = timeoutMs; }

  // Sends bytes as one datagram to Host and Port, opening the socket if
  // needed (or a new one after a receive failed with a socket error) and
  // making them its peer, so that a closed port fails the next receive at
  // once; returns the dotted address it went to.
  std::string SendPacket(std::string_view bytes);
};

}  // namespace tolvaren::dns
