#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/sockets.h"

namespace tolvaren::platform::fake {

// A socket library that records what the network layer asks of it and answers
// as scripted, for the failures a real one cannot be made to show on cue.
class FakeSocketApi final : public SocketApi {
 public:
  struct Datagram {
    Ipv4Bytes address{};
    std::uint16_t port = 0;
    std::string bytes;
  };

  bool StartUp() override {
    ++startUps;
    return startUpSucceeds;
  }

  SocketId OpenDatagramSocket(int) override {
    if (refuseSockets) return kNoSocket;
    opened.push_back(nextSocket);
    return nextSocket++;
  }

  int SetBroadcast(SocketId socket, bool enabled) override {
    broadcasts.push_back({socket, enabled});
    return Result(broadcastError);
  }

  int SendTo(SocketId, const std::uint8_t* data, std::size_t size, const Ipv4Bytes& address,
             std::uint16_t port) override {
    sent.push_back({address, port, std::string(reinterpret_cast<const char*>(data), size)});
    if (onSend) onSend(sent.back());
    if (sendError != 0) return Result(sendError);
    return sendCount >= 0 ? sendCount : static_cast<int>(size);
  }

  int Connect(SocketId socket, const Ipv4Bytes& address, std::uint16_t port) override {
    connects.push_back({socket, {address, port, {}}});
    return Result(connectError);
  }

  int ReceiveFrom(SocketId, std::uint8_t* buffer, std::size_t size, Ipv4Bytes& sender,
                  std::uint16_t& senderPort) override {
    if (incoming.empty()) return Result(10035);
    Datagram d = incoming.front();
    incoming.pop_front();
    if (d.bytes.size() > size) return Result(kMessageTooLong);
    d.bytes.copy(reinterpret_cast<char*>(buffer), d.bytes.size());
    sender = d.address;
    senderPort = d.port;
    return static_cast<int>(d.bytes.size());
  }

  int Wait(std::vector<SocketId>& read, std::vector<SocketId>& write, std::vector<SocketId>& error,
           int timeoutMs) override {
    waits.push_back(timeoutMs);
    write.clear();
    error.clear();
    if (incoming.empty()) read.clear();
    return static_cast<int>(read.size());
  }

  bool LookUpHost(const std::string& name, Ipv4Bytes& address) override {
    lookUps.push_back(name);
    if (!lookUpAddress) {
      lastError = 11001;
      return false;
    }
    address = *lookUpAddress;
    return true;
  }

  void ShutdownSending(SocketId socket) override { shutdowns.push_back(socket); }
  void CloseSocket(SocketId socket) override { closed.push_back(socket); }
  int LastError() override { return lastError; }

  // Script.
  bool startUpSucceeds = true;
  bool refuseSockets = false;
  int broadcastError = 0;
  int sendError = 0;
  int connectError = 0;
  int sendCount = -1;  // -1: everything
  std::optional<Ipv4Bytes> lookUpAddress;
  std::deque<Datagram> incoming;
  // Called with each datagram sent; may queue what comes back.
  std::function<void(const Datagram& sent)> onSend;

  // Record.
  int startUps = 0;
  SocketId nextSocket = 100;
  std::vector<SocketId> opened, shutdowns, closed;
  std::vector<std::pair<SocketId, bool>> broadcasts;
  std::vector<Datagram> sent;
  std::vector<std::pair<SocketId, Datagram>> connects;  // the peer, without bytes
  std::vector<int> waits;
  std::vector<std::string> lookUps;
  int lastError = 0;

 private:
  int Result(int error) {
    if (error == 0) return 0;
    lastError = error;
    return -1;
  }
};

}  // namespace tolvaren::platform::fake
