#include "platform/ipv4_address.h"

#include "platform/hex_digit.h"
#include "platform/string_list.h"

namespace tolvaren::platform {
namespace {

constexpr std::uint64_t kAddressMax = 0xFFFFFFFF;

struct Part {
  std::uint64_t value = 0;
  std::size_t end = 0;  // the position after its last digit
};

// The number that starts at `at`, read by the syntax's rules; nothing when no
// digit starts there or it does not fit 32 bits. In inet_aton's syntax a "0x"
// counts as the hexadecimal prefix only when a hexadecimal digit follows, as
// strtoul reads it; otherwise the "0" is an octal number on its own.
std::optional<Part> ReadPart(std::string_view text, std::size_t at, Ipv4Syntax syntax) {
  if (at >= text.size() || text[at] < '0' || text[at] > '9') return std::nullopt;
  int base = 10;
  std::size_t first = at;
  if (syntax == Ipv4Syntax::kInetAton && text[at] == '0') {
    const bool hex =
        at + 2 < text.size() && (text[at + 1] == 'x' || text[at + 1] == 'X') && HexDigitValue(text[at + 2]) >= 0;
    base = hex ? 16 : 8;
    if (hex) first = at + 2;
  }
  Part part;
  std::size_t pos = first;
  for (; pos < text.size(); ++pos) {
    const int digit = HexDigitValue(text[pos]);
    if (digit < 0 || digit >= base) break;
    part.value = part.value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
    if (part.value > kAddressMax) return std::nullopt;
  }
  const std::size_t digits = pos - first;
  if (syntax == Ipv4Syntax::kExact && (digits > 3 || (digits > 1 && text[first] == '0'))) return std::nullopt;
  part.end = pos;
  return part;
}

}  // namespace

std::string FormatIpv4(const Ipv4Bytes& address) {
  return std::to_string(address[0]) + "." + std::to_string(address[1]) + "." + std::to_string(address[2]) + "." +
         std::to_string(address[3]);
}

std::optional<Ipv4Bytes> ParseIpv4(std::string_view text, Ipv4Syntax syntax) {
  std::array<std::uint64_t, 4> parts{};
  std::size_t count = 0;
  std::size_t at = 0;
  while (true) {
    const std::optional<Part> part = ReadPart(text, at, syntax);
    if (!part) return std::nullopt;
    parts[count++] = part->value;
    at = part->end;
    if (at == text.size()) break;
    if (text[at] != '.' || count == parts.size()) return std::nullopt;
    ++at;
  }
  if (syntax == Ipv4Syntax::kExact && count != parts.size()) return std::nullopt;
  // Every part but the last is one byte; the last fills the bytes left.
  Ipv4Bytes address{};
  for (std::size_t i = 0; i + 1 < count; ++i) {
    if (parts[i] > 0xFF) return std::nullopt;
    address[i] = static_cast<std::uint8_t>(parts[i]);
  }
  const std::size_t lastBytes = address.size() + 1 - count;
  const std::uint64_t last = parts[count - 1];
  if ((last >> (8 * lastBytes)) != 0) return std::nullopt;
  for (std::size_t b = 0; b < lastBytes; ++b)
    address[address.size() - 1 - b] = static_cast<std::uint8_t>(last >> (8 * b));
  return address;
}

std::array<std::string_view, 4> Ipv4DotPieces(std::string_view text) {
  std::array<std::string_view, 4> pieces{};
  for (std::size_t i = 0; i + 1 < pieces.size(); ++i) {
    const std::size_t dot = text.find('.');
    pieces[i] = text.substr(0, dot);
    text = dot == std::string_view::npos ? std::string_view{} : text.substr(dot + 1);
  }
  pieces.back() = text;
  return pieces;
}

StringList Ipv4ListPieces(std::string_view text) {
  std::string commas(text);
  for (char& c : commas) {
    if (c == '.') c = ',';
  }
  StringList pieces;
  pieces.SetCommaText(commas);
  return pieces;
}

std::optional<std::uint8_t> OctetOfPiece(std::string_view piece) {
  if (piece.empty()) return std::nullopt;
  unsigned value = 0;
  for (const char c : piece) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<unsigned>(c - '0');
    if (value > 0xFF) return std::nullopt;
  }
  return static_cast<std::uint8_t>(value);
}

std::optional<std::int32_t> Int32OfPiece(std::string_view piece) {
  const bool negative = !piece.empty() && piece.front() == '-';
  if (!piece.empty() && (piece.front() == '-' || piece.front() == '+')) piece.remove_prefix(1);
  if (piece.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (const char c : piece) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > std::int64_t{1} << 31) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

}  // namespace tolvaren::platform
