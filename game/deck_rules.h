#pragma once
// A game's deck rules ("TRAITLIMIT", "SAMENAMELIMIT", "TRAITMINIMUM" entries of its rules text)
// and the card traits "UNLIMITED" and "LIMITED".

#include <cstdint>
#include <string>

#include "engine/model/records.h"

namespace dv {

// Verdicts of CheckTraitReqs.
inline constexpr int kDeckRulesMet = 2;
inline constexpr int kDeckMinimumMissed = 1;
inline constexpr int kDeckLimitExceeded = 0;
inline constexpr int kCardUnlimited = -1;

// The sum of a trait over the cards of deck list deckNo of Decks ("#ANY#" counts every card 1),
// counting only cards of that unique name when uniqueName is not empty.
int32_t GetDeckTraitTotal(const std::string& trait, int deckNo, const std::string& uniqueName);

// Whether card may join deck deckNo under the rules text: the card counts in every total, also
// one without traits. The message is written only when a rule fails.
int CheckTraitReqs(const Card& card, int deckNo, const std::string& rules, std::string& message);
// Whether deck deckNo as it stands meets the rules text (the deck manager's PLAY and closing):
// no group of copies past its "LIMITED" or "SAMENAMELIMIT", no total past a "TRAITLIMIT", and
// verdict 1 for a missed "TRAITMINIMUM". The message is written only when a rule fails.
int CheckDeckRules(int deckNo, const std::string& rules, std::string& message);

}  // namespace dv
