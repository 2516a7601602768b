// The actions a card inherits from its traits: put on, taken off, and rebuilt for all cards.
#include "engine/model/trait_actions.h"

#include <map>
#include <tuple>
#include <utility>

#include "engine/model/cards.h"
#include "engine/model/guard.h"
#include "engine/model/play_index.h"
#include "engine/model/state.h"
#include "engine/model/triggers.h"

namespace dv {
namespace {

const std::string kAllCards = "#ALL#";

std::string InheritedFrom(Card& card, int effect) {
    int32_t e = effect;
    std::string word = "TRAITEFFECT";
    return GetEffectTrait2(card, e, word);
}

bool CarriesActionsOf(Card& card, const std::string& traitName) {
    for (int e = 1; e <= card.Effects.size(); ++e)
        if (InheritedFrom(card, e) == traitName) return true;
    return false;
}

void FreeEffect(Effect& effect) {
    effect.Text.clear();
    effect.TargetType = 0;
    effect.Trigger = "0";
    // The old program would still name the trait and hide the freed slot's emptiness.
    effect.Compiled = 0;
}

// Inherited effects as AddEffect prepared them, kept through one pass over all cards: every
// creature of a deck inherits the same few scripts, and masking and compiling each anew was most
// of a game's set-up. Keyed by trait action, effect and the card's owner, on which an effect's
// side requirement depends.
using PreparedEffects = std::map<std::tuple<int, int, int>, Effect>;

void Inherit(Card& card, const std::string& name, int action, int k, const Effect& from,
             PreparedEffects* prepared) {
    // A kept card read notes the mask positions preparing hands out, so it prepares each anew.
    const bool keep = prepared && card.Initialised != 0 && !St().LogMaskLookups;
    const std::tuple key{action, k, int{card.Owner}};
    if (keep) {
        const auto found = prepared->find(key);
        if (found != prepared->end()) {
            AddPreparedEffect(card, found->second);
            return;
        }
    }
    const int index = AddEffect(card, "TRAIT:TRAITEFFECT:" + name + ":" + from.Text,
                                from.TargetType, from.Trigger, 0, from.TargetText);
    if (keep && index > 0) prepared->emplace(key, std::as_const(card.Effects)[index]);
}

void AddInherited(Card& card, const std::string& traitFilter, PreparedEffects* prepared) {
    Guarded("AddTraitEffects", [&] {
        if (card.Name.empty() || card.TraitEffectsValid == 1) return;
        auto& actions = St().TraitActions;
        bool inherited = false;
        for (int i = 1; i <= actions.size(); ++i) {
            const std::string name = actions[i].Name;
            if (name.empty()) continue;
            if (!traitFilter.empty() && traitFilter != name) continue;
            bool forAll = name == kAllCards;
            if (!forAll && !HasTrait(card, name)) continue;
            if (CarriesActionsOf(card, name)) continue;
            if (!forAll) {
                int n = GetTraitNum(card, name);
                if (n == 0) continue;
                if (card.TraitActionDescs.Has(n) &&
                    std::as_const(card.TraitActionDescs)[n] == "OVERRIDE")
                    continue;
            }
            const SharedList<Effect> effects = actions[i].Effects;
            for (int k = 1; k <= effects.size(); ++k) {
                if (effects[k].Text.empty()) continue;
                Inherit(card, name, i, k, effects[k], prepared);
                inherited = true;
            }
        }
        card.TraitEffectsValid = 1;
        // Registering looks through the whole registry: a trait change that brought no effect
        // (most do) leaves the registrations as they were.
        if (card.Index > 0 && inherited) RegisterEffects(card);
        SetActionMasks(card, 0);
    });
}

}  // namespace

void AddTraitEffects(Card& card, const std::string& traitFilter) {
    AddInherited(card, traitFilter, nullptr);
}

void RemoveTraitActions(Card& card, const std::string& traitName) {
    Guarded("RemoveTraitActions", [&] {
        for (int e = 1; e <= card.Effects.size(); ++e)
            if (InheritedFrom(card, e) == traitName) {
                FreeEffect(card.Effects[e]);
                DropRegistrations(card, e);
            }
    });
}

void RemoveAllTraitActions(Card& card) {
    Guarded("RemoveAllTraitActions", [&] {
        if (card.TraitEffectsValid == 0) return;
        for (int e = 1; e <= card.Effects.size(); ++e)
            if (InheritedFrom(card, e) != "NONE") {
                FreeEffect(card.Effects[e]);
                DropRegistrations(card, e);
            }
    });
}

void AddAllTraitEffects(int reset) {
    // Every card of play is renewed: they are let go when this ends, not held for good.
    HoldScope hold;
    Guarded("AddAllTraitEffects", [&] {
        PreparedEffects prepared;
        auto renew = [&](Card& card) {
            if (reset == 1) card.TraitEffectsValid = 0;
            AddInherited(card, "", &prepared);
        };
        for (Card& card : St().InPlay)
            renew(card);
        for (Card& card : St().Players[1].Deck)
            renew(card);
        for (Card& card : St().Players[2].Deck)
            renew(card);
        RegisterAllActions();
    });
}

}  // namespace dv
