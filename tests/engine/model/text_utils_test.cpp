#include "engine/model/text_utils.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "engine/model/state.h"
#include "tests/support/engine_fixture.h"

namespace dv {
namespace {

using TextUtilsTest = test::EngineTest;

TEST_F(TextUtilsTest, FieldsAreCountedFromOneWithMultiCharacterDelimiters) {
    struct Row {
        const char* text;
        int n;
        const char* delimiter;
        int startPos;
        const char* field;
        int foundPos;  // 0: not found, position untouched
    };
    const Row rows[] = {
        {"a:b:c", 2, ":", 1, "b", 3},      {"a:b:c", 3, ":", 1, "c", 5},
        {"a:b:c", 4, ":", 1, "", 0},       {"", 1, ":", 1, "", 1},
        {"a:b:", 3, ":", 1, "", 5},        {"a:b:c", 1, ":", 3, "b", 3},
        {"x$|$y$|$", 1, "$|$", 1, "x", 1}, {"x$|$y$|$", 2, "$|$", 1, "y", 3},
        {"x$|$y$|$", 3, "$|$", 1, "", 7},  {"x$|$y$|$", 4, "$|$", 1, "", 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.text) + " field " + std::to_string(r.n));
        St().GetFieldCache = {};
        int pos = 0;
        EXPECT_EQ(GetField(r.text, r.n, r.delimiter, r.startPos, pos), r.field);
        EXPECT_EQ(pos, r.foundPos);
    }
}

TEST_F(TextUtilsTest, ResumedReadsGiveWhatFreshReadsGive) {
    const std::vector<std::pair<std::string, std::string>> texts = {
        {"MODTRAIT:HP:-2:ECHO:hit", ":"}, {"one$|$two$|$$|$four$|$", "$|$"}, {"a::b:", ":"}};
    for (const auto& [text, delimiter] : texts) {
        SCOPED_TRACE(text);
        std::vector<std::string> fresh;
        for (int n = 1; n <= 6; ++n) {
            St().GetFieldCache = {};
            fresh.push_back(GetField(text, n, delimiter));
        }
        for (int n = 1; n <= 6; ++n)
            EXPECT_EQ(GetField(text, n, delimiter), fresh[n - 1]);
        // Another text between two reads must not leave the cache pointing into the wrong one.
        EXPECT_EQ(GetField(text, 1, delimiter), fresh[0]);
        GetField("zz:yy:xx", 1, ":");
        EXPECT_EQ(GetField(text, 2, delimiter), fresh[1]);
    }
}

TEST_F(TextUtilsTest, RestOfTextStartsAtTheWantedField) {
    struct Row {
        const char* text;
        int n;
        const char* rest;
    };
    const Row rows[] = {
        {"game:2:file.txt", 3, "file.txt"},
        {"game:2:file.txt", 1, "game:2:file.txt"},
        {"game:2", 3, ""},
        {"game", 1, "game"},
        {"game:2:", 3, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.text) + " from " + std::to_string(r.n));
        EXPECT_EQ(GetFieldsFrom(r.text, r.n, ":"), r.rest);
    }
}

TEST_F(TextUtilsTest, SetFieldCountsFieldsFromTheOldText) {
    struct Row {
        const char* text;
        int n;
        const char* value;
        const char* result;
    };
    const Row rows[] = {
        {"a:b", 4, "x", "a:b::x"}, {"a:b", 2, "", "a:"},       {"a:b::", 1, "z", "z:b"},
        {"", 1, "v", "v"},         {"a:b:c", 2, "B", "a:B:c"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        std::string text = r.text;
        SetField(text, r.n, r.value);
        EXPECT_EQ(text, r.result);
    }
    std::string text = "a";
    EXPECT_THROW(SetField(text, 0, "x"), std::out_of_range);
    EXPECT_THROW(SetField(text, 51, "x"), std::out_of_range);
    EXPECT_EQ(text, "a");
}

TEST_F(TextUtilsTest, ReplacementEndsAndCatchesOccurrencesItForms) {
    struct Row {
        const char* text;
        const char* find;
        const char* replacement;
        const char* result;
    };
    const Row rows[] = {
        {"a\\\\\\\\b", "\\\\", "\\", "a\\b"},  // any run of backslashes collapses to one
        {"aab", "ab", "b", "b"},
        {"HP HP", "HP", "Life", "Life Life"},
        {"abc", "", "x", "abc"},
        {"a.b.a", "a", "aa", "aa.b.aa"},
        {"x&y", "&", "&amp;", "x&amp;y"},
        {"", "a", "b", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.text) + " / " + r.find + " / " + r.replacement);
        std::string text = r.text;
        EXPECT_EQ(ReplaceAll(text, r.find, r.replacement), r.result);
        EXPECT_EQ(text, r.result);
        const std::string original = r.text;
        EXPECT_EQ(ReplaceAllCopy(original, r.find, r.replacement), r.result);
        EXPECT_EQ(original, r.text);
    }
}

TEST_F(TextUtilsTest, LargerOfComparesNumbersByValueAndTextsAboveNumbers) {
    EXPECT_EQ(MaxOf(10, 9), Value(10));
    EXPECT_EQ(MaxOf(3, "abc"), Value("abc"));
    EXPECT_EQ(MinOf(3, "abc"), Value(3));
}

TEST_F(TextUtilsTest, RandomNumbersStayInRangeAndTakeOneDrawEach) {
    std::set<long long> seen;
    for (int i = 0; i < 2000; ++i) {
        const long long n = RandomNum(6.9);
        ASSERT_GE(n, 1);
        ASSERT_LE(n, 6);
        seen.insert(n);
    }
    EXPECT_EQ(seen.size(), 6u);
    EXPECT_EQ(RandomNum(0), 1);
    EXPECT_EQ(RandomNum(1), 1);
    EXPECT_EQ(RollDice(0, 6), 0);
    EXPECT_EQ(RollDice(-2, 6), 0);
    EXPECT_EQ(RollDice(3, 1), 3);
    EXPECT_THROW(RandomNum(1e300), std::overflow_error);

    St().Random.Seed(99);
    Rng twin;
    twin.Seed(99);
    for (int i = 0; i < 5; ++i) {
        const long long n = RandomNum(1000);
        EXPECT_EQ(n, static_cast<long long>(twin.Draw() * 1000) + 1);
    }
    const long long sum = RollDice(4, 10);
    long long expected = 0;
    for (int i = 0; i < 4; ++i)
        expected += static_cast<long long>(twin.Draw() * 10) + 1;
    EXPECT_EQ(sum, expected);
}

std::vector<double> DrawsAfterSeed(const std::string& seed, const Value& offset) {
    SeedRandom(seed, offset);
    std::vector<double> draws;
    for (int i = 0; i < 4; ++i)
        draws.push_back(St().Random.Draw());
    return draws;
}

std::vector<double> DrawsAfterNumber(double seed) {
    St().Random.Seed(seed);
    std::vector<double> draws;
    for (int i = 0; i < 4; ++i)
        draws.push_back(St().Random.Draw());
    return draws;
}

TEST_F(TextUtilsTest, SeedTextsGiveTheirFixedSequences) {
    struct Row {
        const char* seed;
        double offset;
        double number;  // what the seed text comes to
    };
    const Row rows[] = {
        {"7", 3, 10},
        {"-4x", 0, -4},
        {"A", 0, 65 * 3},                     // one character stands for last, first and middle
        {"RANDOM", 0, 'M' + 'R' + 'N'},       // middle at 6/2 = 3
        {"ab", 1, 'b' + 'a' + 'a' + 1},       // 2/2 = 1
        {"abcde", 0, 'e' + 'a' + 'b'},        // 2.5 rounds to the even 2
        {"abcdefg", 2, 'g' + 'a' + 'd' + 2},  // 3.5 rounds to the even 4
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.seed);
        EXPECT_EQ(DrawsAfterSeed(r.seed, r.offset), DrawsAfterNumber(r.number));
    }
    EXPECT_EQ(DrawsAfterSeed("", 0), DrawsAfterSeed("RANDOM", 0));
    EXPECT_EQ(DrawsAfterSeed("Tournament", "5"), DrawsAfterSeed("Tournament", 5));
    EXPECT_NE(DrawsAfterSeed("Tournament", 5), DrawsAfterSeed("Tournament", 6));
}

TEST_F(TextUtilsTest, ColoursReadAndSplitAndWriteBack) {
    struct Row {
        const char* text;
        Value value;
    };
    const Row rows[] = {
        {"#FF0000", 16711680},    {"#00ff00", 65280}, {"##0000FF", 255},
        {"", Value("0")},         {"#", Value("0")},  {"#GG", 16777215},
        {"#123456789", 16777215}, {"#FFFFFFFF", -1},  {"# 12", 16777215},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(ColorValue(r.text), r.value);
    }
    long long low = 9, middle = 9, high = 9;
    SplitColor(0x123456, low, middle, high);
    EXPECT_EQ(low, 0x56);
    EXPECT_EQ(middle, 0x34);
    EXPECT_EQ(high, 0x12);
    SplitColorCore(0, low, middle, high, 8);
    EXPECT_EQ(low + middle + high, 0);
    EXPECT_EQ(RGBHex(15, 0, 255), "0F00FF");
    EXPECT_EQ(RGBHex(16, 171, 1), "10AB01");
}

TEST_F(TextUtilsTest, FileNamesAreTheLastPathComponent) {
    struct Row {
        const char* path;
        const char* name;
    };
    const Row rows[] = {
        {"C:\\Games\\pic.jpg", "pic.jpg"}, {"C:\\\\Games\\\\pic.jpg", "pic.jpg"},
        {"Games\\Sample\\", "Sample"},     {"pic.jpg", "pic.jpg"},
        {"\\pic.jpg", "pic.jpg"},          {"", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.path);
        std::string path = r.path;
        FileNameOf(path);
        EXPECT_EQ(path, r.name);
    }
    std::string url = "file:///home/x//y/z.png";
    UrlFileNameOf(url);
    EXPECT_EQ(url, "z.png");
}

TEST_F(TextUtilsTest, RandomTextListsKeepTheirTextsApartAndStopAtTheLimit) {
    EXPECT_EQ(GetRandomString("COLOUR"), "(STRING NOT FOUND)");
    AddRandomString("COLOUR", "red");
    AddRandomString("COLOUR", "green");
    AddRandomString("BEAST", "wolf");
    std::set<std::string> drawn;
    for (int i = 0; i < 200; ++i)
        drawn.insert(GetRandomString("COLOUR"));
    EXPECT_EQ(drawn, (std::set<std::string>{"red", "green"}));
    EXPECT_EQ(GetRandomString("BEAST"), "wolf");
    EXPECT_EQ(GetRandomString("colour"), "(STRING NOT FOUND)");

    for (int i = 0; i < 300; ++i)
        AddRandomString("MANY", "t" + std::to_string(i));
    const auto& lists = St().RandomStringLists;
    ASSERT_EQ(lists.size(), 3);
    const auto& many = lists[3].Strings;
    ASSERT_EQ(many.size(), 255);
    EXPECT_EQ(many[1], "t0");
    EXPECT_EQ(many[255], "t254");
}

}  // namespace
}  // namespace dv
