#include "dns/dns_names.h"

#include <algorithm>
#include <vector>

#include "dns/net_errors.h"
#include "dns/net_messages.h"

namespace tolvaren::dns {
namespace {

// Splits a dotted text the way both encoders cut it.
std::vector<std::string_view> Pieces(std::string_view dotted) {
  std::vector<std::string_view> pieces;
  while (!dotted.empty()) {
    const std::size_t dot = dotted.find('.');
    pieces.push_back(dotted.substr(0, dot));
    dotted = dot == std::string_view::npos ? std::string_view{} : dotted.substr(dot + 1);
  }
  return pieces;
}

std::string Label(std::string_view piece) {
  std::string label(1, static_cast<char>(piece.size() & 0xFF));
  label.append(piece);
  return label;
}

constexpr std::uint8_t kPointerMark = 0xC0;
// Length bytes 0x40 to 0xBF are the reserved and extended label types of RFC
// 1035 and RFC 6891, which no name of a reply may hold.
constexpr std::size_t kMaxLabelLength = 63;
constexpr std::size_t kPointerReach = 0x4000;  // 14 bits of offset
// RFC 1035: a name takes at most 255 bytes in label form, terminating zero
// byte included. A longer one is a broken or hostile packet; the limit also
// bounds the text a reply can make a name grow to.
constexpr std::size_t kMaxNameWireLength = 255;

// A length byte must have at least one byte after it.
bool IsLastByteOrPast(const ByteView& packet, std::size_t pos) { return pos + 1 >= packet.Size(); }

std::uint8_t ByteOrZero(const ByteView& packet, std::size_t pos) { return packet.U8(pos).value_or(0); }

}  // namespace

std::string EncodeName(std::string_view dotted) {
  std::string encoded;
  for (std::string_view piece : Pieces(dotted)) encoded += Label(piece);
  return encoded;
}

std::string EncodeReverseName(std::string_view dotted) {
  std::string encoded;
  for (std::string_view piece : Pieces(dotted)) encoded = Label(piece) + encoded;
  return encoded + Label("in-addr") + Label("arpa");
}

std::string ReadName(const ByteView& packet, std::size_t& offset, std::vector<std::string>* labels) {
  std::string result;
  if (labels != nullptr) labels->clear();
  std::size_t wireLength = 1;  // the terminating zero byte
  std::size_t pos = offset;
  std::optional<std::size_t> afterFirstPointer;
  // Every position below the pointers' reach whose length or pointer byte
  // was read for this name. A pointer to one of them would go round for ever,
  // so it ends the read; this also bounds the work by the packet's length.
  // Only a name that follows a pointer can loop, so only such a name keeps it.
  std::vector<bool> seen;
  const auto mark = [&seen](std::size_t at) {
    if (at < seen.size()) seen[at] = true;
  };

  while (true) {
    while (ByteOrZero(packet, pos) >= kPointerMark) {
      if (!afterFirstPointer) {
        afterFirstPointer = pos + 2;
        seen.assign(std::min(packet.Size(), kPointerReach), false);
        for (std::size_t at = offset; at < pos; at += 1 + ByteOrZero(packet, at)) mark(at);
      }
      mark(pos);
      const std::size_t target = (std::size_t{ByteOrZero(packet, pos) & 0x3Fu} << 8) | ByteOrZero(packet, pos + 1);
      if (target < seen.size() && seen[target]) {
        throw EDnsResolverError(WithNumber(text::kNamePointerLoop, static_cast<long long>(pos)));
      }
      pos = target;
    }
    if (IsLastByteOrPast(packet, pos)) {
      throw EAssertionFailed(WithNumber(text::kInvalidPacketSize, code::kLengthByteAtEnd) +
                             " (dns/dns_names.cpp, ReadName)");
    }
    mark(pos);
    const std::size_t length = ByteOrZero(packet, pos);
    if (length == 0) break;
    if (length > kMaxLabelLength) {
      throw EDnsResolverError(WithNumber(text::kInvalidPacketSize, code::kReservedLabelType));
    }
    if (!packet.Holds(pos + 1, length)) {
      throw EDnsResolverError(WithNumber(text::kInvalidPacketSize, code::kLabelPastEnd));
    }
    wireLength += 1 + length;
    if (wireLength > kMaxNameWireLength) {
      throw EDnsResolverError(WithNumber(text::kInvalidPacketSize, code::kNameTooLong));
    }
    std::string label(packet.Sub(pos + 1, length).Chars());
    result += label;
    if (labels != nullptr) labels->push_back(std::move(label));
    result += '.';
    pos += 1 + length;
    if (ByteOrZero(packet, pos) == 0 || IsLastByteOrPast(packet, pos)) break;
  }

  if (!result.empty() && result.back() == '.') result.pop_back();
  offset = afterFirstPointer ? *afterFirstPointer : pos + 1;
  return result;
}

std::string ReadCharString(const ByteView& packet, std::size_t& offset) {
  if (IsLastByteOrPast(packet, offset)) return {};
  const std::size_t length = ByteOrZero(packet, offset);
  std::string result(packet.Sub(offset + 1, length).Chars());
  offset += length + 1;
  return result;
}

}  // namespace tolvaren::dns
