#include "data/card_file_items.h"

#include <gtest/gtest.h>

#include <vector>

namespace dv {
namespace {

std::vector<std::string> Items(const std::string& text) {
    ItemReader in(text, "t.txt");
    std::vector<std::string> items;
    while (!in.AtEnd())
        items.push_back(in.Next("t"));
    return items;
}

TEST(ItemReaderTest, ItemsNotLinesWithTheFormsTheWritersUse) {
    struct Row {
        const char* text;
        std::vector<std::string> items;
    };
    const Row rows[] = {
        {"#CARD, COLLECTION\r\n\"Elf\", x\r\n", {"#CARD", "COLLECTION", "Elf", "x"}},
        {"#TRAIT, \"HP:5\", #TRAIT, \"A:1\", \r\n", {"#TRAIT", "HP:5", "#TRAIT", "A:1", ""}},
        {"#INCLUDE, set.txt\r\n\r\n", {"#INCLUDE", "set.txt", ""}},
        {"\"#DECK\",\"Deck #1\"\r\n", {"#DECK", "Deck #1"}},
        {"  a  ,\tb \n", {"a", "b"}},
        {"\"two\r\nlines, one item\", next", {"two\r\nlines, one item", "next"}},
        {"\"say \"\"hi\"\"\", \"\"", {"say \"hi\"", ""}},
        {"\"a\" junk, b", {"a", "b"}},
        {"\xEF\xBB\xBF#TOKENS, 5", {"#TOKENS", "5"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(Items(r.text), r.items);
    }
}

TEST(ItemReaderTest, CutShortAndUnclosedReportFileAndLine) {
    ItemReader cut("a\r\nb\r\n", "cut.txt");
    cut.Next("");
    cut.Next("");
    try {
        cut.Next("#CARD");
        FAIL();
    } catch (const CardFileFault& f) {
        EXPECT_EQ(f.file, "cut.txt");
        EXPECT_EQ(f.line, 3);
        EXPECT_EQ(f.reason, "the file ends inside #CARD");
    }
    ItemReader open("x\n\"never closed", "open.txt");
    open.Next("");
    EXPECT_THROW(open.Next(""), CardFileFault);
}

TEST(ItemQuotingTest, WrittenItemsReadBackUnchanged) {
    for (const std::string text :
         {"plain", "", "a,b", " lead", "trail ", "line\r\nend", "\"q\"", "#x"}) {
        SCOPED_TRACE(text);
        const std::string plain = PlainItem(text);
        EXPECT_EQ(Items(plain + ", next"), (std::vector<std::string>{text, "next"}));
        EXPECT_EQ(Items("\"" + QuotedInside(text) + "\", next"),
                  (std::vector<std::string>{text, "next"}));
    }
    EXPECT_EQ(PlainItem("TURNSTART"), "TURNSTART") << "ordinary items are written as they are";
}

TEST(ItemNumberTest, FieldsThatMustHoldNumbersRefuseOthers) {
    ItemReader in("", "n.txt");
    EXPECT_EQ(NumberItem(in, "42", 0, 100, "x"), 42);
    EXPECT_EQ(NumberItem(in, "", 0, 100, "x"), 0);
    EXPECT_EQ(NumberItem(in, " -7 ", -10, 10, "x"), -7);
    for (const char* bad : {"abc", "4x", "101", "99999999999999999999"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(NumberItem(in, bad, 0, 100, "x"), CardFileFault);
    }
    EXPECT_EQ(LeadingNumberItem(in, "12abc", 0, 100, "x"), 12);
    EXPECT_EQ(LeadingNumberItem(in, "abc", 0, 100, "x"), 0);
    EXPECT_THROW(LeadingNumberItem(in, "3000000000", 0, INT32_MAX, "x"), CardFileFault);
}

TEST(DateStampTest, StampsCompareInTimeOrderAndTheZeroDateComesFirst) {
    EXPECT_TRUE(StampEarlier("2024-05-01 10:00:00", "2024-05-01 10:00:01"));
    EXPECT_FALSE(StampEarlier("2024-05-01 10:00:00", "#2024-05-01 10:00:00#"));
    EXPECT_TRUE(StampEarlier("2023-12-31 23:59:59", "2024-01-01 00:00:00"));
    EXPECT_EQ(StampSeconds("5/1/2024 1:00:00 PM"), StampSeconds("2024-05-01 13:00:00"));
    EXPECT_TRUE(StampEarlier("", "2024-05-01 10:00:00"));
    EXPECT_FALSE(StampEarlier("", ""));
    EXPECT_FALSE(StampSeconds("yesterday").has_value());
}

}  // namespace
}  // namespace dv
