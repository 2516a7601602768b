#include "ui/main/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace dv::ui {
namespace {

// What a file of that mode is, said to the player; empty for a regular file.
std::string KindOf(mode_t mode) {
    if (S_ISREG(mode)) return {};
    if (S_ISLNK(mode)) return "a link";
    if (S_ISFIFO(mode)) return "a FIFO (a named pipe)";
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISSOCK(mode)) return "a socket";
    return "a device";
}

std::string NotAFileMessage(const std::filesystem::path& file, const std::string& kind) {
    return "Duvenhall cannot start in this folder: its lock file " + file.string() + " is " + kind +
           ", not a regular file. Remove " + file.string() + " and start Duvenhall again.";
}

}  // namespace

FolderLock::~FolderLock() {
    // The file stays: removing it would let a program that opened it meanwhile lock a file that
    // no longer has the name the next one opens.
    if (fd_ >= 0) ::close(fd_);
}

bool FolderLock::Take(const std::filesystem::path& folder) {
    if (fd_ >= 0) return true;
    refusal_.clear();
    const std::filesystem::path file = folder / kLockFileName;
    // Close-on-exec: the browser's helper processes must not hold the lock after the program.
    // A link in its place is not followed (the file would be made where it leads), and a FIFO is
    // opened without waiting for a writer.
    const int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    int fd = ::open(file.c_str(), O_RDWR | O_CREAT | flags, 0644);
    if (fd < 0 && errno != ELOOP) fd = ::open(file.c_str(), O_RDONLY | flags);
    struct stat info {};
    if (fd < 0) {
        // A link, or a file that cannot be opened: only what stands there can say which.
        if (::lstat(file.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
            std::string kind = KindOf(info.st_mode);
            std::error_code ec;
            const std::filesystem::path target = std::filesystem::read_symlink(file, ec);
            if (S_ISLNK(info.st_mode) && !ec) kind += " to " + target.string();
            refusal_ = NotAFileMessage(file, kind);
            return false;
        }
        return true;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        refusal_ = NotAFileMessage(file, KindOf(info.st_mode));
        ::close(fd);
        return false;
    }
    int taken;
    do {
        taken = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (taken != 0 && errno == EINTR);
    if (taken != 0 && errno == EWOULDBLOCK) {
        ::close(fd);
        refusal_ = "Duvenhall is already running in this folder.";
        return false;
    }
    // A file system without locks (some network ones) cannot tell: the program starts.
    fd_ = fd;
    return true;
}

}  // namespace dv::ui
