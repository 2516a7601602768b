// "DONE" and the closing of the deck manager by mode: the deck-rule check, the save, the refusal
// the game start reads, and the hand-over to the card designer.

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/model/files.h"
#include "tests/ui/decks/deck_manager_fixture.h"
#include "ui/decks/designer_link.h"

namespace dv {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class DeckCloseTest : public test::DeckManagerTest {
  protected:
    void SetUp() override {
        DeckManagerTest::SetUp();
        PlayZetaAsGuest();
        SetCollection(Numbered(3));
        SetDeck(1, "Red", {1, 2});
    }
    bool Saved() const { return fs::exists(Folder() / "Zeta_Guest.plr"); }
};

const char* kTwoCards = "TRAITMINIMUM:#ANY#:3";
const char* kTwoCardsMessage = "You must have at least 3 cards in your play deck.";

TEST_F(DeckCloseTest, ClosingTheDeckEditorSavesAndRefusesABrokenDeckUnlessOpenedFromTheMenu) {
    struct Row {
        const char* fault;
        const char* rules;
        uint8_t fromMenu;
        bool byDone;
        bool closes;
        const char* message;
        uint8_t rejected;
    };
    const Row rows[] = {
        {"a deck within the rules is refused", "", 0, false, true, "", 0},
        {"the close box lets a broken deck through", kTwoCards, 0, false, true, kTwoCardsMessage,
         1},
        {"the menu's deck manager refuses a broken deck", kTwoCards, 1, false, true, "", 0},
        {"DONE closes on a broken deck", kTwoCards, 0, true, false, kTwoCardsMessage, 0},
        {"DONE from the menu keeps a broken deck open", kTwoCards, 1, true, true, "", 0},
        {"DONE refuses a deck within the rules", "", 0, true, true, "", 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.fault);
        State& st = St();
        fs::remove(Folder() / "Zeta_Guest.plr");
        st.DeckRules = r.rules;
        st.DeckManagerFromMenu = r.fromMenu;
        st.DeckRejected = 0;
        st.SaleMode = 1;
        dialogs.messages.clear();
        closed = false;
        logic = ui::DeckManagerLogic();
        Apply(logic.Open());
        if (r.byDone)
            Apply(logic.Done());
        else
            CloseBox();
        EXPECT_EQ(closed, r.closes);
        EXPECT_EQ(dialogs.messages, *r.message ? Names{r.message} : Names{});
        EXPECT_EQ(st.DeckRejected, r.rejected);
        EXPECT_EQ(Saved(), r.closes) << "the player file is saved exactly when the window closes";
        if (r.closes) {
            EXPECT_EQ(st.SaleMode, 0) << "sale mode outlived the window";
        }
    }
}

TEST_F(DeckCloseTest, TheMenusDeckManagerLeavesTheDrawDeckOfTheGameUnderWay) {
    State& st = St();
    st.Players[1].Deck = ListOf({Owned("Drawn Next", 0)});
    st.DeckManagerFromMenu = 1;
    Apply(logic.Open());
    EXPECT_TRUE(CloseBox());
    ASSERT_EQ(st.Players[1].Deck.size(), 1);
    EXPECT_EQ(st.Players[1].Deck[1].Name, "Drawn Next") << "the draw deck was refilled from deck 1";
}

TEST_F(DeckCloseTest, TheOtherModesCloseWithoutSavingOrAskingAboutTheDeck) {
    State& st = St();
    st.DeckRules = kTwoCards;
    for (uint8_t mode : {kOpponentDeck, kCardPick}) {
        SCOPED_TRACE(int(mode));
        st.DeckManagerMode = mode;
        st.PickingCard = mode == kCardPick;
        logic = ui::DeckManagerLogic();
        Apply(logic.Open());
        EXPECT_TRUE(CloseBox());
        EXPECT_TRUE(dialogs.messages.empty());
        EXPECT_TRUE(dialogs.asked.empty());
        EXPECT_FALSE(Saved());
    }

    // DONE in the opponent mode offers to save the opponent first.
    st.DeckManagerMode = kOpponentDeck;
    st.DeckManagerFromMenu = 1;
    logic = ui::DeckManagerLogic();
    Apply(logic.Open());
    dialogs.answers = {true};
    dialogs.inputs = {std::nullopt};
    Apply(logic.Done());
    EXPECT_EQ(dialogs.asked, (Names{"You have not saved your new enemy!  Save enemy now?",
                                    "What should this enemy's name be?  (Leave blank for default "
                                    "name)"}));
    EXPECT_TRUE(closed);
}

TEST_F(DeckCloseTest, TheCardViewHandsTheDesignersCardBack) {
    class Designer : public ui::DesignerLink {
      public:
        std::vector<int> shown;
        void ShowCard(int index) override { shown.push_back(index); }
        void EditCurrentCard() override {}
    } designer;
    ui::SetDesignerLink(&designer);
    State& st = St();
    st.DeckManagerMode = kCardView;
    st.EditCards = ListOf(Numbered(4));
    st.EditIndex = 2;

    st.CurrentCard = Owned("c3", 0);
    Apply(logic.Open());
    Apply(logic.Done());
    EXPECT_TRUE(closed);
    EXPECT_EQ(st.EditIndex, 3) << "DONE shows the card the deck manager last chose";

    st.CurrentCard = Owned("gone", 0);
    logic = ui::DeckManagerLogic();
    Apply(logic.Open());
    EXPECT_TRUE(CloseBox()) << "the close box goes through DONE";
    EXPECT_EQ(st.EditIndex, 3) << "no card of that unique name moves the designer's index";
    EXPECT_EQ(designer.shown, (std::vector<int>{3, 3}));
    EXPECT_FALSE(Saved());
    ui::SetDesignerLink(nullptr);
}

}  // namespace
}  // namespace dv
