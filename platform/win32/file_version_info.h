#pragma once

#include <array>
#include <string>

namespace tolvaren::platform::win32_backend {

// The version resource of a program file, as Explorer's Details tab and
// PowerShell's VersionInfo show it: the fixed numbers and the strings of the
// first language the resource lists.
struct FileVersionInfo {
  bool found = false;  // false when the file cannot be read or has no resource
  std::array<unsigned, 4> fileVersion{};
  std::array<unsigned, 4> productVersion{};
  std::string fileVersionText;
  std::string productVersionText;
  std::string productName;
  std::string fileDescription;
  std::string legalCopyright;
  std::string companyName;
  std::string originalFilename;
};

// Reads it with GetFileVersionInfoA (version.dll; the caller links "version").
FileVersionInfo ReadFileVersionInfo(const std::string& path);

}  // namespace tolvaren::platform::win32_backend
