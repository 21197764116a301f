#include <windows.h>
#include <winsock2.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

#include "platform/sockets.h"
#include "platform/win32/socket_library.h"

namespace tolvaren::platform::win32_backend {
namespace {

// Each function of Winsock is looked up by name on its first call; these hold
// the addresses found.
std::atomic<void*> socketFn, setsockoptFn, sendtoFn, recvfromFn, selectFn, htonsFn, ntohsFn, lastErrorFn,
    gethostbynameFn, setLastErrorFn, shutdownFn, closesocketFn, connectFn, getsockoptFn;

// How often a wait looks at the pending errors of its sockets.
constexpr int kErrorPollMs = 50;

sockaddr_in MakeAddress(const Ipv4Bytes& address, std::uint16_t port) {
  sockaddr_in result{};
  result.sin_family = AF_INET;
  result.sin_port = Winsock().Call<decltype(&::htons)>("htons", htonsFn, port);
  std::memcpy(&result.sin_addr, address.data(), 4);
  return result;
}

SOCKET Native(SocketId socket) { return static_cast<SOCKET>(socket); }

class Win32Sockets final : public SocketApi {
 public:
  bool StartUp() override { return Winsock().StartUp(); }

  SocketId OpenDatagramSocket(int protocol) override {
    const SOCKET s = Winsock().Call<decltype(&::socket)>("socket", socketFn, AF_INET, SOCK_DGRAM, protocol);
    return s == INVALID_SOCKET ? kNoSocket : static_cast<SocketId>(s);
  }

  int SetBroadcast(SocketId socket, bool enabled) override {
    const int value = enabled ? -1 : 0;
    return Winsock().Call<decltype(&::setsockopt)>("setsockopt", setsockoptFn, Native(socket), SOL_SOCKET, SO_BROADCAST,
                                                   reinterpret_cast<const char*>(&value),
                                                   static_cast<int>(sizeof value));
  }

  int SendTo(SocketId socket, const std::uint8_t* data, std::size_t size, const Ipv4Bytes& address,
             std::uint16_t port) override {
    const sockaddr_in to = MakeAddress(address, port);
    return Winsock().Call<decltype(&::sendto)>("sendto", sendtoFn, Native(socket), reinterpret_cast<const char*>(data),
                                               static_cast<int>(size), 0, reinterpret_cast<const sockaddr*>(&to),
                                               static_cast<int>(sizeof to));
  }

  int Connect(SocketId socket, const Ipv4Bytes& address, std::uint16_t port) override {
    const sockaddr_in peer = MakeAddress(address, port);
    TakePending(socket);
    return Winsock().Call<decltype(&::connect)>(
        "connect", connectFn, Native(socket), reinterpret_cast<const sockaddr*>(&peer), static_cast<int>(sizeof peer));
  }

  int ReceiveFrom(SocketId socket, std::uint8_t* buffer, std::size_t size, Ipv4Bytes& sender,
                  std::uint16_t& senderPort) override {
    if (const int error = TakePending(socket)) {
      SetSocketError(error);
      return -1;
    }
    sockaddr_in from{};
    int fromLength = sizeof from;
    const int received = Winsock().Call<decltype(&::recvfrom)>("recvfrom", recvfromFn, Native(socket),
                                                               reinterpret_cast<char*>(buffer), static_cast<int>(size),
                                                               0, reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (received >= 0) {
      std::memcpy(sender.data(), &from.sin_addr, 4);
      senderPort = Winsock().Call<decltype(&::ntohs)>("ntohs", ntohsFn, from.sin_port);
    }
    return received;
  }

  // Windows makes a datagram socket readable when an ICMP error came for it
  // and fails the receive with it. Wine keeps such an error in SO_ERROR of a
  // connected socket only, so the wait looks there every 50 ms, reports a
  // socket with an error as readable, and its next receive fails with it.
  int Wait(std::vector<SocketId>& read, std::vector<SocketId>& write, std::vector<SocketId>& error,
           int timeoutMs) override {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs < 0 ? 0 : timeoutMs);
    while (true) {
      std::vector<SocketId> r = read, w = write, e = error;
      int slice = kErrorPollMs;
      if (timeoutMs >= 0) {
        const ULONGLONG now = GetTickCount64();
        slice = static_cast<int>(std::min<ULONGLONG>(kErrorPollMs, deadline > now ? deadline - now : 0));
      }
      const int result = Select(r, w, e, slice);
      const bool timeUp = timeoutMs >= 0 && GetTickCount64() >= deadline;
      if (result != 0) {
        read = std::move(r);
        write = std::move(w);
        error = std::move(e);
        return result;
      }
      std::vector<SocketId> failed;
      for (SocketId s : read) {
        if (const int code = PendingError(s)) {
          std::lock_guard<std::mutex> guard(pendingLock_);
          pending_[s] = code;
          failed.push_back(s);
        }
      }
      if (!failed.empty() || timeUp) {
        read = std::move(failed);
        write.clear();
        error.clear();
        return static_cast<int>(read.size());
      }
    }
  }

  bool LookUpHost(const std::string& name, Ipv4Bytes& address) override {
    // gethostbyname("") gives the machine's own addresses; as a server name
    // the empty text is not found, at once, as on the other systems.
    if (name.empty()) {
      Winsock().Call<decltype(&::WSASetLastError)>("WSASetLastError", setLastErrorFn, WSAHOST_NOT_FOUND);
      return false;
    }
    const hostent* host = Winsock().Call<decltype(&::gethostbyname)>("gethostbyname", gethostbynameFn, name.c_str());
    if (host == nullptr || host->h_addrtype != AF_INET || host->h_addr_list == nullptr ||
        host->h_addr_list[0] == nullptr)
      return false;
    std::memcpy(address.data(), host->h_addr_list[0], 4);
    return true;
  }

  void ShutdownSending(SocketId socket) override {
    Winsock().Call<decltype(&::shutdown)>("shutdown", shutdownFn, Native(socket), SD_SEND);
  }

  void CloseSocket(SocketId socket) override {
    TakePending(socket);
    Winsock().Call<decltype(&::closesocket)>("closesocket", closesocketFn, Native(socket));
  }

  int LastError() override { return Winsock().Call<decltype(&::WSAGetLastError)>("WSAGetLastError", lastErrorFn); }

 private:
  static int Select(std::vector<SocketId>& read, std::vector<SocketId>& write, std::vector<SocketId>& error,
                    int timeoutMs) {
    fd_set sets[3];
    std::vector<SocketId>* lists[3] = {&read, &write, &error};
    for (int i = 0; i < 3; ++i) {
      sets[i].fd_count = 0;
      for (SocketId s : *lists[i]) {
        if (sets[i].fd_count < FD_SETSIZE) sets[i].fd_array[sets[i].fd_count++] = Native(s);
      }
    }
    timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    const int result = Winsock().Call<decltype(&::select)>("select", selectFn, 0, &sets[0], &sets[1], &sets[2],
                                                           timeoutMs < 0 ? nullptr : &limit);
    for (int i = 0; i < 3; ++i) {
      lists[i]->clear();
      if (result > 0) {
        for (u_int k = 0; k < sets[i].fd_count; ++k) lists[i]->push_back(static_cast<SocketId>(sets[i].fd_array[k]));
      }
    }
    return result;
  }

  // The error SO_ERROR holds for a socket (reading it clears it); 0 for none.
  static int PendingError(SocketId socket) {
    int code = 0;
    int length = sizeof code;
    if (Winsock().Call<decltype(&::getsockopt)>("getsockopt", getsockoptFn, Native(socket), SOL_SOCKET, SO_ERROR,
                                                reinterpret_cast<char*>(&code), &length) != 0)
      return 0;
    return code;
  }

  static void SetSocketError(int code) {
    Winsock().Call<decltype(&::WSASetLastError)>("WSASetLastError", setLastErrorFn, code);
  }

  // The error a wait found for a socket, removed; 0 for none.
  int TakePending(SocketId socket) {
    std::lock_guard<std::mutex> guard(pendingLock_);
    const auto found = pending_.find(socket);
    if (found == pending_.end()) return 0;
    const int code = found->second;
    pending_.erase(found);
    return code;
  }

  // Errors found by a wait, for the next receive. Tests serve and ask on two
  // threads through this one object, hence the lock.
  std::mutex pendingLock_;
  std::map<SocketId, int> pending_;
};

}  // namespace
}  // namespace tolvaren::platform::win32_backend

namespace tolvaren::platform {

SocketApi& NativeSocketApi() {
  static win32_backend::Win32Sockets sockets;
  return sockets;
}

}  // namespace tolvaren::platform
