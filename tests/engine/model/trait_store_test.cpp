#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "engine/model/cards.h"
#include "engine/model/state.h"
#include "engine/model/triggers.h"
#include "engine/rules/trait_changes.h"
#include "tests/support/engine_fixture.h"

namespace dv {
namespace {

using Traits = std::initializer_list<std::pair<const char*, const char*>>;

class TraitStoreTest : public test::EngineTest {
  protected:
    // A card set up and named, its traits stored silently.
    static Card MakeCard(Traits traits, const char* name = "Imp") {
        Card card;
        card.Name = name;
        InitCard(card, 1, 1);
        for (const auto& [trait, value] : traits)
            SetTrait(card, trait, value, 1);
        return card;
    }
    // The card placed in play, so that its change triggers are dispatched to it.
    static Card& Place(Card card) {
        auto& inPlay = St().InPlay;
        card.Index = inPlay.size() + 1;
        inPlay.PushBack(std::move(card));
        return inPlay[inPlay.size()];
    }
    static std::string Text(Card& card, const char* trait) {
        return GetTrait(card, trait, 1).Text();
    }
};

TEST_F(TraitStoreTest, StoringTheSameNameAndValueIsNoChange) {
    Card card = MakeCard({{"HP", "10"}});
    struct Row {
        const char* name;
        const char* value;
        bool changes;
        const char* storedName;
    };
    const Row rows[] = {
        {"HP", "10", false, "HP"},
        {"hp", "10", true, "hp"},  // a case-only rename is a change
        {"hp", "10", false, "hp"},
        {"HP", "11", true, "HP"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.name) + "=" + r.value);
        card.TraitEffectsValid = 1;
        // Silent, so the inherited actions do not mark the card valid again.
        SetTrait(card, r.name, r.value, 1);
        EXPECT_EQ(card.TraitEffectsValid == 0, r.changes);
        EXPECT_EQ(card.TraitNames[1], r.storedName);
        EXPECT_EQ(card.TraitValues[1], r.value);
    }
}

// A change to a copy (a trial's) must never reach the card it was copied from, whether it
// renames a slot, changes only its value or takes a new one; the copy reads what was stored.
TEST_F(TraitStoreTest, AChangeToACopyLeavesTheOriginalsTraits) {
    struct Row {
        const char* name;
        const char* value;
        const char* storedName;
    };
    const Row rows[] = {{"HP", "4", "HP"}, {"hp", "4", "hp"}, {"GLOW", "1", "GLOW"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Card original = MakeCard({{"HP", "10"}, {"POWER", "2"}});
        const Card before = original;
        Card copy = original;
        SetTrait(copy, r.name, r.value, 1);
        EXPECT_TRUE(original == before);
        EXPECT_EQ(Text(copy, r.name), r.value);
        const int slot = GetTraitNum(copy, r.storedName);
        ASSERT_GT(slot, 0);
        EXPECT_EQ(std::as_const(copy.TraitNames)[slot], r.storedName);
    }
}

TEST_F(TraitStoreTest, OnlyTheExactNameHPMarksAChangeOfHP) {
    for (const char* name : {"hp", "Hp", "HPMAX", "HP"}) {
        SCOPED_TRACE(name);
        Card card = MakeCard({});
        St().TraitChanged = 0;
        SetTrait(card, name, 3);
        EXPECT_EQ(St().TraitChanged, std::string(name) == "HP" ? 1 : 0);
    }
}

TEST_F(TraitStoreTest, AFreeCardSlotKeepsNoTraitsAndReadsNone) {
    Card card;
    InitCard(card, 1, 1);
    SetTrait(card, "HP", 5);
    EXPECT_EQ(card.TraitNames[1], "");
    EXPECT_EQ(GetTrait(card, "HP"), Value("NONE"));
    EXPECT_FALSE(HasTrait(card, "HP"));
    EXPECT_EQ(GetTrait(card, "#ANY#"), Value("NONE"));
}

TEST_F(TraitStoreTest, TraitListsGrowByFourWhenFull) {
    Card card = MakeCard({});
    for (int i = 1; i <= 20; ++i)
        SetTrait(card, "T" + std::to_string(i), i, 1);
    ASSERT_EQ(card.TraitNames.size(), 20);
    SetTrait(card, "EXTRA", "x", 1);
    EXPECT_EQ(card.TraitNames.size(), 24);
    EXPECT_EQ(card.TraitValues.size(), 24);
    EXPECT_EQ(card.TraitActionDescs.size(), 24);
    EXPECT_EQ(card.TraitNames[21], "EXTRA");
    EXPECT_EQ(card.TraitValues[21], "x");
    EXPECT_EQ(card.TraitNames[20], "T20");

    // A removed trait frees its slot for the next new one; the lists never shrink.
    RemoveTrait(card, "T3");
    SetTrait(card, "NEW", "n", 1);
    EXPECT_EQ(card.TraitNames[3], "NEW");
    EXPECT_EQ(card.TraitNames.size(), 24);
}

TEST_F(TraitStoreTest, UnevenTraitListsFromDataAreEvenedOut) {
    Card card = MakeCard({});
    card.TraitValues.Resize(2);
    card.TraitActionDescs.Resize(0);
    SetTrait(card, "HP", 4, 1);
    EXPECT_EQ(card.TraitValues.size(), card.TraitNames.size());
    EXPECT_EQ(card.TraitActionDescs.size(), card.TraitNames.size());
    EXPECT_EQ(Text(card, "HP"), "4");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(TraitStoreTest, NoNegativeStoresZeroForABelowZeroResult) {
    struct Row {
        const char* start;
        double change;
        int noNegative;
        const char* after;
    };
    const Row rows[] = {
        {"2", -5, 1, "0"},
        {"2", -5, 0, "-3"},
        {"2", 3, 1, "5"},
        {"NONE", -1, 1, "0"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.start) + " " + std::to_string(r.change));
        Card card = MakeCard({{"HP", r.start}});
        Value amount = r.change;
        Modtrait(card, "HP", amount, card, 0, "", "", r.noNegative);
        EXPECT_EQ(Text(card, "HP"), r.after);
    }
    Card card = MakeCard({});
    SetTrait(card, "HP", -3, 0, "", 0, 0, 1);
    EXPECT_EQ(Text(card, "HP"), "0");
}

TEST_F(TraitStoreTest, ChangeByAnAmountAddsToTheStoredValueAndReturnsItsSize) {
    struct Row {
        Value start;  // empty text: the card lacks the trait
        Value amount;
        const char* after;
        double result;
    };
    const Row rows[] = {
        {"10", -3, "7", 3},      {"10", "+2", "12", 2},  {"", 5, "5", 5},
        {"7 lives", -2, "5", 2}, {"10", "abc", "10", 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.start.Text() + " by " + r.amount.Text());
        Card card = MakeCard({});
        if (r.start.Text() != "") SetTrait(card, "HP", r.start, 1);
        Value amount = r.amount;
        const Value result = Modtrait(card, "HP", amount, card);
        EXPECT_EQ(Text(card, "HP"), r.after);
        EXPECT_EQ(result.Num(), r.result);
        EXPECT_EQ(St().LastAmount.Num(), r.result);
    }
}

TEST_F(TraitStoreTest, ReadingFindsValuesWithoutRegardToCase) {
    Card card = MakeCard({{"HP", "10"}, {"Flying", ""}, {"Fire:Burns", "2"}});
    struct Row {
        const char* name;
        int mode;
        Value value;
        int blank;
    };
    const Row rows[] = {
        {"hp", 0, "10", 0}, {"HP", 1, "10", 0}, {"FLYING", 0, "1", 1}, {"Armor", 0, "", 0},
        {"", 0, "NONE", 9}, {"#ANY#", 0, 1, 9}, {"FIRE", 0, "", 0},    {"FIRE:BURNS", 0, "2", 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Value blank = 9;
        EXPECT_EQ(GetTrait(card, r.name, blank, r.mode), r.value);
        EXPECT_EQ(blank, Value(r.blank));
    }
}

TEST_F(TraitStoreTest, ALaterSlotOfTheSameNameWinsOnlyWhenBonusesAreRead) {
    Card card = MakeCard({{"HP", "10"}, {"ATK", "1"}});
    card.TraitNames[2] = "hp";
    card.TraitValues[2] = "4";
    EXPECT_EQ(GetTrait(card, "HP", 0), Value("4"));
    EXPECT_EQ(GetTrait(card, "HP", 1), Value("10"));
}

TEST_F(TraitStoreTest, PresenceGoesByBaseNameRemovalByExactCase) {
    Card card = MakeCard({{"Fire:Burns", "0"}, {"HP", "10"}});
    std::string fire = "Fire";
    int word = -1;
    int32_t bit = 0;
    gettraitmaskpos(fire, word, bit);
    ASSERT_GE(word, 1);
    EXPECT_NE(card.TraitMask[word] & bit, 0) << "the base name's mask bit is set";
    EXPECT_TRUE(HasTrait(card, "FIRE"));
    EXPECT_TRUE(HasTrait(card, "fire"));
    EXPECT_FALSE(HasTrait(card, "Fire:Burns"));
    EXPECT_FALSE(HasTrait(card, ""));
    // Only the whole base: neither a part of it nor the base with its ":".
    EXPECT_FALSE(HasTrait(card, "Fir"));
    EXPECT_FALSE(HasTrait(card, "Fire:"));
    EXPECT_FALSE(HasTrait(card, "H"));
    EXPECT_EQ(GetTraitNum(card, "FIRE"), 1);
    EXPECT_EQ(GetTraitNum(card, "hp"), 2);
    EXPECT_EQ(GetTraitNum(card, "Armor"), 0);
    EXPECT_EQ(GetTraitNum(card, ""), 0) << "a free slot is no trait";

    RemoveTrait(card, "FIRE");
    EXPECT_TRUE(HasTrait(card, "Fire"));
    RemoveTrait(card, "Fire");
    EXPECT_FALSE(HasTrait(card, "Fire"));
    EXPECT_EQ(card.TraitMask[word] & bit, 0);
    EXPECT_EQ(card.TraitNames[1], "");
    EXPECT_EQ(card.TraitValues[1], "");
    EXPECT_EQ(card.TraitNames.size(), 20);
}

TEST_F(TraitStoreTest, AnEffectNumberOutsideTheCardFallsBackToTheTraits) {
    Card card = MakeCard({{"HP", "10"}});
    EXPECT_FALSE(HasTrait(card, "ARMOR", 99));
    EXPECT_TRUE(HasTrait(card, "HP", -4));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(TraitStoreTest, BonusIsAddedOnlyWhenReadWithBonusAndAbove0) {
    struct Row {
        Traits traits;
        Value withBonus;
        Value without;
    };
    const Row rows[] = {
        {{{"HP", "10"}, {"BONUSHP", "2"}}, 12, "10"},
        {{{"HP", "10"}, {"BonusHP", "2"}}, 12, "10"},
        {{{"HP", "10"}, {"BONUSHP", "-2"}}, "10", "10"},
        {{{"BONUSHP", "3"}}, 3, ""},
        {{{"HP", "10"}, {"BONUSHP", "TRAIT/ATK"}, {"ATK", "5"}}, 15, "10"},
    };
    for (const Row& r : rows) {
        Card card = MakeCard(r.traits);
        EXPECT_EQ(GetTrait(card, "HP", 0), r.withBonus);
        EXPECT_EQ(GetTrait(card, "HP", 1), r.without);
    }
}

TEST_F(TraitStoreTest, BonusThatReadsItsOwnTraitCountsOnce) {
    Card card = MakeCard({{"HP", "10"}, {"BONUSHP", "TRAIT/HP"}});
    EXPECT_EQ(GetTrait(card, "HP", 0), Value(20));
    EXPECT_TRUE(St().BonusReads.empty());
    EXPECT_TRUE(host.messages.empty());
}

// The following need the dispatch and the interpreter.

TEST_F(TraitStoreTest, StoredChangeSendsTheChangeTriggerOnlyWhenSomethingChanged) {
    Card& card = Place(MakeCard({{"HP", "10"}}));
    AddEffect(card, "MODTRAIT:UPPER:1", 7, "TRAITCHANGE:HP", 0, "");
    AddEffect(card, "MODTRAIT:LOWER:1", 7, "TRAITCHANGE:hp", 0, "");
    SetTrait(card, "HP", "10");
    EXPECT_EQ(Text(card, "UPPER"), "");
    EXPECT_EQ(Text(card, "LOWER"), "");
    SetTrait(card, "hp", "10");
    EXPECT_EQ(Text(card, "UPPER"), "");
    EXPECT_EQ(Text(card, "LOWER"), "1") << "the trigger carries the name as written";
    SetTrait(card, "HP:Extra", "3");
    EXPECT_EQ(Text(card, "UPPER"), "1") << "the trigger names the base name";
    SetTrait(card, "HP", "9", 1);
    EXPECT_EQ(Text(card, "UPPER"), "1") << "a silent change sends nothing";
}

TEST_F(TraitStoreTest, AbsorbingTraitTakesTheLossFirst) {
    struct Row {
        const char* shield;  // empty: no shield trait
        const char* shieldAfter;
        const char* hpAfter;
    };
    const Row rows[] = {{"3", "0", "8"}, {"7", "2", "10"}, {"", "", "5"}, {"0", "0", "5"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.shield);
        Card& card = Place(MakeCard({{"HP", "10"}}));
        if (*r.shield) SetTrait(card, "SHIELD", r.shield, 1);
        AddEffect(card, "REDIRECTTRAIT:SHIELD", 7, "BEFORETRAITCHANGE:HP", 0, "");
        Value amount = -5;
        EXPECT_EQ(Modtrait(card, "HP", amount, card).Num(), 5);
        EXPECT_EQ(Text(card, "SHIELD"), r.shieldAfter);
        EXPECT_EQ(Text(card, "HP"), r.hpAfter);
    }
}

TEST_F(TraitStoreTest, CancelledChangeLeavesTheTraitAndReturnsTheEarlierAmount) {
    Card& card = Place(MakeCard({{"HP", "10"}}));
    AddEffect(card, "CANCEL", 7, "BEFORETRAITCHANGE:HP", 0, "");
    St().LastAmount = 4;
    Value amount = -3;
    EXPECT_EQ(Modtrait(card, "HP", amount, card), Value(4));
    EXPECT_EQ(Text(card, "HP"), "10");
}

}  // namespace
}  // namespace dv
