#include "engine/model/turn_log.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/model/state.h"
#include "tests/support/engine_fixture.h"

namespace dv {
namespace {

const std::string kLogCut = "<br>The rest of this turn's log is left out: it has passed 2 MB.<br>";

using TurnLogTest = test::EngineTest;

// A chain of effects could write hundreds of megabytes of turn log, all of it shown as one page.
// Past its bound the log takes nothing more, and says so once; a log put back as it was before a
// trial, or emptied at the end of a turn, takes text again.
TEST_F(TurnLogTest, ALogPastItsBoundTakesNothingMoreAndSaysSoOnce) {
    std::string& log = St().TurnLog;
    const std::string half(kMaxTurnLogBytes / 2, 'a');
    AddToTurnLog(half);
    AddToTurnLog(half);
    EXPECT_EQ(log.size(), kMaxTurnLogBytes) << "a log at its bound keeps all it took";
    AddToTurnLog("b");
    EXPECT_EQ(log, half + half + kLogCut);
    AddToTurnLog("c");
    log += "written directly";
    KeepTurnLogBound(log.size() - 16);
    EXPECT_EQ(log, half + half + kLogCut) << "nothing is added after the line";

    AddCutLineToTurnLog("<br>a chain was cut<br>");
    EXPECT_EQ(log, half + half + "<br>a chain was cut<br>" + kLogCut)
        << "a cut's line shows even in a full log, before the log's own";

    log = half;
    AddToTurnLog("d");
    EXPECT_EQ(log, half + "d") << "a log put back takes text again";
    const std::size_t before = log.size();
    log += std::string(kMaxTurnLogBytes, 'e');
    KeepTurnLogBound(before);
    EXPECT_EQ(log, half + "d" + kLogCut) << "text appended directly past the bound is dropped";

    log.clear();
    AddToTurnLog(std::string(kMaxTurnLogBytes + 1, 'f'));
    EXPECT_EQ(log, kLogCut) << "one text larger than the bound";
}

}  // namespace
}  // namespace dv
