#pragma once
// What player 1 plays with in the game under way, to see which deck a game start dealt.

#include <string>
#include <vector>

#include "engine/model/state.h"

namespace dv::test {

// The names of player 1's cards in its deck, its hand and in play, its player card left out.
inline std::vector<std::string> PlayerOneCardNames() {
    const State& st = St();
    std::vector<std::string> names;
    for (const Card& card : st.Players[1].Deck)
        if (!card.Name.empty()) names.push_back(card.Name);
    for (const Card& card : st.Players[1].Hand)
        if (!card.Name.empty()) names.push_back(card.Name);
    for (const Card& card : st.InPlay)
        if (!card.Name.empty() && card.Owner == 1 && card.Name != "Player 1")
            names.push_back(card.Name);
    return names;
}

}  // namespace dv::test
