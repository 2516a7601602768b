#include "engine/model/board_snapshot.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/model/state.h"
#include "engine/model/triggers.h"
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
        {"an effect's flags", [](auto& play) { ChangeRunFlags(play[2], 1).Running = 1; }},
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
    // Every change of the registry is announced before it is made, as the engine's own are.
    RegistryWillChange();
    St().TriggerRegistry[3].Cards.PushBack(7);
    snapshot.Restore();
    EXPECT_EQ(St().InPlay.size(), 7);
    EXPECT_TRUE(IdenticalCards(St().InPlay[7], Card{}));
    EXPECT_EQ(St().NewestCard, 3);
    EXPECT_EQ(St().TriggerRegistry[3].Cards.size(), 1);
}

// The registry is copied only when a trial is about to change it: whatever changes it, before or
// inside nested trials, each snapshot must give it back as it stood when that one was taken.
TEST_F(BoardSnapshotTest, NestedTrialsGiveTheRegistryBackAsEachFoundIt) {
    auto registered = [] {
        std::vector<std::vector<int32_t>> slots;
        for (const TriggerSlot& slot : St().TriggerRegistry)
            slots.push_back(slot.Cards.raw());
        return slots;
    };
    St().InPlay[1].Effects[1].Trigger = "PHASE1";
    St().InPlay[2].Effects[1].Trigger = "PHASE2";
    St().InPlay[3].Effects[1].Trigger = "PHASE3";
    RegisterAction(1, 1, 0, 0);
    const auto atOuter = registered();

    BoardSnapshot outer;
    outer.Take();
    RegisterAction(2, 1, 0, 0);
    const auto atInner = registered();
    {
        BoardSnapshot inner;
        inner.Take();
        UnregisterCard(1);
        RegisterAction(3, 1, 0, 0);
        inner.Restore();
        EXPECT_EQ(registered(), atInner);
    }
    {
        BoardSnapshot untouched;
        untouched.Take();
        untouched.Restore();
        EXPECT_EQ(registered(), atInner);
    }
    {
        BoardSnapshot kept;
        kept.Take();
        RegisterAction(3, 1, 0, 0);
        kept.Release();
    }
    EXPECT_NE(registered(), atInner) << "a trial let go keeps its changes";
    outer.Restore();
    EXPECT_EQ(registered(), atOuter);
    EXPECT_EQ(St().OpenRegistryKeeps, 0);
}

}  // namespace
}  // namespace dv
