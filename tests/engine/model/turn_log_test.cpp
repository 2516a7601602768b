#include "engine/model/turn_log.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "tests/support/engine_fixture.h"

namespace dv {
namespace {

using TurnLogTest = test::EngineTest;

// The echoes of a chain's trait changes are gathered before they reach the log: a chain of a
// hundred thousand runs, each echoing a line, gathered gigabytes that the log would then cut. A
// text on its way to the log takes nothing that would make it longer than the log may be.
TEST_F(TurnLogTest, AnEchoOnItsWayToTheLogKeepsNoMoreThanTheLogMayHold) {
    struct Row {
        std::size_t held;
        std::size_t more;
        std::size_t after;
    };
    const Row rows[] = {
        {0, 10, 10},
        {kMaxTurnLogBytes - 10, 10, kMaxTurnLogBytes},
        {kMaxTurnLogBytes - 10, 11, kMaxTurnLogBytes - 10},
        {kMaxTurnLogBytes, 1, kMaxTurnLogBytes},
        {5, kMaxTurnLogBytes, 5},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.held) + " + " + std::to_string(r.more));
        std::string text(r.held, 'x');
        AppendForTurnLog(text, std::string(r.more, 'y'));
        EXPECT_EQ(text.size(), r.after);
    }
}

}  // namespace
}  // namespace dv
