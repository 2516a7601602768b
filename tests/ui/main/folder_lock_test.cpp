#include "ui/main/folder_lock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "tests/support/engine_fixture.h"

namespace dv::ui {
namespace {

using FolderLockTest = test::EngineTest;

// Two programs in one folder each saved the player file over the other's changes; programs in
// different folders run side by side, as the tests do. (The window test ends a program holding
// the lock with kill -9.)
TEST_F(FolderLockTest, OneProgramAFolderAndOthersBesideIt) {
    const std::filesystem::path other = Folder() / "other program folder";
    std::filesystem::create_directories(other);
    {
        FolderLock first;
        ASSERT_TRUE(first.Take(Folder()));
        FolderLock second;
        EXPECT_FALSE(second.Take(Folder())) << "a second program in the same folder";
        EXPECT_EQ(second.Refusal(), "Duvenhall is already running in this folder.");
        FolderLock beside;
        EXPECT_TRUE(beside.Take(other));
    }
    FolderLock next;
    EXPECT_TRUE(next.Take(Folder())) << "the lock outlived the program that ended";
}

// A link planted as the lock file made the program create its target outside the folder; a FIFO
// the user cannot write held the start in open() for ever; a link loop gave no lock, and two
// programs ran in one folder. Each ends the start with a message that says what to remove.
TEST_F(FolderLockTest, ALockFileThatIsNoRegularFileOfTheFolderEndsTheStartAndSaysWhatToRemove) {
    namespace fs = std::filesystem;
    const fs::path program = Folder() / "program";
    const fs::path outside = Folder() / "outside";
    const fs::path lock = program / kLockFileName;
    struct Row {
        const char* what;
        std::function<void()> plant;
        const char* kind;  // as the message says it
    };
    const Row rows[] = {
        {"a link to a file that is not there",
         [&] { fs::create_symlink(outside / "made.lock", lock); }, "a link to "},
        {"a link to a file",
         [&] {
             std::ofstream(outside / "there.lock") << "";
             fs::create_symlink(outside / "there.lock", lock);
         },
         "a link to "},
        {"a FIFO of mode 0444", [&] { ASSERT_EQ(::mkfifo(lock.c_str(), 0444), 0); },
         "a FIFO (a named pipe)"},
        {"a link loop", [&] { fs::create_symlink(lock, lock); }, "a link to "},
        {"a folder", [&] { fs::create_directory(lock); }, "a folder"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        fs::remove_all(program);
        fs::remove_all(outside);
        fs::create_directories(program);
        fs::create_directories(outside);
        r.plant();
        FolderLock taken;
        EXPECT_FALSE(taken.Take(program));
        const std::string& message = taken.Refusal();
        EXPECT_EQ(message.find("Duvenhall cannot start in this folder: its lock file " +
                               lock.string() + " is " + r.kind),
                  0u)
            << message;
        EXPECT_NE(message.find("Remove " + lock.string() + " and start Duvenhall again."),
                  std::string::npos);
        EXPECT_FALSE(fs::exists(outside / "made.lock")) << "nothing is made outside the folder";

        fs::remove(lock);
        FolderLock afterwards;
        EXPECT_TRUE(afterwards.Take(program)) << "once it is removed, the program starts";
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(lock)));
    }
}

}  // namespace
}  // namespace dv::ui
