#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "tests/support/engine_fixture.h"

namespace dv {
namespace {

using PicturePathTest = test::EngineTest;

TEST_F(PicturePathTest, PicturesAreFoundAnywhereBelowTheProgramFolder) {
    WriteFile("Art/Beasts/Card-Wolf.jpg", "w");
    WriteFile("Art/Card-Imp.jpg", "i");
    WriteFile("Card-Top.jpg", "t");
    WriteFile("a/Same.jpg", "a");
    WriteFile("b/Same.jpg", "b");
    WriteFile("a/x/Deep.jpg", "ax");
    WriteFile("b/Deep.jpg", "b");
    const std::string root = Folder().string();
    const auto workingFolder = std::filesystem::current_path();
    struct Row {
        const char* name;
        std::string path;
    };
    const Row rows[] = {
        {"Card-Wolf.jpg", root + "/Art/Beasts/Card-Wolf.jpg"},  // two folders down
        {"card-wolf.JPG", root + "/Art/Beasts/Card-Wolf.jpg"},  // without regard to case
        {"Old\\Place\\Card-Imp.jpg", root + "/Art/Card-Imp.jpg"},
        {"Art\\Beasts\\Card-Wolf.jpg", root + "/Art/Beasts/Card-Wolf.jpg"},
        {"Card-Top.jpg", root + "/Card-Top.jpg"},
        {"Same.jpg", root + "/a/Same.jpg"},  // parents and sorted folders first
        {"Deep.jpg", root + "/b/Deep.jpg"},  // every sub-folder before any folder below them
        {"Missing.jpg", ""},
        {"", ""},
        {"Art", ""},  // a folder is no picture
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(GetImagePath(r.name, 0), r.path);
    }
    EXPECT_EQ(std::filesystem::current_path(), workingFolder);
}

TEST_F(PicturePathTest, UrlFormIsAValidFileUrlWithBlanksEscaped) {
    WriteFile("My Pictures/deep er/Card-Old Man.jpg", "x");
    const std::string root = Folder().string();
    ASSERT_EQ(root.front(), '/');
    const std::string url = GetImagePath("Card-Old Man.jpg", 1);
    EXPECT_EQ(url, "file://" + root + "/My%20Pictures/deep%20er/Card-Old%20Man.jpg");
    EXPECT_EQ(url.rfind("file:///", 0), 0u);
    EXPECT_EQ(url.find(' '), std::string::npos);
    // A location handed back in is looked up again, not given a second prefix.
    EXPECT_EQ(GetImagePath(url, 1), url);
    EXPECT_EQ(GetImagePath("Nowhere.jpg", 1), "file://");
}

TEST_F(PicturePathTest, SearchPathIsBuiltOnceForTheRun) {
    WriteFile("Old/a.jpg", "x");
    EXPECT_NE(GetImagePath("a.jpg", 0), "");
    WriteFile("New/b.jpg", "x");
    EXPECT_EQ(GetImagePath("b.jpg", 0), "");
    FillSubDirectories("");
    EXPECT_NE(GetImagePath("b.jpg", 0), "");
}

TEST_F(PicturePathTest, RandomFileIsOneOfTheMatchingFiles) {
    WriteFile("Backs/one.jpg", "1");
    WriteFile("Backs/two.JPG", "2");
    WriteFile("Backs/notes.txt", "n");
    WriteFile("Backs/sub.jpg/inner.jpg", "folder named like a picture");
    std::set<std::string> picked;
    for (int i = 0; i < 100; ++i)
        picked.insert(pickrandomfile("Backs/", "*.jpg"));
    EXPECT_EQ(picked, (std::set<std::string>{"Backs/one.jpg", "Backs/two.JPG"}));
    // The cache keeps one listing per folder, whatever the pattern.
    EXPECT_NE(pickrandomfile("Backs/", "*.txt"), "Backs/notes.txt");
    EXPECT_EQ(pickrandomfile("Empty/", "*.jpg"), "Empty/");
}

}  // namespace
}  // namespace dv
