#include "engine/rules/costs.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "engine/model/guard.h"
#include "engine/model/state.h"
#include "engine/rules/card_life.h"
#include "engine/rules/dispatch.h"
#include "engine/rules/effect_runs.h"

namespace dv {
namespace {

// Everything a trial may disturb (the cards in play, the trigger registry that indexes them, the
// activation queue and the newest-card pointers) is taken before it and put back after it.
// Trials nest, so each level has a snapshot of its own.
class TrialScope {
  public:
    explicit TrialScope(const Card& card) {
        State& st = St();
        level_ = st.TrialDepth;
        if (static_cast<int>(st.TrialSnapshots.size()) <= level_) st.TrialSnapshots.emplace_back();
        st.TrialSnapshots[level_].Take();
        ++st.TrialDepth;
        // A paying card already in play was handed out before the trial began.
        const PlayList& play = st.InPlay;
        if (play.Has(card.Index) && &play[card.Index] == &card) st.InPlay.Note(card.Index);
    }
    ~TrialScope() {
        St().TrialSnapshots[level_].Release();
        --St().TrialDepth;
    }
    TrialScope(const TrialScope&) = delete;
    TrialScope& operator=(const TrialScope&) = delete;

    void Restore() const { St().TrialSnapshots[level_].Restore(); }

  private:
    int level_ = 0;
};

bool GidInPlay(int32_t gid, int slot) {
    const PlayList& inPlay = St().InPlay;
    for (int i = 1; i <= inPlay.size(); ++i)
        if (i != slot && !inPlay[i].Name.empty() && inPlay[i].GID == gid) return true;
    return false;
}

// Places a copy of the card for a trial the way AddCard would, but without activating it or
// queueing its activation and without drawing from the generator: nothing of the placement may
// outlive the trial. Returns the slot, 0 when play is full.
int PlaceForTrial(const Card& card) {
    State& st = St();
    auto& inPlay = st.InPlay;
    const int n = TakeFreeSlot(card);
    if (n == 0) return 0;
    Card& placed = inPlay[n];
    placed.Index = n;
    placed.Active = 0;
    if (placed.GID == 0 || GidInPlay(placed.GID, n)) {
        int32_t highest = 0;
        for (const Card& c : std::as_const(inPlay))
            highest = std::max(highest, c.GID);
        placed.GID = highest + 1;
    }
    if (placed.Owner == 0) placed.SideMask = 4;
    if (placed.Owner == 1) placed.SideMask = 1;
    if (placed.Owner == 2) placed.SideMask = 2;
    if (placed.StartTime.empty()) placed.StartTime = "TURNSTART";
    st.NewestCard = n;
    st.LastCard = n;
    return n;
}

RunActionsCall CostRun(uint8_t check) {
    RunActionsCall call;
    call.triggeringCard = -1;
    call.preview = check;
    call.append = 1;
    return call;
}

}  // namespace

bool PayCost(Card& card, uint8_t& check) {
    // Queued cards (copies, created cards, a card test's cards) enter play free.
    if (card.AlreadyPlaced == 1) return true;
    const bool trial = check == 1;
    std::optional<TrialScope> scope;
    if (trial) scope.emplace(card);
    bool placed = false;

    HoldScope hold;
    const bool paid = Guarded("PayCost", false, [&] {
        State& st = St();
        st.CostCard.Active = 1;
        if (card.Index == 0) {
            card.Index = trial ? PlaceForTrial(card) : AddCard(card);
            placed = true;
        }
        const int p = card.Index;

        // Cards that COSTMOD effects add to play are not asked in the same payment.
        static const TriggerFilter costMods("COSTMOD");
        const PlayList& play = st.InPlay;
        const int last = play.size();
        // A spent budget would drop every run of the others' cost mods; only runs spend it.
        bool spent = RunBudgetSpent(false);
        // Out of the loop's way: a walk looks at far more cards than it hands the trigger.
        auto handTo = [&](int i) __attribute__((noinline)) {
            HoldScope hold;
            RunActionsCall call = CostRun(check);
            RunActions(st.InPlay[i], "COSTMOD", call);
            spent = RunBudgetSpent(false);
        };
        costMods.Walk(
            st.InPlay, last,
            [&](int i) {
                const Card& other = play[i];
                if (other.Name.empty() || (i != p && other.Active == 0)) return true;
                st.NewestCard = p;
                if (spent) return false;
                // Handing out only the cards the trigger can reach keeps the others out of a
                // trial's journal.
                if (costMods.MustHandOut(other)) handTo(i);
                return true;
            },
            [&](int from, int to) {
                // Any active card passed over makes the paying card the newest again.
                if (!spent) costMods.PassOver(from, to, p);
                const bool payerPassed = p >= from && p <= to && !play[p].Name.empty();
                if (payerPassed || st.InPlay.AnyActive(from, to)) st.NewestCard = p;
            });

        RunActionsCall cost = CostRun(check);
        RunActions(card, "COST", cost);
        return cost.failures == 0;
    });

    if (trial) {
        scope->Restore();
        // The slot it had for the trial is free again; a later real payment must place it anew.
        if (placed) card.Index = 0;
    }
    return paid;
}

}  // namespace dv
