#pragma once

#include <cstdint>
#include <string>

#include "platform/system_info.h"

namespace tolvaren {

// The Windows families the information classes tell apart. Everything the
// table does not know, every Windows since Vista and Linux included, is
// osOther.
enum OsKind : std::uint8_t { osOther, osNT3, os95, osNT4, os98, osME, os2000, osXP };

struct OsClassification {
  OsKind kind = osOther;
  // True for the NT family as classified: osNT3, osNT4, os2000 and osXP only.
  bool isNT = false;
  // Registry path of the device classes below HKEY_LOCAL_MACHINE.
  std::string classKey;
};

inline constexpr char kNtClassKey[] = "SYSTEM\\CurrentControlSet\\Control\\Class";
inline constexpr char kWin9xClassKey[] = "SYSTEM\\CurrentControlSet\\Services\\Class";

OsClassification ClassifyOs(const platform::VersionRecord& version);

}  // namespace tolvaren
