#pragma once
// Card set-up, the trait store, card lookups, target types and the echo parts.

#include <cstdint>
#include <string>

#include "engine/model/records.h"
#include "engine/model/value.h"

namespace dv {

void InitCard(Card& card, int owner, int active);
// The identifier InitCard draws for a card it sets up.
int32_t DrawSetUpGID();
int AddEffect(Card& card, const std::string& actionText, int targetType, const std::string& trigger,
              int keepMenu, const std::string& targetText);
// Adds an effect as AddEffect left it on another set-up card of the same owner, without preparing
// it again. Gives its place, or 0.
int AddPreparedEffect(Card& card, const Effect& prepared);

// SetTrait and Modtrait raise triggers: they are rules (engine/rules/trait_changes.h).
void RemoveTrait(Card& card, const std::string& name);
Value GetTrait(Card& card, const std::string& name, Value& blankFlag, int mode = 0);
Value GetTrait(Card& card, const std::string& name, int mode = 0);
bool HasTrait(Card& card, const std::string& name, int effectIndex = 0);
int16_t GetTraitNum(const Card& card, const std::string& name);
std::string GetTraitActionDesc(Card& card, const std::string& traitName);
// The word after `name` in the "TRAIT" commands of an effect's program, compiled first when it
// is not; "NONE" when there is none.
std::string GetEffectTrait2(Card& card, int32_t& effectNumber, std::string& name);
// Chosen menu actions of the card are offered again.
void ClearMenuActions(Card& card);

// Over the live cards in play, on a side (0 any) and carrying requiredTrait when given: the sum
// of a trait (its count with countFlag 1), and the number of cards of a name.
double TraitTotal(const std::string& traitName, const Value& side, const std::string& requiredTrait,
                  int countFlag);
double NameTotal(const std::string& cardName, const Value& side, const std::string& requiredTrait);

int16_t GetCardNum(const Value& gid);
int16_t GetCollectionCardNum(const Value& gid);
Card GetDeckCardByName(const Player& player, const std::string& name);
Card GetDeckCardByUName(const Player& player, const std::string& uniqueName);

// Range-checked access by numbers taken from data: nullptr when the number names nothing.
Card* InPlayCard(long long cardNumber);
Player* PlayerNumbered(long long playerNumber);
// The player card of the card's side; nullptr for a neutral card or a side without one.
Card* OwnerCard(const Card& card);

int32_t GetTargetType(const std::string& text);
std::string GetTargetTypeString(int32_t code);

// Echo part 1 to 7 (the fields of EchoParts in order); throws outside 1 to 7.
std::string& EchoPart(int part);
[[noreturn]] void ThrowNoEchoPart(int part);
// The same of the given parts, inline so that a part named by a constant costs no look-up.
inline std::string& EchoPart(PickerCommand& parts, int part) {
    switch (part) {
        case 1:
            return parts.Label;
        case 2:
            return parts.Description;
        case 3:
            return parts.Prompt1;
        case 4:
            return parts.Amt1;
        case 5:
            return parts.Prompt2;
        case 6:
            return parts.Amt2;
        case 7:
            return parts.Command;
    }
    ThrowNoEchoPart(part);
}
std::string GetMainEcho(int clear);
// Appends the main echo to text and clears it, as text += GetMainEcho(1) would, without the copy.
void TakeMainEcho(std::string& text);
void ClearMainEcho();
void ClearEchos();

}  // namespace dv
