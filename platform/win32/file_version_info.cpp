#include "platform/win32/file_version_info.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace tolvaren::platform::win32_backend {
namespace {

std::array<unsigned, 4> VersionNumbers(DWORD high, DWORD low) {
  return {HIWORD(high), LOWORD(high), HIWORD(low), LOWORD(low)};
}

// One value of the StringFileInfo block of the given language and code page;
// empty when the resource lacks it.
std::string StringValue(const std::vector<char>& data, const char* block, const char* name) {
  const std::string key = std::string("\\StringFileInfo\\") + block + "\\" + name;
  char* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) || value == nullptr) {
    return "";
  }
  std::string text(value, length);
  // The length counts the terminating zero in some versions of the call.
  while (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}

}  // namespace

FileVersionInfo ReadFileVersionInfo(const std::string& path) {
  FileVersionInfo info;
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  if (size == 0) return info;
  std::vector<char> data(size);
  if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data())) return info;

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedLength = 0;
  if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedLength) || fixed == nullptr ||
      fixedLength < sizeof(VS_FIXEDFILEINFO)) {
    return info;
  }
  info.found = true;
  info.fileVersion = VersionNumbers(fixed->dwFileVersionMS, fixed->dwFileVersionLS);
  info.productVersion = VersionNumbers(fixed->dwProductVersionMS, fixed->dwProductVersionLS);

  // The Translation list names the language and code page of the strings.
  WORD* translation = nullptr;
  UINT translationLength = 0;
  if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                      &translationLength) ||
      translation == nullptr || translationLength < 2 * sizeof(WORD)) {
    return info;
  }
  char block[9];
  std::snprintf(block, sizeof block, "%04X%04X", translation[0], translation[1]);
  info.fileVersionText = StringValue(data, block, "FileVersion");
  info.productVersionText = StringValue(data, block, "ProductVersion");
  info.productName = StringValue(data, block, "ProductName");
  info.fileDescription = StringValue(data, block, "FileDescription");
  info.legalCopyright = StringValue(data, block, "LegalCopyright");
  info.companyName = StringValue(data, block, "CompanyName");
  info.originalFilename = StringValue(data, block, "OriginalFilename");
  return info;
}

}  // namespace tolvaren::platform::win32_backend
