#pragma once
// All process-wide state of the game in one structure with one instance. Each floor of the engine
// has its part in a header of its own, kept here on the lowest floor so that every floor reaches
// the one state; the new-game set-up resets it and tests start from a fresh one.

#include <memory>

#include "engine/model/data_state.h"
#include "engine/model/game_state.h"
#include "engine/model/host.h"
#include "engine/model/interpreter_state.h"
#include "engine/model/model_state.h"
#include "engine/model/pages_state.h"
#include "engine/model/rules_state.h"

namespace dv {

struct State : ModelState, PagesState, RulesState, InterpreterState, DataState, GameState {};

namespace detail {
// The one instance once made; made on first use.
extern State* currentState;
State& MakeState();
}  // namespace detail

// The one instance. Inline: the engine reads its state on almost every step.
inline State& St() {
    State* const state = detail::currentState;
    return state ? *state : detail::MakeState();
}
// Replaces the instance with a fresh one (the host stays as it is).
void ResetState();

Host& TheHost();
// The host stays in place until replaced; passing nullptr restores the silent host.
void SetHost(Host* host);

}  // namespace dv
