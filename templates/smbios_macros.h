#pragma once

#include <string>

namespace tolvaren {

struct Host;

// The identification strings the SMBIOS macros stand for.
struct SmbiosSerials {
  std::string system;
  std::string chassis;
  std::string mainBoard;
  std::string uuid;
};

// Replaces "?c", "?b", "?s", "?G", "?u" and "?a" with the identification the
// SMBIOS reader finds; nothing else of the machine is gathered for them.
std::string ExpandSmbiosMacros(Host& host, const std::string& text);

// The replacements themselves, in their fixed order. A "?G" whose UUID is a
// placeholder becomes "?U", left for the network group.
std::string ReplaceSmbiosMacros(const std::string& text, const SmbiosSerials& serials);

}  // namespace tolvaren
