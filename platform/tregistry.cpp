#include "platform/tregistry.h"

#include <algorithm>

namespace tolvaren {
namespace {

bool IsStringType(std::uint32_t type) { return type == platform::kRegSz || type == platform::kRegExpandSz; }

}  // namespace

void TRegistry::SetRootKey(platform::RegistryRoot root) {
  CloseKey();
  root_ = root;
}

std::string TRegistry::FullPath(const std::string& path) const {
  if (!path.empty() && path.front() == '\\') return path.substr(1);
  if (currentKey_ == nullptr || currentPath_.empty()) return path;
  if (path.empty()) return currentPath_;
  return currentPath_ + "\\" + path;
}

bool TRegistry::Open(const std::string& path, bool writeAccess) {
  const std::string full = FullPath(path);
  std::unique_ptr<platform::RegistryKey> key = registry_.OpenKey(root_, full, writeAccess);
  if (key == nullptr) return false;
  currentKey_ = std::move(key);
  currentPath_ = full;
  return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& path) { return Open(path, false); }

// Keys are never created: every caller only reads.
bool TRegistry::OpenKey(const std::string& path, bool /*create*/) { return Open(path, true); }

bool TRegistry::KeyExists(const std::string& path) {
  return registry_.OpenKey(root_, FullPath(path), false) != nullptr;
}

void TRegistry::CloseKey() {
  currentKey_.reset();
  currentPath_.clear();
}

void TRegistry::GetKeyNames(StringList& names) const {
  names.Clear();
  if (currentKey_ == nullptr) return;
  for (std::string& name : currentKey_->SubkeyNames()) names.Add(std::move(name));
}

void TRegistry::GetValueNames(StringList& names) const {
  names.Clear();
  if (currentKey_ == nullptr) return;
  for (std::string& name : currentKey_->ValueNames()) names.Add(std::move(name));
}

bool TRegistry::ValueExists(const std::string& name) const {
  return currentKey_ != nullptr && currentKey_->QueryValue(name).has_value();
}

TRegDataType TRegistry::GetDataType(const std::string& name) const {
  if (currentKey_ == nullptr) return rdUnknown;
  const auto value = currentKey_->QueryValue(name);
  if (!value) return rdUnknown;
  switch (value->type) {
    case platform::kRegSz:
      return rdString;
    case platform::kRegExpandSz:
      return rdExpandString;
    case platform::kRegDword:
      return rdInteger;
    case platform::kRegBinary:
      return rdBinary;
    default:
      return rdUnknown;
  }
}

std::string TRegistry::ReadString(const std::string& name) const {
  if (currentKey_ == nullptr) return {};
  const auto value = currentKey_->QueryValue(name);
  if (!value || value->data.empty()) return {};
  if (!IsStringType(value->type)) throw ERegistryException::InvalidDataType(name);
  const auto end = std::find(value->data.begin(), value->data.end(), std::uint8_t{0});
  return std::string(value->data.begin(), end);
}

std::int32_t TRegistry::ReadInteger(const std::string& name) const {
  const auto value = currentKey_ != nullptr ? currentKey_->QueryValue(name) : std::nullopt;
  if (!value) throw ERegistryException::FailedToGetData(name);
  if (value->type != platform::kRegDword) throw ERegistryException::InvalidDataType(name);
  std::uint8_t bytes[4] = {};
  std::copy_n(value->data.begin(), std::min<std::size_t>(value->data.size(), sizeof bytes), bytes);
  const std::uint32_t number = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
                               static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
  return static_cast<std::int32_t>(number);
}

std::size_t TRegistry::ReadBinaryData(const std::string& name, std::uint8_t* buffer, std::size_t size) const {
  const auto value = currentKey_ != nullptr ? currentKey_->QueryValue(name) : std::nullopt;
  if (!value) return 0;
  if (IsStringType(value->type) || value->type == platform::kRegDword || value->data.size() > size) {
    throw ERegistryException::InvalidDataType(name);
  }
  std::copy(value->data.begin(), value->data.end(), buffer);
  return value->data.size();
}

}  // namespace tolvaren
