#include "ui/designer/effect_picker.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/dialogs_fixture.h"

namespace dv::ui {
namespace {

// Menu positions (from 0) of the entries used here.
constexpr int kRequireAlly = 2;
constexpr int kRequireTrait = 4;
constexpr int kRequireTraitMore = 6;
constexpr int kDestroy = 44;

class EffectPickerTest : public test::DialogsTest {
  protected:
    EffectPicker picker{[](const std::string&) { return std::string("5"); }};
};

TEST_F(EffectPickerTest, RowsChosenOutOfOrderComeOutInRowOrder) {
    picker.Choose(5, kDestroy);
    picker.Choose(1, kRequireAlly);
    EXPECT_EQ(picker.Done(), "REQALLY:DESTROY:");
    EXPECT_EQ(picker.Value(), "REQALLY:DESTROY:");
}

TEST_F(EffectPickerTest, NothingChosenGivesNothing) {
    EXPECT_EQ(picker.Done(), "");
}

TEST_F(EffectPickerTest, ClosingWithoutDoneGivesNothing) {
    picker.Choose(0, kDestroy);
    EXPECT_EQ(picker.Value(), "");
}

TEST_F(EffectPickerTest, ARequirementWithATraitAndAnAmountGivesItsExactCommand) {
    dialogs.inputs = {"HP"};
    EXPECT_EQ(picker.Choose(0, kRequireTraitMore), "Target must have a HP of 5 or more.");
    EXPECT_EQ(picker.Done(), "REQTRAITMORE:HP:5:");
}

// A row's answers belong to the entry chosen now: a later entry never carries an earlier answer.
TEST_F(EffectPickerTest, PickingAnotherEntryReplacesTheRowWhole) {
    dialogs.inputs = {"HP"};
    picker.Choose(3, kRequireTrait);
    EXPECT_EQ(picker.Row(3).Amt1, "HP");
    EXPECT_EQ(picker.Choose(3, kDestroy), "Target card is destroyed.");
    EXPECT_EQ(picker.Row(3).Amt1, "");
    EXPECT_EQ(picker.Done(), "DESTROY:");
}

TEST_F(EffectPickerTest, PicksOutsideTheRowsAndTheMenuChangeNothing) {
    EXPECT_EQ(picker.Choose(EffectPicker::kRows, kDestroy), "");
    EXPECT_EQ(picker.Choose(-1, kDestroy), "");
    EXPECT_EQ(picker.Choose(0, kPickerEntries), "");
    EXPECT_EQ(picker.Done(), "");
}

}  // namespace
}  // namespace dv::ui
