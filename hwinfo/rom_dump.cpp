#include "hwinfo/rom_dump.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "hwinfo/dos_dump_programs.h"

namespace tolvaren {
namespace {

constexpr char kFolderPrefix[] = "~RomDmp";
constexpr char kProgramName[] = "RomDump.com";
constexpr char kOutputName[] = "Rom.dmp";

// Runs a clean-up step when the scope ends, whatever way it ends.
template <typename Action>
class AtExit {
 public:
  explicit AtExit(Action action) : action_(std::move(action)) {}
  AtExit(const AtExit&) = delete;
  AtExit& operator=(const AtExit&) = delete;
  ~AtExit() { action_(); }

 private:
  Action action_;
};

// The first "~RomDmpN" that is not an existing folder; a plain file of that
// name ends the search too, and creating the folder then fails.
std::string FreeFolderName(platform::FileSystem& files, const std::string& temp) {
  for (std::uint64_t n = 1;; ++n) {
    std::string candidate = temp + kFolderPrefix + std::to_string(n);
    if (files.Probe(candidate) != platform::pkDirectory) return candidate;
  }
}

}  // namespace

bool WriteDumpProgram(platform::FileSystem& files, int selector, const std::string& path) {
  const platform::WriteOutcome outcome = files.WriteNewFile(path, DumpProgramFor(selector));
  if (outcome == platform::woShort) files.RemoveFile(path);
  return outcome == platform::woWritten;
}

std::string RedirectedCommandLine(const std::string& comspec, const std::string& program, const std::string& output) {
  return comspec + " /C \"\"" + program + "\" > \"" + output + "\"\"";
}

bool RunRedirected(platform::Platform& platform, const std::string& program, const std::string& output,
                   std::uint32_t waitMilliseconds) {
  const std::optional<std::string> comspec = platform.environment.Get("ComSpec");
  if (!comspec || comspec->empty()) return false;
  return platform.processes.RunHidden(RedirectedCommandLine(*comspec, program, output), waitMilliseconds) ==
         platform::roEnded;
}

bool DumpRomSegment(platform::Platform& platform, int selector, std::span<std::uint8_t, kBiosSegmentSize> buffer,
                    std::uint32_t waitMilliseconds) {
  platform::FileSystem& files = platform.files;
  std::string temp = files.TempPath();
  if (temp.empty()) return false;
  if (temp.back() != '\\') temp += '\\';

  const std::string folder = FreeFolderName(files, temp) + '\\';
  if (!files.CreateFolder(folder.substr(0, folder.size() - 1))) return false;
  const AtExit removeFolder([&] { files.RemoveFolder(folder); });

  const std::string program = folder + kProgramName;
  const std::string output = folder + kOutputName;
  if (!WriteDumpProgram(files, selector, program)) return false;
  const AtExit removeFiles([&] {
    files.RemoveFile(output);
    files.RemoveFile(program);
  });

  if (!RunRedirected(platform, program, output, waitMilliseconds)) return false;
  const std::optional<std::vector<std::uint8_t>> dumped = files.ReadFileHead(output, kBiosSegmentSize);
  std::fill(buffer.begin(), buffer.end(), 0);
  if (!dumped) return false;
  std::copy_n(dumped->begin(), std::min(dumped->size(), buffer.size()), buffer.begin());
  return dumped->size() == kBiosSegmentSize;
}

}  // namespace tolvaren
