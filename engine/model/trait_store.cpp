// Reading and changing a card's traits. Changes raise the card's change triggers and refresh
// the actions it inherits from its traits.
#include <algorithm>
#include <cmath>
#include <optional>
#include <string_view>

#include "engine/interpreter/eff_card.h"
#include "engine/model/cards.h"
#include "engine/model/case_fold.h"
#include "engine/model/guard.h"
#include "engine/model/state.h"
#include "engine/model/trait_actions.h"
#include "engine/model/trait_names.h"
#include "engine/model/triggers.h"
#include "engine/model/value_expression.h"
#include "engine/rules/dispatch.h"

namespace dv {
namespace {

// A stored trait name up to its first ":", without a copy.
std::string_view BaseOf(std::string_view stored) {
    return stored.substr(0, stored.find(':'));
}

constexpr int kTraitGrowth = 4;
// Absorbing traits may hand a loss on to further absorbing traits; a ring of them must end.
constexpr int kMaxAbsorbNesting = 10;
// Bonus expressions may read other bonus traits; a cycle through several cards must end.
constexpr std::size_t kMaxBonusNesting = 16;
constexpr int kMaskWords = 8;

// Data read from files may leave the three lists of unequal length.
void MatchTraitLists(Card& card) {
    const int size =
        std::max({card.TraitNames.size(), card.TraitValues.size(), card.TraitActionDescs.size()});
    card.TraitNames.Resize(size);
    card.TraitValues.Resize(size);
    card.TraitActionDescs.Resize(size);
}

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

void MaskPosition(const std::string& name, int& word, int32_t& bit) {
    std::string cut = name;
    word = -1;
    bit = 0;
    gettraitmaskpos(cut, word, bit);
}

}  // namespace

std::string BaseTraitName(const std::string& name) {
    return name.substr(0, name.find(':'));
}

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
        for (int i = 1; i <= card.TraitNames.size(); ++i) {
            const std::string& stored = card.TraitNames[i];
            if (stored.empty()) {
                if (freeSlot == 0) freeSlot = i;
            } else if (SameNoCase(stored, name)) {
                slot = i;
                break;
            }
        }
        if (slot == 0) slot = freeSlot;
        if (slot == 0) {
            slot = card.TraitNames.size() + 1;
            card.TraitNames.Resize(slot - 1 + kTraitGrowth);
            MatchTraitLists(card);
        }
        const std::string newValue = value.Text();
        if (card.TraitValues[slot] == newValue && card.TraitNames[slot] == name) return;
        card.TraitNames[slot] = name;
        card.TraitValues[slot] = newValue;
        if (noNegative == Value(1) && ReadNumber(newValue) < 0) card.TraitValues[slot] = "0";

        int word;
        int32_t bit;
        MaskPosition(name, word, bit);
        if (word >= 1 && word <= kMaskWords) card.TraitMask[word] |= bit;
        const std::string base = BaseTraitName(name);
        card.TraitEffectsValid = 0;
        const bool announced = silent == Value(0);
        if (announced && st.CollectionEffect == 0) AddTraitEffects(card, base);

        const Value savedAmount = st.LastAmount;
        std::string echo;
        if (announced && quiet == 0 && TriggerFilter("TRAITCHANGE:" + base).MayRun(card)) {
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
        st.TraitEcho += echo;
        if (quiet == 0) EchoPart(5) += echo;
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
            if (!SameNoCase(card.Effects[i].Trigger, trigger)) continue;
            const Value savedAmount = st.LastAmount;
            EffArgs args;
            args.effectIndex = i;
            args.runKind = RunKind::Ordinary;
            args.preview = quiet;
            args.value = &amount;
            args.reactedTo = actionText;
            EffCard(card, source, args);
            if (st.EffectOutcome == EffectOutcome::StopEffect)
                st.EffectOutcome = EffectOutcome::None;
            st.LastAmount = savedAmount;
            result = savedAmount;
            if (st.EffectOutcome == EffectOutcome::Cancelled) return result;
            if (st.RedirectTarget > 0) return result;
            if (quiet == 0) EchoPart(3) += st.EchoText + args.outerEcho;
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

void RemoveTrait(Card& card, const std::string& name) {
    Guarded("RemoveTrait", [&] {
        for (int i = 1; i <= card.TraitNames.size(); ++i) {
            if (BaseTraitName(card.TraitNames[i]) != name) continue;
            card.TraitNames[i].clear();
            if (card.TraitValues.Has(i)) card.TraitValues[i].clear();
            if (card.TraitActionDescs.Has(i)) card.TraitActionDescs[i].clear();
        }
        int word;
        int32_t bit;
        MaskPosition(name, word, bit);
        if (word >= 1 && word <= kMaskWords) card.TraitMask[word] &= ~bit;
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
        for (int i = 1; i <= card.TraitNames.size(); ++i) {
            // Evaluating a bonus may change the card's lists: stored is not used after that.
            const std::string_view stored = card.TraitNames[i];
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
        for (const std::string& stored : card.TraitNames)
            if (!stored.empty() && SameNoCase(BaseOf(stored), name)) return true;
        return false;
    });
}

int16_t GetTraitNum(const Card& card, const std::string& name) {
    return Guarded("GetTraitNum", int16_t{0}, [&] {
        const int last = std::min(card.TraitNames.size(), 32767);
        for (int i = 1; i <= last; ++i) {
            const std::string& stored = card.TraitNames[i];
            if (!stored.empty() && SameNoCase(BaseOf(stored), name)) return static_cast<int16_t>(i);
        }
        return int16_t{0};
    });
}

std::string GetTraitActionDesc(Card& card, const std::string& traitName) {
    return Guarded("GetTraitActionDesc", std::string(), [&] {
        int n = GetTraitNum(card, traitName);
        if (n == 0 || !card.TraitActionDescs.Has(n)) return std::string();
        const std::string& desc = card.TraitActionDescs[n];
        // The marker keeps inherited actions off the card; it is not text to show.
        return desc == "OVERRIDE" ? std::string() : desc;
    });
}

}  // namespace dv
