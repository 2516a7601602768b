#include "ui/designer/picture_picker.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/model/state.h"
#include "tests/support/engine_fixture.h"
#include "tests/ui/designer/picture_printers.h"
#include "ui/designer/picture_files.h"

namespace dv::ui {
namespace {

using PicturePickerTest = test::EngineTest;

std::vector<std::string> Names(const std::vector<std::string>& paths) {
    std::vector<std::string> names;
    for (const std::string& path : paths)
        names.push_back(BareFileName(path));
    return names;
}

std::string Numbered(int i) {
    char name[16];
    std::snprintf(name, sizeof name, "p%02d.jpg", i);
    return name;
}

TEST(PictureFilesTest, ExtensionsAndThumbnailNames) {
    struct Row {
        const char* path;
        const char* extension;
        const char* mini;
    };
    const Row rows[] = {
        {"Dragon.jpeg", "jpeg", "Dragon-mini.jpeg"},
        {"Dragon.jpg", "jpg", "Dragon-mini.jpg"},
        {"/cards/Card-Imp12.JPG", "JPG", "/cards/Card-Imp12-mini.JPG"},
        {"a.b", "b", "a-mini.b"},  // shorter than four characters: nothing cut off
        {"Dragon", "", "Dragon-mini"},
        {"/my.pictures/Dragon", "", "/my.pictures/Dragon-mini"},  // the dot is the folder's
        {"C:\\my.pictures\\Dragon", "", "C:\\my.pictures\\Dragon-mini"},
        {"", "", "-mini"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.path);
        EXPECT_EQ(GetFileExtension(r.path), r.extension);
        EXPECT_EQ(MiniFileName(r.path), r.mini);
    }
    EXPECT_EQ(BareFileName("/a/b/c.jpg"), "c.jpg");
    EXPECT_EQ(BareFileName("a\\c.jpg"), "c.jpg");
    EXPECT_EQ(FolderWithSeparator("/a/b"), "/a/b/");
    EXPECT_EQ(FolderWithSeparator("/a/b/"), "/a/b/");
    EXPECT_EQ(FolderWithSeparator("/"), "/");
}

TEST_F(PicturePickerTest, FilesAreListedByPatternInNameOrderEachOnce) {
    for (const char* name :
         {"b.JPG", "a.jpg", "c.bmp", "d.Jpeg", "e.gif", "notes.txt", "A.JPG", "f.jpeg", "g.png"})
        WriteFile(name, "x");
    std::filesystem::create_directories(Folder() / "folder.jpg");
    const std::vector<std::string> files = ListPictureFiles(Folder().string());
    EXPECT_EQ(Names(files), (std::vector<std::string>{"c.bmp", "A.JPG", "a.jpg", "b.JPG", "e.gif",
                                                      "d.Jpeg", "f.jpeg"}));
    EXPECT_EQ(files.front(), (Folder() / "c.bmp").string());
    EXPECT_TRUE(ListPictureFiles((Folder() / "missing").string()).empty());
}

// A FIFO named "*.jpg" (or a link to one) was listed, and drawing its thumbnail opened it: the
// whole program waited until another process wrote to the pipe.
TEST_F(PicturePickerTest, OnlyRegularFilesAreListedSoNoPipeIsEverOpened) {
    namespace fs = std::filesystem;
    WriteFile("real.jpg", "x");
    ASSERT_EQ(::mkfifo((Folder() / "pipe.jpg").c_str(), 0600), 0);
    for (const char* target : {"pipe.jpg", "real.jpg", "gone.jpg", "."})
        fs::create_symlink(Folder() / target, Folder() / (std::string("to-") + target + ".jpg"));
    EXPECT_EQ(Names(ListPictureFiles(Folder().string())),
              (std::vector<std::string>{"real.jpg", "to-real.jpg.jpg"}));
}

TEST_F(PicturePickerTest, FortyFiveFilesPageAsTwentyThumbnailsFromAnyStartUpToTheLastFile) {
    for (int i = 1; i <= 45; ++i)
        WriteFile(Numbered(i), "x");
    PicturePicker picker;
    picker.ShowFolder(Folder().string());
    EXPECT_EQ(picker.ScrollMax(), 26);
    EXPECT_EQ(picker.ScrollValue(), 1);
    struct Row {
        int scroll;
        const char* first;
        const char* last;
    };
    for (const Row& r : {Row{26, "p26.jpg", "p45.jpg"}, Row{1, "p01.jpg", "p20.jpg"},
                         Row{40, "p26.jpg", "p45.jpg"}, Row{7, "p07.jpg", "p26.jpg"}}) {
        SCOPED_TRACE(r.scroll);
        picker.Scroll(r.scroll);
        const auto page = picker.Page();
        EXPECT_EQ(page.front().name, r.first);
        EXPECT_EQ(page.back().name, r.last);
        for (const ThumbnailSlot& slot : page)
            EXPECT_TRUE(slot.visible);
    }
    // The same page again is not drawn again.
    EXPECT_FALSE(picker.Scroll(7));
    EXPECT_TRUE(picker.Scroll(8));

    // A random page is a page that exists.
    for (int i = 0; i < 50; ++i) {
        const int page = picker.RandomPage();
        EXPECT_GE(page, 1);
        EXPECT_LE(page, 26);
    }
}

TEST_F(PicturePickerTest, FiveFilesShowOnePageAndHideTheRest) {
    for (int i = 1; i <= 5; ++i)
        WriteFile(Numbered(i), "x");
    PicturePicker picker;
    picker.ShowFolder(Folder().string());
    EXPECT_EQ(picker.ScrollMax(), 1);
    const auto page = picker.Page();
    for (int i = 0; i < kPickerThumbnails; ++i)
        EXPECT_EQ(page[i].visible, i < 5) << i;
    // A click on a thumbnail that shows no file chooses nothing.
    EXPECT_FALSE(picker.Choose(5));
    EXPECT_FALSE(picker.Choose(-1));
    EXPECT_FALSE(picker.Choose(kPickerThumbnails));
    EXPECT_EQ(picker.PicName(), "");
    EXPECT_TRUE(picker.Choose(4));
    EXPECT_EQ(picker.PicName(), (Folder() / "p05.jpg").string());
}

TEST_F(PicturePickerTest, ListingAgainKeepsThePageWhileItExists) {
    for (int i = 1; i <= 45; ++i)
        WriteFile(Numbered(i), "x");
    PicturePicker picker;
    picker.ShowFolder(Folder().string());
    picker.Scroll(20);
    picker.Relist();
    EXPECT_EQ(picker.PageStart(), 20);
    for (int i = 10; i <= 45; ++i)
        std::filesystem::remove(Folder() / Numbered(i));
    picker.Relist();
    EXPECT_EQ(picker.PageStart(), 1);
    EXPECT_EQ(picker.ScrollMax(), 1);
    // Another folder starts at its first page.
    picker.Scroll(1);
    picker.ShowFolder(Folder().string());
    EXPECT_EQ(picker.PageStart(), 1);
}

TEST(PicturePickerZoomTest, PreviewClicksMapToPixelsOfThePicture) {
    EXPECT_DOUBLE_EQ(PreviewZoom(1000, 750), 0.5);
    EXPECT_DOUBLE_EQ(PreviewZoom(400, 300), 1);
    EXPECT_DOUBLE_EQ(PreviewZoom(500, 600), 1);
    EXPECT_DOUBLE_EQ(PreviewZoom(700, 1200), 0.5);
    EXPECT_DOUBLE_EQ(PreviewZoom(0, 0), 1);
    struct Row {
        double x, y, zoom;
        int px, py;
    };
    const Row rows[] = {
        {100, 50, 0.5, 200, 100},
        {100.25, 50.75, 0.5, 200, 102},  // 201.5 goes to the even 202
        {10, 10, 1, 10, 10},
        {3, 3, 0, 3, 3},  // no zoom counts as 1
    };
    for (const Row& r : rows) {
        const PicturePoint p = PictureClickAt(r.x, r.y, r.zoom);
        EXPECT_EQ(p.x, r.px);
        EXPECT_EQ(p.y, r.py);
    }
}

TEST(PicturePickerZoomTest, FourCornerClicksFillTheRegionInOrder) {
    PicRegion region;
    const CornerStep first = TakeCorner(region, {0, 40});  // a left corner of 0 is no corner
    EXPECT_TRUE(first.taken);
    EXPECT_EQ(first.prompt, "Choose Lower Right Coordinates of Main Card Picture");
    EXPECT_EQ(region.MainLeft, 0);
    // ...so the same step is asked again.
    EXPECT_EQ(TakeCorner(region, {10, 20}).prompt,
              "Choose Lower Right Coordinates of Main Card Picture");
    EXPECT_EQ(TakeCorner(region, {300, 400}).prompt,
              "Choose Upper Left Coordinates of Thumbnail Picture");
    EXPECT_EQ(TakeCorner(region, {50, 60}).prompt,
              "Choose Lower Right Coordinates of Thumbnail Picture");
    const CornerStep last = TakeCorner(region, {90, 100});
    EXPECT_TRUE(last.finished);
    EXPECT_EQ(region, (PicRegion{10, 300, 20, 400, 50, 90, 60, 100}));
    EXPECT_FALSE(TakeCorner(region, {1, 1}).taken);
    EXPECT_EQ(region, (PicRegion{10, 300, 20, 400, 50, 90, 60, 100}));
}

}  // namespace
}  // namespace dv::ui
