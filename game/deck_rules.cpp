#include "game/deck_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/model/cards.h"
#include "engine/model/guard.h"
#include "engine/model/script_fields.h"
#include "engine/model/state.h"

namespace dv {
namespace {

const std::string kAny = "#ANY#";
const std::string kQuote = "\"";

// The collection cards of a deck list, in list order.
std::vector<Card*> DeckCards(int deckNo) {
    State& st = St();
    std::vector<Card*> cards;
    for (float position : st.Decks[deckNo].Positions) {
        const long index = std::lrint(position);
        if (index == 0 || !st.Collection.Has(index)) continue;
        Card& card = st.Collection[index];
        if (!card.Name.empty()) cards.push_back(&card);
    }
    return cards;
}

double TraitAmount(Card& card, const std::string& trait) {
    return trait == kAny ? 1 : GetTrait(card, trait).Num();
}

// A total past what 32 bits hold stands at the nearer end: wrapped, a huge total would pass any
// limit.
int32_t RoundedTotal(double sum) {
    const double rounded = std::nearbyint(sum);
    if (std::isnan(rounded)) return 0;
    return static_cast<int32_t>(std::clamp<double>(rounded, INT32_MIN, INT32_MAX));
}

// Copies of a card are known by their unique name; a card without one by its name, so that such
// a card is not measured against every card of the deck.
std::string SameNameKey(const Card& card) {
    return card.UniqueName.empty() ? "name:" + card.Name : "unique:" + card.UniqueName;
}

int32_t SameNameTotal(const std::vector<Card*>& deck, const std::string& trait,
                      const std::string& key) {
    double sum = 0;
    for (Card* card : deck)
        if (SameNameKey(*card) == key) sum += TraitAmount(*card, trait);
    return RoundedTotal(sum);
}

int32_t DeckTotal(const std::vector<Card*>& deck, const std::string& trait) {
    double sum = 0;
    for (Card* card : deck)
        sum += TraitAmount(*card, trait);
    return RoundedTotal(sum);
}

std::string LimitedMessage(const std::string& n, const std::string& name) {
    return "You cannot have more than " + n + " " + kQuote + name + kQuote + " cards in your deck.";
}

std::string SameNameMessage(const std::string& n, const std::string& trait,
                            const std::string& name) {
    if (trait == kAny)
        return "You can only have " + n + " " + kQuote + name + kQuote + " cards in your deck.";
    return "You can only have a total of " + n + " " + trait + " in your deck from " + kQuote +
           name + kQuote + " cards.";
}

// The whole-deck form of "LIMITED": no group of copies may outnumber the limit its cards carry.
bool DeckBreaksLimited(const std::vector<Card*>& deck, std::string& message) {
    for (Card* card : deck) {
        if (!HasTrait(*card, "LIMITED", 0)) continue;
        const Value limit = GetTrait(*card, "LIMITED");
        if (SameNameTotal(deck, kAny, SameNameKey(*card)) > limit.Num()) {
            message = LimitedMessage(limit.Text(), card->Name);
            return true;
        }
    }
    return false;
}

// The whole-deck form of "SAMENAMELIMIT": every group of copies stays within the limit; cards
// that carry "LIMITED" answer to their own limit instead.
bool DeckBreaksSameName(const std::vector<Card*>& deck, const std::string& trait, double n,
                        const std::string& nText, std::string& message) {
    std::vector<Card*> counted;
    for (Card* card : deck)
        if (!HasTrait(*card, "LIMITED", 0)) counted.push_back(card);
    for (Card* card : counted) {
        if (SameNameTotal(counted, trait, SameNameKey(*card)) > n) {
            message = SameNameMessage(nText, trait, card->Name);
            return true;
        }
    }
    return false;
}

// Walks the rules text for the deck with the card being added (none: the deck as it stands).
int WalkRules(Card* adding, const std::vector<Card*>& deck, const std::string& rules,
              std::string& message) {
    int verdict = kDeckRulesMet;
    const bool limited = adding && HasTrait(*adding, "LIMITED", 0);
    const ScriptFields fields(rules, ':');
    long long i = 1;
    while (!fields[i].empty()) {
        const std::string_view word = fields[i];
        if (word != "TRAITLIMIT" && word != "SAMENAMELIMIT" && word != "TRAITMINIMUM") {
            ++i;
            continue;
        }
        const std::string trait(fields[i + 1]);
        const std::string nText(fields[i + 2]);
        const double n = ReadNumber(nText);
        // A card without traits still counts 1 toward "#ANY#".
        const double own = adding ? TraitAmount(*adding, trait) : 0;
        if (word == "TRAITLIMIT") {
            if (DeckTotal(deck, trait) + own > n) {
                message = trait == kAny ? "You can only have " + nText + " cards in your deck."
                                        : "You can only have a total of " + nText + " " + trait +
                                              " in your deck.";
                return kDeckLimitExceeded;
            }
        } else if (word == "SAMENAMELIMIT") {
            if (!adding) {
                if (DeckBreaksSameName(deck, trait, n, nText, message)) return kDeckLimitExceeded;
            } else if (!limited && SameNameTotal(deck, trait, SameNameKey(*adding)) + own > n) {
                message = SameNameMessage(nText, trait, adding->Name);
                return kDeckLimitExceeded;
            }
        } else if (n > DeckTotal(deck, trait) + own) {
            verdict = kDeckMinimumMissed;
            message = trait == kAny
                          ? "You must have at least " + nText + " cards in your play deck."
                          : "You must have at least " + nText + " cards in your deck with the " +
                                trait + " trait.";
        }
        i += 3;
    }
    return verdict;
}

bool InCardTestOrView() {
    return St().DeckManagerMode == 2 || St().DeckManagerMode == 3;
}

}  // namespace

int32_t GetDeckTraitTotal(const std::string& trait, int deckNo, const std::string& uniqueName) {
    return Guarded("GetDeckTraitTotal", 0, [&] {
        double sum = 0;
        for (Card* card : DeckCards(deckNo)) {
            if (!uniqueName.empty() && card->UniqueName != uniqueName) continue;
            sum += TraitAmount(*card, trait);
        }
        return RoundedTotal(sum);
    });
}

int CheckTraitReqs(const Card& card, int deckNo, const std::string& rules, std::string& message) {
    // A check that cannot be made refuses rather than lets a deck through.
    return Guarded("CheckTraitReqs", kDeckLimitExceeded, [&] {
        if (InCardTestOrView() || card.Name.empty()) return kDeckRulesMet;
        Card probe = card;
        if (HasTrait(probe, "UNLIMITED", 0)) return kCardUnlimited;
        const std::vector<Card*> deck = DeckCards(deckNo);
        if (HasTrait(probe, "LIMITED", 0)) {
            const Value limit = GetTrait(probe, "LIMITED");
            if (SameNameTotal(deck, kAny, SameNameKey(probe)) >= limit.Num()) {
                message = LimitedMessage(limit.Text(), probe.Name);
                return kDeckLimitExceeded;
            }
        }
        return WalkRules(&probe, deck, rules, message);
    });
}

int CheckDeckRules(int deckNo, const std::string& rules, std::string& message) {
    return Guarded("CheckDeckRules", kDeckLimitExceeded, [&] {
        if (InCardTestOrView()) return kDeckRulesMet;
        const std::vector<Card*> deck = DeckCards(deckNo);
        if (DeckBreaksLimited(deck, message)) return kDeckLimitExceeded;
        return WalkRules(nullptr, deck, rules, message);
    });
}

}  // namespace dv
