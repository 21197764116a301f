// The least a reverse lookup of the machine's first address needs, as a
// yardstick for "tolvaren /d ?d": the default route from /proc/net/route,
// the interface addresses (getifaddrs), the first nameserver of
// /etc/resolv.conf, one PTR query over UDP and the first label of its
// answer. Built static, as the tool is; prints that label.
//
//   g++ -O2 -static -o reverse_dns_floor bench/reverse_dns_floor.cpp

#include <arpa/inet.h>
#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace {

// Reads a small file into `buffer`; the length read, 0 on failure.
size_t ReadSmall(const char* path, char* buffer, size_t size) {
  const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return 0;
  size_t used = 0;
  for (ssize_t n; used + 1 < size && (n = read(fd, buffer + used, size - 1 - used)) > 0;) used += n;
  close(fd);
  buffer[used] = '\0';
  return used;
}

// The interface name of the first default route, or "" when there is none.
void DefaultRouteInterface(char* name, size_t size) {
  static char text[8192];
  name[0] = '\0';
  ReadSmall("/proc/net/route", text, sizeof text);
  const char* line = std::strchr(text, '\n');  // past the header
  while (line != nullptr && *++line != '\0') {
    char iface[IF_NAMESIZE + 1];
    unsigned destination = 1, mask = 1;
    if (std::sscanf(line, "%16s %x %*x %*x %*d %*d %*d %x", iface, &destination, &mask) == 3 && destination == 0 &&
        mask == 0) {
      std::snprintf(name, size, "%s", iface);
      return;
    }
    line = std::strchr(line, '\n');
  }
}

// The first "nameserver" of resolv.conf, or 0.
in_addr_t FirstNameServer() {
  static char text[4096];
  ReadSmall("/etc/resolv.conf", text, sizeof text);
  for (const char* line = text; line != nullptr && *line != '\0';) {
    char address[64];
    if (std::sscanf(line, "nameserver %63s", address) == 1) {
      in_addr a{};
      if (inet_aton(address, &a) != 0) return a.s_addr;
    }
    line = std::strchr(line, '\n');
    if (line != nullptr) ++line;
  }
  return 0;
}

}  // namespace

int main() {
  char route[IF_NAMESIZE + 1];
  DefaultRouteInterface(route, sizeof route);

  // The first IPv4 address of the default route's interface, else of the
  // first interface that is up and no loopback.
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return 1;
  in_addr address{};
  for (int pass = 0; pass < 2 && address.s_addr == 0; ++pass) {
    for (const ifaddrs* a = list; a != nullptr; a = a->ifa_next) {
      if (a->ifa_addr == nullptr || a->ifa_addr->sa_family != AF_INET) continue;
      if ((a->ifa_flags & IFF_UP) == 0 || (a->ifa_flags & IFF_LOOPBACK) != 0) continue;
      if (pass == 0 && std::strcmp(a->ifa_name, route) != 0) continue;
      address = reinterpret_cast<const sockaddr_in*>(a->ifa_addr)->sin_addr;
      break;
    }
  }
  freeifaddrs(list);
  const in_addr_t server = FirstNameServer();
  if (address.s_addr == 0 || server == 0) return 1;

  // The query: header, the reversed address under in-addr.arpa, PTR, IN.
  unsigned char query[64] = {0x12, 0x34, 0x01, 0x00, 0x00, 0x01, 0, 0, 0, 0, 0, 0};
  size_t at = 12;
  const auto* octets = reinterpret_cast<const unsigned char*>(&address.s_addr);
  for (int i = 3; i >= 0; --i) {
    const int n = std::snprintf(reinterpret_cast<char*>(query + at + 1), 4, "%u", octets[i]);
    query[at] = static_cast<unsigned char>(n);
    at += 1 + n;
  }
  static const char* const kSuffix[] = {"in-addr", "arpa"};
  for (const char* label : kSuffix) {
    query[at] = static_cast<unsigned char>(std::strlen(label));
    std::memcpy(query + at + 1, label, query[at]);
    at += 1 + query[at];
  }
  const unsigned char tail[] = {0, 0, 12, 0, 1};
  std::memcpy(query + at, tail, sizeof tail);
  at += sizeof tail;

  const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return 1;
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(53);
  to.sin_addr.s_addr = server;
  if (connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0 || send(fd, query, at, 0) < 0) return 1;
  pollfd wait{fd, POLLIN, 0};
  if (poll(&wait, 1, 2000) != 1) return 1;
  unsigned char reply[512];
  const ssize_t n = recv(fd, reply, sizeof reply, 0);
  close(fd);
  if (n < 12 || (reply[3] & 0x0F) != 0 || (reply[6] << 8 | reply[7]) == 0) return 1;

  // Past the question to the first answer's data: its first label.
  size_t p = 12;
  while (p < static_cast<size_t>(n) && reply[p] != 0) p += 1 + reply[p];
  p += 5;  // zero byte, type, class
  if (p + 2 <= static_cast<size_t>(n) && (reply[p] & 0xC0) == 0xC0) {
    p += 2;
  } else {
    while (p < static_cast<size_t>(n) && reply[p] != 0) p += 1 + reply[p];
    ++p;
  }
  p += 10;  // type, class, TTL, data length
  if (p >= static_cast<size_t>(n) || p + 1 + reply[p] > static_cast<size_t>(n)) return 1;
  std::printf("%.*s\n", reply[p], reinterpret_cast<const char*>(reply + p + 1));
  return 0;
}
