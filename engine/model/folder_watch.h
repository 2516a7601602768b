#pragma once
// Tells which entries of a set of folders were added, removed or renamed since it last asked,
// so that what was learnt from those folders can be kept until it may have changed.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace dv {

class FolderWatch {
  public:
    FolderWatch() = default;
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // Starts watching these folders instead of any before; with contents, writes to their files
    // and changes of their files' attributes count as changes too. False when the system cannot
    // watch them all; the watch is then inactive.
    bool Watch(const std::vector<std::string>& folders, bool contents = false);
    // Watches one more folder alike; false, and the watch stopped, when it cannot.
    bool Add(const std::string& folder);
    void Stop();
    bool Active() const { return fd_ >= 0; }
    const std::vector<std::string>& Folders() const { return folders_; }

    // Hands every entry name that changed since the last call to changed. Returns false when the
    // watch lost track (its queue overflowed, a watched folder was moved or removed): anything
    // may have changed then, and the watch has stopped.
    bool Drain(const std::function<void(std::string_view name)>& changed);

  private:
    int fd_ = -1;
    uint32_t events_ = 0;
    std::vector<std::string> folders_;
};

}  // namespace dv
