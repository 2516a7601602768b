#pragma once
// One running program per program folder: two would each save the player file over the other's
// changes. The program holds a lock on a file of its folder while it runs. The lock is the
// kernel's (flock), so it goes with the process that held it: a program that was killed or
// crashed leaves nothing that blocks the next start.

#include <filesystem>

namespace dv::ui {

// The lock file in the program folder; hidden, so the file dialogs that open there show the game.
inline constexpr const char* kLockFileName = ".Duvenhall.lock";

class FolderLock {
  public:
    FolderLock() = default;
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Takes the folder's lock; false when another running program holds it. A folder where no
    // lock file can be made (read-only) gives no lock and no refusal: nothing can be saved there.
    bool Take(const std::filesystem::path& folder);

  private:
    int fd_ = -1;
};

}  // namespace dv::ui
