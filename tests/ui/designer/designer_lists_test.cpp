// The designer's lists: common trait names gathered from the file, and the card list that keeps
// its place when it is filled again.

#include <gtest/gtest.h>

#include "tests/ui/designer/designer_fixture.h"

namespace dv::test {
namespace {

using ui::CommonTraitNames;

class DesignerListsTest : public DesignerTest {};

TEST_F(DesignerListsTest, CommonTraitNamesDropTheValuePartButKeepTheCase) {
    designer.Open(ui::DesignerOpener::MainMenu);
    Card a, b;
    a.Name = "A";
    a.TraitNames = {"HP", "POWER"};
    b.Name = "B";
    b.TraitNames = {"HP:2", "", "hp"};
    St().EditCards = {a, b, Card{}};
    designer.form.loadcommontraits();
    const std::vector<std::string> expected = {"HP", "POWER", "hp"};
    EXPECT_EQ(CommonTraitNames(), expected);
    EXPECT_EQ(designer.form.controls.TraitCombo[2].entries, expected);
}

TEST_F(DesignerListsTest, AFileOfOneCardLeavesTheTraitListsAsTheyWere) {
    OpenWith(WriteCards("two.txt", {{"A", "a", {"HP:1"}, {}, {}}, {"B", "b", {"GLOW:1"}, {}, {}}}));
    dialogs.files.push_back(WriteCards("one.txt", {{"C", "c", {"FLYING:"}, {}, {}}}));
    designer.LoadCards();
    const std::vector<std::string> expected = {"HP", "GLOW"};
    EXPECT_EQ(CommonTraitNames(), expected);
}

TEST_F(DesignerListsTest, TheCommonTraitListHoldsAHundredNames) {
    for (int i = 1; i <= 101; ++i)
        ui::addcommontrait("T" + std::to_string(i));
    ui::addcommontrait("");
    const std::vector<std::string> names = CommonTraitNames();
    ASSERT_EQ(names.size(), 100u);
    EXPECT_EQ(names.back(), "T100");
}

TEST_F(DesignerListsTest, TheCardListKeepsItsPlaceAcrossARefill) {
    OpenWith(WriteCards("set.txt",
                        {{"A", "a", {}, {}, {}}, {"B", "b", {}, {}, {}}, {"C", "c", {}, {}, {}}}));
    ui::CardForm& form = designer.form;
    form.CardComboClick(2);
    form.controls.CardCombo.Select(2);
    form.LoadCombos();
    EXPECT_EQ(form.controls.CardCombo.selected, 2);
    EXPECT_EQ(St().CurrentCard.Name, "C") << "a refill neither commits nor loads";

    St().EditCards.Resize(2);
    form.LoadCombos();
    EXPECT_EQ(form.controls.CardCombo.selected, 1) << "a shorter list selects its last card";
}

TEST_F(DesignerListsTest, TheFixedListsAreOffered) {
    designer.Open(ui::DesignerOpener::MainMenu);
    const ui::FormControls& c = designer.form.controls;
    EXPECT_EQ(c.RarityCombo.entries.size(), 102u);
    EXPECT_EQ(c.RarityCombo.entries.front(), "0");
    EXPECT_EQ(c.RarityCombo.entries.back(), "101");
    EXPECT_EQ(c.TriggerCombo[0].entries.size(), 26u);
    EXPECT_EQ(c.TriggerCombo[0].text, "(Choose a Trigger)");
    EXPECT_EQ(c.TargetCombo[1].entries[10], "GIDCARD");
    EXPECT_EQ(c.TemplateCombo.entries.front(), "Blank Card");
    EXPECT_EQ(c.ActivateCombo.entries.back(), "TURNEND");
}

}  // namespace
}  // namespace dv::test
