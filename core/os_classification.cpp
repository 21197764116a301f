#include "core/os_classification.h"

namespace tolvaren {
namespace {

constexpr std::uint32_t kPlatformNT = 2;

OsKind KindOf(const platform::VersionRecord& v) {
  if (v.platformId == kPlatformNT) {
    switch (v.majorVersion) {
      case 3:
        return osNT3;
      case 4:
        return osNT4;
      case 5:
        return v.minorVersion == 1 ? osXP : os2000;
      default:
        return osOther;
    }
  }
  if (v.majorVersion == 4) {
    switch (v.minorVersion) {
      case 0:
        return os95;
      case 10:
        return os98;
      case 90:
        return osME;
      default:
        break;
    }
  }
  return osOther;
}

}  // namespace

OsClassification ClassifyOs(const platform::VersionRecord& version) {
  OsClassification result;
  result.kind = KindOf(version);
  result.isNT = result.kind == osNT3 || result.kind == osNT4 || result.kind == os2000 || result.kind == osXP;
  result.classKey = result.isNT ? kNtClassKey : kWin9xClassKey;
  return result;
}

}  // namespace tolvaren
