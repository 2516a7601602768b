#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#include "engine/model/files.h"
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

// Answers are kept between searches; each row changes the folders after a first search and
// expects the answer a fresh search would give.
TEST_F(PicturePathTest, ChangedFoldersGiveTheAnswerOfAFreshSearch) {
    namespace fs = std::filesystem;
    const std::string root = Folder().string();
    struct Row {
        const char* name;
        const char* before;  // file written before the first search ("" none)
        std::function<void()> change;
        std::string after;
    };
    const Row rows[] = {
        {"Late.jpg", "", [&] { WriteFile("b/Late.jpg", "x"); }, root + "/b/Late.jpg"},
        {"Twice.jpg", "b/Twice.jpg", [&] { WriteFile("a/Twice.jpg", "x"); }, root + "/a/Twice.jpg"},
        {"Gone.jpg", "a/Gone.jpg", [&] { fs::remove(Folder() / "a/Gone.jpg"); }, ""},
        {"Moved.jpg", "a/Moved.jpg",
         [&] { fs::rename(Folder() / "a/Moved.jpg", Folder() / "b/Moved.jpg"); },
         root + "/b/Moved.jpg"},
        {"Case.jpg", "b/CASE.jpg", [&] { WriteFile("a/case.JPG", "x"); }, root + "/a/case.JPG"},
        {"Top.jpg", "b/Top.jpg", [&] { WriteFile("Top.jpg", "x"); }, root + "/Top.jpg"},
        {"Saved.jpg", "", [&] { ASSERT_EQ(AtomicSave(Folder() / "b" / "Saved.jpg", "x"), ""); },
         root + "/b/Saved.jpg"},
        {"Folder.jpg", "b/Folder.jpg",
         [&] {
             fs::remove(Folder() / "b/Folder.jpg");
             fs::create_directory(Folder() / "b/Folder.jpg");
         },
         ""},
        // A folder of the path removed and made again is watched anew.
        {"Again.jpg", "b/Again.jpg",
         [&] {
             fs::remove_all(Folder() / "b");
             WriteFile("b/Other.jpg", "x");
             GetImagePath("Again.jpg", 0);
             WriteFile("b/Again.jpg", "x");
         },
         root + "/b/Again.jpg"},
    };
    WriteFile("a/keep", "");
    WriteFile("b/keep", "");
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        if (*r.before) WriteFile(r.before, "x");
        GetImagePath(r.name, 0);
        GetImagePath(r.name, 0);
        r.change();
        EXPECT_EQ(GetImagePath(r.name, 0), r.after);
    }
}

// The watch sees nothing of a link's target, nor of a linked folder taken away above the folder it
// leads to: a picture found through a link is checked again each time it is asked for. (The
// links lead to a game's folder beside the program folder, where a picture may be read.)
TEST_F(PicturePathTest, APictureFoundThroughALinkIsForgottenWhenTheLinkLeadsNowhere) {
    namespace fs = std::filesystem;
    const fs::path outside = Folder().parent_path() / (Folder().filename().string() + "-outside");
    St().Games = List<GameInfo>(1);
    St().Games[1].Folder = outside.string();
    fs::create_directories(outside / "far");
    std::ofstream(outside / "Target.jpg") << "t";
    std::ofstream(outside / "far" / "Far.jpg") << "f";
    WriteFile("a/keep", "");
    fs::create_symlink(outside / "Target.jpg", Folder() / "a" / "Linked.jpg");
    fs::create_directory_symlink(outside / "far", Folder() / "pics");
    WriteFile("a/Plain.jpg", "p");
    const std::string root = Folder().string();
    EXPECT_EQ(GetImagePath("Linked.jpg", 0), root + "/a/Linked.jpg");
    EXPECT_EQ(GetImagePath("Far.jpg", 0), root + "/pics/Far.jpg");
    EXPECT_EQ(GetImagePath("Plain.jpg", 0), root + "/a/Plain.jpg");
    EXPECT_FALSE(St().PictureLocations.at("Plain.jpg").checkOnUse);

    fs::remove(outside / "Target.jpg");
    fs::remove(Folder() / "pics");
    EXPECT_EQ(GetImagePath("Linked.jpg", 0), "");
    EXPECT_EQ(GetImagePath("Far.jpg", 0), "");
    fs::remove(Folder() / "a" / "Plain.jpg");
    EXPECT_EQ(GetImagePath("Plain.jpg", 0), "") << "a plain file's going is seen by the watch";
    fs::remove_all(outside);
}

// A picture named by a card was read wherever its name led: an absolute path, "..", a link or a
// linked folder out of the program folder and the game folders. Such a picture is not found; a
// link to a game's folder is followed.
TEST_F(PicturePathTest, PicturesOutsideTheProgramAndGameFoldersAreNotFound) {
    namespace fs = std::filesystem;
    const fs::path program = Folder() / "program";
    const fs::path game = Folder() / "game";
    WriteFile("elsewhere/Away.jpg", "a");
    WriteFile("elsewhere/far/Far.jpg", "f");
    WriteFile("game/Game.jpg", "g");
    WriteFile("program/Home.jpg", "h");
    fs::create_symlink(Folder() / "elsewhere/Away.jpg", program / "Linked.jpg");
    fs::create_symlink(game / "Game.jpg", program / "ToGame.jpg");
    fs::create_directory_symlink(Folder() / "elsewhere/far", program / "pics");
    St().ProgramFolder = St().CurrentFolder = program;
    St().Games = List<GameInfo>(1);
    St().Games[1].Folder = game.string();
    const std::string away = (Folder() / "elsewhere/Away.jpg").string();
    struct Row {
        std::string name;
        std::string found;     // "" when not found
        std::string location;  // given beside a name in a card file: whether it is shown
    };
    const Row rows[] = {
        {away, "", "file://" + away},
        {"../elsewhere/Away.jpg", "", "../elsewhere/Away.jpg"},
        {"Linked.jpg", "", (program / "Linked.jpg").string()},
        {"Far.jpg", "", (program / "pics/Far.jpg").string()},
        {"Home.jpg", (program / "Home.jpg").string(), (program / "Home.jpg").string()},
        {"ToGame.jpg", (program / "ToGame.jpg").string(), "ToGame.jpg"},
        {"Game.jpg", "", "http://example.org/Game.jpg"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(GetImagePath(r.name, 0), r.found);
        EXPECT_EQ(GetImagePath(r.name, 0), r.found) << "and so when the answer is kept";
        EXPECT_EQ(SearchDataPath(r.name).refused, r.found.empty() && r.name != "Game.jpg");
        EXPECT_EQ(PictureLocationAllowed(r.location), !r.found.empty() || r.name == "Game.jpg");
    }
}

// A batch of look-ups asks the watch once: a change made before it opens must still be seen by its
// first look-up, and the batch must not keep the watch from being asked after it closes.
TEST_F(PicturePathTest, ABatchOfLookUpsSeesTheFoldersAsTheyWereWhenItOpened) {
    const std::string root = Folder().string();
    WriteFile("a/keep", "");
    EXPECT_EQ(GetImagePath("Early.jpg", 0), "");
    EXPECT_EQ(GetImagePath("Late.jpg", 0), "");
    WriteFile("a/Early.jpg", "x");
    {
        const PictureLookupBatch batch;
        EXPECT_EQ(GetImagePath("Early.jpg", 0), root + "/a/Early.jpg");
        WriteFile("a/Late.jpg", "x");
        {
            const PictureLookupBatch inner;  // nested: still the outer batch's moment
            EXPECT_EQ(GetImagePath("Late.jpg", 0), "");
        }
        EXPECT_EQ(GetImagePath("Late.jpg", 0), "");
    }
    EXPECT_EQ(GetImagePath("Late.jpg", 0), root + "/a/Late.jpg");
    EXPECT_EQ(St().PictureBatchDepth, 0);
}

// Two loop links filled the 10,000-folder list, and every lookup of a name with a folder part then
// searched them all again.
TEST_F(PicturePathTest, LinkedFoldersAreListedOnceAndNamesWithFoldersAreRemembered) {
    namespace fs = std::filesystem;
    const std::string root = Folder().string();
    WriteFile("art/Card-A.jpg", "a");
    WriteFile("more/keep", "");
    fs::create_directory_symlink("..", Folder() / "art" / "loop");
    fs::create_directory_symlink(".", Folder() / "art" / "self");
    fs::create_directory_symlink("../art", Folder() / "more" / "again");
    EXPECT_EQ(GetImagePath("Card-A.jpg", 0), root + "/art/Card-A.jpg");
    EXPECT_EQ(St().ImageFolders, (List<std::string>{root + "/", root + "/art/", root + "/more/"}));
    EXPECT_TRUE(host.messages.empty()) << "no cap was reached";

    struct Row {
        const char* name;
        std::function<void()> change;
        std::string after;
    };
    const Row rows[] = {
        {"Old\\Place\\Late.jpg", [&] { WriteFile("more/Late.jpg", "x"); }, root + "/more/Late.jpg"},
        {"art\\sub\\Deep.jpg", [&] { WriteFile("art/sub/Deep.jpg", "x"); },
         root + "/art/sub/Deep.jpg"},
        {"more/Here.jpg", [&] { WriteFile("more/Here.jpg", "x"); }, root + "/more/Here.jpg"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(GetImagePath(r.name, 0), "");
        EXPECT_EQ(St().PictureLocations.count(r.name), 1u) << "the miss is remembered";
        r.change();
        EXPECT_EQ(GetImagePath(r.name, 0), r.after) << "and forgotten when it may have changed";
    }
}

TEST_F(PicturePathTest, ACapThatCutsTheSearchIsToldOnce) {
    std::string deep;
    for (int level = 0; level < 40; ++level)
        deep += "d/";
    WriteFile(deep + "Card-Deep.jpg", "x");
    EXPECT_EQ(GetImagePath("Card-Deep.jpg", 0), "");
    FillSubDirectories("");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find("Pictures are looked for in at most"), std::string::npos);
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
