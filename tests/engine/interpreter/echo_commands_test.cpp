#include <gtest/gtest.h>

#include <string>

#include "engine/model/cards.h"
#include "engine/model/state.h"
#include "engine/rules/dispatch.h"
#include "tests/engine/interpreter/board_fixture.h"

namespace dv {
namespace {

using EchoCommandsTest = test::BoardTest;

void MissedChance(RunContext& run) {
    ++run.misses;
    run.endLoop = true;
}
void FailingRequirement(RunContext& run) {
    FailRequirement(run, "no");
}

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

TEST_F(EchoCommandsTest, AnOutermostEchoIsFramedOnTheSourceSide) {
    const int imp = Place("Imp", 1);
    const int e = Script(imp, "ECHO:Hello $TARGETNAME");
    C(imp).Colour = "#00FF00";
    C(foe).Colour = "#FF0000";
    ASSERT_EQ(Run(imp, foe, e), 2);
    const std::string& log = St().TurnLog;
    EXPECT_EQ(log.rfind("<table width=100% border=1><tr><td bgcolor = #001100 ><p align=left>", 0),
              0u)
        << log;
    EXPECT_NE(log.find("<font color=\"55FF55\">Hello "), std::string::npos) << log;
    EXPECT_NE(log.find("Foe"), std::string::npos) << "placeholders filled: " << log;
    EXPECT_EQ(log.substr(log.size() - 22), "</td></tr></table></p>");
    EXPECT_EQ(GetMainEcho(0), "") << "the parts were handed over and emptied";
    EXPECT_EQ(St().SuccessfulActions, 1);
}

TEST_F(EchoCommandsTest, EchoTextsFollowTheirCommandsRules) {
    StandIn("CHANCE", MissedChance);
    StandIn("REQCARDISDEAD", FailingRequirement);
    struct Row {
        const char* script;
        uint8_t preview;
        const char* shown;     // must appear in TurnLog ("" for nothing at all)
        const char* notShown;  // must not appear
        int times;             // how often `shown` appears
    };
    const Row rows[] = {
        {"ECHO:one:ECHO:two", 0, "<br><br>", "", 2},
        {"ECHO:trial", 1, "", "trial", 0},
        {"ECHO:said:ECHOFAIL:sorry:CHANCE:0", 0, "<p>sorry<br><br></p>", "", 1},
        {"ECHO:said:ECHOFAIL:sorry", 0, "said", "sorry", 1},
        {"ECHOFAIL:sorry:REQCARDISDEAD:1", 0, "", "sorry", 0},
        {"ECHOLOCKED:locked", 0, "locked", "", 1},
        {"ECHOTRAIT:x:BREAKPOINT:TRAIT:A:B", 0, "", "", 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.script);
        St().TurnLog.clear();
        const int imp = Place("Imp", 2);
        Run(imp, foe, Script(imp, r.script), r.preview);
        const std::string& log = St().TurnLog;
        if (std::string(r.shown).empty()) {
            EXPECT_EQ(log, "");
        } else {
            EXPECT_EQ(Count(log, r.shown), r.times) << log;
        }
        if (*r.notShown) {
            EXPECT_EQ(log.find(r.notShown), std::string::npos) << log;
        }
    }
}

TEST_F(EchoCommandsTest, PicturesShowOnlyWithAnEchoCommand) {
    C(foe).Thumbnail = "foe.jpg";
    C(foe).Picture = "foe.jpg";
    const int imp = Place("Imp", 1);
    C(imp).Picture = "imp.jpg";
    Run(imp, foe, Script(imp, "ECHOMINOR:quiet"));
    EXPECT_NE(St().TurnLog.find("quiet"), std::string::npos);
    EXPECT_EQ(St().TurnLog.find("CARD"), std::string::npos) << St().TurnLog;

    St().TurnLog.clear();
    Run(imp, foe, Script(imp, "ECHO:loud"));
    EXPECT_NE(St().TurnLog.find("CARD" + std::to_string(C(imp).GID)), std::string::npos)
        << St().TurnLog;
}

TEST_F(EchoCommandsTest, EchoOnceShowsOncePerDispatchAndPerTurn) {
    const int wolf = Place("Wolf", 2);
    Place("Bat", 2);
    Script(wolf, "ECHOONCE:howl", "PHASE1", 2);
    RunActions(C(wolf), "PHASE1");
    EXPECT_EQ(Count(St().TurnLog, "howl"), 1);
    RunActions(C(wolf), "PHASE1");
    EXPECT_EQ(Count(St().TurnLog, "howl"), 1) << "shown already this turn";
    ClearEchos();
    RunActions(C(wolf), "PHASE1");
    EXPECT_EQ(Count(St().TurnLog, "howl"), 2);
}

TEST_F(EchoCommandsTest, CancelInDebugModeLogsWhoCancelledWhat) {
    St().DebugMode = 1;
    const int imp = Place("Imp", 2);
    const int e = Script(imp, "ECHO:strike");
    Script(foe, "CANCEL", "TARGETED", 7);
    EXPECT_EQ(Run(imp, foe, e), 0);
    EXPECT_NE(St().TurnLog.find("has cancelled the action \"ECHO:strike\""), std::string::npos)
        << St().TurnLog;
    EXPECT_EQ(St().CancelledActions, 1);
}

}  // namespace
}  // namespace dv
