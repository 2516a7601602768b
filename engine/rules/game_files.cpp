#include "engine/rules/game_files.h"

#include "data/card_files.h"

namespace dv {

bool SaveCurrentPlayerFile() {
    return SaveCurrentPlayer();
}

bool ReadCardFile(List<Card>& cards, const std::string& fileName, Player& player,
                  const std::string& zone) {
    return ReadCards(cards, fileName, player, zone);
}

bool ReadCardSetFile(List<Card>& cards, const std::string& fileName, Player& player,
                     const std::string& zone) {
    return ReadCardSet(cards, fileName, player, zone);
}

}  // namespace dv
