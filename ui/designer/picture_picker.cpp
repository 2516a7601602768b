#include "ui/designer/picture_picker.h"

#include <algorithm>
#include <set>

#include "engine/model/files.h"
#include "engine/model/text_utils.h"
#include "ui/designer/picture_files.h"

namespace dv::ui {

const char* const kFirstCornerPrompt = "Choose Upper Left Coordinates of Main Card Picture";

// Only regular files, links followed: opening a FIFO named like a picture would wait for a writer
// and hold the whole program.
std::vector<std::string> ListPictureFiles(const std::string& folder) {
    static const char* const kPatterns[] = {"*.bmp", "*.jpg", "*.gif", "*.jpeg"};
    const std::string prefix = FolderWithSeparator(folder);
    const std::vector<FolderEntry> entries = ListFolder(folder);
    std::vector<std::string> files;
    std::set<std::string> listed;
    for (const char* pattern : kPatterns)
        for (const FolderEntry& entry : entries)
            if (entry.isRegular && MatchesPattern(entry.name, pattern) &&
                listed.insert(entry.name).second)
                files.push_back(prefix + entry.name);
    return files;
}

double PreviewZoom(int width, int height) {
    if (width <= 0 || height <= 0) return 1;
    if (height > kPreviewMaxHeight || width > kPreviewMaxWidth)
        return std::min(double(kPreviewMaxHeight) / height, double(kPreviewMaxWidth) / width);
    return 1;
}

PicturePoint PictureClickAt(double previewX, double previewY, double zoom) {
    if (!(zoom > 0)) zoom = 1;
    return {static_cast<int>(RoundHalfEven(previewX / zoom)),
            static_cast<int>(RoundHalfEven(previewY / zoom))};
}

CornerStep TakeCorner(PicRegion& r, PicturePoint p) {
    if (r.MainLeft == 0) {
        r.MainLeft = p.x;
        r.MainTop = p.y;
        return {true, false, "Choose Lower Right Coordinates of Main Card Picture"};
    }
    if (r.MainRight == 0) {
        r.MainRight = p.x;
        r.MainBottom = p.y;
        return {true, false, "Choose Upper Left Coordinates of Thumbnail Picture"};
    }
    if (r.ThumbLeft == 0) {
        r.ThumbLeft = p.x;
        r.ThumbTop = p.y;
        return {true, false, "Choose Lower Right Coordinates of Thumbnail Picture"};
    }
    if (r.ThumbRight == 0) {
        r.ThumbRight = p.x;
        r.ThumbBottom = p.y;
        return {true, true, ""};
    }
    return {};
}

void PicturePicker::List() {
    files_ = ListPictureFiles(folder_);
    if (pageStart_ == 0) pageStart_ = 1;
    const int value = pageStart_ <= ScrollMax() ? pageStart_ : 1;
    Scroll(value);
    pageStart_ = value;
}

void PicturePicker::ShowFolder(const std::string& folder) {
    folder_ = folder;
    pageStart_ = 0;
    lastShown_ = 0;
    List();
}

void PicturePicker::Relist() {
    List();
}

int PicturePicker::ScrollMax() const {
    return std::max(1, static_cast<int>(files_.size()) - (kPickerThumbnails - 1));
}

bool PicturePicker::Scroll(int value) {
    scrollValue_ = std::clamp(value, 1, ScrollMax());
    pageStart_ = scrollValue_;
    if (scrollValue_ == lastShown_) return false;
    lastShown_ = scrollValue_;
    return true;
}

int PicturePicker::RandomPage() const {
    return static_cast<int>(RandomNum(ScrollMax()));
}

std::array<ThumbnailSlot, kPickerThumbnails> PicturePicker::Page() const {
    std::array<ThumbnailSlot, kPickerThumbnails> page;
    for (int i = 0; i < kPickerThumbnails; ++i) {
        const long position = static_cast<long>(pageStart_) + i;  // counted from 1
        if (position < 1 || position > static_cast<long>(files_.size())) continue;
        const std::string& path = files_[position - 1];
        page[i] = {true, path, BareFileName(path)};
    }
    return page;
}

bool PicturePicker::Choose(int index) {
    if (index < 0 || index >= kPickerThumbnails) return false;
    const long position = static_cast<long>(pageStart_) + index;
    if (position < 1 || position > static_cast<long>(files_.size())) return false;
    picName_ = files_[position - 1];
    return true;
}

}  // namespace dv::ui
