#pragma once

#include <string>
#include <string_view>

namespace tolvaren::platform::linux_backend {

// /etc/hostname as administrators write it: "#" comment lines and blank lines
// around one name line, perhaps a UTF-8 byte-order mark first, perhaps a
// "# comment" after the name.

// The name the text holds: the first line that is neither blank nor a
// comment, from its first non-blank byte up to the next blank or "#". A
// byte-order mark at the start is no part of it.
std::string NameOfHostnameFile(std::string_view text);

// The text with `name` as its name: comment and blank lines stay where they
// are, the first name line becomes the name alone, and any further name line
// (which the system never reads) goes; a text without a name line gets it
// at the end. The byte-order mark goes, and the text ends with a line end.
std::string HostnameFileWithName(std::string_view text, std::string_view name);

}  // namespace tolvaren::platform::linux_backend
