#pragma once
// The command families that change tokens and the collection, the cards in play and their sides,
// and card names, colours and the framing of the echo. Internal to the interpreter.

#include "engine/interpreter/command_context.h"
#include "engine/model/card_lists.h"

namespace dv {

// Cards one command may add, queue, create or draw: a count taken from a value expression never
// asks for more than this.
inline constexpr int kMaxCardsPerCommand = 100;
// Cards the boosters of one turn may add to the collection, all their commands together (a
// booster on an ALL effect otherwise adds thousands a turn, each one to the player file). The
// sample game's busiest turn, the starter game's set-up, adds 81.
inline constexpr int kMaxTurnBoosterCards = 2000;

void RegisterTokenCommands(CommandRegistry& commands);

// The boosters that run while a booster is open share its card limit: a booster whose stamp
// opens boosters, which stamp boosters in turn, adds no more cards in all than one command may.
// The room held over the repetitions of a run (REPEAT) holds only what the run's own boosters
// left, so that a booster repeated adds no more either. Inside an open room a new one changes
// nothing.
class BoosterRoom {
  public:
    explicit BoosterRoom(int cards = kMaxCardsPerCommand);
    ~BoosterRoom();
    BoosterRoom(const BoosterRoom&) = delete;
    BoosterRoom& operator=(const BoosterRoom&) = delete;

    // Takes room for up to `asked` cards at once, before any is drawn, so that the boosters
    // nested in this one share what this one leaves; gives how many cards there is room for,
    // within what the turn's boosters have left (a turn's cut is owed to its log).
    int Take(int asked);
    // What one command's cards leave once boosters have taken room since BoosterCardsTaken was
    // `takenBefore`.
    static int LeftAfter(long long takenBefore);

  private:
    bool outermost_;
    CollectionAdditions additions_;
};
void RegisterCardLifeCommands(CommandRegistry& commands);
void RegisterNameColourCommands(CommandRegistry& commands);

// An amount made a count: the nearest whole number (a half to the even neighbour), held to 0 ..
// limit; an amount that is no number counts 0.
int WholeCount(double amount, int limit);

// Puts the card on side and recomputes what hangs on its side: its side mask and the ally and
// enemy requirements of its effects. A side outside 0 to 255 is a run-time fault.
void SetSide(Card& card, int side);

// Whether a command may change cards: always in a real run; in a trial run only when the cards
// are the copies made for it, never the cards of the game.
bool MayChangeCards(const RunContext& run);

}  // namespace dv
