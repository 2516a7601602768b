#pragma once
// A board for the main window's logic: a game running with the two player cards in play, a hand
// of ten slots, and a host that answers the deck manager when the logic opens it.

#include <string>

#include "engine/model/cards.h"
#include "engine/model/state.h"
#include "tests/engine/interpreter/board_fixture.h"
#include "tests/support/recording_host.h"

namespace dv::test {

class MainWindowLogicTest : public BoardTest {
  protected:
    void SetUp() override {
        BoardTest::SetUp();
        SetHost(&flow);
        St().Players[1].Hand = List<Card>(10);
        St().GameRunning = 1;
        WriteFile("blank.htm", "<html></html>");
    }

    // Puts a card of that name into hand slot `slot` and returns it.
    Card& InHand(int slot, const std::string& name, const std::string& colour = "#FFFFFF") {
        Card& card = St().Players[1].Hand[slot];
        card.Name = name;
        InitCard(card, 1, 0);
        card.Colour = colour;
        card.Thumbnail = name + "-mini.jpg";
        return card;
    }

    std::string Gid(int card) { return std::to_string(C(card).GID); }

    // Pages shown in a viewer since the last call, by viewer name.
    int Shown(const std::string& viewer) {
        int count = 0;
        for (const auto& page : flow.pages)
            count += page.viewer == viewer ? 1 : 0;
        return count;
    }

    RecordingHost flow;
};

}  // namespace dv::test
