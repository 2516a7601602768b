// Reading a card's traits, and taking them off. Changes that raise triggers are rules
// (engine/rules/trait_changes.cpp).
#include <algorithm>
#include <cmath>
#include <optional>
#include <string_view>
#include <utility>

#include "engine/model/cards.h"
#include "engine/model/case_fold.h"
#include "engine/model/guard.h"
#include "engine/model/state.h"
#include "engine/model/trait_actions.h"
#include "engine/model/trait_names.h"
#include "engine/model/triggers.h"
#include "engine/model/value_expression.h"

namespace dv {
namespace {

// Whether the part of a stored trait name before its first ":" is the name, without regard to
// case. Told from the name's length first: most stored names differ from it there.
bool BaseIs(std::string_view stored, std::string_view name) {
    if (stored.size() < name.size()) return false;
    if (stored.size() > name.size() && stored[name.size()] != ':') return false;
    if (!SameNoCase(stored.substr(0, name.size()), name)) return false;
    // A name with a ":" is no base: the stored name's base ends before it.
    return name.find(':') == std::string_view::npos;
}

// Bonus expressions may read other bonus traits; a cycle through several cards must end.
constexpr std::size_t kMaxBonusNesting = 16;

std::string ValueAt(const Card& card, int slot) {
    return card.TraitValues.Has(slot) ? card.TraitValues[slot] : std::string();
}

// Marks a bonus read in progress for as long as it lives.
class BonusRead {
  public:
    BonusRead(const Card& card, const std::string& name) {
        St().BonusReads.emplace_back(&card, name);
    }
    ~BonusRead() { St().BonusReads.pop_back(); }
    BonusRead(const BonusRead&) = delete;
    BonusRead& operator=(const BonusRead&) = delete;

    static bool Allowed(const Card& card, const std::string& name) {
        const auto& reads = St().BonusReads;
        if (reads.size() >= kMaxBonusNesting) return false;
        return std::find(reads.begin(), reads.end(), std::make_pair(&card, name)) == reads.end();
    }
};

}  // namespace

void MarkTraitMask(Card& card, const std::string& name, bool carries) {
    int word = -1;
    int32_t bit = 0;
    TraitMaskPosition(name, word, bit);
    if (word < 1 || word > kMaskWords) return;
    if (carries)
        card.TraitMask[word] |= bit;
    else
        card.TraitMask[word] &= ~bit;
}

void RenumberTraitMasks(Card& card) {
    card.TraitMask = {};
    for (const std::string& name : std::as_const(card.TraitNames))
        if (!name.empty()) MarkTraitMask(card, name, true);
    for (int e = 1; e <= card.Effects.size(); ++e)
        if (!std::as_const(card.Effects)[e].Text.empty()) SetActionMasks(card, e);
}

std::string BaseTraitName(const std::string& name) {
    return name.substr(0, name.find(':'));
}

void RemoveTrait(Card& card, const std::string& name) {
    Guarded("RemoveTrait", [&] {
        for (int i = 1; i <= card.TraitNames.size(); ++i) {
            if (BaseTraitName(std::as_const(card.TraitNames)[i]) != name) continue;
            card.TraitNames[i].clear();
            if (card.TraitValues.Has(i)) card.TraitValues[i].clear();
            if (card.TraitActionDescs.Has(i)) card.TraitActionDescs[i].clear();
        }
        MarkTraitMask(card, name, false);
        RemoveTraitActions(card, BaseTraitName(name));
        card.TraitEffectsValid = 0;
    });
}

Value GetTrait(Card& card, const std::string& name, Value& blankFlag, int mode) {
    return Guarded("GetTrait", Value("NONE"), [&]() -> Value {
        if (card.Name.empty()) return Value("NONE");
        if (name == "#ANY#") return Value(1);
        if (name.empty()) return Value("NONE");
        blankFlag = 0;
        std::string found;
        Value bonus = 0;
        // The upper-cased name and whether a bonus may be read are needed only for a bonus trait;
        // no bonus read changes what the reads in progress are between two traits.
        std::string wanted;
        std::optional<bool> bonusAllowed;
        // The slots after those held are empty, and passed over.
        for (int i = 1; i <= card.TraitNames.StoredSize(); ++i) {
            // Evaluating a bonus may change the card's lists: stored is not used after that.
            const std::string_view stored = std::as_const(card.TraitNames)[i];
            if (stored.empty()) continue;
            if (stored.size() == name.size()) {
                if (!SameNoCase(stored, name)) continue;
                found = ValueAt(card, i);
                if (found.empty()) {
                    found = "1";
                    blankFlag = 1;
                }
                if (mode == 1) break;
            } else if (mode == 0 && stored.size() == name.size() + 5 && stored[0] == 'B' &&
                       StartsWithNoCase(stored, "BONUS") && SameNoCase(stored.substr(5), name)) {
                if (wanted.empty()) wanted = UpperText(name);
                if (!bonusAllowed) bonusAllowed = BonusRead::Allowed(card, wanted);
                if (!*bonusAllowed) continue;
                BonusRead reading(card, wanted);
                bonus = Transval(card, card, Value(ValueAt(card, i)), "");
            }
        }
        if (bonus.Num() > 0) return Value(ReadNumber(found) + bonus.Num());
        return Value(found);
    });
}

Value GetTrait(Card& card, const std::string& name, int mode) {
    Value blankFlag;
    return GetTrait(card, name, blankFlag, mode);
}

bool HasTrait(Card& card, const std::string& name, int effectIndex) {
    return Guarded("HasTrait", false, [&] {
        if (name.empty() || card.Name.empty()) return false;
        if (effectIndex > 0 && card.Effects.Has(effectIndex)) {
            int32_t effect = effectIndex;
            std::string traitName = UpperText(name);
            if (GetEffectTrait2(card, effect, traitName) != "NONE") return true;
        }
        const auto& names = std::as_const(card.TraitNames);
        for (int i = 1; i <= names.StoredSize(); ++i) {
            const std::string& stored = names[i];
            if (!stored.empty() && BaseIs(stored, name)) return true;
        }
        return false;
    });
}

int16_t GetTraitNum(const Card& card, const std::string& name) {
    return Guarded("GetTraitNum", int16_t{0}, [&] {
        const int last = std::min(card.TraitNames.StoredSize(), 32767);
        for (int i = 1; i <= last; ++i) {
            const std::string& stored = card.TraitNames[i];
            if (!stored.empty() && BaseIs(stored, name)) return static_cast<int16_t>(i);
        }
        return int16_t{0};
    });
}

std::string GetTraitActionDesc(Card& card, const std::string& traitName) {
    return Guarded("GetTraitActionDesc", std::string(), [&] {
        int n = GetTraitNum(card, traitName);
        if (n == 0 || !card.TraitActionDescs.Has(n)) return std::string();
        const std::string& desc = std::as_const(card.TraitActionDescs)[n];
        // The marker keeps inherited actions off the card; it is not text to show.
        return desc == "OVERRIDE" ? std::string() : desc;
    });
}

}  // namespace dv
