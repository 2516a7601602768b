#include "engine/model/case_fold.h"

#include <gtest/gtest.h>

namespace dv {
namespace {

// One helper now answers for trait, file, set and zone names: a slip in it (comparing past the
// shorter text, folding digits or punctuation) would show in every one of them.
TEST(CaseFoldTest, TextsDifferingOnlyInCaseAreTheSameAndNothingElseIs) {
    struct Row {
        const char* a;
        const char* b;
        bool same;
    };
    const Row rows[] = {
        {"hp", "HP", true},
        {"Bonus:Hp", "BONUS:HP", true},
        {"", "", true},
        {"HP", "HPX", false},
        {"HPX", "HP", false},
        {"a1", "A1", true},
        {"a_b", "A-B", false},
        {"\xe9t\xe9", "\xe9T\xe9", true},
        {"x", "", false},
        // Only 'a' to 'z' fold: bytes next to them in the table, and bytes past 127 (a Latin-1
        // e-acute against E-acute), do not, as in the C locale.
        {"[", "{", false},
        {"@", "`", false},
        {"\xe9", "\xc9", false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.a) + " / " + r.b);
        EXPECT_EQ(SameNoCase(r.a, r.b), r.same);
        EXPECT_EQ(UpperText(r.a) == UpperText(r.b), r.same);
        EXPECT_EQ(LowerText(r.a) == LowerText(r.b), r.same);
    }
}

TEST(CaseFoldTest, APrefixMatchesInAnyCaseButNeverPastTheText) {
    EXPECT_TRUE(StartsWithNoCase("FILE:///a.jpg", "file://"));
    EXPECT_TRUE(StartsWithNoCase("BonusHP", "BONUS"));
    EXPECT_FALSE(StartsWithNoCase("BONU", "BONUS"));
    EXPECT_FALSE(StartsWithNoCase("file:/a.jpg", "file://"));
    EXPECT_TRUE(StartsWithNoCase("anything", ""));
}

}  // namespace
}  // namespace dv
