#include "hwinfo/bios_image.h"

#include <cstdlib>
#include <new>

namespace tolvaren {

void BiosImageDeleter::operator()(BiosImage* image) const noexcept { std::free(image); }

BiosImagePtr NewZeroedBiosImage() {
  void* block = std::calloc(1, sizeof(BiosImage));
  if (block == nullptr) throw std::bad_alloc();
  return BiosImagePtr(static_cast<BiosImage*>(block));
}

}  // namespace tolvaren
