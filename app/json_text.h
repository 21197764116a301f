#pragma once

#include <string>
#include <string_view>

namespace tolvaren {

// The bytes as a JSON string literal, quotes included, that every RFC 8259
// reader accepts whatever the bytes are: a well-formed UTF-8 sequence is kept
// as it is; every other byte from 0x80 up stands for the code point of the
// same number ("\u00e9" for 0xE9, as if the text were Latin-1); the bytes
// below 0x20 and 0x7F, the quote and the backslash are escaped.
std::string JsonString(std::string_view bytes);

}  // namespace tolvaren
