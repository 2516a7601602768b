#include "game/turn.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/model/cards.h"
#include "engine/model/files.h"
#include "engine/model/state.h"
#include "engine/rules/rule_operations.h"
#include "game/play_queue.h"
#include "tests/engine/interpreter/board_fixture.h"

namespace dv {
namespace {

constexpr int kSelf = 7;

// Every run of a BREAKPOINT command, as "card:trigger".
std::vector<std::string> runs;
void Record(RunContext& run) {
    if (!run.Preview()) runs.push_back(run.source.Name + ":" + run.effect().Trigger);
    ++run.applied;
}

const char* const kPhaseNames[] = {"TURNSTART", "PHASE1", "PHASE2", "PHASE3", "PHASE4",  "PHASE5",
                                   "PHASE6",    "PHASE7", "PHASE8", "PHASE9", "PHASE10", "TURNEND"};

class TurnTest : public test::BoardTest {
  protected:
    void SetUp() override {
        BoardTest::SetUp();
        runs.clear();
        StandIn("BREAKPOINT", Record);
        State& st = St();
        st.RulesCard.Name = "Rules";
        InitCard(st.RulesCard, 1, 1);
        st.Players[1].Hand = List<Card>(10);
        st.Players[2].Hand = List<Card>(10);
    }

    // A card that records every phase trigger it gets.
    static void Listen(Card& card) {
        for (const char* phase : kPhaseNames)
            AddEffect(card, "BREAKPOINT", kSelf, phase, 0, "");
    }

    static Card HandCard(const std::string& name, std::vector<const char*> triggers) {
        Card card;
        card.Name = name;
        InitCard(card, 1, 0);
        for (const char* trigger : triggers)
            AddEffect(card, "BREAKPOINT", kSelf, trigger, 0, "");
        return card;
    }

    std::string Page(const std::string& name) const {
        return ReadWholeFile(Folder() / name).value_or("<none>");
    }
    static int Count(const std::string& text, const std::string& part) {
        int n = 0;
        for (std::size_t at = text.find(part); at != std::string::npos;
             at = text.find(part, at + part.size()))
            ++n;
        return n;
    }
};

TEST_F(TurnTest, PhasesRaiseTheirTriggersInTheirFixedOrder) {
    Listen(St().RulesCard);
    const int watcher = Place("Watcher", 1);
    Listen(C(watcher));
    Card late = HandCard("Late", {"TURNSTART", "PHASE1"});
    QueueCard(late);

    PlayCards(kFirstTurn);

    std::vector<std::string> expected = {"Rules:TURNSTART", "Watcher:TURNSTART"};
    for (int p = 1; p <= 9; ++p) {
        const std::string phase = "PHASE" + std::to_string(p);
        expected.push_back("Rules:" + phase);
        expected.push_back("Watcher:" + phase);
        // The side-board card came in after the TURNSTART broadcast: it first hears PHASE1.
        if (p == 1) expected.push_back("Late:PHASE1");
    }
    expected.push_back("Watcher:PHASE10");  // the rules card never runs PHASE10
    expected.push_back("Watcher:TURNEND");
    expected.push_back("Rules:TURNEND");  // the rules card ends the turn
    EXPECT_EQ(runs, expected);
}

TEST_F(TurnTest, DebugBannersLeadEachPhaseOnlyInDebugMode) {
    PlayCards(kFirstTurn);
    EXPECT_EQ(Count(Page("Display.html"), "<font color=000000>Starting "), 0);

    St().DebugMode = 1;
    Listen(St().RulesCard);
    PlayCards(kFirstTurn);
    const std::string page = Page("Display.html");
    EXPECT_NE(page.find("<table bgcolor=FFFFFF><tr><td><p><font color=000000>Starting "
                        "TURNSTART</font><p></td></tr></table>"),
              std::string::npos);
    std::size_t at = 0;
    for (const char* phase : kPhaseNames) {
        SCOPED_TRACE(phase);
        const std::size_t banner = page.find(std::string(">Starting ") + phase + "</font>", at);
        ASSERT_NE(banner, std::string::npos);
        at = banner;
    }
    EXPECT_EQ(Count(page, "<font color=000000>Starting "), 12);
}

TEST_F(TurnTest, QueuedPlaysEnterPlayAndADiscardDiesBeforeAnyPhase) {
    State& st = St();
    List<Card>& hand = st.Players[1].Hand;
    hand[1] = HandCard("Moth", {"TURNSTART"});
    hand[2] = HandCard("Newt", {"TURNSTART"});
    hand[3] = HandCard("Junk", {"DISCARD", "ONDEATH", "TURNSTART"});
    AddAction(1, foe);
    AddAction(3, kDiscardTarget);
    AddAction(2, 0);

    PlayCards(0);

    // The discard ran and died before the phases; the plays wake at TURNSTART.
    EXPECT_EQ(runs, (std::vector<std::string>{"Junk:DISCARD", "Moth:TURNSTART", "Newt:TURNSTART"}));
    for (int h = 1; h <= 3; ++h)
        EXPECT_TRUE(hand[h].Name.empty()) << h;
    for (int s = 1; s <= kQueueSlots; ++s) {
        EXPECT_EQ(st.ActionCards[s], 0);
        EXPECT_EQ(st.ActionTargets[s], 0);
    }
    int moth = 0;
    for (int i = 1; i <= st.InPlay.size(); ++i) {
        EXPECT_NE(C(i).Name, "Junk");
        if (C(i).Name == "Moth") moth = i;
    }
    ASSERT_GT(moth, 0);
    EXPECT_EQ(C(moth).PresetTarget, foe);
    const std::string page = Page("Display.html");
    const std::size_t yours = page.find("Your Card Plays");
    ASSERT_NE(yours, std::string::npos);
    EXPECT_EQ(Count(page.substr(yours), "<td><center>"), 2);
}

TEST_F(TurnTest, SixPlaysCloseTheRowAfterTheFifth) {
    for (int h = 1; h <= 6; ++h) {
        St().Players[1].Hand[h] = HandCard("Card" + std::to_string(h), {});
        AddAction(h, 0);
    }
    PlayCards(0);
    const std::string page = Page("Display.html");
    const std::size_t start = page.find("Your Card Plays");
    const std::string plays = page.substr(start, page.find("</table>", start) - start);
    EXPECT_EQ(Count(plays, "<td><center>"), 6);
    ASSERT_EQ(Count(plays, "</tr><tr>"), 2);  // the table's own head row, and the fifth cell's
    const std::size_t rowEnd = plays.rfind("</td></tr><tr>");
    EXPECT_EQ(Count(plays.substr(0, rowEnd), "<td><center>"), 5);
}

TEST_F(TurnTest, FirstTurnPlaysNothingAndKeepsTheQueue) {
    St().Players[1].Hand[1] = HandCard("Moth", {});
    St().Players[2].Hand[1] = HandCard("Wraith", {});
    St().Players[2].Hand[1].Owner = 2;
    AddAction(1, 0);
    PlayCards(kFirstTurn);
    EXPECT_EQ(St().ActionCards[1], 1);
    EXPECT_EQ(St().Players[1].Hand[1].Name, "Moth");
    EXPECT_EQ(St().Players[2].Hand[1].Name, "Wraith");
    EXPECT_EQ(Page("Display.html").find("Card Plays"), std::string::npos);
}

TEST_F(TurnTest, ComputerTurnKeepsTheQueueAndLogsThePage) {
    St().Players[1].Hand[1] = HandCard("Moth", {});
    AddAction(1, 0);
    St().AITurn = 1;
    PlayCards(0);
    EXPECT_EQ(St().ActionCards[1], 1);
    // The computer played the card for the human side.
    EXPECT_TRUE(St().Players[1].Hand[1].Name.empty());
    const std::string page = Page("Display.html");
    EXPECT_EQ(page, Page("LastDiplayed.html"));
    EXPECT_NE(St().AIGameLog.find("Your Card Plays"), std::string::npos);

    // A new game's first turn starts the log afresh: only its page, without plays, is kept.
    PlayCards(kFirstTurn);
    EXPECT_FALSE(St().AIGameLog.empty());
    EXPECT_EQ(St().AIGameLog.find("Card Plays"), std::string::npos);
}

TEST_F(TurnTest, ReportPageIsWrittenTwiceAndShownAndTheLogEmptied) {
    St().TurnLog = "<b>earlier</b>";
    PlayCards(0);
    const std::string page = Page("Display.html");
    EXPECT_EQ(page, Page("LastDiplayed.html"));
    EXPECT_NE(page.find("<b>earlier</b><br><br>"), std::string::npos);
    EXPECT_TRUE(St().TurnLog.empty());
    ASSERT_FALSE(host.pages.empty());
    EXPECT_NE(host.pages.back().location.find("Display.html"), std::string::npos);
}

}  // namespace
}  // namespace dv
