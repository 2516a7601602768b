#include "engine/interpreter/run_budget.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "engine/interpreter/card_commands.h"
#include "engine/model/cards.h"
#include "engine/model/files.h"
#include "engine/model/state.h"
#include "engine/model/turn_log.h"
#include "engine/rules/dispatch.h"
#include "engine/rules/rule_operations.h"
#include "game/turn.h"
#include "tests/engine/interpreter/board_fixture.h"
#include "tests/engine/interpreter/card_command_board.h"

namespace dv {
namespace {

int Count(const std::string& log, const std::string& part) {
    int n = 0;
    for (auto at = log.find(part); at != std::string::npos; at = log.find(part, at + 1))
        ++n;
    return n;
}

int Count(const std::string& part) {
    return Count(St().TurnLog, part);
}

// Cards each of whose HP changes sends every card in play the change that changes its HP. Each
// change of HP is one trait-change dispatch, so the HP the board gains counts them.
class RunBudgetTest : public test::BoardTest {
  protected:
    void PlaceFeeders(int count, const std::string& script = "MODTRAIT:HP:1") {
        for (int i = 0; i < count; ++i)
            Script(Place("Feeder", 2, {{"HP", "5"}}), script, "TRAITCHANGE:HP", kTargetAll);
        starter = Place("Starter", 1, {{"HP", "5"}});
        kick = Script(starter, "MODTRAIT:HP:-1", "PHASE1", kTargetCard);
    }
    // Starts a chain at the first feeder; the dispatches it made.
    double Chain() {
        double before = 0, after = 0;
        for (int c = 1; c <= St().InPlay.size(); ++c)
            before += GetTrait(C(c), "HP").Num();
        Run(starter, foe + 1, kick);
        for (int c = 1; c <= St().InPlay.size(); ++c)
            after += GetTrait(C(c), "HP").Num();
        return after - before + 1;
    }
    int starter = 0, kick = 0;
    const std::string chainCut =
        "The rest of this chain of effects was left out: one trigger may "
        "set off at most 100000 effect runs.";
};

// Ten such cards took minutes and hundreds of megabytes of turn log: the runs grow as the number
// of cards to the tenth power. Two make a chain that ends by itself, far below the bound.
TEST_F(RunBudgetTest, ChainsThatFeedOneAnotherAreCutAtTheirBudgetWithOneLine) {
    struct Row {
        int feeders;
        std::string echo;  // of each feeder's run: one chain's, uncut, would be 3 GB
        int chains;
        int cutLines;  // one for each chain cut
        bool logCut;   // the log's own line, last
    };
    const Row rows[] = {
        {2, "", 1, 0, false},
        {10, "", 1, 1, false},
        {10, ":ECHO:" + std::string(30000, 'x'), 2, 2, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.feeders + r.echo.size());
        ResetState();
        PlacePlayers();
        PlaceFeeders(r.feeders, "MODTRAIT:HP:1" + r.echo);
        for (int c = 0; c < r.chains; ++c) {
            const double dispatches = Chain();
            EXPECT_GT(dispatches, r.feeders) << "the chain ran";
            EXPECT_LE(dispatches, kMaxChainRuns);
        }
        const std::string& log = St().TurnLog;
        EXPECT_EQ(Count(chainCut), r.cutLines);
        EXPECT_EQ(log.ends_with("it has passed 2 MB.<br>"), r.logCut);
        EXPECT_LE(log.size(), kMaxTurnLogBytes + 400);
    }
}

// The chains of a turn share its budget. The computer's trials of its plays set off chains too,
// with a budget of their own: a trial that spent the turn's budget, or told its cut, would change
// where real play is cut and what its log says.
TEST_F(RunBudgetTest, AllTheChainsOfATurnShareOneBudgetThatTrialsLeaveAlone) {
    PlaceFeeders(10);
    const TurnBudget turn;
    const double whole = Chain();
    for (int c = 2; c <= 4; ++c)
        ASSERT_EQ(Chain(), whole) << "chain " << c;
    {
        const TrialBudget trials;
        EXPECT_EQ(Chain(), whole);
    }
    EXPECT_EQ(Count(chainCut), 4) << "a trial tells no cut";
    EXPECT_EQ(Chain(), whole) << "the fifth chain spends the turn's budget";
    EXPECT_EQ(Chain(), 1) << "the sixth is dropped whole";
    EXPECT_EQ(Chain(), 1);
    EXPECT_EQ(Count(chainCut), 5);
    EXPECT_EQ(Count("The rest of the effects of this turn were left out: one turn may make at "
                    "most 500000 effect runs."),
              1);
}

const char* const kPhases[] = {"TURNSTART", "PHASE1", "PHASE2", "PHASE3", "PHASE4",  "PHASE5",
                               "PHASE6",    "PHASE7", "PHASE8", "PHASE9", "PHASE10", "TURNEND"};

// Boards of a hostile opponent's cards, each played for a turn. What a turn does of each costly
// kind is counted: the runs asked of the interpreter (a dropped one built its arguments all the
// same), the cards that entered play, the cards added to the collection and the saves made.
class HostileBoardTest : public test::CardCommandBoardTest {
  protected:
    void SetUp() override {
        CardCommandBoardTest::SetUp();
        Prepare();
    }

    // Player 2's stock of one card, a game and a profile to save the player file of.
    void Prepare() {
        State& st = St();
        st.RulesCard.Name = "Rules";
        InitCard(st.RulesCard, 1, 1);
        st.Players[2].OrigDeck.PushBack(Loose("Elf"));
        GameInfo game;
        game.Name = "Dunes";
        st.Games.PushBack(game);
        st.CurrentGame = 1;
        st.CurrentProfile.Name = "Ann";
        st.Collection.PushBack(Loose("Elf"));
    }

    // Copies of one active card of player 2 with the script on each of the triggers.
    void PlaceCopies(int copies, const std::string& script, int targetType,
                     const std::vector<std::string>& triggers) {
        const int first = Place("Hostile", 2, {{"HP", "5"}});
        for (const std::string& trigger : triggers)
            Script(first, script, trigger, targetType);
        const Card card = C(first);
        for (int c = 2; c <= copies; ++c) {
            const int n = St().InPlay.PushBack(card);
            C(n).Index = n;
            C(n).GID = 1000 + n;
        }
    }

    // Saves asked for: each is refused with a message naming the partly read collection file.
    int Saves() const {
        int n = 0;
        for (const std::string& message : host.messages)
            n += message.find("was not read whole") != std::string::npos;
        return n;
    }

    std::string Report() const { return ReadWholeFile(Folder() / "Display.html").value_or(""); }

    static int Named(const auto& cards) {
        int n = 0;
        for (const Card& card : cards)
            n += card.Name.empty() ? 0 : 1;
        return n;
    }
};

// One opponent card copied to 16,000 cards, ten ALL effects each, froze the program for a minute
// at every turn, though nearly all its runs were dropped: each dispatch still went through every
// card for every effect. A card copying itself doubled play every turn; boosters on ALL added
// 17,000 cards a turn to the collection and SAVECOLLECTION on ALL saved twice for each run.
TEST_F(HostileBoardTest, ATurnOfAHostileBoardDoesBoundedWorkOfEachCostlyKind) {
    const std::vector<std::string> phases(std::begin(kPhases), std::end(kPhases));
    struct Row {
        const char* what;
        int copies;
        const char* script;
        int targetType;
        std::vector<std::string> triggers;
        long long maxAsked;  // runs asked of the interpreter in the turn
        int maxEntered;      // cards that entered play
        int added;           // cards added to the collection
        int saves;           // saves asked for that were made
        const char* cutLine;
    };
    const Row rows[] = {
        {"4,000 cards with ALL effects on every phase", 4000, "REQTRAIT:HP:ECHOMINOR:x", kTargetAll,
         phases, kMaxTurnRuns, 0, 0, 0, "one turn may make at most 500000 effect runs"},
        {"800 cards copying themselves on every phase", 800, "DUPLICATEME:1", kTargetSelf, phases,
         12 * (800 + kMaxTurnQueuedCards), kMaxTurnQueuedCards, 0, 0,
         "one turn may bring at most 2000 such cards into play"},
        {"30 boosters of 100 for every card in play",
         30,
         "BOOSTER:100",
         kTargetAll,
         {"PHASE1"},
         30 * 32,
         0,
         kMaxTurnBoosterCards,
         0,
         "the boosters of one turn may add at most 2000 cards to the collection"},
        {"100 saves for every card in play",
         100,
         "SAVECOLLECTION",
         kTargetAll,
         {"PHASE1"},
         100 * 102,
         0,
         0,
         1,
         ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        PlaceCopies(r.copies, r.script, r.targetType, r.triggers);
        // Each save asked for is refused with a message, which counts it.
        St().PartialCollectionFile = "Partial.plr";
        const int inPlay = Named(St().InPlay.Cards());
        const int collection = Named(St().Collection);
        const long long asked = St().RunBudget.Asked;

        PlayCards(kFirstTurn);

        EXPECT_LE(St().RunBudget.Asked - asked, r.maxAsked);
        EXPECT_LE(Named(St().InPlay.Cards()) - inPlay, r.maxEntered);
        EXPECT_EQ(Named(St().Collection) - collection, r.added);
        EXPECT_EQ(Saves(), r.saves);
        if (*r.cutLine) {
            EXPECT_EQ(Count(Report(), r.cutLine), 1);
        }
        host.messages.clear();
        ResetState();
        St().ProgramFolder = St().CurrentFolder = Folder();
        PlacePlayers();
        InitPlayer(St().Players[1], 1);
        InitPlayer(St().Players[2], 2);
        Prepare();
    }
}

// A save asked for by runs outside a turn is made once, when their chain ends.
TEST_F(HostileBoardTest, TheSavesOfAChainAreMadeOnceWhenItEnds) {
    St().PartialCollectionFile = "Partial.plr";
    const int saver = Place("Saver", 1);
    Script(saver, "SAVECOLLECTION", "PHASE1", kTargetAll);
    const int imp = Place("Imp", 1);
    EXPECT_EQ(RunScript(imp, imp, "REPEAT:SELF:50:SAVECOLLECTION"), 2);
    EXPECT_EQ(Saves(), 1);
    RunListActions(Value("PHASE1"));
    EXPECT_EQ(Saves(), 1 + 4 + 1) << "each of the dispatch's runs is a chain of its own: the "
                                     "saver's, one for each card in play, and the imp's";
}

// A save of the player file made while a SAVECOLLECTION is owed is the save owed: ending the game
// saves the player file, and the chain's or the turn's end then saved it once more.
TEST_F(HostileBoardTest, ASaveMadeWhileOneIsOwedIsTheSaveOwed) {
    struct Row {
        const char* where;
        bool turnOpen;
    };
    const Row rows[] = {{"a chain outside a turn", false}, {"a turn", true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.where);
        St().PartialCollectionFile = "Partial.plr";
        St().GameOver = 0;
        host.messages.clear();
        const int imp = Place("Imp", 1);
        {
            std::optional<TurnBudget> turn;
            if (r.turnOpen) turn.emplace();
            RunScript(imp, imp, "SAVECOLLECTION:WINGAME");
        }
        EXPECT_EQ(Saves(), 1);
    }
}

}  // namespace
}  // namespace dv
