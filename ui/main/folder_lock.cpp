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

std::string UnopenedMessage(const std::filesystem::path& file, int error) {
    return "Duvenhall cannot start in this folder: its lock file " + file.string() +
           " cannot be opened (" + std::generic_category().message(error) +
           "). Let your user read and write it, or remove it while no Duvenhall runs in this "
           "folder, and start Duvenhall again.";
}

std::string UnmadeMessage(const std::filesystem::path& folder, const std::filesystem::path& file,
                          int error) {
    return "Duvenhall cannot start in this folder: its lock file " + file.string() +
           " cannot be made (" + std::generic_category().message(error) +
           "). Let Duvenhall write in " + folder.string() + " and start Duvenhall again.";
}

}  // namespace

FolderLock::~FolderLock() {
    // The file stays: removing it would let a program that opened it meanwhile lock a file that
    // no longer has the name the next one opens.
    if (fd_ >= 0) ::close(fd_);
}

int FolderLock::OpenFile(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}

bool FolderLock::Take(const std::filesystem::path& folder) {
    if (fd_ >= 0) return true;
    refusal_.clear();
    const std::filesystem::path file = folder / kLockFileName;
    // Close-on-exec: the browser's helper processes must not hold the lock after the program.
    // A link in its place is not followed (the file would be made where it leads), and a FIFO is
    // opened without waiting for a writer.
    const int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    int fd = open_(file.c_str(), O_RDWR | O_CREAT | flags, 0644);
    // Why the file could not be opened for both, or made: the read-only open finds no file to
    // open in a folder where none could be made.
    const int openError = errno;
    if (fd < 0 && openError != ELOOP) fd = open_(file.c_str(), O_RDONLY | flags, 0);
    struct stat info {};
    if (fd < 0) {
        // A link, a file that cannot be opened, or none: only what stands there can say which.
        if (::lstat(file.c_str(), &info) != 0) {
            refusal_ = UnmadeMessage(folder, file, openError);
        } else if (S_ISREG(info.st_mode)) {
            refusal_ = UnopenedMessage(file, openError);
        } else {
            std::string kind = KindOf(info.st_mode);
            std::error_code ec;
            const std::filesystem::path target = std::filesystem::read_symlink(file, ec);
            if (S_ISLNK(info.st_mode) && !ec) kind += " to " + target.string();
            refusal_ = NotAFileMessage(file, kind);
        }
        return false;
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
