#include "engine/interpreter/run_budget.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/model/cards.h"
#include "engine/model/state.h"
#include "engine/model/turn_log.h"
#include "engine/rules/dispatch.h"
#include "tests/engine/interpreter/board_fixture.h"

namespace dv {
namespace {

const std::string kChainCut =
    "The rest of this chain of effects was left out: one trigger may set off at most 100000 "
    "effect runs.";
const std::string kTurnCut =
    "The rest of the effects of this turn were left out: one turn may make at most 500000 effect "
    "runs.";
const std::string kLogCut = "The rest of this turn's log is left out: it has passed 2 MB.";

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// Cards each of whose HP changes sends every card in play the change that changes its HP. Every
// change of HP is one trait-change dispatch, so the HP the board gains counts them; each takes one
// run at least.
class RunBudgetTest : public test::BoardTest {
  protected:
    void PlaceFeeders(int count, const std::string& echo = "") {
        first = 0;
        for (int i = 0; i < count; ++i) {
            const int card = Place("Feeder", 2, {{"HP", "5"}});
            Script(card, "MODTRAIT:HP:1" + echo, "TRAITCHANGE:HP", kTargetAll);
            if (first == 0) first = card;
        }
        starter = Place("Starter", 1, {{"HP", "5"}});
        kick = Script(starter, "MODTRAIT:HP:-1", "PHASE1", kTargetCard);
    }
    // Starts a chain at the first feeder; the trait-change dispatches it made.
    long long Chain() {
        const long long before = BoardHP();
        Run(starter, first, kick);
        return BoardHP() - before + 1;
    }
    long long BoardHP() {
        long long sum = 0;
        for (int c = 1; c <= St().InPlay.size(); ++c)
            if (!C(c).Name.empty()) sum += static_cast<long long>(GetTrait(C(c), "HP").Num());
        return sum;
    }
    int first = 0;
    int starter = 0;
    int kick = 0;
};

// Ten cards of one such chain took minutes and hundreds of megabytes of turn log, as the runs
// grow as the number of cards to the tenth power; two such cards make a chain that ends by itself
// long before any bound, and is not cut.
TEST_F(RunBudgetTest, ChainsThatFeedOneAnotherAreCutAtTheirBudgetWithOneLine) {
    struct Row {
        const char* what;
        int feeders;
        int chains;        // started one after another, outside any turn
        std::size_t echo;  // bytes each feeder's run echoes
        int chainLines;    // one for each chain cut
    };
    const Row rows[] = {
        {"two feeders", 2, 1, 0, 0},
        {"ten feeders", 10, 1, 0, 1},
        {"ten feeders, two chains, each with a budget", 10, 2, 0, 2},
        {"ten feeders echoing 30,000 bytes each", 10, 1, 30000, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        ResetState();
        PlacePlayers();
        PlaceFeeders(r.feeders, r.echo ? ":ECHO:" + std::string(r.echo, 'x') : "");
        for (int c = 0; c < r.chains; ++c) {
            const long long dispatches = Chain();
            EXPECT_GT(dispatches, r.feeders) << "the chain ran";
            EXPECT_LE(dispatches, kMaxChainRuns);
        }
        const std::string& log = St().TurnLog;
        EXPECT_EQ(Count(log, kChainCut), r.chainLines);
        EXPECT_EQ(Count(log, kTurnCut), 0);
        EXPECT_LE(Count(log, kLogCut), 1);
        EXPECT_LE(log.size(), kMaxTurnLogBytes + 2 * kChainCut.size() + kLogCut.size() + 40);
        EXPECT_EQ(St().NestingDepth, 0);
        EXPECT_EQ(St().CallFrames, 0);
    }
}

// The chains of a turn share its budget, and the computer's trials of its plays, which set off
// chains too, have one of their own: a trial that spent the turn's budget, or that told its cut,
// would change where real play is cut and what its log says.
TEST_F(RunBudgetTest, AllTheChainsOfATurnShareOneBudgetThatTrialsLeaveAlone) {
    PlaceFeeders(10);
    const TurnBudget turn;
    const long long whole = Chain();
    for (int c = 2; c <= 4; ++c)
        ASSERT_EQ(Chain(), whole) << "chain " << c;
    {
        const TrialBudget trials;
        EXPECT_EQ(Chain(), whole) << "the trials' own budget";
        EXPECT_EQ(Count(St().TurnLog, kChainCut), 4) << "a trial tells no cut";
    }
    EXPECT_EQ(Chain(), whole) << "the fifth chain spends the turn's budget";
    EXPECT_EQ(Chain(), 1) << "the sixth chain is dropped whole";
    EXPECT_EQ(Count(St().TurnLog, kChainCut), 5);
    EXPECT_EQ(Count(St().TurnLog, kTurnCut), 1);
    EXPECT_EQ(Chain(), 1);
    EXPECT_EQ(Count(St().TurnLog, kTurnCut), 1) << "the turn's cut is told once";
}

}  // namespace
}  // namespace dv
