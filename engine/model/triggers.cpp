#include "engine/model/triggers.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/model/case_fold.h"
#include "engine/model/guard.h"
#include "engine/model/script_fields.h"
#include "engine/model/state.h"

namespace dv {
namespace {

// Index is the trigger number; 12 has no name.
constexpr std::array<std::string_view, 18> kTriggerNames = {
    "",       "PHASE1",  "PHASE2",    "PHASE3",          "PHASE4",    "PHASE5",
    "PHASE6", "PHASE7",  "PHASE8",    "PHASE9",          "PHASE10",   "TURNEND",
    "",       "ONDEATH", "ENTERPLAY", "OTHERENTERSPLAY", "TURNSTART", "INTERCEPT"};

constexpr int kBitsPerWord = 31;

struct RequirementWord {
    std::string_view word;
    int argumentFields;
    int side;  // 0 target, 1 the effect's own card
    int kind;  // 0 must have, 1 must not have
};

constexpr RequirementWord kRequirementWords[] = {
    {"REQTRAIT", 1, 0, 0},         {"REQTRAITIS", 2, 0, 0},   {"REQTRAITMORE", 2, 0, 0},
    {"REQTRAITEQUALS", 2, 0, 0},   {"REQNOTTRAIT", 1, 0, 1},  {"REQNOTRAIT", 1, 0, 1},
    {"REQMYTRAIT", 1, 1, 0},       {"REQMYNOTRAIT", 1, 1, 1}, {"REQMYTRAITMORE", 2, 1, 0},
    {"REQMYTRAITEQUALS", 2, 1, 0}, {"REQMYTRAITIS", 2, 1, 0},
};

MaskWords* RequirementMask(Effect& effect, int side, int kind) {
    if (side == 0 && kind == 0) return &effect.ReqTargetHas;
    if (side == 0 && kind == 1) return &effect.ReqTargetNot;
    if (side == 1 && kind == 0) return &effect.ReqSourceHas;
    if (side == 1 && kind == 1) return &effect.ReqSourceNot;
    return nullptr;
}

// Sets the bit of a trait name in mask. The name takes its mask position even when there is no
// mask to mark; a name the table has no room for marks nothing.
void MarkTrait(MaskWords* mask, std::string_view name) {
    int w = 0;
    int32_t bit = 0;
    TraitMaskPosition(name, w, bit);
    if (mask && w >= 1 && w <= kMaskWords) (*mask)[w] |= bit;
}

void ClearWords(MaskWords& words) {
    words.fill(0);
}

void MakeHole(TriggerSlot& slot, int k) {
    RegistryWillChange();
    slot.Cards[k] = 0;
    slot.Effects[k] = 0;
    slot.PackedFull = false;
}

// Calls visit with the place (from 1) of each entry of the card in the slot, in order, until it
// answers true; visit may make holes. Every registration looks through every slot: the card
// numbers are searched as one block rather than entry by entry.
template <class Visit>
bool VisitEntriesOf(TriggerSlot& slot, int32_t card, Visit visit) {
    const std::vector<int32_t>& cards = std::as_const(slot.Cards).raw();
    for (auto at = std::find(cards.begin(), cards.end(), card); at != cards.end();
         at = std::find(at + 1, cards.end(), card))
        if (visit(static_cast<int>(at - cards.begin()) + 1)) return true;
    return false;
}

// Makes holes of the card's entries whose effect number passes the test.
template <class EffectTest>
void ClearEntries(TriggerSlot& slot, int32_t card, EffectTest test) {
    if (card == 0) return;  // a hole is no entry
    VisitEntriesOf(slot, card, [&](int k) {
        if (test(slot.Effects[k])) MakeHole(slot, k);
        return false;
    });
}

// Packs the holes out of a full slot, keeping the order of the registrations.
void PackSlot(TriggerSlot& slot) {
    List<int32_t> cards;
    List<int32_t> effects;
    for (int k = 1; k <= slot.Cards.size(); ++k) {
        if (slot.Cards[k] == 0) continue;
        cards.PushBack(slot.Cards[k]);
        effects.PushBack(slot.Effects[k]);
    }
    if (cards.empty()) {
        cards.PushBack(0);
        effects.PushBack(0);
    }
    slot.Cards = std::move(cards);
    slot.Effects = std::move(effects);
    slot.PackedFull = slot.Cards.size() >= kMaxRegistryEntries;
}

// A slot at the ceiling whose every entry is live, as its last packing found it.
bool FullOfLiveEntries(const TriggerSlot& slot) {
    return slot.PackedFull && slot.Cards.size() >= kMaxRegistryEntries;
}

void Append(TriggerSlot& slot, int card, int effect) {
    if (FullOfLiveEntries(slot)) return;  // refused cleanly
    RegistryWillChange();
    if (slot.Cards.size() >= kMaxRegistryEntries) {
        PackSlot(slot);
        if (FullOfLiveEntries(slot)) return;
    }
    slot.Cards.PushBack(card);
    slot.Effects.PushBack(effect);
}

// Enters a registration the slot does not hold yet: into the first hole while the slot is
// short, at the end from then on.
void Place(TriggerSlot& slot, int card, int effect) {
    if (slot.Cards.size() < kRegistryReuseLimit) {
        const std::vector<int32_t>& cards = std::as_const(slot.Cards).raw();
        const auto hole = std::find(cards.begin(), cards.end(), 0);
        if (hole != cards.end()) {
            const int k = static_cast<int>(hole - cards.begin()) + 1;
            RegistryWillChange();
            slot.Cards[k] = card;
            slot.Effects[k] = effect;
            return;
        }
    }
    Append(slot, card, effect);
}

void Register(int card, int effect, int16_t replace, int16_t remove) {
    State& st = St();
    if (card <= 0) return;
    if (remove != 0) {
        // Every slot, whatever the card's name or effects hold now: its number is about to be
        // free for another card.
        UnregisterCard(card);
        return;
    }
    if (!st.InPlay.Has(card) || std::as_const(st.InPlay)[card].Name.empty()) {
        UnregisterCard(card);
        return;
    }
    const Card& holder = std::as_const(st.InPlay)[card];
    if (effect < 1 || effect > holder.Effects.size() || holder.Effects[effect].Text.empty()) {
        UnregisterAction(card, effect);
        return;
    }

    const uint8_t t = GetTriggerNum(holder.Effects[effect].Trigger);
    // An effect slot reused under another trigger must not stay registered under the old one.
    for (int other = 0; other < static_cast<int>(st.TriggerRegistry.size()); ++other) {
        if (other == t) continue;
        ClearEntries(st.TriggerRegistry[other], card, [&](int32_t e) { return e == effect; });
    }

    TriggerSlot& slot = st.TriggerRegistry[t];
    // Whether the pair is there already or not, a slot full of live entries stays as it is:
    // there is no need to look.
    if (replace == 0 && FullOfLiveEntries(slot)) return;
    const bool registered = VisitEntriesOf(slot, card, [&](int k) {
        if (replace == 0) return slot.Effects[k] == effect;
        MakeHole(slot, k);
        return false;
    });
    if (!registered) Place(slot, card, effect);
}

// Walks the script's requirement words, setting the side requirement for the card's owner and,
// when marking, the trait masks and the effect requirement.
void WalkRequirements(const Card& card, Effect& effect, bool mark) {
    if (effect.Trigger == "COUNTER") {
        effect.SideReq = 0;  // no side requirement, as on a new effect
        return;
    }

    effect.SideReq = 255;
    const ScriptFields fields(effect.Text, ':');
    // Each pass moves on by at least one field, so the fields bound the walk.
    for (long long f = 1; !fields[f].empty();) {
        const std::string_view word = fields[f];
        const std::string_view next = fields[f + 1];
        const auto requirement =
            std::find_if(std::begin(kRequirementWords), std::end(kRequirementWords),
                         [&](const RequirementWord& r) { return r.word == word; });
        if (requirement != std::end(kRequirementWords)) {
            if (mark)
                MarkTrait(RequirementMask(effect, requirement->side, requirement->kind), next);
            f += 1 + requirement->argumentFields;
        } else if (word == "REQEFFECT") {
            if (mark) effect.ReqEffect = 1;
            return;
        } else if (word == "TRAIT") {
            if (mark) MarkTrait(&effect.TraitBits, next);
            f += 3;
        } else if (word == "REQALLY") {
            if (card.Owner == 1) effect.SideReq = 1;
            if (card.Owner == 2) effect.SideReq = 2;
            f += 1;
        } else if (word == "REQENEMY") {
            if (card.Owner == 1) effect.SideReq = 2;
            if (card.Owner == 2) effect.SideReq = 1;
            f += 1;
        } else if (word == "CHANCE") {
            f += 2;
        } else if (word.substr(0, 3) == "REQ") {
            f += 1;
        } else {
            return;
        }
    }
}

void BuildActionMasks(Card& card, Effect& effect) {
    ClearWords(effect.ReqSourceHas);
    ClearWords(effect.ReqTargetHas);
    ClearWords(effect.ReqSourceNot);
    ClearWords(effect.ReqTargetNot);
    // Rebuilt from this script alone, so a reused effect slot keeps nothing of its former one.
    ClearWords(effect.TraitBits);
    effect.ReqEffect = 0;
    WalkRequirements(card, effect, true);
}

}  // namespace

uint8_t GetTriggerNum(const std::string& name) {
    return Guarded("GetTriggerNum", uint8_t{0}, [&] {
        if (name.empty()) return uint8_t{0};
        // The names are upper case: a caseless match is a match of the upper-cased name.
        for (std::size_t n = 1; n < kTriggerNames.size(); ++n) {
            if (SameNoCase(kTriggerNames[n], name)) return static_cast<uint8_t>(n);
        }
        return uint8_t{0};
    });
}

std::string GetTriggerName(uint8_t number) {
    if (number >= kTriggerNames.size()) return {};
    return std::string(kTriggerNames[number]);
}

void CreateBitLookup() {
    auto& lookup = St().BitLookup;
    lookup[0] = 0;
    double value = 1;
    for (std::size_t k = 1; k < lookup.size(); ++k, value *= 2)
        lookup[k] = value;
}

void gettraitmaskpos(std::string& name, int& word, int32_t& bit) {
    const std::size_t colon = name.find(':');
    if (colon != std::string::npos) name.resize(colon);
    TraitMaskPosition(name, word, bit);
}

void TraitMaskPosition(std::string_view fullName, int& word, int32_t& bit) {
    Guarded("gettraitmaskpos", [&] {
        const std::string_view name = fullName.substr(0, fullName.find(':'));
        // An empty name is no trait: giving it a position would let the next new name share it.
        if (name.empty()) {
            word = -1;
            return;
        }
        List<TraitMaskName>& table = St().TraitMaskNames;
        int i = 0;
        for (int k = 1; k <= table.size(); ++k) {
            std::string& held = table[k].Name;
            if (held.empty()) held = name;
            if (held == name) {
                i = k;
                break;
            }
        }
        if (i == 0) {
            i = table.size() + 1;
            if (i > kMaxTraitMaskNames) {
                word = -1;
                if (St().LogMaskLookups) St().MaskLookups.push_back({std::string(name), -1, 0});
                return;
            }
            table.PushBack(TraitMaskName{std::string(name)});
        }
        word = i / kBitsPerWord + 1;
        const int b = i % kBitsPerWord == 0 ? kBitsPerWord : i % kBitsPerWord;
        bit = static_cast<int32_t>(int64_t{1} << (b - 1));
        if (St().LogMaskLookups) St().MaskLookups.push_back({std::string(name), word, bit});
    });
}

void ModActionMask(Card& card, int effectNumber, const std::string& traitName, int side, int kind) {
    Guarded("ModActionMask", [&] {
        Effect& effect = card.Effects[effectNumber];
        MarkTrait(RequirementMask(effect, side, kind), traitName);
    });
}

void SetSideRequirement(const Card& card, Effect& effect) {
    WalkRequirements(card, effect, false);
}

void SetActionMasks(Card& card, int effectNumber) {
    Guarded("SetActionMasks", [&] {
        if (card.Owner == 0) card.SideMask = 4;
        if (card.Owner == 1) card.SideMask = 1;
        if (card.Owner == 2) card.SideMask = 2;
        if (effectNumber == 0 || !card.Effects.Has(effectNumber)) return;
        BuildActionMasks(card, card.Effects[effectNumber]);
    });
}

void RegisterAction(int cardNumber, int effectNumber, int16_t replace, int16_t remove) {
    Guarded("RegisterAction", [&] { Register(cardNumber, effectNumber, replace, remove); });
}

void RegisterAllActions() {
    Guarded("RegisterAllActions", [&] {
        State& st = St();
        for (int c = 1; c <= st.InPlay.size(); ++c) {
            if (st.InPlay[c].Name.empty()) continue;
            for (int e = 1; e <= st.InPlay[c].Effects.size(); ++e)
                RegisterAction(c, e, 0, 0);
        }
    });
}

void UnregisterCard(int cardNumber) {
    Guarded("UnregisterCard", [&] {
        if (cardNumber == 0) return;
        for (TriggerSlot& slot : St().TriggerRegistry) {
            ClearEntries(slot, cardNumber, [](int32_t) { return true; });
        }
    });
}

void UnregisterAction(int cardNumber, int effectNumber) {
    Guarded("UnregisterAction", [&] {
        if (cardNumber == 0) return;
        for (TriggerSlot& slot : St().TriggerRegistry) {
            ClearEntries(slot, cardNumber, [&](int32_t e) { return e == effectNumber; });
        }
    });
}

void RegistryWillChange() {
    State& st = St();
    for (int k = 0; k < st.OpenRegistryKeeps; ++k) {
        RegistryKeep& keep = st.RegistryKeeps[k];
        if (keep.copied) continue;
        keep.registry = st.TriggerRegistry;
        keep.copied = true;
    }
}

void DropRegistrations(const Card& card, int effectNumber) {
    State& st = St();
    if (!st.InPlay.Has(card.Index) || &st.InPlay[card.Index] != &card) return;
    if (effectNumber == 0) {
        UnregisterCard(card.Index);
    } else {
        UnregisterAction(card.Index, effectNumber);
    }
}

namespace {

// Whether effect e of the card in play would be registered under some trigger; the trigger
// number is put in trigger then.
bool Registrable(const Card& holder, int e, uint8_t& trigger) {
    if (e < 1 || e > holder.Effects.size()) return false;
    const Effect& effect = holder.Effects[e];
    if (effect.Text.empty()) return false;
    trigger = GetTriggerNum(effect.Trigger);
    return true;
}

// Cards with up to this many effects are looked up without taking memory.
constexpr int kSmallCardEffects = 32;
// In the slot-of-effect table: an effect found in more than one slot.
constexpr int kSeveralSlots = -2;

// Fills slotOf[1..count] with the one slot each effect of the card is registered in: -1 for
// none, kSeveralSlots for more than one. One pass over the slots for the whole card.
void FindSlotsOf(int card, int count, int* slotOf) {
    std::fill(slotOf, slotOf + count + 1, -1);
    State& st = St();
    for (int s = 0; s < static_cast<int>(st.TriggerRegistry.size()); ++s) {
        TriggerSlot& slot = st.TriggerRegistry[s];
        VisitEntriesOf(slot, card, [&](int k) {
            const int e = slot.Effects[k];
            if (e < 1 || e > count) return false;
            slotOf[e] = slotOf[e] == -1 || slotOf[e] == s ? s : kSeveralSlots;
            return false;
        });
    }
}

}  // namespace

// Looks the card up in the registry once and changes only what registering effect by effect
// would change: an effect already in place is left, one registered nowhere goes straight into
// its slot, and only one found elsewhere is registered the long way. A card's traits change far
// more often than its triggers, and a card with many effects would otherwise search every slot
// once per effect.
void RegisterEffects(const Card& card) {
    const int count = card.Effects.size();
    if (card.Index <= 0 || count == 0) return;
    State& st = St();
    const int number = card.Index;
    if (!st.InPlay.Has(number) || std::as_const(st.InPlay)[number].Name.empty()) {
        for (int e = 1; e <= count; ++e)
            RegisterAction(number, e, 0, 0);
        return;
    }
    std::array<int, kSmallCardEffects + 1> small;
    std::vector<int> large;
    int* slotOf = small.data();
    if (count > kSmallCardEffects) {
        large.resize(count + 1);
        slotOf = large.data();
    }
    FindSlotsOf(number, count, slotOf);
    const Card& holder = std::as_const(st.InPlay)[number];
    for (int e = 1; e <= count; ++e) {
        uint8_t t = 0;
        const int wanted = Registrable(holder, e, t) ? t : -1;
        if (slotOf[e] == wanted) continue;
        if (slotOf[e] == -1) {
            Guarded("RegisterAction", [&] { Place(st.TriggerRegistry[t], number, e); });
        } else {
            RegisterAction(number, e, 0, 0);
        }
    }
}

}  // namespace dv
