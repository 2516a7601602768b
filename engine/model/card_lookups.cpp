// Finding cards by identifier and name, and the target-type vocabulary.
#include <algorithm>

#include "engine/model/cards.h"
#include "engine/model/guard.h"
#include "engine/model/state.h"

namespace dv {
namespace {

bool SideExcludes(const Value& side, const Card& card) {
    double s = side.Num();
    return s > 0 && s != card.Owner;
}

bool PassesSideAndTrait(Card& card, const Value& side, const std::string& requiredTrait) {
    if (SideExcludes(side, card)) return false;
    return requiredTrait.empty() || HasTrait(card, requiredTrait);
}

// Card numbers are 16-bit: a card beyond this cannot be named by one.
constexpr int kLastCardNumber = 32767;

struct TargetKeyword {
    const char* keyword;
    int32_t code;
};

// In the order they are tried; the first keyword of each code is the one written back.
constexpr TargetKeyword kTargetKeywords[] = {
    {"ALL", 2},         {"CARDTARGET", 0},  {"TARGETCARD", 0},     {"RANDOMALLY", 4},
    {"RANDOMENEMY", 3}, {"ENEMYPLAYER", 6}, {"OWNER", 5},          {"RANDOM", 1},
    {"SELF", 7},        {"COUNTER", 9},     {"TRIGGERINGCARD", 8}, {"NEWESTCARD", 8},
    {"COLLECTION", 10},
};

constexpr const char* kTargetTypeNames[] = {
    "TARGETCARD", "RANDOM",         "ALL",     "RANDOMENEMY", "RANDOMALLY", "OWNER", "ENEMYPLAYER",
    "SELF",       "TRIGGERINGCARD", "COUNTER", "COLLECTION",  "GIDCARD",
};

}  // namespace

int16_t GetCardNum(const Value& gid) {
    return Guarded("GetCardNum", int16_t{0}, [&] {
        const double wanted = gid.Num();
        auto& inPlay = St().InPlay;
        const int last = std::min(inPlay.size(), kLastCardNumber);
        for (int i = 1; i <= last; ++i)
            if (!inPlay[i].Name.empty() && inPlay[i].GID == wanted) return static_cast<int16_t>(i);
        return int16_t{0};
    });
}

int16_t GetCollectionCardNum(const Value& gid) {
    return Guarded("GetCollectionCardNum", int16_t{0}, [&] {
        const double wanted = gid.Num();
        auto& collection = St().Collection;
        const int last = std::min(collection.size(), kLastCardNumber);
        for (int i = 1; i <= last; ++i)
            if (collection[i].GID == wanted) return static_cast<int16_t>(i);
        return int16_t{0};
    });
}

Card GetDeckCardByName(const Player& player, const std::string& name) {
    return Guarded("GetDeckCardByName", Card{}, [&] {
        for (const Card& card : player.OrigDeck)
            if (card.Name == name) return card;
        return Card{};
    });
}

Card GetDeckCardByUName(const Player& player, const std::string& uniqueName) {
    return Guarded("GetDeckCardByUName", Card{}, [&] {
        for (const Card& card : player.OrigDeck)
            if (card.UniqueName == uniqueName) return card;
        return Card{};
    });
}

Card* InPlayCard(long long cardNumber) {
    auto& inPlay = St().InPlay;
    return inPlay.Has(cardNumber) ? &inPlay[cardNumber] : nullptr;
}

Player* PlayerNumbered(long long playerNumber) {
    auto& players = St().Players;
    return players.Has(playerNumber) ? &players[playerNumber] : nullptr;
}

Card* OwnerCard(const Card& card) {
    if (card.Owner == 0) return nullptr;
    const Player* player = PlayerNumbered(card.Owner);
    return player ? InPlayCard(player->CardIndex) : nullptr;
}

int32_t GetTargetType(const std::string& text) {
    for (const TargetKeyword& row : kTargetKeywords)
        if (text == row.keyword) return row.code;
    if (text.substr(0, text.find(':')) == "GIDCARD") return 11;
    return 0;
}

std::string GetTargetTypeString(int32_t code) {
    constexpr int32_t kCodes = sizeof kTargetTypeNames / sizeof kTargetTypeNames[0];
    if (code < 0 || code >= kCodes) return {};
    return kTargetTypeNames[code];
}

double TraitTotal(const std::string& traitName, const Value& side, const std::string& requiredTrait,
                  int countFlag) {
    return Guarded("TraitTotal", 0.0, [&] {
        double total = 0;
        for (Card& card : St().InPlay) {
            if (card.Name.empty() || card.Dead == 1) continue;
            if (!PassesSideAndTrait(card, side, requiredTrait)) continue;
            Value v = GetTrait(card, traitName, 0);
            if (v.IsText() && (v.Text().empty() || v.Text() == "NONE")) continue;
            double number = v.Num();
            total += (countFlag == 1 || number == 0) ? 1 : number;
        }
        return total;
    });
}

double NameTotal(const std::string& cardName, const Value& side, const std::string& requiredTrait) {
    return Guarded("NameTotal", 0.0, [&] {
        double count = 0;
        for (Card& card : St().InPlay) {
            // Free slots are no cards: an empty name counts nothing. Dead cards still count.
            if (card.Name.empty() || card.Name != cardName) continue;
            if (PassesSideAndTrait(card, side, requiredTrait)) ++count;
        }
        return count;
    });
}

}  // namespace dv
