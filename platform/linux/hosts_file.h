#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvaren::platform::linux_backend {

// True for an address of the loopback network in the text form hosts files
// use: IPv4 127.0.0.0/8 as a dotted quad, or the IPv6 address ::1 in any of
// its spellings ("::1", "0:0:0:0:0:0:0:1", ...).
bool IsLoopbackAddressText(std::string_view text);

// The hosts file with the old names of this machine replaced by the new one,
// or nothing when no byte would change. Only loopback lines are looked at,
// and in them only the host names before any "#": a name equal to an old name
// (compared without case) becomes the new name; a dotted name whose first
// label is an old name keeps its domain ("old.example.org" becomes
// "new.example.org"). Old names count with their first label only, so an old
// name "old.example.org" matches like "old". Every other byte, line ends and
// blanks included, stays as it was, and no line is added.
std::optional<std::string> RenameInHostsFile(std::string_view text, const std::vector<std::string>& oldNames,
                                             std::string_view newName);

}  // namespace tolvaren::platform::linux_backend
