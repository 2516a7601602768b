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

int Count(const std::string& part) {
    const std::string& log = St().TurnLog;
    int n = 0;
    for (auto at = log.find(part); at != std::string::npos; at = log.find(part, at + 1))
        ++n;
    return n;
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

}  // namespace
}  // namespace dv
