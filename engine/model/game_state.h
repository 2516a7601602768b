#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "engine/model/board_snapshot.h"
#include "engine/model/list.h"
#include "engine/model/records.h"

namespace dv {

// A deck that deck evolution bred, under the name it gave the deck.
struct BredDeck {
    std::string Name;
    List<Card> Cards;
};

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
    // Set when the program ends: the new-game set-up found no profile chosen, or the deck
    // manager's Quit.
    uint8_t EndProgram = 0;

    // Turns of the game on the board; the first turn of a game starts the count again.
    int32_t TurnsPlayed = 0;
    // 1 while a computer game between two deck files plays its turns: the report pages go to
    // AIGameLog only, and the last one is written when the game ends.
    uint8_t AIGameRunning = 0;
    // Computer games between deck files started in this run; sets each game's random sequence
    // apart from the others started within the same second.
    uint32_t AIGamesStarted = 0;
    // Decks bred by deck evolution; a computer game takes a deck from here before any file.
    List<BredDeck> BredDecks;
    // Set while a card test runs: debug mode as the first test game found it. A test game plays
    // in debug mode; the end of the test puts the player's own setting back.
    std::optional<uint8_t> DebugModeBeforeTest;

    // Snapshots of play for the trial payments under way, one per nesting level; kept between
    // payments so that each copy reuses the room of the one before.
    std::deque<BoardSnapshot> TrialSnapshots;
    int TrialDepth = 0;
};

}  // namespace dv
