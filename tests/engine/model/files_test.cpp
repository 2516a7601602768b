#include "engine/model/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/engine_fixture.h"

namespace dv {
namespace {

using FilesTest = test::EngineTest;

TEST_F(FilesTest, DataPathsFindFilesWithEitherSlashAndAnyCase) {
    WriteFile("Games/Sample/Cards.TXT", "x");
    EXPECT_TRUE(DataFileExists(Folder(), "Games\\Sample\\Cards.TXT"));
    EXPECT_TRUE(DataFileExists(Folder(), "games/sample/cards.txt"));
    EXPECT_FALSE(DataFileExists(Folder(), "games/other/cards.txt"));
    EXPECT_EQ(ResolveDataPath(Folder(), "GAMES\\sample\\cards.txt"),
              Folder() / "Games/Sample/Cards.TXT");
}

// 20 includes of a 65 KB name in the wrong case took 14 s: each of its folders was listed to find
// its name in any case. A name past the bounds is looked up only as it is written.
TEST_F(FilesTest, NamesPastTheBoundsAreLookedUpOnlyAsWritten) {
    WriteFile("Games/Sample/Cards.TXT", "x");
    auto dots = [](int n) {
        std::string text;
        for (int i = 0; i < n; ++i)
            text += "./";
        return text;
    };
    struct Row {
        std::string name;
        bool found;
    };
    const Row rows[] = {
        {dots(29) + "games/sample/cards.txt", true},  // 32 parts, any case
        {dots(30) + "games/sample/cards.txt", false},
        {dots(30) + "Games/Sample/Cards.TXT", true},  // as written
        {dots(1900) + "Games/Sample/Cards.TXT", true},
        {dots(33000) + "games/sample/cards.txt", false},  // 65 KB
        {dots(33000) + "Games/Sample/Cards.TXT", false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name.size());
        EXPECT_EQ(DataFileExists(Folder(), r.name), r.found);
    }
}

TEST_F(FilesTest, AtomicSaveReplacesWholeOrLeavesTheOldFile) {
    const auto target = Folder() / "player.plr";
    ASSERT_EQ(AtomicSave(target, "first\r\n"), "");
    ASSERT_EQ(AtomicSave(target, "second\r\n"), "");
    EXPECT_EQ(*ReadWholeFile(target), "second\r\n");
    EXPECT_EQ(ListFolder(Folder()).size(), 1u) << "no temporary file is left behind";
}

TEST_F(FilesTest, PageSavesWithoutTheFlushStillReplaceWholeOrFail) {
    const auto target = Folder() / "Display.html";
    ASSERT_EQ(AtomicSave(target, "first\r\n", Durability::Replaceable), "");
    ASSERT_EQ(AtomicSave(target, "second\r\n", Durability::Replaceable), "");
    EXPECT_EQ(*ReadWholeFile(target), "second\r\n");
    EXPECT_EQ(ListFolder(Folder()).size(), 1u) << "no temporary file is left behind";
    EXPECT_NE(AtomicSave(Folder() / "no-such-folder" / "x.html", "x", Durability::Replaceable), "");
}

ino_t InodeOf(const std::filesystem::path& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_ino;
}

// A page rewritten with the text it holds is left alone; one of the same length but other bytes
// is still replaced, and player data is always written anew.
TEST_F(FilesTest, OnlyAnUnchangedPageIsLeftAsItIs) {
    const auto page = Folder() / "Display.html";
    ASSERT_EQ(AtomicSave(page, "games", Durability::Replaceable), "");
    const ino_t first = InodeOf(page);
    ASSERT_EQ(AtomicSave(page, "games", Durability::Replaceable), "");
    EXPECT_EQ(InodeOf(page), first);
    ASSERT_EQ(AtomicSave(page, "gamez", Durability::Replaceable), "");
    EXPECT_EQ(*ReadWholeFile(page), "gamez");

    const auto player = Folder() / "player.plr";
    ASSERT_EQ(AtomicSave(player, "tokens"), "");
    const ino_t saved = InodeOf(player);
    ASSERT_EQ(AtomicSave(player, "tokens"), "");
    EXPECT_NE(InodeOf(player), saved);
}

TEST_F(FilesTest, AFailedReplaceLeavesWhatWasThere) {
    WriteFile("taken/inside.txt", "keep");
    EXPECT_NE(AtomicSave(Folder() / "taken", "x"), "");
    EXPECT_EQ(*ReadWholeFile(Folder() / "taken" / "inside.txt"), "keep");
    EXPECT_EQ(ListFolder(Folder()).size(), 1u);

    const auto target = Folder() / "player.plr";
    ASSERT_EQ(AtomicSave(target, "second\r\n"), "");
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    ::chmod(Folder().c_str(), 0555);
    EXPECT_NE(AtomicSave(target, "third\r\n"), "");
    ::chmod(Folder().c_str(), 0755);
    EXPECT_EQ(*ReadWholeFile(target), "second\r\n");
}

mode_t ModeOf(const std::filesystem::path& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

// A replaced file came back as 0644 whatever it was, and a link was replaced by a plain file.
TEST_F(FilesTest, AReplacedFileKeepsItsModeAndALinkIsSavedThroughToItsFile) {
    namespace fs = std::filesystem;
    for (mode_t mode : {0600, 0640, 0755}) {
        SCOPED_TRACE(mode);
        WriteFile("kept.plr", "old");
        ::chmod((Folder() / "kept.plr").c_str(), mode);
        ASSERT_EQ(AtomicSave(Folder() / "kept.plr", "new"), "");
        EXPECT_EQ(ModeOf(Folder() / "kept.plr"), mode);
    }
    ASSERT_EQ(AtomicSave(Folder() / "fresh.plr", "new"), "");
    EXPECT_EQ(ModeOf(Folder() / "fresh.plr"), 0644u);

    WriteFile("real/data.plr", "old");
    fs::create_symlink("real/data.plr", Folder() / "first.plr");
    fs::create_symlink("first.plr", Folder() / "second.plr");
    fs::create_symlink(Folder() / "real" / "later.plr", Folder() / "dangling.plr");
    fs::create_symlink("loop2.plr", Folder() / "loop1.plr");
    fs::create_symlink("loop1.plr", Folder() / "loop2.plr");
    struct Row {
        const char* link;
        const char* file;  // the file the save writes; nullptr: refused
    };
    const Row rows[] = {
        {"first.plr", "real/data.plr"},
        {"second.plr", "real/data.plr"},
        {"dangling.plr", "real/later.plr"},
        {"loop1.plr", nullptr},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.link);
        const std::string reason = AtomicSave(Folder() / r.link, r.link);
        EXPECT_TRUE(fs::is_symlink(Folder() / r.link)) << "the link stays a link";
        if (r.file) {
            EXPECT_EQ(reason, "");
            EXPECT_EQ(*ReadWholeFile(Folder() / r.file), r.link);
        } else {
            EXPECT_NE(reason, "");
        }
    }
    EXPECT_EQ(ListFolder(Folder() / "real").size(), 2u) << "no temporary file is left behind";
}

TEST_F(FilesTest, AReadOnlyFileIsNotReplaced) {
    WriteFile("locked.plr", "old");
    ::chmod((Folder() / "locked.plr").c_str(), 0444);
    if (::geteuid() == 0) GTEST_SKIP() << "root may write any file, so none is read-only to it";
    EXPECT_EQ(AtomicSave(Folder() / "locked.plr", "new"),
              (Folder() / "locked.plr").string() + " is read-only; not saved");
    EXPECT_EQ(*ReadWholeFile(Folder() / "locked.plr"), "old");
    EXPECT_EQ(ModeOf(Folder() / "locked.plr"), 0444u);
    EXPECT_EQ(ListFolder(Folder()).size(), 1u);
}

// Interrupted saves left their temporary files for ever.
TEST_F(FilesTest, TemporaryFilesLeftByEarlierSavesOfATargetAreRemoved) {
    const char* const stale[] = {".p.plr.AbC123", ".p.plr.zzzzzz"};
    const char* const others[] = {".p.plr.short", ".p.plr.AbC1234", ".q.plr.AbC123", "p.plr.AbC123",
                                  ".p.plr.AbC-12"};
    for (const char* name : stale)
        WriteFile(name, "half a save");
    for (const char* name : others)
        WriteFile(name, "not ours");
    ASSERT_EQ(AtomicSave(Folder() / "p.plr", "whole"), "");
    for (const char* name : stale)
        EXPECT_FALSE(std::filesystem::exists(Folder() / name)) << name;
    for (const char* name : others)
        EXPECT_TRUE(std::filesystem::exists(Folder() / name)) << name;
    EXPECT_EQ(*ReadWholeFile(Folder() / "p.plr"), "whole");
}

TEST_F(FilesTest, AtomicSaveIntoAMissingFolderFailsAndSaysSo) {
    EXPECT_EQ(AtomicSave(Folder() / "no-such-folder" / "x.txt", "x"),
              "cannot create a file in " + (Folder() / "no-such-folder").string() +
                  ": No such file or directory");
}

// A FIFO named like a data file blocked start-up for ever, and a link to /dev/zero ate memory.
TEST_F(FilesTest, OnlyRegularFilesOfASaneSizeAreRead) {
    WriteFile("plain.txt", "abc");
    ASSERT_EQ(::mkfifo((Folder() / "Pipe.gam").c_str(), 0644), 0);
    std::filesystem::create_symlink("/dev/zero", Folder() / "Zero.gam");
    std::filesystem::create_symlink(Folder() / "plain.txt", Folder() / "Link.txt");
    std::filesystem::create_directory(Folder() / "Folder.gam");
    // Sparse: it takes no room on the disk.
    WriteFile("Huge.gam", "");
    std::filesystem::resize_file(Folder() / "Huge.gam", kMaxDataFileBytes + 1);
    struct Row {
        const char* name;
        const char* reason;  // nullptr: read
    };
    const Row rows[] = {
        {"plain.txt", nullptr},
        {"Link.txt", nullptr},
        {"Pipe.gam", "not a regular file"},
        {"Zero.gam", "not a regular file"},
        {"Folder.gam", "not a regular file"},
        {"Huge.gam", "larger than 256 MB"},
        {"Missing.gam", "No such file or directory"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::string reason;
        const auto bytes = ReadWholeFile(Folder() / r.name, &reason);
        EXPECT_EQ(bytes.has_value(), r.reason == nullptr);
        if (r.reason) {
            EXPECT_EQ(reason, r.reason);
        } else {
            EXPECT_EQ(*bytes, "abc");
        }
    }
    std::vector<std::string> regular;
    for (const FolderEntry& entry : ListFolder(Folder()))
        if (entry.isRegular) regular.push_back(entry.name);
    EXPECT_EQ(regular, (std::vector<std::string>{"Huge.gam", "Link.txt", "plain.txt"}));
}

TEST(TypedFileNameTest, NamesThatLeaveTheirFolderAreRefused) {
    EXPECT_EQ(CheckTypedFileName("Alice"), "");
    EXPECT_EQ(CheckTypedFileName("Deck #1"), "");
    for (const char* bad : {"", "../x", "a/b", "a\\b", "..", "C:x"}) {
        SCOPED_TRACE(bad);
        EXPECT_NE(CheckTypedFileName(bad), "");
    }
}

TEST(PatternTest, WildcardsMatchWithoutRegardToCase) {
    EXPECT_TRUE(MatchesPattern("Game.GAM", "*.gam"));
    EXPECT_TRUE(MatchesPattern("a.txt", "?.txt"));
    EXPECT_FALSE(MatchesPattern("ab.txt", "?.txt"));
    EXPECT_FALSE(MatchesPattern("game.gam.bak", "*.gam"));
}

}  // namespace
}  // namespace dv
