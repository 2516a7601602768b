// A card file that includes another is saved with its own cards and its "#INCLUDE" line: viewing
// the included cards asks nothing, and a change to one of them is named before any save, which
// the author may call off.

#include <gtest/gtest.h>

#include <string>

#include "engine/model/state.h"
#include "tests/ui/designer/designer_fixture.h"

namespace dv::test {
namespace {

class IncludedCardsTest : public DesignerTest {
  protected:
    std::string main, included;

    void SetUp() override {
        DesignerTest::SetUp();
        included = WriteCards("inc.txt", {{"Beta", "b", {"HP:2"}, {}, {}}});
        WriteFile("main.txt",
                  "#INCLUDE, inc.txt\r\n\r\n" + FileText({{"Alpha", "a", {"HP:1"}, {}, {}}}));
        main = (Folder() / "main.txt").string();
        OpenWith(main);
        dialogs.asked.clear();
    }
    int SlotNamed(const std::string& name) const {
        for (int i = 1; i <= St().EditCards.size(); ++i)
            if (St().EditCards[i].Name == name) return i;
        return 0;
    }
    // Chooses the card of that slot in the card list, as the author does.
    void Choose(int slot) {
        designer.form.controls.CardCombo.Select(slot - 1);
        designer.form.CardComboClick(slot - 1);
    }
    // Shows the included card and changes its description on the form.
    void ChangeBeta() {
        Choose(SlotNamed("Beta"));
        designer.form.OnDescText("Changed");
    }
};

TEST_F(IncludedCardsTest, ViewingEveryCardThenSavingWritesTheIncludeLineAndOnlyTheOwnCards) {
    ASSERT_NE(SlotNamed("Beta"), 0);
    const std::string includedText = ReadFile(included);
    for (int slot = 1; slot <= St().EditCards.size(); ++slot)
        Choose(slot);
    designer.SaveCards();
    EXPECT_TRUE(dialogs.asked.empty()) << dialogs.asked.front();
    const std::string saved = ReadFile(main);
    EXPECT_NE(saved.find("\r\n#INCLUDE, inc.txt\r\n\r\n"), std::string::npos);
    EXPECT_NE(saved.find("\"Alpha\""), std::string::npos);
    EXPECT_EQ(saved.find("Beta"), std::string::npos);
    EXPECT_EQ(ReadFile(included), includedText);
}

TEST_F(IncludedCardsTest, AChangedIncludedCardIsNamedBeforeEverySaveAndNoSavesNothing) {
    struct Row {
        const char* what;
        void (ui::Designer::*save)();
        bool answer;
        bool written;
    };
    const Row rows[] = {
        {"Save Cards, no", &ui::Designer::SaveCards, false, false},
        {"Save Cards As..., no", &ui::Designer::SaveCardsAs, false, false},
        {"Save Cards, yes", &ui::Designer::SaveCards, true, true},
    };
    const std::string includedText = ReadFile(included);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        const std::string before = ReadFile(main);
        ChangeBeta();
        dialogs.asked.clear();
        dialogs.answers = {r.answer};
        dialogs.files = {main};
        (designer.*r.save)();
        ASSERT_EQ(dialogs.asked.size(), 1u);
        EXPECT_NE(dialogs.asked[0].find("Beta (inc.txt)"), std::string::npos) << dialogs.asked[0];
        EXPECT_EQ(ReadFile(main) != before, r.written);
        EXPECT_EQ(ReadFile(main).find("Beta"), std::string::npos);
        EXPECT_EQ(ReadFile(included), includedText);
    }
}

TEST_F(IncludedCardsTest, ClosingWithAChangedIncludedCardAsksAndStaysOpenOnNo) {
    ChangeBeta();
    const std::string before = ReadFile(main);
    dialogs.answers = {true, false};  // "Save cards now?", then the changed included card
    EXPECT_FALSE(designer.Close());
    ASSERT_EQ(dialogs.asked.size(), 2u);
    EXPECT_NE(dialogs.asked[1].find("Beta (inc.txt)"), std::string::npos);
    EXPECT_EQ(ReadFile(main), before);
}

}  // namespace
}  // namespace dv::test
