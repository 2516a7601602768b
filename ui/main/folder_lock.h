#pragma once
// One running program per program folder: two would each save the player file over the other's
// changes. The program holds a lock on a file of its folder while it runs. The lock is the
// kernel's (flock), so it goes with the process that held it: a program that was killed or
// crashed leaves nothing that blocks the next start.

#include <filesystem>
#include <string>

namespace dv::ui {

// The lock file in the program folder; hidden, so the file dialogs that open there show the game.
inline constexpr const char* kLockFileName = ".Duvenhall.lock";

class FolderLock {
  public:
    FolderLock() = default;
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Takes the folder's lock; false when the program may not run there, with the reason in
    // Refusal(): another running program holds the lock, or the lock file is no regular file of
    // the folder (a link, which would carry the lock file elsewhere; a FIFO, whose opening would
    // wait; a folder or a device). A folder where no lock file can be made (read-only) gives no
    // lock and no refusal: nothing can be saved there.
    bool Take(const std::filesystem::path& folder);
    const std::string& Refusal() const { return refusal_; }

  private:
    int fd_ = -1;
    std::string refusal_;
};

}  // namespace dv::ui
