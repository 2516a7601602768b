#include <gtest/gtest.h>

#include <string>

#include "engine/model/state.h"
#include "engine/model/triggers.h"
#include "tests/engine/interpreter/card_command_board.h"

namespace dv {
namespace {

using NameColourCommandsTest = test::CardCommandBoardTest;

TEST_F(NameColourCommandsTest, NamesAndColoursChangeAsTheirCommandsSay) {
    struct Row {
        const char* script;
        uint8_t preview;
        uint8_t skip;
        int result;
        const char* sourceName;
        const char* targetName;
        const char* sourceColour;
        const char* targetColour;
    };
    const Row rows[] = {
        {"CHANGENAME:$SIMPLETARGETNAME II", 0, 0, 2, "Imp", "Elf II", "#FFFFFF", "#FFFFFF"},
        {"CHANGENAME:\"Big\" Elf", 0, 0, 2, "Imp", "\"Big\" Elf", "#FFFFFF", "#FFFFFF"},
        {"CHANGENAME:Ent", 1, 0, 2, "Imp", "Elf", "#FFFFFF", "#FFFFFF"},
        {"CHANGENAME:Ent", 0, 1, 2, "Imp", "Elf", "#FFFFFF", "#FFFFFF"},
        {"CHANGEMYNAME:Bob", 0, 1, 2, "Bob", "Elf", "#FFFFFF", "#FFFFFF"},
        {"RENAMETARGET:\"Big\" Elf", 0, 0, 2, "Imp", "Big Elf", "#FFFFFF", "#FFFFFF"},
        {"RENAME:Ent", 0, 0, 2, "Imp", "Ent", "#FFFFFF", "#FFFFFF"},
        {"RENAME:Ent", 1, 0, 2, "Imp", "Elf", "#FFFFFF", "#FFFFFF"},
        {"RENAMEME:$SIMPLETARGETNAME's friend", 0, 0, 2, "Elf's friend", "Elf", "#FFFFFF",
         "#FFFFFF"},
        {"RENAMEME:Zed", 0, 1, 2, "Imp", "Elf", "#FFFFFF", "#FFFFFF"},
        {"CHANGENAME", 0, 0, 2, "Imp", "", "#FFFFFF", "#FFFFFF"},
        {"RECOLORTARGET:red", 0, 0, 2, "Imp", "Elf", "#FFFFFF", "red"},
        {"RECOLOR:#000001", 0, 0, 2, "Imp", "Elf", "#FFFFFF", "#000001"},
        {"RECOLOR:#000001", 1, 0, 2, "Imp", "Elf", "#FFFFFF", "#FFFFFF"},
        {"RECOLORME:#123456", 0, 0, 2, "Imp", "Elf", "#123456", "#FFFFFF"},
        {"RECOLORME:#123456", 0, 1, 2, "Imp", "Elf", "#FFFFFF", "#FFFFFF"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.script);
        const int imp = Place("Imp", 1);
        const int elf = Place("Elf", 2);
        EXPECT_EQ(RunScript(imp, elf, r.script, r.preview, r.skip), r.result);
        EXPECT_EQ(C(imp).Name, r.sourceName);
        EXPECT_EQ(C(elf).Name, r.targetName);
        EXPECT_EQ(C(imp).Colour, r.sourceColour);
        EXPECT_EQ(C(elf).Colour, r.targetColour);
    }
}

TEST_F(NameColourCommandsTest, FramingCommandsChooseTheEchoSideAndBackground) {
    struct Row {
        const char* script;
        int sourceOwner;
        const char* opening;  // the turn log begins with it
        const char* font;
    };
    const Row rows[] = {
        {"FRAMECOLOR:#003300:ECHO:x", 2,
         "<table width=100% border=1><tr><td bgcolor = #003300><p align=right>", "FF5511"},
        {"TARGETCOLOR:ECHO:x", 1, "<table width=100% border=1><tr><td bgcolor = #220000 >",
         "FF5511"},
        {"REVERSECOLOR:ECHO:x", 1, "<table width=100% border=1><tr><td bgcolor = #220000 >",
         "FF5511"},
        {"REVERSECOLOR:REVERSECOLOR:ECHO:x", 1,
         "<table width=100% border=1><tr><td bgcolor = #001100 ><p align=left>", "55FF55"},
        {"TARGETCOLOR:REVERSECOLOR:ECHO:x", 1,
         "<table width=100% border=1><tr><td bgcolor = #001100 ><p align=left>", "55FF55"},
        {"REVERSECOLOR:ECHO:x", 2, "<table width=100% border=1><tr><td bgcolor = #001100 >",
         "55FF55"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.script);
        St().TurnLog.clear();
        const int imp = Place("Imp", r.sourceOwner);
        const int target = r.sourceOwner == 1 ? foe : hero;
        EXPECT_EQ(RunScript(imp, target, r.script), 2);
        EXPECT_EQ(St().TurnLog.rfind(r.opening, 0), 0u) << St().TurnLog;
        EXPECT_NE(St().TurnLog.find(std::string("<font color=\"") + r.font), std::string::npos)
            << St().TurnLog;
    }
}

TEST_F(NameColourCommandsTest, ACardRenamedToNothingLeavesItsRegistrations) {
    const int elf = Place("Elf", 2);
    Script(elf, "ECHO:I am here", "PHASE1", 7);
    Register(elf);
    const int imp = Place("Imp", 1);
    RunScript(imp, elf, "RENAME");
    EXPECT_EQ(C(elf).Name, "");
    for (int k = 1; k <= St().TriggerRegistry[GetTriggerNum("PHASE1")].Cards.size(); ++k)
        EXPECT_NE(St().TriggerRegistry[GetTriggerNum("PHASE1")].Cards[k], elf);
}

}  // namespace
}  // namespace dv
