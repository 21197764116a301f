#pragma once

#include <cstddef>
#include <string>

namespace tolvaren::platform::linux_backend {

// The file a path finally names: symbolic links are followed (relative ones
// from their own folder), up to 40 of them, as the kernel does; the path
// itself when it is no link or does not exist. Sets error (ELOOP, or what
// readlink reports) and returns the path as given when it cannot.
std::string FinalTarget(const std::string& path, int& error);

// Holds an exclusive flock(2) on a folder while it lives, so that one writer
// at a time reads and replaces the files in it; the lock lives on the
// folder's open descriptor and leaves nothing behind. When the folder cannot
// be opened or locked it holds nothing and the caller goes on unlocked.
class FolderLock {
 public:
  explicit FolderLock(const std::string& folder);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int fd_ = -1;
};

// The folder that holds the path's last component ("/" for "/x", "." for "x").
std::string FolderOf(const std::string& path);

// Removes "NAME.tolvaren-XXXXXX" files beside the file a path names: what a
// run that was killed between making and renaming its temporary file left.
// Only under the FolderLock every writer takes, or it could take another
// run's file from under it.
void RemoveLeftoverTemporaries(const std::string& path);

// Replaces the file a path names (through its symbolic links) with the
// content, so that a crash at any moment leaves the old or the new content,
// never an empty or half-written file: the content goes into a temporary file
// in the target's own folder, gets the old file's owner and mode (0644 for a
// new file), reaches the disk and is renamed over the target; the folder is
// synced so the rename itself survives. Returns 0 or the errno (EISDIR for a
// folder, ENOTSUP for a FIFO, socket or device, which is not replaced), and
// then sets `reason` to the system's words for it.
int ReplaceFileKeepingAttributes(const std::string& path, const std::string& content, std::string& reason);

}  // namespace tolvaren::platform::linux_backend
