// A new player of the sample game through the windows' logic: a profile made in the profile
// chooser, the starter deck taken from the games page, the player file saved, a deck built in the
// deck manager within the game's deck rules, and a game against an opponent played.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "engine/model/cards.h"
#include "game/game_start.h"
#include "tests/ui/decks/sample_game_fixture.h"
#include "ui/common/engine_guard.h"
#include "ui/decks/profile_chooser.h"
#include "ui/main/main_commands.h"

namespace dv {
namespace {

namespace fs = std::filesystem;

constexpr const char* kNewPlayer = "Wren";
constexpr const char* kStarterFile = "Lamplighter_StarterDeck.txt";
constexpr const char* kPlayerCardThumbnail = "Card-lamplighter-mini.jpg";
// The game's deck rules: at least 30 cards, one player card, at most three of a name.
constexpr int kDeckSize = 30;
constexpr int kCopiesTaken = 2;

class NewPlayerFlow : public test::SampleDecksTest {
  protected:
    void SetUp() override {
        SampleDecksTest::SetUp();
        // The chooser as the player uses it: the new player's own button once there is one,
        // else "New Player" and the name.
        flow.onCall[WindowCall::ShowProfileMenu] = [this] {
            ui::ProfileChooser chooser;
            chooser.Load();
            const auto captions = chooser.Captions();
            const auto own = std::find(captions.begin(), captions.end(), kNewPlayer);
            if (own == captions.end()) dialogs.inputs.push_back(kNewPlayer);
            const int button = own == captions.end() ? 0 : static_cast<int>(own - captions.begin());
            choice = chooser.Click(button);
        };
    }

    static int Named(const List<Card>& cards, const std::string& name = "") {
        return static_cast<int>(std::count_if(cards.begin(), cards.end(), [&](const Card& card) {
            return !card.Name.empty() && (name.empty() || card.Name == name);
        }));
    }
    std::string Page() const { return ReadWholeFile(Folder() / "Display.html").value_or(""); }
    static bool Has(const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    }
    int DeckCards() const { return std::stoi(view.cardCount.value_or("Cards: 0").substr(7)); }

    // Scrolls the collection pane from the top until a card the filter takes shows, and clicks
    // it. False when no card of the collection is taken.
    template <class Takes>
    bool AddFirstCard(Takes takes) {
        int scroll = 1;
        Apply(logic.Scroll(1, scroll));
        for (;;) {
            for (int slot = 0; slot < kPaneSlots; ++slot) {
                const ui::SlotDraw& shown = view.collection[slot];
                if (shown.change != ui::SlotDraw::Change::Show || !shown.picture) continue;
                const std::string thumbnail = fs::path(*shown.picture).filename().string();
                if (!takes(thumbnail)) continue;
                Apply(logic.CollectionClick(slot));
                ++taken[thumbnail];
                return true;
            }
            if (scroll >= view.collectionScrollMax.value_or(1)) return false;
            scroll += kPaneSlots;
            Apply(logic.Scroll(1, scroll));
        }
    }

    // The deck manager as the new player uses it at a game start: deck list 1 gets the player
    // card and two of every other card, by name, until it is big enough; then DONE.
    void BuildDeck() {
        Apply(logic.Open());
        Apply(logic.Sort(2, "", ""));
        ASSERT_TRUE(AddFirstCard([](const std::string& t) { return t == kPlayerCardThumbnail; }));
        while (DeckCards() < kDeckSize) {
            ASSERT_TRUE(AddFirstCard([&](const std::string& t) {
                return t != kPlayerCardThumbnail && taken[t] < kCopiesTaken;
            })) << "the collection ran out at "
                << DeckCards() << " cards";
        }
        EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages.front();
        Apply(logic.Done());
        EXPECT_TRUE(closed) << "the deck breaks the deck rules";
    }

    ui::ProfileChooser::Choice choice = ui::ProfileChooser::Choice::StaysOpen;
    std::map<std::string, int> taken;  // cards added to the deck, by thumbnail
    ui::MainCommands menu;
};

TEST_F(NewPlayerFlow, StarterDeckThenADeckOfItsCardsAgainstAnOpponent) {
    Main();
    ASSERT_EQ(choice, ui::ProfileChooser::Choice::Created);
    ASSERT_EQ(St().CurrentProfile.Name, kNewPlayer);
    EXPECT_EQ(St().Players[1].Tokens, 500);
    EXPECT_EQ(Named(St().Collection), 0);
    EXPECT_TRUE(Has(Page(), "Lamplighter Starter Deck</a>")) << "the games page offers no starter";

    // An opponent wants a deck the new player does not have yet.
    EXPECT_FALSE(StartGameFromLink(OpponentLink("Bogwarden_Enemy.txt")));
    ASSERT_EQ(flow.messages.size(), 1u);
    EXPECT_EQ(
        flow.messages[0],
        "You do not have a deck for this game!\nPlease choose a starter deck or a card store.");
    flow.messages.clear();

    // The starter game: no player file and no deck manager needed; its card hands out the deck.
    const std::string starter = OpponentLink(kStarterFile);
    ASSERT_FALSE(starter.empty()) << Page();
    ASSERT_TRUE(StartGameFromLink(starter));
    EXPECT_TRUE(flow.messages.empty()) << flow.messages.front();
    EXPECT_EQ(std::count(flow.calls.begin(), flow.calls.end(), "ShowDeckManager"), 0);
    EXPECT_EQ(St().StarterDeck, 0);
    EXPECT_EQ(St().Players[1].Tokens, 500);
    const int owned = Named(St().Collection);
    EXPECT_EQ(owned, 81) << "a booster of 80 and the player card";
    EXPECT_EQ(Named(St().Collection, "Lamplighter"), 1) << "every deck has exactly one";
    EXPECT_EQ(Named(St().Collection, "Bogwarden"), 0) << "cards of the refused opponent";
    const std::string page = Page();
    const auto firstCard = page.find("<i>Costs ");
    ASSERT_NE(firstCard, std::string::npos);
    EXPECT_LT(page.find("Your new starter deck contains the following cards."), firstCard)
        << "the cards handed out follow the words that announce them";
    EXPECT_TRUE(menu.TakeTurn()) << "the starter game goes on quietly";
    EXPECT_EQ(Named(St().Collection), owned) << "only the game start hands out cards";

    ASSERT_TRUE(menu.SaveCurrentPlayer());
    const std::string playerFile = std::string("Mosslight_") + kNewPlayer + ".plr";
    ASSERT_TRUE(fs::exists(Folder() / playerFile));
    EXPECT_TRUE(Has(ReadWholeFile(Folder() / "PlayerProfiles.txt").value_or(""),
                    playerFile + ":Mosslight.gam"));

    // The next run of the program: the player's own profile, cards and tokens.
    Restart();
    ASSERT_EQ(choice, ui::ProfileChooser::Choice::Picked);
    EXPECT_EQ(Named(St().Collection), owned);
    EXPECT_EQ(St().Players[1].Tokens, 500);

    flow.onCall[WindowCall::ShowDeckManager] = [&] {
        logic = ui::DeckManagerLogic();
        BuildDeck();
    };
    ASSERT_TRUE(StartGameFromLink(OpponentLink("Bogwarden_Enemy.txt")));
    EXPECT_TRUE(flow.messages.empty()) << flow.messages.front();
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages.front();
    {
        State& st = St();
        EXPECT_EQ(st.CurrentDeck, 1);
        const int lamplighter = st.Players[1].CardIndex;
        ASSERT_TRUE(st.InPlay.Has(lamplighter));
        EXPECT_EQ(st.InPlay[lamplighter].Name, "Lamplighter");
        EXPECT_EQ(st.InPlay[lamplighter].Owner, 1);
        EXPECT_EQ(st.InPlay[st.Players[2].CardIndex].Name, "Bogwarden");
        EXPECT_EQ(Named(st.Players[1].Deck) + Named(st.Players[1].Hand), kDeckSize - 1);
    }
    for (int turn = 2; turn <= 4 && St().GameOver == 0; ++turn) {
        SCOPED_TRACE(turn);
        ASSERT_TRUE(menu.TakeTurn());
        // The queued-plays page takes "Display.html" after the turn; the report stays here.
        EXPECT_TRUE(
            Has(ReadWholeFile(Folder() / "LastDiplayed.html").value_or(""), "Enemy Card Plays"));
    }
    EXPECT_TRUE(flow.messages.empty()) << flow.messages.front();

    // The deck built is the player's for good.
    Restart();
    const List<DeckList>& decks = St().Decks;
    ASSERT_GE(decks.size(), 1);
    EXPECT_EQ(std::count_if(decks[1].CardIds.begin(), decks[1].CardIds.end(),
                            [](int32_t id) { return id != 0; }),
              kDeckSize);
}

// A deck chosen in the deck manager from the menu names a list that the next new-game set-up,
// which reads the lists afresh, no longer has: the starter game failed with "Error in".
TEST_F(NewPlayerFlow, StarterGameAfterANewGameWhoseDeckListsAreFewer) {
    Main();
    State& st = St();
    flow.onCall[WindowCall::ShowDeckManager] = [&] {
        ui::ModalScope modal;
        Apply(logic.Open());
        dialogs.inputs.push_back("Second");
        Apply(logic.NewDeck());
        Apply(logic.ChooseDeck(1));
        EXPECT_TRUE(CloseBox());
    };
    ASSERT_TRUE(menu.OpenDeckManager());
    ASSERT_EQ(st.CurrentDeck, 2);
    ASSERT_TRUE(menu.NewGame());
    ASSERT_EQ(st.Decks.size(), 1) << "a new player's collection is empty, so nothing was saved";

    ASSERT_TRUE(StartGameFromLink(OpponentLink(kStarterFile)));
    EXPECT_TRUE(flow.messages.empty()) << flow.messages.front();
    EXPECT_EQ(st.CurrentDeck, 1);
    EXPECT_EQ(Named(st.Collection), 81);
}

}  // namespace
}  // namespace dv
