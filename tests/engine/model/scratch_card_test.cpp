#include "engine/model/scratch_card.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/model/state.h"
#include "tests/support/engine_fixture.h"

namespace dv {
namespace {

class ScratchCardTest : public test::EngineTest {};

Card BigCard() {
    Card card;
    card.Name = "A card with a name too long for the short-text room";
    card.Description = std::string(200, 'd');
    card.TraitNames = {"HP", "POWER", "BONUSHP"};
    card.TraitValues = {"20", "3", "2"};
    card.TraitActionDescs = {"", "", ""};
    card.Effects.Resize(3);
    card.Effects[2].Text = "MODTRAIT:HP:-1";
    card.Effects[2].AIFlags = {true, false, true};
    card.GID = 77;
    return card;
}

TEST_F(ScratchCardTest, ReusedScratchCardHoldsExactlyTheNewCopyNotLeftoversOfTheLast) {
    const Card big = BigCard();
    Card small;
    small.Name = "Small";
    small.TraitNames = {"HP"};
    small.TraitValues = {"1"};
    small.TraitActionDescs = {""};
    const Card* reused = nullptr;
    {
        ScratchCard first(big);
        EXPECT_EQ(*first, big);
        first->TraitValues[1] = "spoiled by a trial";
        reused = &*first;
    }
    ScratchCard second(small);
    EXPECT_EQ(&*second, reused);  // the returned card is taken again
    EXPECT_EQ(*second, small);
}

TEST_F(ScratchCardTest, NestedScratchCardsNeverShareACard) {
    const Card big = BigCard();
    ScratchCard outer(big);
    {
        ScratchCard inner(big);
        EXPECT_NE(&*inner, &*outer);
        inner->Name = "changed inside";
    }
    ScratchCard again(big);
    EXPECT_NE(&*again, &*outer);
    EXPECT_EQ(*outer, big);
}

TEST_F(ScratchCardTest, FreeScratchCardsStayWithinTheirBound) {
    {
        std::vector<std::unique_ptr<ScratchCard>> held;
        for (int i = 0; i < kMaxFreeScratchCards + 5; ++i)
            held.push_back(std::make_unique<ScratchCard>(BigCard()));
    }
    EXPECT_EQ(static_cast<int>(St().FreeScratchCards.size()), kMaxFreeScratchCards);
}

}  // namespace
}  // namespace dv
