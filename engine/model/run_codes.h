#pragma once
// The codes of an effect run, kept at the values the game has always used for them: what kind
// of run it is, how it ended, the cancel it leaves pending, and the state of a menu action.

#include <cstdint>

namespace dv {

// What a run is made for (EffArgs::runKind).
enum class RunKind : int16_t {
    Ordinary = -1,  // a trigger's run: both cards must be active, a trial works on copies
    Stamp = 0,      // a booster card marked with the requirements it was drawn for
    Pricing = 1,    // the designer prices a card, or a card of the collection is changed: a change
                    // the card cannot pay misses
    Cost = 2,       // a COST or COSTMOD trigger's run
};

// How a run of EffCard ended.
enum class RunResult : int32_t {
    Failed = -1,         // its requirements did not hold (or a trial's change was cancelled)
    NothingApplied = 0,  // nothing of it was carried out
    PartlyApplied = 1,   // some of its commands were carried out
    Applied = 2,         // it was carried out whole
};

// A pending cancel (State::EffectOutcome), read by the run it cancels and by the dispatch.
enum class EffectOutcome : uint8_t {
    None = 0,
    Cancelled = 1,       // the run reacted to ends without its changes
    CancelOnReturn = 2,  // a CANCEL ran: Cancelled once the cancelling run ends
    StopEffect = 3,      // a cancel met the source's own actions: the dispatch of the effect stops
};

// An effect's place on its card's action menu (Effect::MenuState).
enum class MenuState : uint8_t {
    None = 0,     // no menu action
    Offered = 1,  // on the menu, not chosen: its trigger passes it by
    Chosen = 2,   // runs at its next trigger, then is offered again
};

}  // namespace dv
