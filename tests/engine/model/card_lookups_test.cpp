#include <gtest/gtest.h>

#include "engine/model/cards.h"
#include "engine/model/state.h"
#include "tests/support/engine_fixture.h"

namespace dv {
namespace {

using CardLookupsTest = test::EngineTest;

Card Named(const char* name, int32_t gid) {
    Card card;
    card.Name = name;
    card.GID = gid;
    return card;
}

TEST_F(CardLookupsTest, CardsInPlayAreFoundByIdentifierSkippingFreeSlots) {
    auto& inPlay = St().InPlay;
    inPlay.PushBack(Named("", 77));
    inPlay.PushBack(Named("Imp", 77));
    inPlay.PushBack(Named("Wolf", 12));
    EXPECT_EQ(GetCardNum(77), 2);
    EXPECT_EQ(GetCardNum("12"), 3);
    EXPECT_EQ(GetCardNum("12abc"), 3);
    EXPECT_EQ(GetCardNum(13), 0);
    EXPECT_EQ(GetCardNum("NONE"), 0);

    St().Collection.PushBack(Named("", 5));
    St().Collection.PushBack(Named("Imp", 5));
    EXPECT_EQ(GetCollectionCardNum(5), 1) << "the collection does not skip unnamed cards";
    EXPECT_EQ(GetCollectionCardNum(6), 0);
}

TEST_F(CardLookupsTest, NumbersFromDataOutsideTheListsFindNothing) {
    auto& st = St();
    st.InPlay.PushBack(Named("Player One", 1));
    st.InPlay.PushBack(Named("Imp", 2));
    st.Players[1].CardIndex = 1;
    st.Players[2].CardIndex = 40;

    EXPECT_EQ(InPlayCard(2), &st.InPlay[2]);
    EXPECT_EQ(InPlayCard(0), nullptr);
    EXPECT_EQ(InPlayCard(3), nullptr);
    EXPECT_EQ(InPlayCard(-1), nullptr);
    EXPECT_EQ(PlayerNumbered(3), &st.Players[3]);
    EXPECT_EQ(PlayerNumbered(4), nullptr);
    EXPECT_EQ(PlayerNumbered(0), nullptr);

    struct Row {
        uint8_t owner;
        const Card* expected;
    };
    const Row rows[] = {{1, &st.InPlay[1]}, {0, nullptr}, {2, nullptr}, {9, nullptr}};
    for (const Row& r : rows) {
        SCOPED_TRACE(static_cast<int>(r.owner));
        Card card = Named("Imp", 3);
        card.Owner = r.owner;
        EXPECT_EQ(OwnerCard(card), r.expected);
    }
}

TEST_F(CardLookupsTest, TargetKeywordsReadWithExactCaseAndWriteBack) {
    struct Row {
        const char* text;
        int32_t code;
    };
    // Every keyword reads back through the round trip below; these are the other forms.
    const Row rows[] = {
        {"CARDTARGET", 0}, {"NEWESTCARD", 8}, {"GIDCARD:TRAIT/X", 11},
        {"self", 0},       {"Random", 0},     {"GIDCARDS:1", 0},
        {"", 0},           {"ALL:", 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(GetTargetType(r.text), r.code);
    }
    for (int32_t code = 0; code <= 11; ++code) {
        SCOPED_TRACE(code);
        EXPECT_EQ(GetTargetType(GetTargetTypeString(code)), code);
    }
    EXPECT_EQ(GetTargetTypeString(0), "TARGETCARD");
    EXPECT_EQ(GetTargetTypeString(8), "TRIGGERINGCARD");
    EXPECT_EQ(GetTargetTypeString(12), "");
    EXPECT_EQ(GetTargetTypeString(-1), "");
}

}  // namespace
}  // namespace dv
