#pragma once
// A fresh program folder for the writer tests: player 1 numbered, the clock fixed so that dates
// written into files are the same on every run.

#include <string>

#include "engine/model/cards.h"
#include "engine/model/state.h"
#include "tests/support/engine_fixture.h"

namespace dv::test {

class WriterTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        St().Players[1].Id = 1;
        St().FixedNow = "2024-05-01 10:00:00";
    }
    // A set-up card keyed by its own name.
    static Card NewCard(const std::string& name, int32_t gid, const std::string& setFile = "") {
        Card card;
        InitCard(card, 1, 0);
        card.Name = name;
        card.UniqueName = name;
        card.SetFile = setFile;
        card.GID = gid;
        return card;
    }
};

}  // namespace dv::test
