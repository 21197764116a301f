#include "platform/win32/win32_files.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace tolvaren::platform::win32_backend {

std::string Win32FileSystem::TempPath() {
  char buffer[MAX_PATH] = {};
  const DWORD length = GetTempPathA(MAX_PATH, buffer);
  if (length == 0 || length >= MAX_PATH) return std::string();
  return std::string(buffer, length);
}

PathKind Win32FileSystem::Probe(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return pkMissing;
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? pkDirectory : pkFile;
}

bool Win32FileSystem::CreateFolder(const std::string& path) { return CreateDirectoryA(path.c_str(), nullptr) != 0; }

bool Win32FileSystem::RemoveFolder(const std::string& path) { return RemoveDirectoryA(path.c_str()) != 0; }

bool Win32FileSystem::RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

WriteOutcome Win32FileSystem::WriteNewFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  const HANDLE file =
      CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return woNotCreated;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size() ? woWritten : woShort;
}

namespace {

// The system's text for an error code, without the line end and the full
// stop FormatMessage puts after it.
std::string SystemReason(DWORD code) {
  char buffer[512] = {};
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                      buffer, sizeof buffer, nullptr);
  std::string text(buffer, length);
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ' || text.back() == '.')) {
    text.pop_back();
  }
  return text.empty() ? "system error " + std::to_string(code) : text;
}

// Opens a file on a disk for reading, or says why not. Pipes (a FIFO under
// Wine), consoles and other devices are refused before any byte is read: a
// read from them may wait for ever or never end.
HANDLE OpenDiskFile(const std::string& path, std::string& reason) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    reason = "it is a folder, not a file";
    return INVALID_HANDLE_VALUE;
  }
  const HANDLE file =
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    reason = SystemReason(GetLastError());
    return file;
  }
  switch (GetFileType(file)) {
    case FILE_TYPE_DISK:
      return file;
    case FILE_TYPE_PIPE:
      reason = "it is a pipe, not a file";
      break;
    case FILE_TYPE_CHAR:
      reason = "it is a character device, not a file";
      break;
    default:
      reason = "it is not a file";
      break;
  }
  CloseHandle(file);
  return INVALID_HANDLE_VALUE;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> Win32FileSystem::ReadRegularFile(const std::string& path, std::size_t limit,
                                                                          std::string& reason) {
  const HANDLE file = OpenDiskFile(path, reason);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  // Sized from the file where the system knows its size, so that reading a
  // small file does not clear a buffer of the whole limit first.
  std::size_t capacity = std::min<std::size_t>(limit, 0x7FFFFFFF);
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file, &size) && size.QuadPart >= 0) {
    capacity = std::min<std::size_t>(capacity, static_cast<std::uint64_t>(size.QuadPart));
  }
  std::vector<std::uint8_t> bytes(capacity);
  DWORD read = 0;
  const BOOL ok = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  if (!ok) reason = SystemReason(GetLastError());
  CloseHandle(file);
  if (!ok) return std::nullopt;
  bytes.resize(read);
  return bytes;
}

bool Win32FileSystem::ReadWholeFileInto(const std::string& path, std::span<std::uint8_t> buffer) {
  std::string reason;
  const HANDLE file = OpenDiskFile(path, reason);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool ok = GetFileSizeEx(file, &size) && static_cast<std::uint64_t>(size.QuadPart) == buffer.size() &&
            buffer.size() <= 0x7FFFFFFF;
  if (ok) {
    DWORD read = 0;
    ok = ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr) && read == buffer.size();
  }
  CloseHandle(file);
  return ok;
}

std::optional<std::uint64_t> Win32FileSystem::ReadableFileSize(const std::string& path) {
  std::string reason;
  const HANDLE file = OpenDiskFile(path, reason);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  LARGE_INTEGER size{};
  const bool ok = GetFileSizeEx(file, &size) && size.QuadPart >= 0;
  CloseHandle(file);
  if (!ok) return std::nullopt;
  return static_cast<std::uint64_t>(size.QuadPart);
}

#ifndef _WIN64
static_assert(sizeof(STARTUPINFOA) == 68);
#endif

RunOutcome Win32ProcessRunner::RunHidden(const std::string& commandLine, std::uint32_t waitMilliseconds) {
  // cb is the record's own size: 68 bytes on 32-bit Windows, 104 on x64.
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process{};
  std::string line = commandLine;  // CreateProcessA may write into it
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE | CREATE_NEW_PROCESS_GROUP,
                      nullptr, nullptr, &startup, &process)) {
    return roNotStarted;
  }
  const DWORD wait = WaitForSingleObject(process.hProcess, waitMilliseconds);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return wait == WAIT_TIMEOUT ? roTimedOut : roEnded;
}

}  // namespace tolvaren::platform::win32_backend
