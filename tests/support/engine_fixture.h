#pragma once
// Every engine test starts from a fresh state, a recording host and a seeded generator, in a
// program folder of its own.

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/model/state.h"
#include "tests/support/recording_host.h"

namespace dv::test {

class EngineTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A fresh empty folder for this test, made the program and current folder.
    const std::filesystem::path& Folder() const { return folder_; }
    // Writes a file below the test's folder, making folders as needed.
    void WriteFile(const std::string& relative, const std::string& bytes);

    RecordingHost host;

  private:
    std::filesystem::path folder_;
};

}  // namespace dv::test
