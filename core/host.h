#pragma once

#include <memory>

#include "core/os_classification.h"
#include "platform/platform.h"

namespace tolvaren {

struct SavedBiosImage;

// The running machine as the tool's logic sees it: the platform services and
// the operating-system classification, made once at start-up and read-only
// afterwards. Every action and information object is handed one.
struct Host {
  Host(platform::Platform& services, OsClassification classification)
      : platform(services), os(std::move(classification)) {}

  // Classifies the system through the platform's version record.
  static Host StartUp(platform::Platform& services) {
    return Host(services, ClassifyOs(services.system.QueryVersion()));
  }

  platform::Platform& platform;
  const OsClassification os;
  // The saved firmware image TOLVAREN_BIOS_IMAGE names, once it has been
  // read (hwinfo/bios_acquisition.h): a run reads it at most once.
  std::shared_ptr<const SavedBiosImage> savedBiosImage;
};

}  // namespace tolvaren
