#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvaren::platform::linux_backend {

// True for an address of the loopback network in the text form hosts files
// use: IPv4 127.0.0.0/8 in any spelling inet_aton takes ("127.0.0.1",
// "127.1", "0177.0.0.1", "127.000.000.001"), or the IPv6 address ::1 in any
// of its spellings ("::1", "0:0:0:0:0:0:0:1", ...).
bool IsLoopbackAddressText(std::string_view text);

// True for a name the system keeps for its loopback address: localhost,
// localhost4, localhost6, ip6-localhost or ip6-loopback as the first label,
// with or without a domain ("localhost.localdomain"), in any case.
bool IsLoopbackName(std::string_view name);

// The hosts file with the old names of this machine replaced by the new one,
// or nothing when no byte would change. Only loopback lines are looked at,
// and in them only the host names before any "#": a name equal to an old name
// (compared without case) becomes the new name; a dotted name whose first
// label is an old name keeps its domain ("old.example.org" becomes
// "new.example.org"). Old names count with their first label only, so an old
// name "old.example.org" matches like "old". A loopback name is never taken
// away: where an old name is one (a machine still called "localhost"), the
// lines that hold it keep it and gain the new name after their last name, so
// the new name resolves wherever the old one did. Every other byte, line ends
// and blanks included, stays as it was, and no line is added.
std::optional<std::string> RenameInHostsFile(std::string_view text, const std::vector<std::string>& oldNames,
                                             std::string_view newName);

}  // namespace tolvaren::platform::linux_backend
