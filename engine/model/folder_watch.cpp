#include "engine/model/folder_watch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace dv {
namespace {

// Changes to the entries of a folder, and the ends of the watch on the folder itself.
constexpr uint32_t kEntryEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr uint32_t kContentEvents = IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB;
constexpr uint32_t kLostEvents =
    IN_Q_OVERFLOW | IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT;

}  // namespace

FolderWatch::~FolderWatch() {
    Stop();
}

void FolderWatch::Stop() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    folders_.clear();
}

bool FolderWatch::Watch(const std::vector<std::string>& folders, bool contents) {
    Stop();
    const int fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0) return false;
    fd_ = fd;
    events_ = kEntryEvents | kLostEvents | IN_ONLYDIR | (contents ? kContentEvents : 0);
    for (const std::string& folder : folders)
        if (!Add(folder)) return false;
    return true;
}

bool FolderWatch::Add(const std::string& folder) {
    if (fd_ < 0) return false;
    if (::inotify_add_watch(fd_, folder.c_str(), events_) < 0) {
        Stop();
        return false;
    }
    folders_.push_back(folder);
    return true;
}

bool FolderWatch::Drain(const std::function<void(std::string_view)>& changed) {
    if (fd_ < 0) return false;
    alignas(inotify_event) char buffer[16 * 1024];
    // Each read takes what is queued; the loop ends when the queue is empty.
    for (;;) {
        const ssize_t got = ::read(fd_, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
        if (got <= 0) {
            Stop();
            return false;
        }
        for (ssize_t at = 0; at < got;) {
            inotify_event event;
            std::memcpy(&event, buffer + at, sizeof event);
            if (event.mask & kLostEvents) {
                Stop();
                return false;
            }
            if (event.len > 0) changed(std::string_view(buffer + at + sizeof event));
            at += static_cast<ssize_t>(sizeof event + event.len);
        }
    }
}

}  // namespace dv
