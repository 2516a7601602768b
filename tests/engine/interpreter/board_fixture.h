#pragma once
// A board in a line or two: two players with their player cards in play, cards placed active
// with traits and effects compiled from scripts, and one-line interpreter runs.

#include <initializer_list>
#include <string>
#include <utility>

#include "engine/interpreter/command_context.h"
#include "engine/interpreter/eff_card.h"
#include "engine/model/state.h"
#include "tests/support/engine_fixture.h"

namespace dv::test {

using TraitList = std::initializer_list<std::pair<const char*, const char*>>;

class BoardTest : public EngineTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The two player cards, placed and made their players' cards.
    void PlacePlayers();
    // Places an active card in play and returns its card number.
    int Place(const std::string& name, int owner, TraitList traits = {});
    // Adds an effect to card number `card` and returns its effect number.
    int Script(int card, const std::string& script, const std::string& trigger = "PHASE1",
               int targetType = 7, const std::string& targetText = "");
    // One EffCard run of effect `effect` of card `source` against card `target`; its result as
    // the number tables write it (2 applied, 1 partly, 0 nothing, -1 failed).
    int Run(int source, int target, int effect, uint8_t preview = 0);
    // Registers the card's effects under their triggers, as activation does.
    void Register(int card);

    Card& C(int n) { return St().InPlay[n]; }
    std::string Trait(int card, const std::string& name);

    // Puts handler in place for the command of keyword until the test ends.
    void StandIn(const std::string& keyword, CommandHandler handler);

    int hero = 0;  // player 1's card
    int foe = 0;   // player 2's card

  private:
    std::vector<std::pair<int, CommandHandler>> replaced_;
};

}  // namespace dv::test
