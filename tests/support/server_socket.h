#pragma once

// The two server-side socket calls the tests' scripted servers need and the
// product never makes: binding a datagram socket to a local address, and
// reading back the port the system chose for it.

#include <atomic>
#include <cstdint>
#include <cstring>

#include "platform/sockets.h"

#ifdef _WIN32
#include "platform/win32/socket_library.h"
#else
#include <netinet/in.h>
#include <sys/socket.h>
#endif

namespace tolvaren::testing {

namespace server_socket_detail {

#ifdef _WIN32
using NativeSocket = SOCKET;
using AddressLength = int;
#else
using NativeSocket = int;
using AddressLength = socklen_t;
#endif

inline sockaddr_in MakeAddress(const platform::Ipv4Bytes& address, std::uint16_t port) {
  sockaddr_in result{};
  result.sin_family = AF_INET;
  const std::uint8_t portBytes[2] = {static_cast<std::uint8_t>(port >> 8), static_cast<std::uint8_t>(port)};
  std::memcpy(&result.sin_port, portBytes, 2);  // network order
  std::memcpy(&result.sin_addr, address.data(), 4);
  return result;
}

inline int NativeBind(NativeSocket socket, const sockaddr_in& local) {
#ifdef _WIN32
  static std::atomic<void*> bindFn;
  return platform::win32_backend::Winsock().Call<decltype(&::bind)>(
      "bind", bindFn, socket, reinterpret_cast<const sockaddr*>(&local), static_cast<int>(sizeof local));
#else
  return ::bind(socket, reinterpret_cast<const sockaddr*>(&local), sizeof local);
#endif
}

inline int NativeLocalName(NativeSocket socket, sockaddr_in& local, AddressLength& length) {
#ifdef _WIN32
  static std::atomic<void*> getsocknameFn;
  return platform::win32_backend::Winsock().Call<decltype(&::getsockname)>(
      "getsockname", getsocknameFn, socket, reinterpret_cast<sockaddr*>(&local), &length);
#else
  return ::getsockname(socket, reinterpret_cast<sockaddr*>(&local), &length);
#endif
}

}  // namespace server_socket_detail

// Binds a socket of the native socket library (started already) to the
// address and port; port 0 lets the system choose. True on success.
inline bool BindSocket(platform::SocketId socket, const platform::Ipv4Bytes& address, std::uint16_t port) {
  using namespace server_socket_detail;
  return NativeBind(static_cast<NativeSocket>(socket), MakeAddress(address, port)) == 0;
}

// The local port of a bound socket; 0 when it cannot be read.
inline std::uint16_t LocalPort(platform::SocketId socket) {
  using namespace server_socket_detail;
  sockaddr_in local{};
  AddressLength length = sizeof local;
  if (NativeLocalName(static_cast<NativeSocket>(socket), local, length) != 0) return 0;
  std::uint8_t portBytes[2];
  std::memcpy(portBytes, &local.sin_port, 2);
  return static_cast<std::uint16_t>(portBytes[0] << 8 | portBytes[1]);
}

}  // namespace tolvaren::testing
