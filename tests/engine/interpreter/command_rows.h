#pragma once
// Rows of command tests written as short texts: cards with traits and effects before, a script
// run by the Imp against the Orc, the result, traits after and what the turn log must hold.
//
// Cards are named by one letter: S the Imp (player 1, source), T the Orc (player 2, target),
// H and F the two player cards. Traits: "T.HP=10,S.MANA=3". Effects: "T|BEFORETRAITCHANGE:HP|7|
// MODVAL:-1" (card, trigger, target type, script), several joined by ";". An expected trait
// with an empty value ("T.STUNNED=") must be absent.

#include <string>
#include <vector>

#include "tests/engine/interpreter/board_fixture.h"

namespace dv::test {

struct CommandRow {
    const char* before;   // traits before
    const char* effects;  // reaction effects of the cards
    const char* script;   // run by S against T
    int result;
    const char* after;  // traits after
    const char* echo;   // the turn log holds this ("" for no check)
    uint8_t preview = 0;
    RunKind runKind = RunKind::Ordinary;
};

std::vector<std::string> Split(const std::string& text, char delimiter);

class CommandRowTest : public BoardTest {
  protected:
    void SetUp() override;
    // Sets the row's board up, runs its script and checks result, traits and echo.
    void Check(const CommandRow& row);
    int CardOf(char letter) const;
    // Starts again from the four cards, as at the start of the test.
    void FreshBoard();

    int imp = 0;
    int orc = 0;
};

}  // namespace dv::test
