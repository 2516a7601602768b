#pragma once
// The board of the command-family tests: two players with empty hands and decks, and one-line
// runs of a script with the flags a row asks for.

#include <string>

#include "engine/model/cards.h"
#include "engine/model/hands_and_decks.h"
#include "engine/rules/card_life.h"
#include "engine/rules/trait_changes.h"
#include "tests/engine/interpreter/board_fixture.h"

namespace dv::test {

class CardCommandBoardTest : public BoardTest {
  protected:
    void SetUp() override {
        BoardTest::SetUp();
        InitPlayer(St().Players[1], 1);
        InitPlayer(St().Players[2], 2);
    }

    // Adds script as an effect of card `source` and runs it once against card `target`; the
    // result's number as Run gives it.
    int RunScript(int source, int target, const std::string& script, uint8_t preview = 0,
                  uint8_t skip = 0) {
        EffArgs args;
        args.effectIndex = Script(source, script);
        args.preview = preview;
        args.skipRequirements = skip;
        return static_cast<int>(EffCard(C(source), C(target), args));
    }

    // A card for a list outside play (a stock, a deck, a set).
    static Card Loose(const std::string& name, int rarity = 0, TraitList traits = {}) {
        Card card;
        card.Name = name;
        InitCard(card, 2, 0);
        card.Rarity = static_cast<uint8_t>(rarity);
        card.Picture = name + ".jpg";
        card.UniqueName = name + "-u";
        for (const auto& [trait, value] : traits)
            SetTrait(card, trait, value, 1);
        return card;
    }

    static int Named(const List<Card>& cards) {
        int n = 0;
        for (const Card& card : cards)
            n += card.Name.empty() ? 0 : 1;
        return n;
    }
};

}  // namespace dv::test
