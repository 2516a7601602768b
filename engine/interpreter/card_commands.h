#pragma once
// The command families that change tokens and the collection, the cards in play and their sides,
// and card names, colours and the framing of the echo. Internal to the interpreter.

#include "engine/interpreter/command_context.h"

namespace dv {

// Cards one command may add, queue, create or draw: a count taken from a value expression never
// asks for more than this.
inline constexpr int kMaxCardsPerCommand = 100;

void RegisterTokenCommands(CommandRegistry& commands);

// Held over the repetitions of a run (REPEAT): their boosters draw on what the run's own boosters
// left of one command's cards, as boosters opened inside a booster do, so that a booster repeated
// adds no more cards in all than one command may. `takenBeforeRun` is BoosterCardsTaken as the
// run began. Inside an open booster it changes nothing.
class RepeatedBoosters {
  public:
    explicit RepeatedBoosters(long long takenBeforeRun);
    ~RepeatedBoosters();
    RepeatedBoosters(const RepeatedBoosters&) = delete;
    RepeatedBoosters& operator=(const RepeatedBoosters&) = delete;

  private:
    bool opened_;
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
