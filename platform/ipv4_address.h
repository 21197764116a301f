#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/string_list.h"

namespace tolvaren::platform {

using Ipv4Bytes = std::array<std::uint8_t, 4>;  // network order

// "a.b.c.d" in decimal, the form every report and packet log uses.
std::string FormatIpv4(const Ipv4Bytes& address);

// IPv4 text is read in one of these ways; each says why it differs.
enum class Ipv4Syntax : std::uint8_t {
  // inet_pton's: four decimal numbers from 0 to 255, one to three digits each
  // with no leading zero, no sign and no blanks. What the system itself
  // prints, and the only form taken from a user's or a peer's text.
  kExact,
  // inet_aton's, as glibc's resolver reads resolv.conf and applications read
  // loopback addresses: one to four parts, each decimal, octal ("0" first) or
  // hexadecimal ("0x" first); every part but the last is one byte, the last
  // fills the bytes that are left ("127.1" is 127.0.0.1, "0177.0.0.1" and
  // "127.000.000.001" too). The whole text must be the address.
  kInetAton,
};

// The address the whole text spells in that syntax; nothing when it spells
// none ("1.2.3", "01.2.3.4" or "1.2.3.4 " are nothing as kExact).
std::optional<Ipv4Bytes> ParseIpv4(std::string_view text, Ipv4Syntax syntax = Ipv4Syntax::kExact);

// The lenient reading of a dotted text the program has made itself (the
// socket layer's host texts, the octet macros' first address): the text is cut
// into pieces and each piece is a number on its own. How the text is cut is
// the only thing these readings differ in.

// The four pieces cut at the first three dots; the fourth takes the rest,
// dots included, and missing pieces are empty ("1.2.3.4.5" gives "4.5").
std::array<std::string_view, 4> Ipv4DotPieces(std::string_view text);

// The pieces of the text with its dots read as the commas of a comma list (so
// blanks separate pieces too and double quotes group them). "10.0.0.007"
// gives "10", "0", "0" and "007".
StringList Ipv4ListPieces(std::string_view text);

// A piece as a number from 0 to 255: one or more decimal digits, leading
// zeros allowed, nothing else.
std::optional<std::uint8_t> OctetOfPiece(std::string_view piece);

// A piece as a signed 32-bit decimal number: one optional "+" or "-", then
// one or more digits; nothing when it is not one or does not fit.
std::optional<std::int32_t> Int32OfPiece(std::string_view piece);

}  // namespace tolvaren::platform
