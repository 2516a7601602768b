#pragma once
// The picture picker's logic: the picture files of one folder shown as pages of thumbnails, the
// file chosen, and the four corner clicks on the enlarged picture that set the regions.

#include <array>
#include <string>
#include <vector>

#include "ui/designer/picture_region.h"

namespace dv::ui {

constexpr int kPickerThumbnails = 20;
// The enlarged picture is shrunk to fit this box.
constexpr int kPreviewMaxWidth = 500;
constexpr int kPreviewMaxHeight = 600;

// The picture files of a folder as full paths: the regular files (or links to one) that match
// "*.bmp", then "*.jpg", "*.gif" and "*.jpeg", without regard to case, each group sorted by name,
// each file once.
std::vector<std::string> ListPictureFiles(const std::string& folder);

// The zoom at which a picture of width by height pixels is enlarged: 1, or smaller so that it
// fits the preview box.
double PreviewZoom(int width, int height);

// A click on the enlarged picture at zoom, in pixels of the preview, as a pixel of the picture.
struct PicturePoint {
    int x = 0;
    int y = 0;
};
PicturePoint PictureClickAt(double previewX, double previewY, double zoom);

// One corner click: the first corner pair still 0 takes the point.
struct CornerStep {
    bool taken = false;     // a corner pair was set
    bool finished = false;  // that was the last pair: the picker closes
    std::string prompt;     // the next prompt, when a pair was set and one is still to come
};
CornerStep TakeCorner(PicRegion& region, PicturePoint point);

extern const char* const kFirstCornerPrompt;

struct ThumbnailSlot {
    bool visible = false;
    std::string path;
    std::string name;  // the file name without its folder
};

class PicturePicker {
  public:
    // Shows another folder from its first page.
    void ShowFolder(const std::string& folder);
    // Lists the folder again (the window comes up again); the page stays when it still exists.
    void Relist();
    // The page scroll moved to `value`; true when another page is to be drawn.
    bool Scroll(int value);
    // A page drawn at random, as the scroll value to move to.
    int RandomPage() const;

    const std::string& Folder() const { return folder_; }
    const std::vector<std::string>& Files() const { return files_; }
    int ScrollMax() const;
    int ScrollValue() const { return scrollValue_; }
    int PageStart() const { return pageStart_; }
    std::array<ThumbnailSlot, kPickerThumbnails> Page() const;

    // A click on thumbnail `index` of the page: false when it shows no file.
    bool Choose(int index);
    const std::string& PicName() const { return picName_; }
    void ForgetChoice() { picName_.clear(); }

  private:
    void List();

    std::string folder_;
    std::vector<std::string> files_;
    int pageStart_ = 0;
    int scrollValue_ = 1;
    int lastShown_ = 0;
    std::string picName_;
};

}  // namespace dv::ui
