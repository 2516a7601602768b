#include "ui/main/folder_lock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
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

// open(2) as it acts for a user other than root who owns the files: the owner's mode bits decide.
// The tests run as root, whom no mode stops.
int OpenAsOwner(const char* path, int flags, mode_t mode) {
    namespace fs = std::filesystem;
    struct stat info {};
    const int access = flags & O_ACCMODE;
    const mode_t wanted = (access != O_WRONLY ? S_IRUSR : 0) | (access != O_RDONLY ? S_IWUSR : 0);
    if (::lstat(path, &info) == 0) {
        if (S_ISREG(info.st_mode) && (info.st_mode & wanted) != wanted) {
            errno = EACCES;
            return -1;
        }
    } else if ((flags & O_CREAT) != 0 && ::stat(fs::path(path).parent_path().c_str(), &info) == 0 &&
               (info.st_mode & S_IWUSR) == 0) {
        errno = EACCES;
        return -1;
    }
    return ::open(path, flags, mode);
}

// A lock file of mode 000 or write-only (as an archive may leave it, or another user's of mode
// 600), and a read-only folder without one, gave no lock and no word: two programs ran in one
// folder. Each now ends the start and says what to change; a lock that can be taken still is.
TEST_F(FolderLockTest, ALockThatCannotBeTakenEndsTheStartAndSaysWhatToChange) {
    namespace fs = std::filesystem;
    const fs::path program = Folder() / "program";
    const fs::path lock = program / kLockFileName;
    const std::string unopened = "Duvenhall cannot start in this folder: its lock file " +
                                 lock.string() + " cannot be opened (Permission denied). " +
                                 "Let your user read and write it, or remove it while no " +
                                 "Duvenhall runs in this folder, and start Duvenhall again.";
    const std::string unmade = "Duvenhall cannot start in this folder: its lock file " +
                               lock.string() + " cannot be made (Permission denied). " +
                               "Let Duvenhall write in " + program.string() +
                               " and start Duvenhall again.";
    auto file = [&](fs::perms mode) {
        std::ofstream(lock) << "";
        fs::permissions(lock, mode);
    };
    struct Row {
        const char* what;
        std::function<void()> plant;
        std::string refusal;  // empty when the lock is taken
    };
    const Row rows[] = {
        {"a lock file of mode 000", [&] { file(fs::perms::none); }, unopened},
        {"a write-only lock file", [&] { file(fs::perms::owner_write); }, unopened},
        {"a read-only lock file", [&] { file(fs::perms::owner_read); }, ""},
        {"a read-only folder",
         [&] { fs::permissions(program, fs::perms::owner_read | fs::perms::owner_exec); }, unmade},
        {"a read-only folder with its lock file",
         [&] {
             file(fs::perms::owner_read);
             fs::permissions(program, fs::perms::owner_read | fs::perms::owner_exec);
         },
         ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        if (fs::exists(program)) fs::permissions(program, fs::perms::owner_all);
        fs::remove_all(program);
        fs::create_directories(program);
        r.plant();
        FolderLock taken(&OpenAsOwner);
        EXPECT_EQ(taken.Take(program), r.refusal.empty());
        EXPECT_EQ(taken.Refusal(), r.refusal);
        if (r.refusal.empty()) {
            FolderLock second(&OpenAsOwner);
            EXPECT_FALSE(second.Take(program)) << "the lock taken keeps a second program out";
        }
    }
    fs::permissions(program, fs::perms::owner_all);
}

// The folder the program was started in is gone, or is a file: no lock can be made there.
TEST_F(FolderLockTest, AProgramFolderThatIsNoFolderEndsTheStart) {
    namespace fs = std::filesystem;
    std::ofstream(Folder() / "a file") << "";
    for (const char* name : {"a file", "gone"}) {
        SCOPED_TRACE(name);
        FolderLock taken;
        EXPECT_FALSE(taken.Take(Folder() / name));
        EXPECT_EQ(
            taken.Refusal().find("Duvenhall cannot start in this folder: its lock file " +
                                 (Folder() / name / kLockFileName).string() + " cannot be made ("),
            0u)
            << taken.Refusal();
    }
}

}  // namespace
}  // namespace dv::ui
