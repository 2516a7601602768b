// Changing a card's traits: a change raises the card's TRAITCHANGE triggers and refreshes the
// actions it inherits; a change by an amount first runs the card's BEFORETRAITCHANGE effects.
#include "engine/rules/trait_changes.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "engine/model/cards.h"
#include "engine/model/case_fold.h"
#include "engine/model/guard.h"
#include "engine/model/state.h"
#include "engine/model/trait_actions.h"
#include "engine/model/trait_names.h"
#include "engine/model/turn_log.h"
#include "engine/rules/dispatch.h"
#include "engine/rules/effect_runs.h"

namespace dv {
namespace {

constexpr int kTraitGrowth = 4;
// Absorbing traits may hand a loss on to further absorbing traits; a ring of them must end.
constexpr int kMaxAbsorbNesting = 10;

// Data read from files may leave the three lists of unequal length.
void MatchTraitLists(Card& card) {
    const int size =
        std::max({card.TraitNames.size(), card.TraitValues.size(), card.TraitActionDescs.size()});
    card.TraitNames.Resize(size);
    card.TraitValues.Resize(size);
    card.TraitActionDescs.Resize(size);
}

}  // namespace

void SetTrait(Card& card, const std::string& name, const Value& value, const Value& silent,
              const std::string& text, uint8_t quiet, int32_t sourceIndex,
              const Value& noNegative) {
    Guarded("SetTrait", [&] {
        auto& st = St();
        if (card.Name.empty() || name.empty()) return;
        if (name == "HP") st.TraitChanged = 1;
        MatchTraitLists(card);
        int slot = 0;
        int freeSlot = 0;
        const auto& names = std::as_const(card.TraitNames);
        const int held = names.StoredSize();
        for (int i = 1; i <= held; ++i) {
            const std::string& stored = names[i];
            if (stored.empty()) {
                if (freeSlot == 0) freeSlot = i;
            } else if (SameNoCase(stored, name)) {
                slot = i;
                break;
            }
        }
        // The slots after those held are empty.
        if (slot == 0 && freeSlot == 0 && held < names.size()) freeSlot = held + 1;
        if (slot == 0) slot = freeSlot;
        if (slot == 0) {
            slot = card.TraitNames.size() + 1;
            card.TraitNames.Resize(slot - 1 + kTraitGrowth);
            MatchTraitLists(card);
        }
        const std::string newValue = value.Text();
        if (std::as_const(card.TraitValues)[slot] == newValue && names[slot] == name) return;
        // A name already in place is not written: that would give the card names of its own
        // that a copy (a trial's, a journal's) could go on sharing.
        if (names[slot] != name) card.TraitNames[slot] = name;
        card.TraitValues[slot] = newValue;
        if (noNegative == Value(1) && ReadNumber(newValue) < 0) card.TraitValues[slot] = "0";

        MarkTraitMask(card, name, true);
        const std::string base = BaseTraitName(name);
        card.TraitEffectsValid = 0;
        const bool announced = silent == Value(0);
        if (announced && st.CollectionEffect == 0) AddTraitEffects(card, base);

        const Value savedAmount = st.LastAmount;
        std::string echo;
        if (announced && quiet == 0 && TriggerFilter("TRAITCHANGE:" + base).MustHandOut(card)) {
            RunActionsCall call;
            call.triggeringCard = -1;
            call.effectNumber = 0;
            call.preview = quiet;
            call.actionText = text;
            call.append = 0;
            call.sourceCard = sourceIndex;
            RunActions(card, "TRAITCHANGE:" + base, call);
            echo = call.echo;
        }
        st.LastAmount = savedAmount;
        AppendForTurnLog(st.TraitEcho, echo);
        if (quiet == 0) AppendForTurnLog(EchoPart(5), echo);
    });
}

Value Modtrait(Card& card, const std::string& name, Value& amount, Card& source, uint8_t quiet,
               const std::string& actionText, const std::string& text, const Value& noNegative) {
    return Guarded("Modtrait", Value(0), [&]() -> Value {
        auto& st = St();
        st.RedirectTrait = "";
        Value result = 1;

        const std::string trigger = "BEFORETRAITCHANGE:" + name;
        // Actions added while these run are not offered this change.
        const int offered = card.Effects.size();
        for (int i = 1; i <= offered && i <= card.Effects.size(); ++i) {
            if (!SameNoCase(std::as_const(card.Effects)[i].Trigger, trigger)) continue;
            const Value savedAmount = st.LastAmount;
            std::string echo;
            RunBeforeChange(card, i, source, amount, quiet, actionText, echo);
            if (st.EffectOutcome == EffectOutcome::StopEffect)
                st.EffectOutcome = EffectOutcome::None;
            st.LastAmount = savedAmount;
            result = savedAmount;
            if (st.EffectOutcome == EffectOutcome::Cancelled) return result;
            if (st.RedirectTarget > 0) return result;
            if (quiet == 0) {
                AppendForTurnLog(EchoPart(3), st.EchoText);
                AppendForTurnLog(EchoPart(3), echo);
            }
        }

        st.LastAmount = std::fabs(amount.Num());
        result = st.LastAmount;

        if (amount.Num() < 0 && !st.RedirectTrait.empty() && st.AbsorbDepth < kMaxAbsorbNesting) {
            const std::string absorbing = st.RedirectTrait;
            const double absorber = GetTrait(card, absorbing, 0).Num();
            if (absorber != 0) {
                if (amount.Num() + absorber > 0) {
                    DepthCount level(St().AbsorbDepth);
                    Modtrait(card, absorbing, amount, source, quiet, actionText, "", 0);
                    return result;
                }
                SetTrait(card, absorbing, "0", quiet, text, quiet, 0, noNegative);
                amount = amount.Num() + absorber;
            }
        }

        const double current = GetTrait(card, name, 1).Num();
        SetTrait(card, name, NumberText(amount.Num() + current), quiet, text, quiet, source.Index,
                 noNegative);
        return result;
    });
}

}  // namespace dv
