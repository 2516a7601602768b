#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "engine/interpreter/run_budget.h"
#include "engine/model/keyword_table.h"
#include "engine/model/state.h"
#include "engine/model/triggers.h"
#include "engine/rules/rule_operations.h"
#include "tests/engine/interpreter/card_command_board.h"
#include "tests/support/set_up_card.h"

namespace dv {
namespace {

using CardLifeCommandsTest = test::CardCommandBoardTest;

bool Alive(const Card& card) {
    return !card.Name.empty() && card.Dead == 0;
}

bool Called(const test::RecordingHost& host, const std::string& call) {
    return std::find(host.calls.begin(), host.calls.end(), call) != host.calls.end();
}

TEST_F(CardLifeCommandsTest, CardsLiveDieAndChangeSidesAsTheirCommandsSay) {
    struct Row {
        const char* script;
        int sourceOwner;
        int targetOwner;
        uint8_t preview;
        int result;
        int sourceOwnerAfter;
        int targetOwnerAfter;
        bool sourceAlive;
        bool targetAlive;
        int queued;        // cards waiting to enter play
        uint8_t winner;    // 0: the game goes on
        const char* echo;  // in the turn log
    };
    const Row rows[] = {
        {"DESTROY:ECHO:still", 1, 2, 0, 2, 1, 2, true, false, 0, 0, "still"},
        {"DESTROY", 1, 2, 1, 2, 1, 2, true, true, 0, 0, ""},
        {"DESTROYME", 1, 2, 0, 2, 1, 2, false, true, 0, 0, ""},
        {"REMOVE", 1, 2, 0, 2, 1, 2, true, false, 0, 0, ""},
        {"REMOVE", 1, 2, 1, 2, 1, 2, true, true, 0, 0, ""},
        {"MINDCONTROL", 1, 2, 0, 2, 1, 1, true, true, 0, 0, ""},
        {"MINDCONTROL", 1, 2, 1, 2, 1, 2, true, true, 0, 0, ""},
        {"MINDCONTROLME", 2, 1, 0, 2, 1, 1, true, true, 0, 0, ""},
        {"DEFECT", 1, 0, 0, 2, 1, 1, true, true, 0, 0, ""},
        {"DEFECT", 1, 1, 0, 2, 1, 2, true, true, 0, 0, ""},
        {"DEFECTME", 2, 1, 0, 2, 1, 1, true, true, 0, 0, ""},
        {"DEFECTME", 2, 1, 1, 2, 2, 1, true, true, 0, 0, ""},
        {"JOIN:2", 1, 1, 0, 2, 1, 2, true, true, 0, 0, ""},
        {"MEJOIN:0", 2, 1, 0, 2, 0, 1, true, true, 0, 0, ""},
        {"DUPLICATE:2", 1, 2, 0, 2, 1, 2, true, true, 2, 0, ""},
        {"DUPLICATE:0", 1, 2, 0, 2, 1, 2, true, true, 0, 0, ""},
        {"DUPLICATE:-3", 1, 2, 0, 2, 1, 2, true, true, 0, 0, ""},
        {"DUPLICATE:1000000000", 1, 2, 0, 2, 1, 2, true, true, 100, 0, ""},
        {"DUPLICATE:3", 1, 2, 1, 2, 1, 2, true, true, 0, 0, ""},
        {"DUPLICATEME:2.5", 1, 2, 0, 2, 1, 2, true, true, 2, 0, ""},
        {"DUPLICATEWITHCOST:3", 1, 2, 1, 2, 1, 2, true, true, 0, 0, ""},
        {"DUPLICATEMEWITHCOST:3", 1, 2, 1, 2, 1, 2, true, true, 0, 0, ""},
        {"CREATECARD:2:Orc:missing.txt", 1, 2, 0, 1, 1, 2, true, true, 0, 0,
         "<br>File not found:missing.txt<br>"},
        {"CREATECARD:2:Orc:missing.txt", 1, 2, 1, 2, 1, 2, true, true, 0, 0, ""},
        {"LOSEGAME", 2, 1, 0, 2, 2, 1, true, true, 0, 1, ""},
        {"LOSEGAME", 0, 1, 0, 2, 0, 1, true, true, 0, 1, ""},
        {"LOSEGAME", 1, 2, 0, 2, 1, 2, true, true, 0, 2, ""},
        {"WINGAME", 2, 1, 0, 2, 2, 1, true, true, 0, 2, ""},
        {"WINGAME", 0, 1, 0, 2, 0, 1, true, true, 0, 0, ""},
        {"WINGAME", 1, 2, 1, 2, 1, 2, true, true, 0, 0, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.script) + (r.preview ? " (trial)" : ""));
        St().GameOver = St().Winner = 0;
        St().CardQueue = List<Card>();
        St().CardQueueCount = 0;
        St().TurnLog.clear();
        const int imp = Place("Imp", r.sourceOwner);
        const int elf = Place("Elf", r.targetOwner);
        EXPECT_EQ(RunScript(imp, elf, r.script, r.preview), r.result);
        EXPECT_EQ(C(imp).Owner, r.sourceOwnerAfter);
        EXPECT_EQ(C(elf).Owner, r.targetOwnerAfter);
        EXPECT_EQ(Alive(C(imp)), r.sourceAlive);
        EXPECT_EQ(Alive(C(elf)), r.targetAlive);
        EXPECT_EQ(Named(St().CardQueue), r.queued);
        EXPECT_EQ(St().GameOver, r.winner ? 1 : 0);
        EXPECT_EQ(St().Winner, r.winner);
        if (*r.echo) {
            EXPECT_NE(St().TurnLog.find(r.echo), std::string::npos) << St().TurnLog;
        }
    }
}

TEST_F(CardLifeCommandsTest, CopiesAreQueuedForTheSourceSideFreeAndAlive) {
    const int imp = Place("Imp", 1);
    const int elf = Place("Elf", 2, {{"HP", "3"}});
    const int ally = Script(elf, "REQALLY:ECHO:friend");
    C(elf).Dead = 1;  // dying, but not yet swept
    Run(imp, elf, Script(imp, "DUPLICATE:1", "ONDEATH"));
    ASSERT_EQ(St().CardQueueCount, 1);
    const Card& copy = St().CardQueue[1];
    EXPECT_EQ(copy.Name, "Elf");
    EXPECT_EQ(copy.Owner, 1);
    EXPECT_EQ(copy.SideMask, 1);
    EXPECT_EQ(copy.Effects[ally].SideReq, 1) << "its ally requirement is for its new side";
    EXPECT_EQ(copy.AlreadyPlaced, 1);
    EXPECT_EQ(copy.Dead, 0);
    EXPECT_EQ(C(elf).Owner, 2) << "the original stays where it was";
}

// A copy is queued and enters play free, so an owner who could not pay for it again still gets
// it; a copy made with its cost pays once, in the command. Back in a hand, it pays again.
TEST_F(CardLifeCommandsTest, QueuedCopiesEnterFreeAndACopyWithCostPaysOnce) {
    struct Row {
        const char* script;
        int glow;
        int glowAfter;
        int imps;
    };
    const Row rows[] = {{"DUPLICATEME:1", 0, 0, 2},
                        {"DUPLICATEMEWITHCOST:1", 3, 1, 2},
                        {"DUPLICATEMEWITHCOST:1", 1, 1, 1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.script) + " with glow " + std::to_string(r.glow));
        const int imp = Place("Imp", 1);
        Script(imp, "REQTRAITMORE:GLOW:2:MODTRAIT:GLOW:-2", "COST", 5);
        SetTrait(C(hero), "GLOW", Value(r.glow), 1);
        RunScript(imp, imp, r.script);
        CreateSideBoards();
        EXPECT_EQ(Trait(hero, "GLOW"), std::to_string(r.glowAfter));
        const auto& play = St().InPlay;
        EXPECT_EQ(
            std::count_if(play.begin(), play.end(), [](const Card& c) { return c.Name == "Imp"; }),
            r.imps);
        EXPECT_EQ(St().Players[1].Hand[1].Name, "") << "the copy was refused into the hand";
        for (Card& c : St().InPlay)
            if (c.Name == "Imp") KillCard(c, 1);
    }
    Card copy = test::MakeCard("Imp");
    QueueCard(copy);
    AddCardToHand(St().Players[1], St().CardQueue[1], 0);
    EXPECT_EQ(St().Players[1].Hand[1].AlreadyPlaced, 0);
}

TEST_F(CardLifeCommandsTest, AllyAndEnemyRequirementsFollowACardToItsNewSide) {
    const int imp = Place("Imp", 2);
    const int ally = Script(imp, "REQALLY:ECHO:friend");
    const int heroAlly = Script(hero, "REQALLY:ECHO:welcome");
    EXPECT_EQ(Run(hero, imp, heroAlly), -1) << "an enemy before";
    const std::string masks[] = {"MINDCONTROL", "JOIN:1"};
    for (const std::string& take : masks) {
        SCOPED_TRACE(take);
        C(imp).Owner = 2;
        SetActionMasks(C(imp), ally);
        RunScript(hero, imp, take);
        ASSERT_EQ(C(imp).Owner, 1);
        EXPECT_EQ(C(imp).SideMask, 1);
        EXPECT_EQ(Run(hero, imp, heroAlly), 2) << "the hero's ally now";
        EXPECT_EQ(Run(imp, hero, ally), 2) << "and the hero is its ally";
        EXPECT_EQ(Run(imp, foe, ally), -1) << "its old side is not";
    }
}

TEST_F(CardLifeCommandsTest, ASideOutOfRangeIsAFaultThatLeavesTheSide) {
    const int imp = Place("Imp", 1);
    RunScript(imp, foe, "JOIN:300:ECHO:after");
    EXPECT_EQ(C(foe).Owner, 2);
    EXPECT_EQ(host.CountMessages("Error in EffCard"), 1);
    EXPECT_NE(St().TurnLog.find("after"), std::string::npos) << "the run goes on";
}

TEST_F(CardLifeCommandsTest, WinningEndsTheGameThroughTheHost) {
    WriteFile("blank.htm", "<html></html>");
    St().CurrentMission = "Caves";
    St().Players[1].WonMissions = List<std::string>(1);
    const int imp = Place("Imp", 1);
    RunScript(imp, foe, "WINGAME", 1);
    EXPECT_TRUE(host.calls.empty()) << "a trial ends no game";
    EXPECT_EQ(St().GameOver, 0);

    St().DeckManagerMode = 2;
    St().PickingCard = 1;
    RunScript(imp, foe, "WINGAME:ECHO:won");
    EXPECT_EQ(St().GameOver, 1);
    EXPECT_EQ(St().Winner, 1);
    EXPECT_EQ(St().DeckManagerMode, 0);
    EXPECT_EQ(St().PickingCard, 0);
    EXPECT_EQ(St().Players[1].WonMissions[1], "Caves");
    EXPECT_TRUE(Called(host, "HideHand"));
    EXPECT_TRUE(Called(host, "SetEndTurnCaption:End Game"));
    EXPECT_TRUE(Called(host, "EnableDeckManagerMenu:1"));
    ASSERT_EQ(host.pages.size(), 2u);
    EXPECT_NE(host.pages[0].viewer, host.pages[1].viewer);
    for (const auto& page : host.pages)
        EXPECT_NE(page.location.find("blank.htm"), std::string::npos) << page.location;
    EXPECT_NE(St().TurnLog.find("won"), std::string::npos) << "the echo is written first";
}

TEST_F(CardLifeCommandsTest, AddEffectLeavesTheRestOfTheScriptForTheTarget) {
    const int imp = Place("Imp", 1);
    EXPECT_EQ(RunScript(imp, foe, "ADDEFFECT:TURNSTART:SELF:ECHO:hi:DESTROY"), 2);
    EXPECT_EQ(St().AddEffectText, "TURNSTART:SELF:ECHO:hi:DESTROY");
    EXPECT_EQ(St().AddEffectCard, C(foe).GID);
    EXPECT_TRUE(Alive(C(foe))) << "nothing after ADDEFFECT runs";

    RunScript(imp, foe, "ECHOO:ADDEFFECT:TURNSTART:SELF:ECHO:hi");
    EXPECT_EQ(St().AddEffectText, "TURNSTART:SELF:ECHO:hi") << "a misspelt word before it";

    St().AddEffectText.clear();
    EXPECT_EQ(RunScript(imp, foe, "ADDEFFECT:TURNSTART:SELF:ECHO:hi", 1), 2);
    EXPECT_EQ(St().AddEffectText, "") << "a trial adds nothing";
}

TEST_F(CardLifeCommandsTest, DeleteEffectFreesTheSlotOnlyInARealRun) {
    const int imp = Place("Imp", 1);
    const int trial = Script(imp, "DELETEEFFECT");
    Run(imp, foe, trial, 1);
    EXPECT_EQ(C(imp).Effects[trial].Text, "DELETEEFFECT");
    Run(imp, foe, trial);
    EXPECT_EQ(C(imp).Effects[trial].Text, "");
}

TEST_F(CardLifeCommandsTest, CardsGoBackToTheirOwnersHands) {
    const int imp = Place("Imp", 1);
    const int elf = Place("Elf", 2);
    const int stray = Place("Stray", 0);
    RunScript(imp, elf, "RETURNTOHAND");
    EXPECT_EQ(St().Players[2].Hand[1].Name, "Elf");
    EXPECT_FALSE(Alive(C(elf)));
    RunScript(imp, foe, "RETURNMETOHAND");
    EXPECT_EQ(St().Players[1].Hand[1].Name, "Imp");
    EXPECT_FALSE(Alive(C(imp)));

    const int wolf = Place("Wolf", 1);
    RunScript(wolf, stray, "RETURNTOHAND");
    EXPECT_TRUE(Alive(C(stray))) << "a neutral card has no hand to go to";
    RunScript(wolf, foe, "RETURNTOHAND", 1);
    EXPECT_TRUE(Alive(C(foe)));
}

TEST_F(CardLifeCommandsTest, DrawCardsFillsTheTargetOwnersHand) {
    Player& second = St().Players[2];
    for (const char* name : {"A", "B", "C"})
        second.Deck.PushBack(Loose(name));
    const int imp = Place("Imp", 1);
    RunScript(imp, foe, "DRAWCARDS:2", 1);
    EXPECT_EQ(Named(second.Hand), 0);
    RunScript(imp, foe, "DRAWCARDS:2");
    EXPECT_EQ(Named(second.Hand), 2);
    EXPECT_EQ(Named(St().Players[1].Hand), 0);
}

TEST_F(CardLifeCommandsTest, CreatedCardsAreQueuedForTheSourceSide) {
    WriteFile("set.txt",
              "#CARDINDECK,\"Imp\",\"\",\"\",\"\",\"\",\"\"\r\n"
              "#CARDINDECK,\"Orc\",\"\",\"\",\"\",\"\",\"\"\r\n");
    const int imp = Place("Imp", 2);
    EXPECT_EQ(RunScript(imp, hero, "CREATECARD:2:Orc:set.txt"), 2);
    ASSERT_EQ(St().CardQueueCount, 2);
    EXPECT_EQ(St().CardQueue[2].Name, "Orc");
    EXPECT_EQ(St().CardQueue[2].Owner, 2);
    EXPECT_EQ(RunScript(imp, hero, "CREATECARD:1000000000:Orc:set.txt"), 2);
    EXPECT_EQ(St().CardQueueCount, 2 + 100) << "a count from an expression is bounded";
}

TEST_F(CardLifeCommandsTest, NewEnemyRefillsTheOpponentsHand) {
    Player& second = St().Players[2];
    second.Hand[1] = Loose("Old1");
    second.Hand[3] = Loose("Old2");
    const int imp = Place("Imp", 1);
    RunScript(imp, foe, "NEWENEMY:nobody.txt");
    EXPECT_EQ(second.Hand[1].Name, "Old1") << "no file, no change";

    WriteFile("rival.txt",
              "#CARDINDECK,\"Orc\",\"\",\"\",\"\",\"\",\"\"\r\n"
              "#CARDINDECK,\"Orc\",\"\",\"\",\"\",\"\",\"\"\r\n"
              "#CARDINDECK,\"Orc\",\"\",\"\",\"\",\"\",\"\"\r\n");
    RunScript(imp, foe, "NEWENEMY:rival.txt", 1);
    EXPECT_EQ(second.Hand[1].Name, "Old1") << "a trial changes nothing";
    RunScript(imp, foe, "NEWENEMY:rival.txt");
    EXPECT_EQ(Named(second.Hand), 2);
    for (const Card& card : second.Hand) {
        if (!card.Name.empty()) {
            EXPECT_EQ(card.Name, "Orc");
        }
    }
}

// CREATECARD and NEWENEMY read card files outside the program folder and the game folders, and
// their cards entered play and the opponent's stock: each is refused as the reader refuses such an
// include, and says so in the turn log.
TEST_F(CardLifeCommandsTest, CardFilesOutsideTheFoldersAreNotRead) {
    namespace fs = std::filesystem;
    const fs::path program = Folder() / "program";
    const std::string orc = "#CARD, INDECK, \"Orc\", \"Orc:7\", , , , , \"\"\r\n";
    WriteFile("elsewhere/Away.txt", orc);
    WriteFile("program/Home.txt", orc);
    fs::create_symlink(Folder() / "elsewhere/Away.txt", program / "Linked.txt");
    St().ProgramFolder = St().CurrentFolder = program;
    const std::string away = (Folder() / "elsewhere/Away.txt").string();
    Player& second = St().Players[2];
    const int imp = Place("Imp", 1);
    struct Row {
        std::string script;
        std::string file;  // as named; "" when it is read
    };
    const Row rows[] = {
        {"CREATECARD:1:Orc:" + away, away},
        {"CREATECARD:1:Orc:../elsewhere/Away.txt", "../elsewhere/Away.txt"},
        {"CREATECARD:1:Orc:Linked.txt", "Linked.txt"},
        {"NEWENEMY:" + away, away},
        {"NEWENEMY:../elsewhere/Away.txt", "../elsewhere/Away.txt"},
        {"NEWENEMY:Linked.txt", "Linked.txt"},
        {"CREATECARD:1:Orc:Home.txt", ""},
        {"NEWENEMY:Home.txt", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.script);
        St().TurnLog.clear();
        St().CardQueue = List<Card>();
        St().CardQueueCount = 0;
        second.OrigDeck = List<Card>(1);
        RunScript(imp, foe, r.script);
        const std::string refusal = "Error in reading cards: the included file " + r.file +
                                    " is not read: it lies outside the program folder and the "
                                    "game folders; nothing was read";
        const int read = Named(St().CardQueue) + Named(second.OrigDeck);
        if (r.file.empty()) {
            EXPECT_EQ(read, 1);
            continue;
        }
        EXPECT_NE(St().TurnLog.find(refusal), std::string::npos) << St().TurnLog;
        EXPECT_EQ(read, 0);
    }
}

// A turn finds the file of a set it creates cards from once; each name is still let through the
// folders' gate at every card: a set replaced within the turn by a link out is refused.
TEST_F(CardLifeCommandsTest, ASetTheTurnFoundIsRefusedOnceItLeadsOutOfTheFolders) {
    namespace fs = std::filesystem;
    const fs::path program = Folder() / "program";
    const std::string orc = "#CARD, INDECK, \"Orc\", \"Orc:7\", , , , , \"\"\r\n";
    WriteFile("elsewhere/Away.txt", orc);
    WriteFile("program/Home.txt", orc);
    St().ProgramFolder = St().CurrentFolder = program;
    const int imp = Place("Imp", 1);
    const TurnBudget turn;
    RunScript(imp, foe, "CREATECARD:1:Orc:Home.txt");
    RunScript(imp, foe, "CREATECARD:1:Orc:Home.txt");
    EXPECT_EQ(Named(St().CardQueue), 2);
    fs::remove(program / "Home.txt");
    fs::create_symlink(Folder() / "elsewhere/Away.txt", program / "Home.txt");
    St().TurnLog.clear();
    RunScript(imp, foe, "CREATECARD:1:Orc:Home.txt");
    EXPECT_NE(St().TurnLog.find("the included file Home.txt is not read"), std::string::npos)
        << St().TurnLog;
    EXPECT_EQ(Named(St().CardQueue), 2);
}

// CREATECARD read its set file at every run: 0.16 s a run for a set that includes 998 files.
TEST_F(CardLifeCommandsTest, ASetThatCreatesCardsIsReadOnceWhileItIsUnchanged) {
    const std::string part = "#CARD, INDECK, \"Orc\", \"Orc:7\", , , , , \"\"\r\n";
    const std::string set = "#INCLUDE, part.txt\r\n\r\n";
    WriteFile("part.txt", part);
    WriteFile("set.txt", set);
    const int imp = Place("Imp", 1);
    long long bytes = 0;
    std::string spelling = "set.txt";
    for (int run = 0; run < 50; ++run, spelling = "./" + spelling) {
        RunScript(imp, hero, "CREATECARD:1:Orc:" + spelling);
        bytes += St().CardRead.Bytes;
    }
    EXPECT_EQ(Named(St().CardQueue), 50);
    EXPECT_EQ(bytes, static_cast<long long>(set.size() + part.size())) << "read once";
    EXPECT_EQ(St().KeptSetReads.size(), 1u);

    WriteFile("set.txt", set + "#CARD, INDECK, \"Elf\", \"Elf:8\", , , , , \"\"\r\n");
    RunScript(imp, hero, "CREATECARD:1:Elf:set.txt");
    EXPECT_GT(St().CardRead.Bytes, 0) << "a set written again is read again";
    EXPECT_EQ(St().CardQueue[St().CardQueueCount].Name, "Elf");

    // A card without an identifier draws one: the kept read draws it again where the read did.
    WriteFile("set.txt", set + "#CARD, INDECK, \"Imp\", \"\", , , , , \"\"\r\n");
    RunScript(imp, hero, "CREATECARD:1:Imp:set.txt");
    const Rng before = St().Random;
    auto created = [&] {
        RunScript(imp, hero, "CREATECARD:1:Imp:set.txt");
        return std::pair(St().CardQueue[St().CardQueueCount].GID, St().Random.Draws());
    };
    const auto kept = created();
    EXPECT_EQ(St().CardRead.Bytes, 0);
    St().Random = before;
    St().KeptSetReads.clear();
    EXPECT_EQ(created(), kept) << "as a read of the file gives";
    EXPECT_GT(St().CardRead.Bytes, 0);
}

}  // namespace
}  // namespace dv

namespace dv {
namespace {

TEST(CardCommandFamiliesTest, EveryKeywordOfTheFamiliesHasAHandler) {
    for (const char* word : {"DRAWCARDS",        "ADDEFFECT",         "DESTROYME",
                             "DESTROY",          "DELETEEFFECT",      "REMOVE",
                             "CREATECARD",       "MINDCONTROL",       "MINDCONTROLME",
                             "DEFECT",           "DEFECTME",          "JOIN",
                             "MEJOIN",           "LOSEGAME",          "WINGAME",
                             "RETURNTOHAND",     "RETURNMETOHAND",    "DUPLICATE",
                             "DUPLICATEME",      "DUPLICATEWITHCOST", "DUPLICATEMEWITHCOST",
                             "NEWENEMY",         "MODTOKENS",         "SUBTOKENS",
                             "BOOSTER",          "BOOSTERWITHREQS",   "BOOSTERCARD",
                             "UNAMEBOOSTERCARD", "SAVECOLLECTION",    "CHANGENAME",
                             "CHANGEMYNAME",     "RENAMEME",          "RENAMETARGET",
                             "RENAME",           "FRAMECOLOR",        "REVERSECOLOR",
                             "TARGETCOLOR",      "RECOLORME",         "RECOLORTARGET",
                             "RECOLOR"}) {
        SCOPED_TRACE(word);
        ASSERT_NE(FindKeyword(word), nullptr);
        EXPECT_NE(CommandTable().Get(FindKeyword(word)->code), nullptr);
    }
    EXPECT_TRUE(CommandTable().Unknown().empty());
}

}  // namespace
}  // namespace dv
