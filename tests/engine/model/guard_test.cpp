#include "engine/model/guard.h"

#include <gtest/gtest.h>

#include "engine/model/list.h"
#include "tests/support/engine_fixture.h"

namespace dv {
namespace {

using GuardTest = test::EngineTest;

TEST_F(GuardTest, AFailureIsReportedOnceAndTheBodyIsNotRunAgain) {
    int runs = 0;
    List<int> list(2);
    int result = Guarded("SomeProcedure", -7, [&] {
        ++runs;
        return list[5];
    });
    EXPECT_EQ(result, -7);
    EXPECT_EQ(runs, 1);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "Error in SomeProcedure");
}

TEST_F(GuardTest, ListsNumberFromOneAndRefuseOtherIndexes) {
    List<int> list(3);
    list[1] = 10;
    list[3] = 30;
    EXPECT_EQ(list[1], 10);
    EXPECT_THROW(list[0], std::out_of_range);
    EXPECT_THROW(list[4], std::out_of_range);
    StableList<int> stable(1);
    int& first = stable[1];
    for (int i = 0; i < 1000; ++i)
        stable.PushBack(i);
    first = 5;
    EXPECT_EQ(stable[1], 5);
}

}  // namespace
}  // namespace dv
