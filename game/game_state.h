#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace dv {

struct GameState {
    uint8_t AITurn = 0;
    std::string AIGameLog;
    // The human player's queue of plays: hand indexes and their targets (-1 discard).
    std::array<uint8_t, 11> ActionCards{};
    std::array<int16_t, 11> ActionTargets{};
    int ChoiceSlot = 0;
    // The GID each queued target had when chosen: a target whose slot now holds another card
    // has left play, and its play loses the target.
    std::array<int32_t, 11> ActionTargetGIDs{};
    uint8_t DeckRejected = 0;

    // Start-up and game start.
    uint8_t GameStarted = 0;
    int16_t SelectedCard = 0;
    std::string CurrentGameFile;
    // Set when the new-game set-up ended the program (no profile was chosen).
    uint8_t EndProgram = 0;
};

}  // namespace dv
