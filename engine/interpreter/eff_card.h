#pragma once
// The effect interpreter: runs one compiled effect of a source card against a target card.

#include <cstdint>
#include <string>

#include "engine/model/records.h"
#include "engine/model/run_codes.h"
#include "engine/model/value.h"

namespace dv {

// The arguments of one run after the two cards. The by-reference ones are written back.
struct EffArgs {
    int32_t effectIndex = 0;
    RunKind runKind = RunKind::Ordinary;
    uint8_t preview = 0;  // 1: a trial run on copies that changes nothing of the game
    std::string echoOverride;
    uint8_t carried = 0;
    uint8_t noCounters = 0;
    uint8_t repeatRun = 0;
    std::string adHocText;
    // When given, stored in CurrentValue before anything runs; the value-setting commands
    // write the changed amount back through it.
    Value* value = nullptr;
    std::string reactedTo;
    uint8_t redirected = 0;
    uint8_t copies = 0;
    std::string outerEcho;  // out: the run's echo line for the run that called it
    int16_t reactedEffect = 0;
    uint8_t skipRequirements = 0;
    // 1: a trial run with an ad-hoc text runs it on copies instead of answering Applied at once, so
    // its requirements are tested against the cards (the requirement trial of boosters).
    uint8_t adHocTrial = 0;
};

// Nested runs of EffCard allowed; the run that would be the tenth ends at once.
inline constexpr int kMaxNesting = 10;
// A trial run nested deeper than this answers Applied at once.
inline constexpr int kMaxTrialNesting = 2;

// Whether EffCard would drop its next run for a spent budget (engine/interpreter/run_budget.h),
// noted as such a drop. The loops that hand cards to runs ask it before each card and stop once
// it holds, so that a spent budget costs nothing.
bool RunsSpent(bool real);

// How the run ended (engine/model/run_codes.h).
// Of the arguments only outerEcho is written back (and the value, through its pointer).
RunResult EffCard(Card& source, Card& target, EffArgs& args);
// Runs set up since the program began (those the budgets dropped are not), and the outermost
// real runs among them that built the picture links of their cards for the echo.
long long RunsSetUp();
long long RunPictureBuilds();

// Runs every effect of the game's cost card on the card as a pricing run, as the card designer's
// "Calculate Cost" does: the card's price traits are set, nothing of the game is asked.
void PriceCard(Card& card);

}  // namespace dv
