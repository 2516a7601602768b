// Clicks on the deck manager's panes in each mode, the sale, the pick, the hand-over to the card
// designer, the deck rules' refusals and the sorts.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "data/card_files.h"
#include "engine/model/files.h"
#include "tests/ui/decks/deck_manager_fixture.h"
#include "ui/decks/designer_link.h"

namespace dv {
namespace {

using Names = std::vector<std::string>;
using CardMovesTest = test::DeckManagerTest;

// A designer that records the hand-overs and gives an edited card a new thumbnail.
class FakeDesigner : public ui::DesignerLink {
  public:
    std::vector<int> shown;
    int edits = 0;
    uint8_t flagWhileEditing = 0;
    void ShowCard(int index) override {
        shown.push_back(index);
        EXPECT_EQ(St().ListBusy, 1);
    }
    void EditCurrentCard() override {
        ++edits;
        flagWhileEditing = St().EditFromDeckManager;
        St().CurrentCard.Thumbnail = "edited-mini.jpg";
    }
};

std::vector<std::string> NamesOf(const List<Card>& cards) {
    std::vector<std::string> names;
    for (const Card& card : cards)
        names.push_back(card.Name.empty() ? "-" : card.Name);
    return names;
}

TEST_F(CardMovesTest, AddingKeepsTheDeckRulesAndSaysWhyARuleRefuses) {
    struct Row {
        const char* fault;
        const char* rules;
        std::vector<Card> deckCards;  // in the deck before the add
        Card added;
        bool joins;
        const char* message;
    };
    const Row rows[] = {
        {"a card over its LIMITED count joins",
         "",
         {Owned("Imp", 1, 0, {{"LIMITED", "1"}})},
         Owned("Imp", 2, 0, {{"LIMITED", "1"}}),
         false,
         "You cannot have more than 1 \"Imp\" cards in your deck."},
        {"a deck below its minimum takes no card",
         "TRAITMINIMUM:#ANY#:30",
         {Owned("Imp", 1)},
         Owned("Orc", 2, 0, {{"CREATURE", ""}}),
         true,
         ""},
        {"an unlimited card is refused",
         "TRAITLIMIT:#ANY#:1",
         {Owned("Imp", 1)},
         Owned("Rat", 2, 0, {{"UNLIMITED", ""}}),
         true,
         ""},
        {"the whole deck's limit is not kept",
         "TRAITLIMIT:#ANY#:1",
         {Owned("Imp", 1)},
         Owned("Orc", 2, 0, {{"CREATURE", ""}}),
         false,
         "You can only have 1 cards in your deck."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.fault);
        dialogs.messages.clear();
        std::vector<Card> collection = r.deckCards;
        collection.push_back(r.added);
        SetCollection(collection);
        St().DeckRules = r.rules;
        SetDeck(1, "Red", {1});
        Apply(logic.Open());
        Apply(logic.CollectionClick(0));
        const bool joined = DeckIds(1) == std::vector<int32_t>{1, 2};
        EXPECT_EQ(joined, r.joins);
        if (*r.message) {
            EXPECT_EQ(dialogs.messages, (std::vector<std::string>{r.message}));
            EXPECT_EQ(DeckIds(1), (std::vector<int32_t>{1})) << "a refused add changed the deck";
        } else {
            EXPECT_TRUE(dialogs.messages.empty());
            EXPECT_EQ(Shown(view.collection), Names{}) << "the added card is still offered";
        }
    }
}

TEST_F(CardMovesTest, ASaleTakesTheCardFromEveryDeckAndPaysByRarity) {
    struct Row {
        int rarity;
        int tokens;
    };
    for (const Row& r : {Row{0, 1}, Row{9, 1}, Row{10, 2}, Row{19, 2}, Row{255, 26}}) {
        SCOPED_TRACE(r.rarity);
        State& st = St();
        st.SaleMode = 0;
        st.Players[1].Tokens = 100;
        SetCollection({Owned("Imp", 1), Owned("Gem", 7, r.rarity), Owned("Orc", 3)});
        SetDeck(1, "Red", {1});
        SetDeck(2, "Blue", {7, 3});
        SetDeck(3, "Green", {3, 7, 7});
        st.PlayerDecks[2].Cards = ListOf({Owned("Gem", 7, r.rarity), Owned("Orc", 3)});
        pages.clear();
        Apply(logic.Open());
        Apply(logic.SellCards());
        Apply(logic.CollectionClick(0));  // the first card not in deck 1: Gem

        EXPECT_EQ(st.Players[1].Tokens, 100 + r.tokens);
        EXPECT_EQ(view.tokens, "Tokens: " + std::to_string(100 + r.tokens));
        EXPECT_EQ(NamesOf(st.Collection), (std::vector<std::string>{"Imp", "Orc", "-"}));
        EXPECT_EQ(DeckIds(2), (std::vector<int32_t>{0, 3})) << "left in a deck not on show";
        EXPECT_EQ(DeckIds(3), (std::vector<int32_t>{3, 0, 0}));
        EXPECT_EQ(NamesOf(st.PlayerDecks[2].Cards), (std::vector<std::string>{"-", "Orc"}))
            << "a stored copy would bring the card back with the player file";
        ASSERT_EQ(pages.size(), 1u);
        EXPECT_NE(ReadWholeFile(pages[0])->find("Ha ha ha!  It's mine now!"), std::string::npos);
    }
}

TEST_F(CardMovesTest, ASaleIsSavedWithTheCloseAndReadBackWhole) {
    PlayZetaAsGuest();
    State& st = St();
    st.Players[1].Tokens = 10;
    SetCollection({Owned("Imp", 1), Owned("Gem", 7, 10)});
    SetDeck(1, "Red", {1});
    SetDeck(2, "Blue", {1, 7});
    Apply(logic.Open());
    Apply(logic.SellCards());
    Apply(logic.CollectionClick(0));
    EXPECT_TRUE(CloseBox());

    ResetState();
    St().ProgramFolder = St().CurrentFolder = Folder();
    ReadCards(St().Collection, "Zeta_Guest.plr", St().Players[1]);
    EXPECT_EQ(St().Players[1].Tokens, 12);
    EXPECT_EQ(NamesOf(St().Collection), (std::vector<std::string>{"Imp"}));
    ASSERT_EQ(St().Decks.size(), 2);
    for (int32_t id : St().Decks[2].CardIds)
        EXPECT_NE(id, 7);
    std::set<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(Folder()))
        files.insert(entry.path().filename().string());
    EXPECT_EQ(files,
              (std::set<std::string>{"Display.html", "PlayerProfiles.txt", "Zeta_Guest.plr"}))
        << "a save left a temporary file";
}

TEST_F(CardMovesTest, ClicksInTheOtherModesCopyPickOrHandOver) {
    State& st = St();
    FakeDesigner designer;
    ui::SetDesignerLink(&designer);
    st.EditCards = ListOf(Numbered(4));

    st.DeckManagerMode = kOpponentDeck;
    st.SaleMode = 1;
    st.EnemyCards = List<Card>(1);
    Apply(logic.Open());
    for (int i = 0; i < 3; ++i)
        Apply(logic.CollectionClick(1));
    EXPECT_EQ(NamesOf(st.EnemyCards), (std::vector<std::string>{"c2", "c2", "c2"}));
    EXPECT_EQ(st.SaleMode, 0);
    EXPECT_EQ(Shown(view.deck), (Names{"c2", "c2", "c2"}));
    Apply(logic.DeckClick(0));
    EXPECT_EQ(NamesOf(st.EnemyCards), (std::vector<std::string>{"c2", "c2", "-"}));

    ui::DeckManagerLogic view3;
    st.DeckManagerMode = kCardView;
    st.TopCards[1] = ListOf({Owned("Imp", 5)});
    SetDeck(1, "Red", {1});
    Apply(view3.Open());
    EXPECT_FALSE(view3.DeckClick(0).view) << "the hidden deck list changed in the card view";
    EXPECT_EQ(DeckIds(1), (std::vector<int32_t>{1}));
    const ui::DeckOutcome handed = view3.CollectionClick(2);
    EXPECT_TRUE(handed.close);
    EXPECT_EQ(designer.shown, (std::vector<int>{3}));
    EXPECT_EQ(st.EditIndex, 3);
    EXPECT_EQ(st.ListBusy, 0);
    ui::SetDesignerLink(nullptr);
}

TEST_F(CardMovesTest, TheCardTestListsTakeTheCardsClickedWhileTheyAreChosen) {
    State& st = St();
    st.DeckManagerMode = kCardTest;
    st.EditCards = ListOf(Numbered(3));
    st.TopCards[2] = List<Card>(1);
    st.TopCards[4] = ListOf({Owned("Imp", 0), Owned("Orc", 0)});
    Apply(logic.Open());
    Apply(logic.ChooseDeck(1));
    Apply(logic.CollectionClick(2));
    EXPECT_EQ(NamesOf(st.TopCards[2]), (std::vector<std::string>{"c3"}));
    Apply(logic.ChooseDeck(3));
    Apply(logic.DeckClick(0));
    EXPECT_EQ(NamesOf(st.TopCards[4]), (std::vector<std::string>{"-", "Orc"}));
}

TEST_F(CardMovesTest, PicksCloseTheWindowWithThePositionPicked) {
    State& st = St();
    SetCollection(Numbered(5));
    SetDeck(1, "Red", {1});
    for (uint8_t mode : {kEditDecks, kCardPick}) {
        SCOPED_TRACE(int(mode));
        st.DeckManagerMode = mode;
        st.PickingCard = 1;
        st.PickedDeck = 7;
        st.PickMade = 0;
        ui::DeckManagerLogic picker;
        picker.Open();
        picker.DescribeCollectionCard(0, viewer);
        EXPECT_EQ(st.PickMade, 0) << "a description counted as a pick";
        const ui::DeckOutcome out = picker.CollectionClick(1);
        EXPECT_EQ(st.PickMade, 1);
        EXPECT_TRUE(out.close);
        EXPECT_EQ(st.PickedCard, mode == kEditDecks ? 3 : 2)
            << "deck cards are offered in the pick";
        EXPECT_EQ(st.PickedDeck, 0) << "the collection is the picked card's list";
        EXPECT_EQ(DeckIds(1), (std::vector<int32_t>{1})) << "a pick added the card";
        EXPECT_TRUE(picker.Closing(true));
    }
}

TEST_F(CardMovesTest, AChangedImageHandsTheCardToTheDesignerInsteadOfSellingIt) {
    State& st = St();
    FakeDesigner designer;
    st.Players[1].Tokens = 5;
    SetCollection(Numbered(3));
    SetDeck(1, "Red", {0});
    Apply(logic.Open());
    Apply(logic.SellCards());
    Apply(logic.ChangeCardImage());
    EXPECT_TRUE(logic.EditNextCard());

    ui::SetDesignerLink(&designer);
    Apply(logic.CollectionClick(1));
    ui::SetDesignerLink(nullptr);
    EXPECT_EQ(designer.edits, 1);
    EXPECT_EQ(designer.flagWhileEditing, 1);
    EXPECT_EQ(st.EditFromDeckManager, 0) << "the hand-over flag outlived the designer";
    EXPECT_EQ(st.Collection[2].Thumbnail, "edited-mini.jpg");
    EXPECT_EQ(st.Collection[2].Name, "c2") << "sold instead of edited";
    EXPECT_EQ(st.Players[1].Tokens, 5);
    EXPECT_FALSE(logic.EditNextCard());
}

TEST_F(CardMovesTest, SortsReorderTheListsTheirModeShows) {
    State& st = St();
    SetCollection({Owned("b", 1, 5), Owned("c", 2, 9), Owned("a", 3, 1), Owned("d", 4, 0)});
    SetDeck(1, "Red", {4, 1});
    Apply(logic.Open());
    EXPECT_EQ(Shown(view.deck), (Names{"b", "d"}));
    Apply(logic.Sort(2, "", ""));
    EXPECT_EQ(NamesOf(st.Collection), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(Shown(view.deck), (Names{"b", "d"})) << "the deck lost its cards when they moved";
    Apply(logic.Sort(4, "", ""));
    EXPECT_EQ(NamesOf(st.Collection), (std::vector<std::string>{"c", "b", "a", "d"}));
    Apply(logic.Sort(0, "RARITY", ""));
    EXPECT_EQ(Shown(view.deck), (Names{"b", "d"}));
    Apply(logic.ClearDeck());
    EXPECT_EQ(DeckIds(1), (std::vector<int32_t>{0}));
    EXPECT_EQ(view.cardCount, "Cards: 0");
    EXPECT_EQ(Shown(view.collection).size(), 4u) << "cleared cards stay out of the collection";

    st.DeckManagerMode = kOpponentDeck;
    st.EditCards = ListOf({Owned("y", 1, 1), Owned("x", 2, 3)});
    Apply(logic.Sort(1, "", ""));
    EXPECT_EQ(NamesOf(st.EditCards), (std::vector<std::string>{"x", "y"}));
    Apply(logic.Sort(4, "", ""));
    EXPECT_EQ(NamesOf(st.EditCards), (std::vector<std::string>{"x", "y"}));
    Apply(logic.Sort(0, "NAME", ""));
    EXPECT_EQ(NamesOf(st.EditCards), (std::vector<std::string>{"x", "y"}));
}

}  // namespace
}  // namespace dv
