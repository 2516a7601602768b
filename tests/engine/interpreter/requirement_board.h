#pragma once
// Requirement rows in a line: a source and a target card with traits written "HP=3,FLYING",
// one script run between them, and what the run left behind.

#include <string>

#include "engine/interpreter/eff_card.h"
#include "engine/model/cards.h"
#include "engine/model/state.h"
#include "engine/rules/trait_changes.h"
#include "tests/engine/interpreter/board_fixture.h"

namespace dv::test {

class RequirementBoard : public BoardTest {
  public:
    // A card in play with traits "NAME=value,NAME" (no "=": an empty value).
    int PlaceWith(const std::string& name, int owner, const std::string& traits) {
        const int n = Place(name, owner);
        std::size_t start = 0;
        while (start < traits.size()) {
            std::size_t end = traits.find(',', start);
            if (end == std::string::npos) end = traits.size();
            const std::string pair = traits.substr(start, end - start);
            const std::size_t eq = pair.find('=');
            SetTrait(C(n), pair.substr(0, eq), eq == std::string::npos ? "" : pair.substr(eq + 1),
                     1);
            start = end + 1;
        }
        return n;
    }

    // Runs script as a new effect of source against target. "BREAKPOINT:" goes first so that
    // the requirement masks, which would refuse many rows before any command runs, stay empty.
    int RunScript(int source, int target, const std::string& script, EffArgs args = {}) {
        St().TurnLog.clear();
        args.effectIndex = Script(source, "BREAKPOINT:" + script);
        return static_cast<int>(EffCard(C(source), C(target), args));
    }
};

}  // namespace dv::test
