#pragma once
// Golden files beside the data tests, compared byte for byte. Set DV_UPDATE_GOLDEN=1 to write
// them afresh from what the code gives (then read the diff before committing).

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace dv::test::data_files {

inline std::string GoldenPath(const std::string& name) {
    return std::string(DV_TEST_DATA) + "/data/" + name;
}

// Shows CR LF as visible marks, so that a line-end difference reads in the failure message.
inline std::string Visible(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\r')
            out += "<CR>";
        else
            out += c;
    }
    return out;
}

inline void ExpectFileGolden(const std::string& name, const std::string& actual) {
    const std::string path = GoldenPath(name);
    if (std::getenv("DV_UPDATE_GOLDEN")) std::ofstream(path, std::ios::binary) << actual;
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << "missing golden file " << path;
    std::stringstream expected;
    expected << in.rdbuf();
    EXPECT_EQ(Visible(expected.str()), Visible(actual)) << "golden file " << name;
}

}  // namespace dv::test::data_files
