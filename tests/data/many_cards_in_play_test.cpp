// Thousands of cards placed into play from one card file. Placing them once grew with the square
// of their number (each placement's trial payment copied and compared the whole of play): 8,000
// took over a minute. CMake gives this test a time limit far below that.

#include <gtest/gtest.h>

#include <string>

#include "data/card_files.h"
#include "engine/model/state.h"
#include "tests/support/engine_fixture.h"

namespace dv {
namespace {

constexpr int kKinds = 8;
constexpr int kCopies = 1000;

std::string InPlayCardWithCopies(int n) {
    const std::string name = "Mossling " + std::to_string(n);
    return "#CARD, INPLAY, \"" + name + "\", \"mossling" + std::to_string(n) + ":" +
           std::to_string(9000 + n) + "\", , , , #8FB46A, \"A small creature.\"\r\n" +
           "#TRAIT, \"CREATURE:\", #TRAIT, \"HP:2\", #TRAIT, \"GLOWCOST:1\", \r\n" +
           "#EFFECT, SELF, ENTERPLAY, \"ECHOMINOR:" + name + " crawls out of the peat.\"\r\n" +
           "#DUPLICATE, " + std::to_string(kCopies) + "\r\n\r\n";
}

class ManyCardsInPlayTest : public test::EngineTest {};

TEST_F(ManyCardsInPlayTest, EightThousandDuplicatesAreAllPlacedAndActive) {
    std::string text;
    for (int n = 1; n <= kKinds; ++n)
        text += InPlayCardWithCopies(n);
    WriteFile("Crowd.txt", text);
    List<Card> cards;
    ASSERT_TRUE(ReadCards(cards, "Crowd.txt", St().Players[1]));

    int placed = 0;
    int active = 0;
    for (const Card& card : St().InPlay.Cards()) {
        if (card.Name.empty()) continue;
        ++placed;
        active += card.Active;
    }
    EXPECT_EQ(placed, kKinds * (kCopies + 1));
    EXPECT_EQ(active, placed);
    EXPECT_TRUE(host.messages.empty()) << host.messages.front();
}

}  // namespace
}  // namespace dv
