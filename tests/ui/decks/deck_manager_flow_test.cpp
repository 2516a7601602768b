// The deck manager as the game opens it, on the sample game: a deck chosen and changed at the game
// start is the deck played and the deck saved; a sale outlives a restart.

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/model/cards.h"
#include "engine/rules/rule_operations.h"
#include "game/game_start.h"
#include "tests/support/played_cards.h"
#include "tests/ui/decks/sample_game_fixture.h"
#include "ui/common/engine_guard.h"
#include "ui/main/main_commands.h"

namespace dv {
namespace {

using DeckManagerFlow = test::SampleDecksTest;

bool Holds(const List<int32_t>& ids, int32_t id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

TEST_F(DeckManagerFlow, TheDeckChosenAndChangedAtTheGameStartIsPlayedAndSaved) {
    AppendToPlayerFile(DeckBlock("Second Deck", 7001, 7035));
    Main();
    const std::string link = OpponentLink("Bogwarden_Enemy.txt");
    ASSERT_FALSE(link.empty());

    flow.onCall[WindowCall::ShowDeckManager] = [&] {
        logic = ui::DeckManagerLogic();
        Apply(logic.Open());
        Apply(logic.ChooseDeck(1));
        ASSERT_EQ(view.deckNames.size(), 2u);
        const int shrine = SlotShowing(view.collection, "Card-mothshrine-mini.jpg");
        ASSERT_GE(shrine, 0);
        Apply(logic.CollectionClick(shrine));
        const int mossling = SlotShowing(view.deck, "Card-mossling-mini.jpg");
        ASSERT_GE(mossling, 0);
        Apply(logic.DeckClick(mossling));
        EXPECT_EQ(view.cardCount, "Cards: 35");
        Apply(logic.Done());
        EXPECT_TRUE(closed);
    };
    ASSERT_TRUE(StartGameFromLink(link));
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages.front();

    State& st = St();
    EXPECT_EQ(st.CurrentDeck, 2);
    const std::vector<std::string> played = test::PlayerOneCardNames();
    auto plays = [&](const char* name) { return std::count(played.begin(), played.end(), name); };
    EXPECT_EQ(played.size(), 35u);
    EXPECT_EQ(plays("Moth Shrine"), 1) << "the added card is not played";
    EXPECT_EQ(plays("Mossling"), 0) << "the removed card is played";
    EXPECT_EQ(plays("Ember Newt"), 0) << "a card of deck 1 only is played";

    Restart();
    ASSERT_EQ(St().Decks.size(), 2);
    EXPECT_TRUE(Holds(St().Decks[2].CardIds, 7036)) << "the player file lost the added card";
    EXPECT_FALSE(Holds(St().Decks[2].CardIds, 7002)) << "the player file kept the removed card";
    EXPECT_TRUE(Holds(St().Decks[1].CardIds, 7002)) << "deck 1 changed with deck 2";
}

TEST_F(DeckManagerFlow, ACardSoldLeavesTheCollectionAndEveryDeckForGood) {
    AppendToPlayerFile(
        "#CARD, COLLECTION, \"Ferryman\", \"ferryman:7043\", Mosslight_Set.txt, "
        "Card-ferryman.jpg, Card-ferryman-mini.jpg, #4C5F7A, \"A second ferryman.\"\r\n"
        "#TRAIT, \"CREATURE:\", #TRAIT, \"HP:3\", \r\n#EXTRADATA, 12, TURNSTART, , "
        "%%%0%0%0%0%0%0%0%0, \r\n\r\n" +
        DeckBlock("Second Deck", 7001, 7030, {7043}) + DeckBlock("Third Deck", 7043, 7043, {7002}));
    Main();
    State& st = St();
    const int tokens = st.Players[1].Tokens;

    int price = 0;
    for (Card& card : st.Collection)
        if (card.GID == 7043) price = GetTokenCost(card);
    ASSERT_GT(price, 0);
    flow.onCall[WindowCall::ShowDeckManager] = [&] {
        // The menu's command is under way: the modal window runs commands of its own.
        ui::ModalScope modal;
        EXPECT_EQ(st.DeckManagerFromMenu, 1);
        Apply(logic.Open());
        const int ferryman = SlotShowing(view.collection, "Card-ferryman-mini.jpg");
        ASSERT_EQ(ferryman, 0) << "deck 1 holds every other card";
        Apply(logic.SellCards());
        Apply(logic.CollectionClick(ferryman));
        EXPECT_EQ(st.Players[1].Tokens, tokens + price);
        EXPECT_TRUE(CloseBox());
    };
    ui::MainCommands menu;
    ASSERT_TRUE(menu.OpenDeckManager());
    EXPECT_EQ(st.DeckManagerFromMenu, 0);

    Restart();
    EXPECT_EQ(St().Players[1].Tokens, tokens + price) << "the tokens fell back after a restart";
    for (const Card& card : St().Collection)
        EXPECT_NE(card.GID, 7043) << "the sold card came back";
    ASSERT_EQ(St().Decks.size(), 3);
    for (const DeckList& deck : St().Decks)
        EXPECT_FALSE(Holds(deck.CardIds, 7043)) << deck.Name;
    EXPECT_TRUE(Holds(St().Decks[3].CardIds, 7002));
}

// An opponent saved from the player's deck played under its player card's name: both sides read
// "Lamplighter" on the board and in the log.
TEST_F(DeckManagerFlow, AnOpponentSavedFromADeckPlaysUnderTheNameGiven) {
    Main();
    State& st = St();
    flow.onCall[WindowCall::ShowDeckManager] = [&] {
        ui::ModalScope modal;
        Apply(logic.Open());
        dialogs.inputs = {"Gloamer"};
        Apply(logic.SaveAsOpponent());
        EXPECT_TRUE(CloseBox());
    };
    ui::MainCommands menu;
    ASSERT_TRUE(menu.OpenDeckManager());
    ASSERT_EQ(dialogs.messages, std::vector<std::string>{"Enemy saved."});
    ui::QuitToNewGame();
    const std::string link = OpponentLink("Gloamer_Enemy.txt");
    ASSERT_FALSE(link.empty()) << "the games page does not offer the opponent saved";

    flow.onCall[WindowCall::ShowDeckManager] = [&] {
        logic = ui::DeckManagerLogic();
        Apply(logic.Open());
        Apply(logic.Done());
    };
    ASSERT_TRUE(StartGameFromLink(link));
    ASSERT_TRUE(st.InPlay.Has(st.Players[2].CardIndex));
    EXPECT_EQ(st.InPlay[st.Players[2].CardIndex].Name, "Gloamer");
    // The board's text, without its tags.
    std::string board;
    bool inTag = false;
    for (const char c : ReadWholeFile(Folder() / "Display.html").value_or("")) {
        if (c == '<' || c == '>')
            inTag = c == '<';
        else if (!inTag)
            board += c;
    }
    EXPECT_NE(board.find("Gloamer draws an opening hand."), std::string::npos);
    EXPECT_NE(board.find("Lamplighter draws an opening hand."), std::string::npos);
}

// Quit in the deck manager of a game start ended the program only after the game had started
// and played its first turn, whose end may save the player file.
TEST_F(DeckManagerFlow, QuitInTheDeckManagerOfAGameStartStartsNoGame) {
    Main();
    const std::string link = OpponentLink("Bogwarden_Enemy.txt");
    ASSERT_FALSE(link.empty());
    const std::string saved = PlayerFile();
    flow.onCall[WindowCall::ShowDeckManager] = [&] {
        Apply(logic.Open());
        Apply(logic.Quit());
    };
    EXPECT_FALSE(StartGameFromLink(link));
    EXPECT_EQ(flow.calls.back(), "EndProgram");
    EXPECT_EQ(St().GameStarted, 0);
    for (const Card& card : St().InPlay)
        EXPECT_NE(card.Name, "Bogwarden") << "the opponent came into play";
    EXPECT_EQ(PlayerFile(), saved);
}

}  // namespace
}  // namespace dv
