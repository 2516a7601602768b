#pragma once
// One running program per program folder: two would each save the player file over the other's
// changes. The program holds a lock on a file of its folder while it runs. The lock is the
// kernel's (flock), so it goes with the process that held it: a program that was killed or
// crashed leaves nothing that blocks the next start.

#include <sys/types.h>

#include <filesystem>
#include <string>

namespace dv::ui {

// The lock file in the program folder; hidden, so the file dialogs that open there show the game.
inline constexpr const char* kLockFileName = ".Duvenhall.lock";

class FolderLock {
  public:
    // How the lock file is opened: open(2) as the program calls it; a test hands in one that
    // fails as the file's mode would for a user other than root.
    using OpenCall = int (*)(const char* path, int flags, mode_t mode);

    FolderLock() = default;
    explicit FolderLock(OpenCall open) : open_(open) {}
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Takes the folder's lock; false when the program may not run there, with the reason in
    // Refusal(): another running program holds the lock, the lock file is no regular file of the
    // folder (a link, which would carry the lock file elsewhere; a FIFO, whose opening would
    // wait; a folder or a device), or no lock can be taken: the lock file cannot be opened (its
    // mode, or another user's), or cannot be made (the folder is read-only). Without a lock a
    // second program could run in the folder unseen.
    bool Take(const std::filesystem::path& folder);
    const std::string& Refusal() const { return refusal_; }

  private:
    static int OpenFile(const char* path, int flags, mode_t mode);

    OpenCall open_ = &OpenFile;
    int fd_ = -1;
    std::string refusal_;
};

}  // namespace dv::ui
