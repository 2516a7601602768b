#include "tests/support/engine_fixture.h"

#include <unistd.h>

#include <fstream>

namespace dv::test {

void EngineTest::SetUp() {
    ResetState();
    SetHost(&host);
    St().Random.Seed(12345);
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name)
        if (c == '/') c = '_';
    folder_ = std::filesystem::temp_directory_path() /
              ("duvenhall-test-" + std::to_string(::getpid()) + "-" + name);
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    St().ProgramFolder = folder_;
    St().CurrentFolder = folder_;
}

void EngineTest::TearDown() {
    SetHost(nullptr);
    ResetState();
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
}

void EngineTest::WriteFile(const std::string& relative, const std::string& bytes) {
    auto path = folder_ / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace dv::test
