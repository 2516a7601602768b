#include "ui/main/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace dv::ui {

FolderLock::~FolderLock() {
    // The file stays: removing it would let a program that opened it meanwhile lock a file that
    // no longer has the name the next one opens.
    if (fd_ >= 0) ::close(fd_);
}

bool FolderLock::Take(const std::filesystem::path& folder) {
    if (fd_ >= 0) return true;
    const std::filesystem::path file = folder / kLockFileName;
    // Close-on-exec: the browser's helper processes must not hold the lock after the program.
    int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return true;
    int taken;
    do {
        taken = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (taken != 0 && errno == EINTR);
    if (taken != 0 && errno == EWOULDBLOCK) {
        ::close(fd);
        return false;
    }
    // A file system without locks (some network ones) cannot tell: the program starts.
    fd_ = fd;
    return true;
}

}  // namespace dv::ui
