#include "engine/model/script_fields.h"

#include <gtest/gtest.h>

#include <string>

namespace dv {
namespace {

// Fields are kept in place up to a count and on the heap past it: a slip at the switch (a field
// lost, one read past the end) would change which word a script's step reads.
TEST(ScriptFieldsTest, EveryFieldIsReadBackWhereverItIsKept) {
    for (int count : {1, 2, 15, 16, 17, 40}) {
        SCOPED_TRACE(count);
        std::string text;
        for (int k = 1; k <= count; ++k)
            text += (k > 1 ? ":" : "") + std::to_string(k);
        const ScriptFields fields(text, ':');
        for (int k = 1; k <= count; ++k)
            EXPECT_EQ(fields[k], std::to_string(k));
        EXPECT_EQ(fields[count + 1], "");
        EXPECT_EQ(fields[0], "");
    }
}

TEST(ScriptFieldsTest, EmptyFieldsCountAsFields) {
    const ScriptFields fields("a::b:", ':');
    EXPECT_EQ(fields[1], "a");
    EXPECT_EQ(fields[2], "");
    EXPECT_EQ(fields[3], "b");
    EXPECT_EQ(fields[4], "");
    const ScriptFields none("", ':');
    EXPECT_EQ(none[1], "");
}

}  // namespace
}  // namespace dv
