#include "ui/main/folder_lock.h"

#include <gtest/gtest.h>

#include <filesystem>

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
        FolderLock beside;
        EXPECT_TRUE(beside.Take(other));
    }
    FolderLock next;
    EXPECT_TRUE(next.Take(Folder())) << "the lock outlived the program that ended";
}

}  // namespace
}  // namespace dv::ui
