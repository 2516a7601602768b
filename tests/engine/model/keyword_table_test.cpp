#include "engine/model/keyword_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace dv {
namespace {

TEST(KeywordTableTest, WordsResolveToTheirCodeFieldsAndStopRule) {
    struct Row {
        const char* word;
        int code;  // 0: not a keyword
        int fields;
        bool stops;
    };
    const Row rows[] = {
        {"REQNOTTRAIT", 1, 1, false},
        {"REQNOTRAIT", 1, 1, false},  // alias
        {"REQMYNOTRAIT", 2, 1, false},
        {"REQMYNOTTRAIT", 2, 1, false},
        {"REQTRAIT", 3, 1, false},
        {"REQTRAITLESS", 7, 2, false},
        {"REQENEMY", 17, 0, false},
        {"REQISNOTPLAYER", 27, 0, false},
        {"ADDEFFECT", 34, 3, true},
        {"DESTROY", 36, 0, false},
        {"MODTRAIT", 38, 2, false},
        {"ECHO", 49, 1, false},
        {"FAILECHO", 52, 1, false},
        {"LOCKEDECHO", 53, 1, false},
        {"CREATECARD", 54, 3, false},
        {"TRAIT", 55, 2, false},
        {"REDIRECTTRAIT", 88, 1, true},
        {"REDIRECTBYGID", 89, 1, true},
        {"REDIRECT", 90, 1, true},
        {"TARGETREQUIREMENTS", 91, 0, false},
        {"REQTRAITISNT", 121, 2, false},
        {"REQTRAITISN'T", 121, 2, false},
        {"REQMYTRAITISN'T", 122, 2, false},
        {"REQCOLLECTIONLIMIT", 128, 1, false},
        // Exact case, whole word, no prefix handling: these are the compiler's business.
        {"echo", 0, 0, false},
        {"Destroy", 0, 0, false},
        {"AIECHO", 0, 0, false},
        {"ECHO ", 0, 0, false},
        {"", 0, 0, false},
        {"REDIRECTS", 0, 0, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.word);
        const Keyword* k = FindKeyword(r.word);
        EXPECT_EQ(KeywordCode(r.word), r.code);
        if (r.code == 0) {
            EXPECT_EQ(k, nullptr);
            continue;
        }
        ASSERT_NE(k, nullptr);
        EXPECT_EQ(k->code, r.code);
        EXPECT_EQ(k->fields, r.fields);
        EXPECT_EQ(k->stopsCompiling, r.stops);
        EXPECT_EQ(KeywordByCode(r.code), k);
    }
}

TEST(KeywordTableTest, EveryCodeHasOneRowAndNoWordIsDeclaredTwice) {
    const auto& table = KeywordTable();
    ASSERT_EQ(table.size(), static_cast<size_t>(kMaxCommandCode));
    std::set<std::string> words;
    int accepted = 0;
    int stoppers = 0;
    for (int code = 1; code <= kMaxCommandCode; ++code) {
        const Keyword* k = KeywordByCode(code);
        ASSERT_NE(k, nullptr) << code;
        EXPECT_EQ(k->code, code);
        EXPECT_LE(k->fields, 3) << k->word;
        stoppers += k->stopsCompiling;
        EXPECT_TRUE(words.insert(std::string(k->word)).second) << k->word;
        ++accepted;
        for (std::string_view alias : k->aliases) {
            if (alias.empty()) continue;
            EXPECT_TRUE(words.insert(std::string(alias)).second) << alias;
            EXPECT_EQ(FindKeyword(alias), k) << alias;
            ++accepted;
        }
        EXPECT_EQ(FindKeyword(k->word), k);
    }
    EXPECT_EQ(accepted, 138);
    EXPECT_EQ(stoppers, 4);
    EXPECT_EQ(KeywordByCode(0), nullptr);
    EXPECT_EQ(KeywordByCode(kMaxCommandCode + 1), nullptr);
    EXPECT_EQ(KeywordByCode(-1), nullptr);
}

}  // namespace
}  // namespace dv
