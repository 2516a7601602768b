#include "engine/rules/game_files.h"

#include "data/card_files.h"
#include "engine/model/state.h"

namespace dv {

bool SaveCurrentPlayerFile() {
    // Any save of the player file is the one a SAVECOLLECTION of the open chain or turn owes.
    St().RunBudget.SaveOwed = false;
    return SaveCurrentPlayer();
}

bool ReadCardFile(List<Card>& cards, const std::string& fileName, Player& player,
                  const std::string& zone) {
    return ReadCards(cards, fileName, player, zone);
}

std::optional<Card> CardOfSetFile(const std::string& cardName, const std::string& fileName,
                                  Player& player, const std::string& zone, bool placed) {
    return CardOfSet(cardName, fileName, player, zone, placed);
}

}  // namespace dv
