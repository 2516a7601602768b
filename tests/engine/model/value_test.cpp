#include "engine/model/value.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdlib>

namespace dv {
namespace {

TEST(ValueTest, ReadsTheLeadingNumericPart) {
    struct Row {
        const char* text;
        double number;
    };
    const Row rows[] = {
        {"12", 12}, {"  7abc", 7}, {"-3", -3},  {"+4", 4}, {"2.5x", 2.5}, {".5", 0.5},
        {"abc", 0}, {"", 0},       {"NONE", 0}, {"-", 0},  {"1e5", 1},    {"3 4", 3},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(ReadNumber(r.text), r.number);
    }
}

// Whole numbers are read without strtod: they must come out as it gives them, to the bit.
TEST(ValueTest, WholeNumbersReadExactlyAsStrtodReadsThem) {
    for (const char* text : {"0", "-0", "+0", "007", "-42", "123456789012345", "-999999999999999",
                             "1234567890123456789", "9007199254740993"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(std::bit_cast<uint64_t>(ReadNumber(text)),
                  std::bit_cast<uint64_t>(std::strtod(text, nullptr)));
    }
}

TEST(ValueTest, WritesTheShortestDecimalText) {
    EXPECT_EQ(NumberText(3), "3");
    EXPECT_EQ(NumberText(-2.5), "-2.5");
    EXPECT_EQ(NumberText(0.1), "0.1");
    EXPECT_EQ(NumberText(-0.0), "0");
    EXPECT_EQ(NumberText(1e20), "100000000000000000000");
    // Whole numbers below 1e15 take a shorter way, with the same digits on both sides of it.
    EXPECT_EQ(NumberText(-7), "-7");
    EXPECT_EQ(NumberText(999999999999999.0), "999999999999999");
    EXPECT_EQ(NumberText(1e15), "1000000000000000");
    EXPECT_EQ(NumberText(-123456.0), "-123456");
    EXPECT_EQ(NumberText(2.0000001), "2.0000001");
}

TEST(ValueTest, NumberNeverEqualsTextAndOrdersBelowIt) {
    EXPECT_FALSE(Value(5) == Value("5"));
    EXPECT_TRUE(Value(1000) < Value(""));
    EXPECT_TRUE(Value("B") > Value("A"));
    EXPECT_TRUE(Value("a") > Value("B"));  // by character code
    EXPECT_TRUE(Value(2) < Value(10));
    EXPECT_TRUE(Value("10") < Value("2"));
    EXPECT_EQ(Value("HP"), Value("HP"));
    EXPECT_FALSE(Value("hp") == Value("HP"));
}

}  // namespace
}  // namespace dv
