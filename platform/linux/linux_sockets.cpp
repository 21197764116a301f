#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/sockets.h"

namespace tolvaren::platform {
namespace {

// The error codes of the network layer are Winsock's; BSD sockets report errno
// values, which are mapped onto the same meanings here.
int WinsockCode(int error) {
  switch (error) {
    case EINTR:
      return 10004;
    case EBADF:
      return 10009;
    case EACCES:
      return 10013;
    case EFAULT:
      return 10014;
    case EINVAL:
      return 10022;
    case EMFILE:
      return 10024;
    case EAGAIN:
      return 10035;
    case EINPROGRESS:
      return 10036;
    case EALREADY:
      return 10037;
    case ENOTSOCK:
      return 10038;
    case EDESTADDRREQ:
      return 10039;
    case EMSGSIZE:
      return kMessageTooLong;
    case EPROTOTYPE:
      return 10041;
    case ENOPROTOOPT:
      return 10042;
    case EPROTONOSUPPORT:
      return 10043;
    case ESOCKTNOSUPPORT:
      return 10044;
    case EOPNOTSUPP:
      return 10045;
    case EPFNOSUPPORT:
      return 10046;
    case EAFNOSUPPORT:
      return 10047;
    case EADDRINUSE:
      return 10048;
    case EADDRNOTAVAIL:
      return 10049;
    case ENETDOWN:
      return 10050;
    case ENETUNREACH:
      return 10051;
    case ENETRESET:
      return 10052;
    case ECONNABORTED:
      return 10053;
    case ECONNRESET:
      return 10054;
    case ENOBUFS:
      return 10055;
    case EISCONN:
      return 10056;
    case ENOTCONN:
      return 10057;
    case ESHUTDOWN:
      return 10058;
    case ETOOMANYREFS:
      return 10059;
    case ETIMEDOUT:
      return 10060;
    case ECONNREFUSED:
      return 10061;
    case ELOOP:
      return 10062;
    case ENAMETOOLONG:
      return 10063;
    case EHOSTDOWN:
      return 10064;
    case EHOSTUNREACH:
      return 10065;
    case ENOTEMPTY:
      return 10066;
    default:
      return error;
  }
}

constexpr int kHostNotFound = 11001;

// Each thread keeps the code of its own last failed call, as Winsock does.
thread_local int lastError = 0;

int Fail(int code) {
  lastError = code;
  return -1;
}

sockaddr_in MakeAddress(const Ipv4Bytes& address, std::uint16_t port) {
  sockaddr_in result{};
  result.sin_family = AF_INET;
  result.sin_port = htons(port);
  std::memcpy(&result.sin_addr, address.data(), 4);
  return result;
}

class LinuxSockets final : public SocketApi {
 public:
  bool StartUp() override { return true; }  // BSD sockets need no start-up

  SocketId OpenDatagramSocket(int protocol) override {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, protocol);
    if (fd < 0) {
      Fail(WinsockCode(errno));
      return kNoSocket;
    }
    return fd;
  }

  int SetBroadcast(SocketId socket, bool enabled) override {
    const int value = enabled ? -1 : 0;
    if (::setsockopt(static_cast<int>(socket), SOL_SOCKET, SO_BROADCAST, &value, sizeof value) != 0)
      return Fail(WinsockCode(errno));
    return 0;
  }

  int SendTo(SocketId socket, const std::uint8_t* data, std::size_t size, const Ipv4Bytes& address,
             std::uint16_t port) override {
    const sockaddr_in to = MakeAddress(address, port);
    const ssize_t sent =
        ::sendto(static_cast<int>(socket), data, size, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    if (sent < 0) return Fail(WinsockCode(errno));
    return static_cast<int>(sent);
  }

  // The kernel then hands an ICMP port unreachable to the socket as
  // ECONNREFUSED, which poll reports as ready.
  int Connect(SocketId socket, const Ipv4Bytes& address, std::uint16_t port) override {
    const sockaddr_in peer = MakeAddress(address, port);
    if (::connect(static_cast<int>(socket), reinterpret_cast<const sockaddr*>(&peer), sizeof peer) != 0)
      return Fail(WinsockCode(errno));
    return 0;
  }

  int ReceiveFrom(SocketId socket, std::uint8_t* buffer, std::size_t size, Ipv4Bytes& sender,
                  std::uint16_t& senderPort) override {
    sockaddr_in from{};
    socklen_t fromLength = sizeof from;
    // MSG_TRUNC reports the datagram's real length, so that an oversized one
    // fails as it does under Winsock instead of arriving cut.
    const ssize_t received =
        ::recvfrom(static_cast<int>(socket), buffer, size, MSG_TRUNC, reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (received < 0) return Fail(WinsockCode(errno));
    std::memcpy(sender.data(), &from.sin_addr, 4);
    senderPort = ntohs(from.sin_port);
    if (static_cast<std::size_t>(received) > size) return Fail(kMessageTooLong);
    return static_cast<int>(received);
  }

  // poll has no limit on descriptor numbers, unlike an fd_set.
  int Wait(std::vector<SocketId>& read, std::vector<SocketId>& write, std::vector<SocketId>& error,
           int timeoutMs) override {
    std::vector<pollfd> fds;
    const auto add = [&fds](const std::vector<SocketId>& list, short events) {
      for (SocketId s : list) fds.push_back(pollfd{static_cast<int>(s), events, 0});
    };
    add(read, POLLIN);
    add(write, POLLOUT);
    add(error, POLLPRI);
    const int result = ::poll(fds.data(), fds.size(), timeoutMs < 0 ? -1 : timeoutMs);
    if (result < 0) return Fail(WinsockCode(errno));
    // Like select, count every socket that is ready in each list it stands in.
    std::size_t index = 0;
    int ready = 0;
    const auto keep = [&](std::vector<SocketId>& list, short mask) {
      std::vector<SocketId> left;
      for (SocketId s : list) {
        if (fds[index++].revents & mask) left.push_back(s);
      }
      ready += static_cast<int>(left.size());
      list = std::move(left);
    };
    keep(read, POLLIN | POLLERR | POLLHUP);
    keep(write, POLLOUT | POLLERR | POLLHUP);
    keep(error, POLLPRI);
    return ready;
  }

  bool LookUpHost(const std::string& name, Ipv4Bytes& address) override {
    // getaddrinfo("") would read resolv.conf once more and ask its servers;
    // as a server name the empty text is not found, at once, as on Windows.
    if (name.empty()) {
      Fail(kHostNotFound);
      return false;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
      Fail(kHostNotFound);
      return false;
    }
    const auto* first = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    std::memcpy(address.data(), &first->sin_addr, 4);
    ::freeaddrinfo(found);
    return true;
  }

  void ShutdownSending(SocketId socket) override { ::shutdown(static_cast<int>(socket), SHUT_WR); }
  void CloseSocket(SocketId socket) override { ::close(static_cast<int>(socket)); }
  int LastError() override { return lastError; }
};

}  // namespace

SocketApi& NativeSocketApi() {
  static LinuxSockets sockets;
  return sockets;
}

}  // namespace tolvaren::platform
