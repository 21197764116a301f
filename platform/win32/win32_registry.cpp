#include "platform/win32/win32_registry.h"

#include <windows.h>

namespace tolvaren::platform::win32_backend {
namespace {

// Registry names are at most 255 characters; value names up to 16383.
constexpr DWORD kKeyNameCapacity = 256;
constexpr DWORD kValueNameCapacity = 16384;

class Win32RegistryKey final : public RegistryKey {
 public:
  explicit Win32RegistryKey(HKEY key) : key_(key) {}
  ~Win32RegistryKey() override { RegCloseKey(key_); }
  Win32RegistryKey(const Win32RegistryKey&) = delete;
  Win32RegistryKey& operator=(const Win32RegistryKey&) = delete;

  std::vector<std::string> SubkeyNames() override {
    std::vector<std::string> names;
    for (DWORD index = 0;; ++index) {
      char name[kKeyNameCapacity] = {};
      DWORD length = kKeyNameCapacity;
      const LONG status = RegEnumKeyExA(key_, index, name, &length, nullptr, nullptr, nullptr, nullptr);
      if (status == ERROR_MORE_DATA) continue;  // a name too long to be a key name: skip it
      if (status != ERROR_SUCCESS) break;
      names.emplace_back(name, length);
    }
    return names;
  }

  std::vector<std::string> ValueNames() override {
    std::vector<std::string> names;
    std::string name(kValueNameCapacity, '\0');
    for (DWORD index = 0;; ++index) {
      DWORD length = kValueNameCapacity;
      const LONG status = RegEnumValueA(key_, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
      if (status == ERROR_MORE_DATA) continue;
      if (status != ERROR_SUCCESS) break;
      names.emplace_back(name.data(), length);
    }
    return names;
  }

  std::optional<RegistryValue> QueryValue(const std::string& name) override {
    const char* valueName = name.empty() ? nullptr : name.c_str();
    // The size can change between the two calls; retry a few times.
    for (int attempt = 0; attempt < 4; ++attempt) {
      DWORD type = 0;
      DWORD size = 0;
      if (RegQueryValueExA(key_, valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
      RegistryValue value;
      value.type = type;
      value.data.resize(size);
      DWORD got = size;
      const LONG status =
          RegQueryValueExA(key_, valueName, nullptr, &type, size > 0 ? value.data.data() : nullptr, &got);
      if (status == ERROR_MORE_DATA) continue;
      if (status != ERROR_SUCCESS) return std::nullopt;
      value.type = type;
      value.data.resize(got);
      return value;
    }
    return std::nullopt;
  }

 private:
  HKEY key_;
};

}  // namespace

std::unique_ptr<RegistryKey> Win32Registry::OpenKey(RegistryRoot root, const std::string& path, bool writeAccess) {
  const HKEY rootKey = root == RegistryRoot::DynData ? HKEY_DYN_DATA : HKEY_LOCAL_MACHINE;
  HKEY key = nullptr;
  if (RegOpenKeyExA(rootKey, path.c_str(), 0, writeAccess ? KEY_ALL_ACCESS : KEY_READ, &key) != ERROR_SUCCESS) {
    return nullptr;
  }
  return std::make_unique<Win32RegistryKey>(key);
}

}  // namespace tolvaren::platform::win32_backend
