#pragma once
// The sample game of content/ in a program folder of its own, with the profile chosen and a fixed
// seed, ready for computer games between its deck files.

#include <filesystem>
#include <string>

#include "engine/model/state.h"
#include "tests/support/engine_fixture.h"

namespace dv::test {

class SampleGameTest : public EngineTest {
  protected:
    void SetUp() override;

    // The text of a file of the program folder; empty when there is none.
    std::string File(const std::string& name) const;
    // Named cards of a card list.
    static int Named(const List<Card>& cards);
};

}  // namespace dv::test
