#include "engine/rules/rule_operations.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "engine/model/cards.h"
#include "engine/model/state.h"
#include "engine/pages/page_buffer.h"
#include "engine/rules/card_life.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/set_up_card.h"

namespace dv {
namespace {

using RuleOperationsTest = test::EngineTest;

using test::MakeCard;

Card WithTraits(const std::string& name, int owner,
                const std::vector<std::pair<std::string, std::string>>& traits) {
    Card c = MakeCard(name, owner);
    int i = 0;
    for (const auto& [n, v] : traits) {
        ++i;
        c.TraitNames[i] = n;
        c.TraitValues[i] = v;
    }
    return c;
}

class EndGameTest : public RuleOperationsTest {
  protected:
    void SetUp() override {
        RuleOperationsTest::SetUp();
        St().Games.PushBack(GameInfo{});
        St().Games[1].Name = "Quest";
        St().CurrentGame = 1;
        St().CurrentProfile.Name = "Ann";
        St().Players[1].WonMissions = List<std::string>(1);
        St().DeckManagerMode = 4;
        St().PickingCard = 1;
        St().LastTarget = 9;
    }
};

TEST_F(EndGameTest, EndingTheGameResetsTheHandOverFlagsAndTellsTheWindow) {
    uint8_t winner = 2;
    EndGame(winner);
    EXPECT_EQ(St().GameOver, 1);
    EXPECT_EQ(St().Winner, 2);
    EXPECT_EQ(St().DeckManagerMode, 0);
    EXPECT_EQ(St().PickingCard, 0);
    EXPECT_EQ(St().LastTarget, 0);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"HideHand", "SetEndTurnCaption:End Game",
                                                    "EnableDeckManagerMenu:1"}));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(EndGameTest, EndingTheGameBlanksBothViewers) {
    WriteFile("blank.htm", "<html></html>");
    uint8_t winner = 0;
    EndGame(winner);
    ASSERT_EQ(host.pages.size(), 2u);
    EXPECT_EQ(host.pages[0].viewer, kQueueViewer);
    EXPECT_EQ(host.pages[1].viewer, kCardViewer);
    EXPECT_NE(host.pages[0].location.find("blank.htm"), std::string::npos);
    EXPECT_EQ(host.pages[1].location, host.pages[0].location);
    EXPECT_EQ(St().HtmlBusy, 0);
    EXPECT_EQ(St().Winner, 0);
}

TEST_F(EndGameTest, EndingTheGameSavesThePlayerWhateverTheWinner) {
    // A player file is written only for a collection that holds a card.
    St().Collection.PushBack(MakeCard("Imp"));
    for (uint8_t winner : {0, 1, 2}) {
        SCOPED_TRACE(winner);
        std::filesystem::remove(Folder() / "Quest_Ann.plr");
        EndGame(winner);
        EXPECT_TRUE(std::filesystem::exists(Folder() / "Quest_Ann.plr"));
    }
}

TEST_F(EndGameTest, AWonMissionIsRecordedOnceAndNothingElseIsLost) {
    struct Row {
        const char* what;
        List<std::string> before;
        const char* mission;
        int winner;
        List<std::string> after;
    };
    const Row rows[] = {
        {"first", {""}, "m1", 1, {"m1"}},
        {"again", {"m1"}, "m1", 1, {"m1"}},
        {"appended", {"m1"}, "m2", 1, {"m1", "m2"}},
        {"empty mission", {"m1", ""}, "", 1, {"m1", ""}},
        {"empty mission, no gap", {"m1"}, "", 1, {"m1"}},
        {"not won", {""}, "m1", 2, {""}},
        {"no winner", {""}, "m1", 0, {""}},
        {"gap keeps the rest", {"m1", "", "m3"}, "m4", 1, {"m1", "m4", "m3"}},
        {"known after a gap", {"m1", "", "m3"}, "m3", 1, {"m1", "", "m3"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        St().Players[1].WonMissions = r.before;
        St().CurrentMission = r.mission;
        uint8_t winner = static_cast<uint8_t>(r.winner);
        EndGame(winner);
        EXPECT_EQ(St().Players[1].WonMissions, r.after);
    }
}

TEST_F(EndGameTest, EndingBeforeAnyGameWasChosenStillEndsIt) {
    St().CurrentGame = 0;
    uint8_t winner = 0;
    EndGame(winner);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(St().GameOver, 1);
    EXPECT_EQ(host.calls.size(), 3u);
}

TEST_F(RuleOperationsTest, TokenCostRisesByOneEveryTenRarity) {
    const std::pair<int, int> rows[] = {{0, 1}, {9, 1}, {10, 2}, {19, 2}, {250, 26}, {255, 26}};
    for (auto [rarity, cost] : rows) {
        Card c = MakeCard("c");
        c.Rarity = static_cast<uint8_t>(rarity);
        EXPECT_EQ(GetTokenCost(c), cost) << rarity;
    }
}

TEST_F(RuleOperationsTest, NameTotalCountsNamedCardsOfASideDeadOnesIncluded) {
    auto& inPlay = St().InPlay;
    inPlay.PushBack(MakeCard("Imp", 1));
    inPlay.PushBack(MakeCard("Imp", 2));
    inPlay.PushBack(MakeCard("", 1));
    inPlay.PushBack(MakeCard("", 2));
    inPlay.PushBack(MakeCard("imp", 1));
    inPlay.PushBack(MakeCard("Imp", 1));
    inPlay[6].Dead = 1;
    struct Row {
        const char* name;
        Value side;
        double count;
    };
    const Row rows[] = {
        {"Imp", 0, 3},  {"Imp", 1, 2}, {"Imp", 2, 1}, {"Imp", Value(""), 3},
        {"Imp", -1, 3}, {"imp", 0, 1}, {"", 0, 0},    {"", 1, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.name) + " side " + r.side.Text());
        EXPECT_EQ(NameTotal(r.name, r.side, ""), r.count);
    }
}

TEST_F(RuleOperationsTest, TraitTotalAddsNumbersAndCountsOtherValuesAsOne) {
    auto& inPlay = St().InPlay;
    inPlay.PushBack(WithTraits("a", 1, {{"GOLD", "3"}, {"RICH", ""}}));
    inPlay.PushBack(WithTraits("b", 1, {{"GOLD", "abc"}}));
    inPlay.PushBack(WithTraits("c", 2, {{"GOLD", "0"}, {"RICH", ""}}));
    inPlay.PushBack(WithTraits("d", 2, {{"GOLD", "5"}}));
    inPlay[4].Dead = 1;
    inPlay.PushBack(WithTraits("e", 1, {{"SILVER", "4"}}));
    struct Row {
        Value side;
        const char* required;
        int countFlag;
        double total;
    };
    const Row rows[] = {
        {0, "", 0, 5}, {0, "", 1, 3}, {1, "", 0, 4}, {2, "", 0, 1}, {0, "RICH", 0, 4},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.side.Text() + " " + r.required);
        EXPECT_EQ(TraitTotal("GOLD", r.side, r.required, r.countFlag), r.total);
    }
    EXPECT_EQ(NameTotal("d", 0, ""), 1) << "the dead card still counts by name";
}

TEST_F(RuleOperationsTest, QueuedCardsAreMarkedToEnterFreeAndTheQueueIsBounded) {
    Card c = MakeCard("Imp");
    QueueCard(c);
    QueueCard(c);
    EXPECT_EQ(St().CardQueueCount, 2);
    ASSERT_EQ(St().CardQueue.size(), 2);
    EXPECT_EQ(St().CardQueue[2].AlreadyPlaced, 1);
    EXPECT_EQ(c.AlreadyPlaced, 0) << "only the queued copy is marked";
    for (int i = 0; i < kMaxQueuedCards + 5; ++i)
        QueueCard(c);
    EXPECT_EQ(St().CardQueueCount, kMaxQueuedCards);
    EXPECT_EQ(St().CardQueue.size(), kMaxQueuedCards);
}

TEST_F(RuleOperationsTest, CreatingACardMissingFromItsSetLogsAndQueuesNothing) {
    CreateCard("Ghost", "set.txt", 1, 3);
    EXPECT_EQ(St().TurnLog, "<br>Card \"Ghost\" not found in \"set.txt\".<br>");
    EXPECT_EQ(St().CardQueueCount, 0);
    EXPECT_EQ(St().LoadPlayer.Id, 4);
}

TEST_F(RuleOperationsTest, CreatingCardsQueuesCopiesForTheOwnersSide) {
    WriteFile("set.txt",
              "#CARDINDECK,\"Imp\",\"\",\"\",\"\",\"\",\"\"\r\n"
              "#CARDINDECK,\"Orc\",\"\",\"\",\"\",\"\",\"\"\r\n");
    CreateCard("Orc", "set.txt", 2, 3);
    ASSERT_EQ(St().CardQueueCount, 3);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(St().CardQueue[i].Name, "Orc");
        EXPECT_EQ(St().CardQueue[i].Owner, 2);
        EXPECT_EQ(St().CardQueue[i].SideMask, 2) << "ally and enemy tests need the new side";
        EXPECT_EQ(St().CardQueue[i].AlreadyPlaced, 1);
    }
    EXPECT_EQ(St().LoadPlayer.Deck.size(), 1) << "the loader lets the set go";
    CreateCard("Orc", "set.txt", 1, 0);
    EXPECT_EQ(St().CardQueueCount, 3) << "a count below 1 queues nothing";
}

// Past the queue's bounds CREATECARD still did the whole read of its set again for a card it
// could not queue, and an ALL effect asks it for every card in play. The card is now only looked
// for, with the draws a queued one makes, so the game goes on as it did.
TEST_F(RuleOperationsTest, ACardTheQueueCannotTakeIsOnlyLookedForWithTheDrawsOfOneItTakes) {
    std::string set;
    for (int c = 1; c <= 40; ++c)
        set += "#CARD, INDECK, \"" + std::string(c % 3 == 0 ? "Orc" : "Imp") +
               "\", \"\", , , , , \"\"\r\n";
    WriteFile("set.txt", set);
    CreateCard("Orc", "set.txt", 1, 1);
    ASSERT_EQ(St().KeptSetReads.size(), 1u);
    struct Row {
        const char* what;
        int queued;
        int queuedThisTurn;
        int queuedAfter;
    };
    const Row rows[] = {
        {"the queue has room", 0, 0, 1},
        {"the queue is full", kMaxQueuedCards, 0, kMaxQueuedCards},
        {"the turn has queued its most", 0, kMaxTurnQueuedCards, 0},
    };
    std::map<std::string, uint64_t> drawsWithRoom;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        for (const char* name : {"Orc", "Ghost"}) {
            St().CardQueueCount = r.queued;
            St().RunBudget.TurnQueuedCards = r.queuedThisTurn;
            St().TurnLog.clear();
            St().Random.Seed(5);
            const uint64_t first = St().Random.Draws();
            CreateCard(name, "set.txt", 1, 1);
            const uint64_t drawn = St().Random.Draws() - first;
            EXPECT_GT(drawn, 40u) << "the shuffle of the set's deck";
            EXPECT_EQ(drawn, drawsWithRoom.emplace(name, drawn).first->second);
            EXPECT_EQ(St().TurnLog.empty(), std::string(name) == "Orc");
            if (std::string(name) == "Orc") {
                EXPECT_EQ(St().CardQueueCount, r.queuedAfter);
            }
        }
    }
    EXPECT_TRUE(St().RunBudget.QueueCutOwed) << "the cut is told";
}

TEST_F(RuleOperationsTest, BonusesLastOneTurn) {
    Card c =
        WithTraits("c", 1, {{"BonusHP", "2"}, {"HP:BONUS", "1"}, {"HP", "10"}, {"HPBONUS", "3"}});
    Card other = WithTraits("o", 1, {{"ATK", "1"}});
    AddEffect(c, "TRAIT:BONUSACTION:1:ECHO:x", 7, "PHASE1", 0, "SELF");
    AddEffect(c, "ECHO:kept", 7, "PHASE1", 0, "SELF");
    St().InPlay.PushBack(c);
    St().InPlay.PushBack(other);
    ClearBonuses();
    Card& after = St().InPlay[1];
    EXPECT_FALSE(HasTrait(after, "BonusHP"));
    EXPECT_FALSE(HasTrait(after, "HP")) << "HP:BONUS takes every HP trait with it";
    EXPECT_TRUE(HasTrait(after, "HPBONUS"));
    int kept = 0;
    for (const Effect& e : after.Effects) {
        EXPECT_EQ(e.Text.find("BONUSACTION"), std::string::npos);
        if (e.Text == "ECHO:kept") ++kept;
    }
    EXPECT_EQ(kept, 1);
    EXPECT_TRUE(HasTrait(St().InPlay[2], "ATK"));
}

TEST_F(RuleOperationsTest, ActionDescriptionsOfTraitsHideTheOverrideMarker) {
    Card c = WithTraits("c", 1, {{"FLYING", "1"}, {"SWIM", "1"}});
    c.TraitActionDescs[1] = "Flies over walls";
    c.TraitActionDescs[2] = "OVERRIDE";
    EXPECT_EQ(GetTraitActionDesc(c, "flying"), "Flies over walls");
    EXPECT_EQ(GetTraitActionDesc(c, "SWIM"), "");
    EXPECT_EQ(c.TraitActionDescs[2], "OVERRIDE");
    EXPECT_EQ(GetTraitActionDesc(c, "RUN"), "");
}

TEST_F(RuleOperationsTest, ModsRunInOrderUpToTheFirstEmptyOne) {
    struct Row {
        const char* mods;
        const char* marks;
    };
    const Row rows[] = {
        {"SETTRAIT:A:1$|$SETTRAIT:B:1$|$", "11"},
        {"SETTRAIT:A:1$|$$|$SETTRAIT:B:1$|$", "1"},
        {"", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.mods);
        Card c = MakeCard("m");
        c.Mods = r.mods;
        ApplyMods(c);
        EXPECT_EQ(GetTrait(c, "A").Text() + GetTrait(c, "B").Text(), r.marks);
    }
}

}  // namespace
}  // namespace dv
