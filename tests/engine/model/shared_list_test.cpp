#include "engine/model/shared_list.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

#include "engine/model/records.h"

namespace dv {
namespace {

using Texts = SharedList<std::string>;

// Every way of changing a list: none may reach a copy taken before it.
TEST(SharedListTest, AChangeToOneCopyNeverReachesTheOther) {
    struct Row {
        const char* change;
        std::function<void(Texts&)> apply;
    };
    const Row rows[] = {
        {"element written", [](Texts& l) { l[2] = "changed"; }},
        {"resized", [](Texts& l) { l.Resize(5); }},
        {"shrunk", [](Texts& l) { l.Resize(1); }},
        {"pushed", [](Texts& l) { l.PushBack("more"); }},
        {"cleared", [](Texts& l) { l.Clear(); }},
        {"grown and written",
         [](Texts& l) {
             l.Resize(6);
             l[6] = "changed";
         }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.change);
        Texts original = {"HP", "POWER", "GLOW"};
        Texts copy = original;
        r.apply(copy);
        EXPECT_EQ(original, (Texts{"HP", "POWER", "GLOW"}));
        Texts other = original;
        r.apply(original);
        EXPECT_EQ(other, (Texts{"HP", "POWER", "GLOW"}));
    }
}

// A card's effects are stored each on its own: a write must still reach neither the copy it was
// shared with nor the effects of that copy it did not write.
TEST(SharedListTest, AnEffectWrittenInOneCopyNeverReachesTheOther) {
    using Effects = SharedList<Effect>;
    auto effect = [](const char* trigger) {
        Effect e;
        e.Trigger = trigger;
        return e;
    };
    const Effects start = {effect("TURNSTART"), effect("COST")};
    struct Row {
        const char* change;
        std::function<void(Effects&)> apply;
    };
    const Row rows[] = {
        {"flag written", [](Effects& l) { l[1].Echoed = 1; }},
        {"text written", [](Effects& l) { l[2].Text = "DAMAGE:1"; }},
        {"pushed", [&](Effects& l) { l.PushBack(effect("ONDEATH")); }},
        {"shrunk and grown",
         [](Effects& l) {
             l.Resize(1);
             l.Resize(2);
         }},
        {"slot past the stored ones written",
         [](Effects& l) {
             l.Resize(4);
             l[4].Target = 3;
         }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.change);
        Effects original = start;
        Effects copy = original;
        r.apply(copy);
        EXPECT_EQ(original, start);
        Effects other = original;
        r.apply(original);
        EXPECT_EQ(other, start);
        EXPECT_EQ(original, copy);
    }
    Effects original = start;
    Effects copy = original;
    copy[1].Echoed = 1;
    EXPECT_EQ(&std::as_const(original)[2], &std::as_const(copy)[2]);
    EXPECT_EQ(std::as_const(original)[1].Echoed, 0);
    Effects never(3);
    EXPECT_EQ(std::as_const(never)[3], Effect{});
}

TEST(SharedListTest, ReadingAConstCopyLeavesTheElementsShared) {
    Texts original = {"HP", "POWER"};
    const Texts copy = original;
    EXPECT_EQ(&std::as_const(original)[1], &copy[1]);
    EXPECT_EQ(copy[2], "POWER");
    EXPECT_EQ(&std::as_const(original)[1], &copy[1]);
}

// Slots past the last one written are not stored: they must still read, compare and come back
// empty, never as what a slot held before the list shrank.
TEST(SharedListTest, SlotsNeverWrittenReadEmptyAndShrinkingForgetsWhatWasCut) {
    Texts slots(20);
    EXPECT_EQ(slots.size(), 20);
    EXPECT_EQ(slots[20], "");
    slots[2] = "HP";
    EXPECT_EQ(slots[1], "");
    EXPECT_EQ(slots[20], "");
    Texts same = {"", "HP"};
    same.Resize(20);
    EXPECT_EQ(slots, same);
    int counted = 0;
    for (const std::string& slot : slots)
        counted += slot.empty() ? 0 : 1;
    EXPECT_EQ(counted, 1);

    Texts cut = {"a", "b", "c"};
    cut.Resize(1);
    cut.Resize(3);
    EXPECT_EQ(cut, (Texts{"a", "", ""}));
    EXPECT_EQ(cut.PushBack("d"), 4);
    EXPECT_EQ(cut, (Texts{"a", "", "", "d"}));
}

TEST(SharedListTest, NumbersOutsideTheListThrowAsAListDoes) {
    Texts list(2);
    const Texts& seen = list;
    EXPECT_THROW(seen[0], std::out_of_range);
    EXPECT_THROW(seen[3], std::out_of_range);
    EXPECT_THROW(list[3], std::out_of_range);
    EXPECT_TRUE(Texts().empty());
    EXPECT_THROW(Texts()[1], std::out_of_range);
}

// A trial on a scratch copy of a card must leave the card's traits and script as they were.
TEST(SharedListTest, ACardCopyChangedWholeLeavesTheCardAsItWas) {
    Card card;
    card.TraitNames = {"HP", ""};
    card.TraitValues = {"20", ""};
    card.Effects.Resize(1);
    card.Effects[1].Args = {"", "MODTRAIT", "HP"};
    card.Effects[1].Program = {0, 5, -1};
    const Card before = card;

    Card copy = card;
    copy.TraitNames[2] = "POWER";
    copy.TraitValues[1] = "19";
    copy.Effects[1].Args[3] = "GLOW";
    copy.Effects[1].Program.PushBack(7);
    ChangeRunFlags(copy, 1).Running = 1;
    copy.Effects.PushBack(Effect{});

    EXPECT_TRUE(card == before);
    EXPECT_EQ(copy.TraitValues[1], "19");
    EXPECT_EQ(card.TraitValues[1], "20");
}

}  // namespace
}  // namespace dv
