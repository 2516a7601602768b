// The card test started from the deck manager on the sample game: the rules file asked for (and
// the way out of that question), the test game dealt from the four test lists, and the player's
// own data untouched by the test.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "engine/model/cards.h"
#include "engine/rules/rule_operations.h"
#include "game/card_test.h"
#include "tests/ui/decks/sample_game_fixture.h"
#include "ui/decks/deck_manager_modes.h"
#include "ui/decks/deck_manager_texts.h"

namespace dv {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class CardTestFlow : public test::SampleDecksTest {
  protected:
    void SetUp() override {
        SampleDecksTest::SetUp();
        Main();
        // The designer has its card file open and asks for a test.
        State& st = St();
        Player reader;
        ReadCards(st.EditCards, "Mosslight/Mosslight_Set.txt", reader);
        ui::PrepareCardTest();
        Apply(logic.Open());
    }
    // Clicks the designer's card of that name into test list `list` (1 to 4).
    void Put(int list, const std::string& name) {
        Apply(logic.ChooseDeck(list - 1));
        const List<Card>& cards = St().EditCards;
        for (int i = 1; i <= cards.size(); ++i) {
            if (cards[i].Name != name) continue;
            Apply(logic.Scroll(1, i));
            Apply(logic.CollectionClick(0));
            return;
        }
        ADD_FAILURE() << name << " is not among the designer's cards";
    }
    static Names Named(const List<Card>& cards) {
        Names names;
        for (const Card& card : cards)
            names.push_back(card.Name.empty() ? "-" : card.Name);
        return names;
    }
};

TEST_F(CardTestFlow, TheTestGameIsDealtFromTheTestListsWithoutAQuestion) {
    State& st = St();
    Put(1, "Mossling");
    Put(1, "Glowmoth");
    Put(3, "Lamplighter");
    Put(4, "Bog Hound");
    Apply(logic.ChooseDeck(0));
    Apply(logic.DeckClick(0));
    ASSERT_FALSE(st.GameFile.empty()) << "the card file names its rules file";

    st.GameOver = 1;  // the last game ended before the test
    Apply(logic.Done());
    EXPECT_TRUE(closed);
    EXPECT_EQ(st.GameOver, 0) << "the first Take Turn of the test would start a new game";
    EXPECT_TRUE(dialogs.asked.empty()) << "a rules file already found was asked for";
    EXPECT_EQ(st.EditorTest, 1);
    EXPECT_EQ(st.DebugMode, 1);
    ASSERT_EQ(st.Players[1].Hand.size(), 10);
    Names hand = Named(st.Players[1].Hand);
    EXPECT_EQ(hand[0], "-") << "the card taken out of the test hand came back";
    EXPECT_EQ(hand[1], "Glowmoth") << "the test hand's slots moved";
    int lamplighters = 0, hounds = 0;
    for (const Card& card : st.InPlay) {
        if (card.Name == "Lamplighter" && card.Owner == 1) ++lamplighters;
        if (card.Name == "Bog Hound" && card.Owner == 2) ++hounds;
        EXPECT_NE(card.Name, "Bogwarden") << "the board was not cleared";
    }
    EXPECT_EQ(lamplighters, 1);
    EXPECT_EQ(hounds, 1);
    EXPECT_NE(std::find(flow.calls.begin(), flow.calls.end(), "ShowMainWindow"), flow.calls.end());
    EXPECT_EQ(st.Players[2].Deck.size(), 1) << "the test has no draw decks";
}

TEST_F(CardTestFlow, TheRulesQuestionCanBeLeftAndAFileOutsideTheFolderIsRead) {
    State& st = St();
    Put(3, "Lamplighter");
    st.GameFile = "Nowhere.gam";
    st.DeckRules.clear();
    const int debugBefore = st.DebugMode;
    const std::size_t pagesBefore = flow.pages.size();

    Apply(logic.Done());
    EXPECT_FALSE(closed) << "the test start could not be left";
    EXPECT_EQ(dialogs.messages, (Names{ui::kChooseRulesFile}));
    ASSERT_EQ(dialogs.filters.size(), 1u);
    EXPECT_NE(dialogs.filters[0].substr(0, dialogs.filters[0].find(";;")).find("*.gam"),
              std::string::npos)
        << "the sample game's rules file was hidden";
    EXPECT_EQ(st.EditorTest, 0);
    EXPECT_EQ(st.DebugMode, debugBefore);
    EXPECT_EQ(flow.pages.size(), pagesBefore) << "a cancelled test played a turn";
    EXPECT_FALSE(CloseBox()) << "the close box left the designer hidden with no window";

    const fs::path outside =
        fs::temp_directory_path() / ("duvenhall-rules-" + std::to_string(::getpid()));
    fs::create_directories(outside);
    fs::copy_file(Folder() / "Mosslight.gam", outside / "Marsh Rules.txt",
                  fs::copy_options::overwrite_existing);
    dialogs.messages.clear();
    dialogs.files = {(outside / "missing.txt").string(), (outside / "Marsh Rules.txt").string()};
    Apply(logic.Done());
    fs::remove_all(outside);

    EXPECT_TRUE(closed);
    EXPECT_EQ(dialogs.messages, (Names(2, ui::kChooseRulesFile)))
        << "an unreadable choice ended the question";
    EXPECT_EQ(st.GameFile, "Marsh Rules.txt");
    EXPECT_NE(st.DeckRules.find("SAMENAMELIMIT"), std::string::npos)
        << "the chosen file was not read by its full path";
    EXPECT_EQ(st.EditorTest, 1);
}

TEST_F(CardTestFlow, ATestLeavesThePlayersFileAndDecksAsTheyWere) {
    State& st = St();
    const std::string file = PlayerFile();
    ASSERT_EQ(st.Decks.size(), 4) << "the test lists stand in for the decks";
    Put(3, "Lamplighter");
    Put(4, "Bog Hound");
    Apply(logic.Done());
    ASSERT_TRUE(closed);

    // The player turns debug mode off, the test game ends and the main window closes.
    st.DebugMode = 0;
    uint8_t winner = 1;
    EndGame(winner);
    SavePlayer(PlayerFileName());
    EXPECT_EQ(PlayerFile(), file) << "the test's lists reached the player file";

    EndCardTest();
    ASSERT_EQ(st.Decks.size(), 1);
    EXPECT_EQ(st.Decks[1].Name, "Starter Deck");
    SavePlayer(PlayerFileName());
    EXPECT_NE(PlayerFile().find("Starter Deck"), std::string::npos);
    EXPECT_EQ(PlayerFile().find("In Player's Hand"), std::string::npos);
}

// A test game plays in debug mode; the end of the test puts the player's own setting back (and the
// menu's check mark with it), so that the saves after it write the player file again.
TEST_F(CardTestFlow, TheTestPutsDebugModeBackAsItFoundIt) {
    State& st = St();
    for (const uint8_t found : {uint8_t{0}, uint8_t{1}}) {
        SCOPED_TRACE(int(found));
        if (found == 1) {
            Player reader;
            ReadCards(st.EditCards, "Mosslight/Mosslight_Set.txt", reader);
            ui::PrepareCardTest();
            Apply(logic.Open());
        }
        st.DebugMode = found;
        Put(3, "Lamplighter");
        Put(4, "Bog Hound");
        Apply(logic.Done());
        ASSERT_TRUE(closed);
        closed = false;
        EXPECT_EQ(st.DebugMode, 1);
        // The player switches debug mode off in the test game, then tests again.
        st.DebugMode = 0;
        StartCardTest();
        EXPECT_EQ(st.DebugMode, 1);

        flow.calls.clear();
        QuickStart();
        EXPECT_EQ(st.DebugMode, found) << "the test left debug mode on";
        EXPECT_EQ(std::count(flow.calls.begin(), flow.calls.end(), "ShowDebugMode"), 1)
            << "the check mark was not told";
    }
    st.DebugMode = 0;
    st.Players[1].Tokens = 777;
    EXPECT_TRUE(SavePlayer(PlayerFileName()));
    EXPECT_NE(PlayerFile().find("#TOKENS, 777"), std::string::npos);
}

// A card test kept the last game's player-card slot, freed by the clearing of the board: the first
// test card placed there was taken for that side's player, and "enemy player" effects aimed at it
// hit the card itself.
TEST_F(CardTestFlow, ACardTestPlacesNoPlayerCardTheAuthorDidNotPutIn) {
    State& st = St();
    struct Row {
        int list;
        const char* card;
        Names players;  // the card each side's player slot holds, "-" for none
    };
    const Row rows[] = {
        {4, "Bog Hound", {"-", "-"}},
        {3, "Bog Hound", {"-", "-"}},
        {3, "Lamplighter", {"Lamplighter", "-"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.list) + " " + r.card);
        ui::PrepareCardTest();
        Apply(logic.Open());
        Put(r.list, r.card);
        Apply(logic.Done());
        ASSERT_TRUE(closed);
        closed = false;
        Names players;
        for (int p = 1; p <= 2; ++p) {
            const Card* card = InPlayCard(st.Players[p].CardIndex);
            players.push_back(card && !card->Name.empty() ? card->Name : "-");
        }
        EXPECT_EQ(players, r.players);
    }
}

}  // namespace
}  // namespace dv
