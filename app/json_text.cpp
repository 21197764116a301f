#include "app/json_text.h"

#include <cstdio>

namespace tolvaren {
namespace {

// The length of the well-formed UTF-8 sequence at the start of the bytes, or
// 0 when they start with none (a stray continuation byte, an overlong form, a
// surrogate, a code point past U+10FFFF, or a sequence cut short).
std::size_t Utf8SequenceLength(std::string_view bytes) {
  const auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const unsigned char lead = at(0);
  std::size_t length = 0;
  unsigned char low = 0x80;  // bounds of the second byte
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // no overlong forms
    if (lead == 0xF4) high = 0x8F;  // nothing past U+10FFFF
  } else {
    return 0;
  }
  if (bytes.size() < length || at(1) < low || at(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (at(i) < 0x80 || at(i) > 0xBF) return 0;
  }
  return length;
}

void AppendCodePointEscape(std::string& out, unsigned value) {
  char escape[8];
  std::snprintf(escape, sizeof escape, "\\u%04x", value);
  out += escape;
}

}  // namespace

std::string JsonString(std::string_view bytes) {
  std::string out = "\"";
  out.reserve(bytes.size() + 2);
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte >= 0x80) {
      const std::size_t length = Utf8SequenceLength(bytes.substr(i));
      if (length == 0) {
        AppendCodePointEscape(out, byte);
        ++i;
      } else {
        out.append(bytes.substr(i, length));
        i += length;
      }
      continue;
    }
    switch (byte) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (byte < 0x20 || byte == 0x7F) {
          AppendCodePointEscape(out, byte);
        } else {
          out += static_cast<char>(byte);
        }
    }
    ++i;
  }
  out += '"';
  return out;
}

}  // namespace tolvaren
