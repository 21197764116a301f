#include "dns/socket_stack.h"

#include <algorithm>

#include "dns/net_errors.h"
#include "dns/net_messages.h"
#include "platform/ascii_case.h"
#include "platform/ipv4_address.h"

namespace tolvaren::dns {
namespace {

struct ErrorText {
  int code;
  const char* text;
};

// Socket error codes and their texts.
constexpr ErrorText kSocketErrorTexts[] = {
    {10004, "Interrupted system call."},
    {10009, "Bad file number."},
    {10013, "Access denied."},
    {10014, "Bad address."},
    {10022, "Invalid argument."},
    {10024, "Too many open files."},
    {10035, "Operation would block. "},
    {10036, "Operation now in progress."},
    {10037, "Operation already in progress."},
    {10038, "Socket operation on non-socket."},
    {10039, "Destination address required."},
    {platform::kMessageTooLong, "Message too long."},
    {10041, "Protocol wrong type for socket."},
    {10042, "Bad protocol option."},
    {10043, "Protocol not supported."},
    {10044, "Socket type not supported."},
    {10045, "Operation not supported on socket."},
    {10046, "Protocol family not supported."},
    {10047, "Address family not supported by protocol family."},
    {10048, "Address already in use."},
    {10049, "Cannot assign requested address."},
    {10050, "Network is down."},
    {10051, "Network is unreachable."},
    {10052, "Net dropped connection or reset."},
    {10053, "Software caused connection abort."},
    {10054, "Connection reset by peer."},
    {10055, "No buffer space available."},
    {10056, "Socket is already connected."},
    {10057, "Socket is not connected."},
    {10058, "Cannot send or receive after socket is closed."},
    {10059, "Too many references, cannot splice."},
    {10060, "Connection timed out."},
    {10061, "Connection refused."},
    {10062, "Too many levels of symbolic links."},
    {10063, "File name too long."},
    {10064, "Host is down."},
    {10065, "No route to host."},
    {10066, "Directory not empty"},
    {11001, "Host not found."},
};

}  // namespace

SocketStack::SocketStack(platform::SocketApi& api) : api_(api) {
  if (!api_.StartUp()) throw EStackInitializationFailed(text::kStackInitializationFailed);
}

std::string SocketStack::ResolveAddress(const std::string& host) {
  if (EqualIgnoringAsciiCase(host, "localhost")) return "127.0.0.1";
  if (IsDottedQuad(host)) return host;
  Ipv4Bytes address{};
  if (!api_.LookUpHost(host, address)) FailOnSocketError(-1);
  return platform::FormatIpv4(address);
}

int SocketStack::FailOnSocketError(int result) {
  if (result != -1) return result;
  lastError_ = api_.LastError();
  std::string message = WithNumber(text::kSocketError, lastError_);
  message.replace(message.find("%s"), 2, SocketErrorText(lastError_));
  throw ESocketError(lastError_, message);
}

int SocketStack::WaitForSockets(std::vector<SocketId>* read, std::vector<SocketId>* write,
                                std::vector<SocketId>* errors, int timeoutMs) {
  std::vector<SocketId> lists[3];
  std::vector<SocketId>* given[3] = {read, write, errors};
  for (int i = 0; i < 3; ++i) {
    if (given[i] == nullptr) continue;
    if (given[i]->size() > kMaxWaitSockets) throw EStackSetSizeExceeded(text::kSetSizeExceeded);
    lists[i] = *given[i];
  }
  // A negative limit other than "no limit" is no valid time; the wait fails
  // as the platform's own would.
  if (timeoutMs < 0 && timeoutMs != kNoTimeLimit) return -1;
  const int result = api_.Wait(lists[0], lists[1], lists[2], timeoutMs == kNoTimeLimit ? -1 : timeoutMs);
  for (int i = 0; i < 3; ++i) {
    if (given[i] != nullptr) *given[i] = result > 0 ? lists[i] : std::vector<SocketId>{};
  }
  return result;
}

bool IsDottedQuad(std::string_view text) {
  const auto pieces = platform::Ipv4DotPieces(text);
  return std::all_of(pieces.begin(), pieces.end(),
                     [](std::string_view piece) { return platform::OctetOfPiece(piece); });
}

Ipv4Bytes ParseDottedQuad(std::string_view text) {
  Ipv4Bytes address{};
  const auto pieces = platform::Ipv4DotPieces(text);
  for (std::size_t i = 0; i < address.size(); ++i) {
    const auto value = platform::Int32OfPiece(pieces[i]);
    if (!value) throw EConvertError("'" + std::string(pieces[i]) + "' is not a valid integer value");
    address[i] = static_cast<std::uint8_t>(*value & 0xFF);
  }
  return address;
}

const char* SocketErrorText(int code) {
  for (const ErrorText& entry : kSocketErrorTexts) {
    if (entry.code == code) return entry.text;
  }
  return "";
}

}  // namespace tolvaren::dns
