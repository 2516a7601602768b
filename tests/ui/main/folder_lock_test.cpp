#include "ui/main/folder_lock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "tests/support/engine_fixture.h"

namespace dv::ui {
namespace {

using FolderLockTest = test::EngineTest;

// Two programs in one folder each saved the player file over the other's changes; programs in
// different folders run side by side, as the tests do.
TEST_F(FolderLockTest, OneProgramAFolderAndOthersBesideIt) {
    const std::filesystem::path other = Folder() / "other program folder";
    std::filesystem::create_directories(other);
    {
        FolderLock first;
        ASSERT_TRUE(first.Take(Folder()));
        FolderLock second;
        EXPECT_FALSE(second.Take(Folder())) << "a second program in the same folder";
        FolderLock beside;
        EXPECT_TRUE(beside.Take(other));
    }
    FolderLock next;
    EXPECT_TRUE(next.Take(Folder())) << "the lock outlived the program that ended";
}

// A lock file left by a program that was killed must not keep the next one from starting.
TEST_F(FolderLockTest, AProgramKilledWhileHoldingTheLockBlocksNoStart) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        FolderLock held;
        const char taken = held.Take(Folder()) ? 'y' : 'n';
        if (::write(ready[1], &taken, 1) != 1) ::_exit(1);
        ::pause();
        ::_exit(0);
    }
    char taken = 0;
    ASSERT_EQ(::read(ready[0], &taken, 1), 1);
    ASSERT_EQ(taken, 'y');
    FolderLock meanwhile;
    EXPECT_FALSE(meanwhile.Take(Folder()));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_TRUE(std::filesystem::exists(Folder() / kLockFileName));
    FolderLock next;
    EXPECT_TRUE(next.Take(Folder()));
}

}  // namespace
}  // namespace dv::ui
