#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "dns/net_component.h"
#include "tests/dns/packet_builder.h"
#include "tests/support/server_socket.h"

namespace tolvaren::dns::testing {

// A scripted UDP server on 127.0.0.1 in a thread of the test: each datagram
// it receives goes to the handler, which may answer, answer from another port,
// wait, or stay silent.
class LoopbackServer {
 public:
  class Exchange {
   public:
    const std::string& query;
    int index;  // 0 for the first datagram received
    void Reply(const std::string& bytes) { server.SendFrom(server.socket_, bytes, port); }
    void ReplyFromAnotherPort(const std::string& bytes) {
      const platform::SocketId other = server.Api().OpenDatagramSocket(0);
      server.SendFrom(other, bytes, port);
      server.Api().CloseSocket(other);
    }
    void Wait(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

    LoopbackServer& server;
    std::uint16_t port;
  };
  using Handler = std::function<void(Exchange&)>;

  explicit LoopbackServer(Handler handler) : handler_(std::move(handler)) {
    socket_ = Api().OpenDatagramSocket(0);
    tolvaren::testing::BindSocket(socket_, kLoopback, 0);
    port_ = tolvaren::testing::LocalPort(socket_);
    thread_ = std::thread([this] { Serve(); });
  }

  ~LoopbackServer() {
    stop_ = true;
    thread_.join();
    Api().CloseSocket(socket_);
  }

  int Port() const { return port_; }

  // The client ports the queries came from, in order.
  std::vector<int> ClientPorts() {
    std::lock_guard<std::mutex> guard(lock_);
    return clientPorts_;
  }

 private:
  static constexpr platform::Ipv4Bytes kLoopback{127, 0, 0, 1};

  platform::SocketApi& Api() { return component_.Stack().Api(); }

  void SendFrom(platform::SocketId socket, const std::string& bytes, std::uint16_t port) {
    Api().SendTo(socket, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), kLoopback, port);
  }

  void Serve() {
    int index = 0;
    while (!stop_) {
      std::vector<platform::SocketId> read{socket_}, none1, none2;
      if (Api().Wait(read, none1, none2, 20) != 1) continue;
      std::vector<std::uint8_t> buffer(4096);
      platform::Ipv4Bytes from{};
      std::uint16_t fromPort = 0;
      const int count = Api().ReceiveFrom(socket_, buffer.data(), buffer.size(), from, fromPort);
      if (count < 0) continue;
      {
        std::lock_guard<std::mutex> guard(lock_);
        clientPorts_.push_back(fromPort);
      }
      const std::string query(reinterpret_cast<const char*>(buffer.data()), static_cast<std::size_t>(count));
      Exchange exchange{query, index++, *this, fromPort};
      handler_(exchange);
    }
  }

  NetComponent component_{platform::NativeSocketApi()};  // keeps the socket library started
  Handler handler_;
  platform::SocketId socket_ = platform::kNoSocket;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::mutex lock_;
  std::vector<int> clientPorts_;
  std::thread thread_;
};

// The identifier of a query.
inline std::uint16_t IdOf(const std::string& query) {
  return static_cast<std::uint16_t>((static_cast<unsigned char>(query[0]) << 8) | static_cast<unsigned char>(query[1]));
}

// A reply to a PTR query: the question echoed and one answer naming target.
inline Packet PtrAnswer(const std::string& query, const std::string& target, std::uint16_t flags = 0x8180) {
  return Packet()
      .Header(IdOf(query), flags, 1, 1)
      .Raw(query.substr(12))
      .Record(Pointer(kQuestionOffset), kPTR, Name(target));
}

}  // namespace tolvaren::dns::testing
