#include <windows.h>
#include <winsock.h>

#include <cstring>

#include "platform/win32/win32_network.h"

namespace tolvaren::platform::win32_backend {
namespace {

constexpr int kHostNameBufferSize = 64;

// A fixed-size text of the library, up to its first zero byte.
template <std::size_t N>
std::string FieldText(const char (&field)[N]) {
  return std::string(field, strnlen(field, N));
}

}  // namespace

std::optional<WinsockStartup> Win32Winsock::StartUp(std::uint16_t version) {
  WSADATA data{};
  if (WSAStartup(version, &data) != 0) return std::nullopt;
  return WinsockStartup{FieldText(data.szDescription), FieldText(data.szSystemStatus), data.wHighVersion};
}

void Win32Winsock::CleanUp() { WSACleanup(); }

std::optional<std::string> Win32Winsock::HostName() {
  char name[kHostNameBufferSize] = {};
  if (gethostname(name, kHostNameBufferSize) != 0) return std::nullopt;
  return FieldText(name);
}

std::optional<std::vector<Ipv4Bytes>> Win32Winsock::LookUpHost(const std::string& name) {
  const hostent* entry = gethostbyname(name.c_str());
  if (entry == nullptr) return std::nullopt;
  std::vector<Ipv4Bytes> addresses;
  if (entry->h_addrtype != AF_INET || entry->h_length != 4 || entry->h_addr_list == nullptr) return addresses;
  for (char** item = entry->h_addr_list; *item != nullptr; ++item) {
    Ipv4Bytes address{};
    std::memcpy(address.data(), *item, address.size());
    addresses.push_back(address);
  }
  return addresses;
}

std::string Win32Winsock::DottedText(const Ipv4Bytes& address) {
  in_addr in{};
  std::memcpy(&in, address.data(), address.size());
  const char* text = inet_ntoa(in);
  return text != nullptr ? text : "";
}

}  // namespace tolvaren::platform::win32_backend
