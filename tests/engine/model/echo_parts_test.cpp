#include <gtest/gtest.h>

#include "engine/model/cards.h"
#include "engine/model/state.h"
#include "tests/support/engine_fixture.h"

namespace dv {
namespace {

using EchoPartsTest = test::EngineTest;

TEST_F(EchoPartsTest, PartsJoinInReportOrderAndClearOnlyWhenAsked) {
    for (int part = 1; part <= 7; ++part)
        EchoPart(part) = std::to_string(part);
    EXPECT_EQ(St().EchoParts.Prompt1, "3");
    EXPECT_EQ(St().EchoParts.Prompt2, "5");
    EXPECT_EQ(GetMainEcho(0), "1263457");
    EXPECT_EQ(GetMainEcho(1), "1263457");
    EXPECT_EQ(GetMainEcho(0), "");
    EchoPart(7) = "x";
    ClearMainEcho();
    EXPECT_EQ(GetMainEcho(0), "");
    EXPECT_THROW(EchoPart(8), std::out_of_range);
}

TEST_F(EchoPartsTest, EchoFlagsAreClearedOnNamedCardsInPlay) {
    auto& inPlay = St().InPlay;
    for (const char* name : {"Imp", ""}) {
        Card card;
        card.Name = name;
        card.Effects = List<Effect>(2);
        for (int e = 1; e <= card.Effects.size(); ++e)
            card.Effects[e].Echoed = 1;
        inPlay.PushBack(card);
    }
    ClearEchos();
    EXPECT_EQ(inPlay[1].Effects[1].Echoed, 0);
    EXPECT_EQ(inPlay[1].Effects[2].Echoed, 0);
    EXPECT_EQ(inPlay[2].Effects[1].Echoed, 1) << "free slots are left alone";
}

}  // namespace
}  // namespace dv
