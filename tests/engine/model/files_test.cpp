#include "engine/model/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

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

TEST_F(FilesTest, AtomicSaveReplacesWholeOrLeavesTheOldFile) {
    const auto target = Folder() / "player.plr";
    ASSERT_EQ(AtomicSave(target, "first\r\n"), "");
    ASSERT_EQ(AtomicSave(target, "second\r\n"), "");
    EXPECT_EQ(*ReadWholeFile(target), "second\r\n");
    EXPECT_EQ(ListFolder(Folder()).size(), 1u) << "no temporary file is left behind";
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

TEST_F(FilesTest, AtomicSaveIntoAMissingFolderFailsAndSaysSo) {
    EXPECT_NE(AtomicSave(Folder() / "no-such-folder" / "x.txt", "x"), "");
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
