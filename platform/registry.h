#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tolvaren::platform {

// The two registry roots the tool reads below.
enum class RegistryRoot { LocalMachine, DynData };

// Value types as the Windows registry numbers them.
enum RegistryType : std::uint32_t {
  kRegNone = 0,
  kRegSz = 1,
  kRegExpandSz = 2,
  kRegBinary = 3,
  kRegDword = 4,
  kRegMultiSz = 7,
};

struct RegistryValue {
  std::uint32_t type = kRegNone;
  std::vector<std::uint8_t> data;  // raw bytes, string terminators included
};

// One open registry key; destroying it closes the key.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  // Names in the order the registry gives them.
  virtual std::vector<std::string> SubkeyNames() = 0;
  virtual std::vector<std::string> ValueNames() = 0;
  // Nothing when the key holds no such value; "" names the default value.
  virtual std::optional<RegistryValue> QueryValue(const std::string& name) = 0;
};

// The system registry. Paths are taken below the root, without a leading
// backslash; a key that does not open gives nullptr.
class Registry {
 public:
  virtual ~Registry() = default;
  virtual std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, const std::string& path, bool writeAccess) = 0;
};

}  // namespace tolvaren::platform
