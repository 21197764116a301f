#pragma once

#include <array>
#include <optional>
#include <string>

#include "dns/dns_message_codec.h"
#include "platform/string_list.h"
#include "templates/machine_macros.h"

namespace tolvaren {

struct Host;

// When the reverse lookup runs. The template language asks for it whenever
// there are addresses, also for a template such as "pc-?i"; a report, which
// changes nothing, may ask only when the text holds "?d".
enum class ReverseLookupRule { kForAnyNetworkMacro, kOnlyForReverseName };

// Replaces the IP octet macros, "?d", "?m" and "?U" with values of the first
// IP and MAC addresses and the reverse-DNS name of that address, and notes
// them in `used` as soon as they are read. Without a MAC or an IP address they
// all expand to nothing.
std::string ExpandNetworkMacros(Host& host, const std::string& text, ReverseLookupRule rule, MacroValues& used);

// The four octets of a dotted IPv4 address, read in order; raises
// EConvertError for the first that is missing or no decimal number. The address is
// not parsed strictly: its dots become commas and the pieces are those of a
// comma list, so "10.0.0.007" gives 7 for the last octet, as templates have
// always expanded it; an address the network layer hands up is a plain
// dotted quad anyway, and a broken one still ends in the conversion error.
std::array<int, 4> IpOctets(const std::string& address);

// The short host name the DNS servers give for the address, asking one after
// the other until one gives a name; empty when none does. Raises when the
// resolver's socket cannot be opened.
std::string ReverseLookup(Host& host, const std::string& address, const StringList& servers);

// The first label of the first PTR record in the answer section of a parsed
// reply, cut before its first byte of 32 or less; nothing without such a
// record.
std::optional<std::string> ShortHostName(const dns::DnsMessageCodec& reply);

}  // namespace tolvaren
