#include "engine/model/board_snapshot.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engine/model/state.h"
#include "tests/support/engine_fixture.h"

namespace dv {
namespace {

class BoardSnapshotTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        State& st = St();
        st.InPlay = StableList<Card>(6);
        for (int i = 1; i <= 3; ++i) {
            Card& card = st.InPlay[i];
            card.Name = "Card " + std::to_string(i);
            card.Index = i;
            card.TraitNames = List<std::string>{"HP"};
            card.TraitValues = List<std::string>{"5"};
            card.Effects.Resize(1);
            card.Effects[1].Text = "MODTRAIT:HP:-1";
        }
        st.NewestCard = 3;
    }

    static bool SameBoard(const StableList<Card>& a, const StableList<Card>& b) {
        if (a.size() != b.size()) return false;
        for (int i = 1; i <= a.size(); ++i)
            if (!IdenticalCards(a[i], b[i])) return false;
        return true;
    }
};

// Each row disturbs play between taking and restoring; play must come back exactly as taken.
// The same snapshot serves every row, as the trials of one turn share one.
TEST_F(BoardSnapshotTest, RestoredPlayIsExactlyAsTakenThoughTheSnapshotIsReused) {
    struct Row {
        const char* what;
        std::function<void(PlayList&)> disturb;
    };
    const Row rows[] = {
        {"a trait of a card", [](auto& play) { play[2].TraitValues[1] = "4"; }},
        {"a free slot taken", [](auto& play) { play[5] = play[1]; }},
        {"a card gone", [](auto& play) { play[3] = Card{}; }},
        {"a name cleared only", [](auto& play) { play[1].Name.clear(); }},
        {"an effect's flags", [](auto& play) { play[2].Effects[1].Running = 1; }},
        {"a sort key of -0 for 0", [](auto& play) { play[1].SortKey = Value(-0.0); }},
        {"a free slot's owner", [](auto& play) { play[6].Owner = 2; }},
    };
    BoardSnapshot snapshot;
    int round = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        // Play changes for real between trials, so each round starts from another board.
        St().InPlay[1].SortKey = Value(++round);
        const StableList<Card> before = St().InPlay.Cards();
        snapshot.Take();
        r.disturb(St().InPlay);
        snapshot.Restore();
        EXPECT_TRUE(SameBoard(St().InPlay, before));
    }
}

TEST_F(BoardSnapshotTest, SlotsAddedDuringATrialStayFreeAndPointersComeBack) {
    BoardSnapshot snapshot;
    snapshot.Take();
    St().InPlay.PushBack(St().InPlay[1]);
    St().NewestCard = 7;
    St().TriggerRegistry[3].Cards.PushBack(7);
    snapshot.Restore();
    EXPECT_EQ(St().InPlay.size(), 7);
    EXPECT_TRUE(IdenticalCards(St().InPlay[7], Card{}));
    EXPECT_EQ(St().NewestCard, 3);
    EXPECT_EQ(St().TriggerRegistry[3].Cards.size(), 1);
}

}  // namespace
}  // namespace dv
