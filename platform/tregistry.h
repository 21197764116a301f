#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/registry.h"
#include "platform/registry_exception.h"
#include "platform/string_list.h"

namespace tolvaren {

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

// A root key and at most one open key below it, through which the
// information classes read the registry. Keys that do not open are not
// errors; values that cannot be read as asked raise ERegistryException.
class TRegistry {
 public:
  explicit TRegistry(platform::Registry& registry) : registry_(registry) {}

  void SetRootKey(platform::RegistryRoot root);

  // A path beginning with "\" is taken from the root, any other path below
  // the open key (from the root when none is open). On success the key
  // becomes the open key and the previous one is closed.
  bool OpenKeyReadOnly(const std::string& path);
  // The same with full access; a missing key is never created.
  bool OpenKey(const std::string& path, bool create);
  bool KeyExists(const std::string& path);
  void CloseKey();

  // Fill the list with the open key's subkey or value names (cleared first).
  void GetKeyNames(StringList& names) const;
  void GetValueNames(StringList& names) const;

  bool ValueExists(const std::string& name) const;
  TRegDataType GetDataType(const std::string& name) const;

  // A missing or empty value reads as ""; REG_SZ and REG_EXPAND_SZ read up to
  // the first zero byte; any other type holding data raises.
  std::string ReadString(const std::string& name) const;
  // The number of a REG_DWORD value.
  std::int32_t ReadInteger(const std::string& name) const;
  // Copies the value into the buffer and returns its length (0 when missing).
  // String and DWORD values and data larger than the buffer raise.
  std::size_t ReadBinaryData(const std::string& name, std::uint8_t* buffer, std::size_t size) const;

  const std::string& CurrentPath() const { return currentPath_; }

 private:
  std::string FullPath(const std::string& path) const;
  bool Open(const std::string& path, bool writeAccess);

  platform::Registry& registry_;
  platform::RegistryRoot root_ = platform::RegistryRoot::LocalMachine;
  std::unique_ptr<platform::RegistryKey> currentKey_;
  std::string currentPath_;
};

}  // namespace tolvaren
