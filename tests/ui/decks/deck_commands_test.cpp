// The deck manager's deck list commands and file menu with scripted dialogs, cancels included.

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>

#include "data/card_files.h"
#include "engine/model/card_lists.h"
#include "engine/model/files.h"
#include "engine/model/hands_and_decks.h"
#include "tests/ui/decks/deck_manager_fixture.h"
#include "ui/decks/deck_manager_texts.h"

namespace dv {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class DeckCommandsTest : public test::DeckManagerTest {
  protected:
    void SetUp() override {
        DeckManagerTest::SetUp();
        PlayZetaAsGuest("zeta");
        fs::create_directories(Folder() / "zeta");
        SetCollection({Owned("Mage", 1, 0, {{"PLAYER", ""}}), Owned("Imp", 2), Owned("Orc", 3)});
        SetDeck(1, "Red", {1, 2});
        Apply(logic.Open());
    }
    std::string DeckName(int n) const { return St().Decks[n].Name; }
};

TEST_F(DeckCommandsTest, DeckListCommandsAndTheirCancels) {
    State& st = St();
    Apply(logic.DuplicateDeck());
    ASSERT_EQ(st.Decks.size(), 2);
    EXPECT_EQ(DeckName(2), "Copy of Red");
    EXPECT_EQ(DeckIds(2), DeckIds(1));
    EXPECT_EQ(st.CurrentDeck, 2);
    EXPECT_EQ(view.chosenDeck, 1);

    struct Row {
        const char* fault;
        std::optional<std::string> answer;
        const char* name;
    };
    const Row renames[] = {
        {"a cancelled rename empties the name", std::nullopt, "Copy of Red"},
        {"the typed name is lost", "Blue", "Blue"},
        {"an empty answer is taken for a cancel", "", "New Deck"},
    };
    for (const Row& r : renames) {
        SCOPED_TRACE(r.fault);
        dialogs.inputs = {r.answer};
        Apply(logic.RenameDeck());
        EXPECT_EQ(DeckName(2), r.name);
    }
    EXPECT_EQ(dialogs.asked, (Names(3, "New name for deck?")));

    dialogs.inputs = {std::nullopt};
    Apply(logic.NewDeck());
    EXPECT_EQ(st.Decks.size(), 2) << "a cancelled new deck was made";
    dialogs.inputs = {"Green"};
    Apply(logic.NewDeck());
    ASSERT_EQ(st.Decks.size(), 3);
    EXPECT_EQ(DeckName(3), "Green");
    EXPECT_EQ(DeckIds(3), (std::vector<int32_t>{0}));
    EXPECT_EQ(view.cardCount, "Cards: 0");

    st.DeckManagerMode = kOpponentDeck;
    dialogs.asked.clear();
    Apply(logic.NewDeck());
    EXPECT_EQ(st.Decks.size(), 3);
    EXPECT_TRUE(dialogs.asked.empty()) << "a new deck is offered in the opponent mode";
    st.DeckManagerMode = kEditDecks;

    Apply(logic.UnUniqueify());
    st.Collection[2].UniqueName = "x";
    Apply(logic.UnUniqueify());
    EXPECT_EQ(st.Collection[2].UniqueName, "Imp");
}

TEST_F(DeckCommandsTest, NoDeckListPastTheLastOneTheDeckChoiceCanChoose) {
    State& st = St();
    while (st.Decks.size() < ui::kMaxDecks)
        st.Decks.PushBack(DeckList{"More", {0}, {0}});
    dialogs.inputs = {"Extra"};
    Apply(logic.NewDeck());
    Apply(logic.DuplicateDeck());
    EXPECT_EQ(st.Decks.size(), ui::kMaxDecks) << "a deck number wrapped round to 0";
    EXPECT_EQ(dialogs.messages, (Names(2, ui::kTooManyDecks)));
    EXPECT_EQ(dialogs.inputs.size(), 1u) << "the name was asked for a deck that cannot be made";

    Apply(logic.ChooseDeck(ui::kMaxDecks - 1));
    EXPECT_EQ(st.CurrentDeck, ui::kMaxDecks);
    dialogs.messages.clear();
    Apply(logic.LoadExistingOpponent());
    Apply(logic.RandomizeDeck());
    EXPECT_EQ(dialogs.messages, (Names(2, ui::kStoredDeckRange)))
        << "a deck past the three stored decks was indexed";
    EXPECT_TRUE(host.messages.empty()) << host.messages.front();
}

TEST_F(DeckCommandsTest, TheSaleModeToggleShowsItsHintOnce) {
    for (int press = 1; press <= 3; ++press)
        Apply(logic.SellCards());
    EXPECT_EQ(St().SaleMode, 1);
    EXPECT_EQ(dialogs.messages, (Names{ui::kSaleHint}));
    Apply(logic.SellCards());
    EXPECT_EQ(St().SaleMode, 0);
    Apply(logic.Help());
    EXPECT_EQ(dialogs.messages.back(), ui::kHelpText);
}

TEST_F(DeckCommandsTest, AnOpponentIsSavedOnlyUnderANameAndSaidSavedOnlyWhenWritten) {
    struct Row {
        const char* fault;
        uint8_t mode;
        std::optional<std::string> answer;
        const char* file;     // the file written in the game's folder, or empty for none
        const char* message;  // the deck manager's last message, or empty for none
    };
    const Row rows[] = {
        {"the PLAYER card does not name the opponent", kEditDecks, "", "Mage_Enemy.txt",
         "Enemy saved."},
        {"a cancel saves", kEditDecks, std::nullopt, "", ""},
        {"the typed name is not used", kOpponentDeck, "Wight", "Wight_Enemy.txt", "Enemy saved."},
        {"an opponent without a name is saved", kOpponentDeck, "", "", ui::kEnemyNeedsName},
        {"a name leaving the folder is taken", kEditDecks, "../Wight", "", ""},
        {"the card view saves an opponent", kCardView, "Wight", "", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.fault);
        St().DeckManagerMode = r.mode;
        St().EnemyCards = ListOf({Owned("Ghoul", 9)});
        fs::remove_all(Folder() / "zeta");
        fs::create_directories(Folder() / "zeta");
        dialogs.messages.clear();
        dialogs.inputs = {r.answer};
        Apply(logic.SaveAsOpponent());
        std::vector<std::string> written;
        for (const auto& entry : fs::directory_iterator(Folder() / "zeta"))
            written.push_back(entry.path().filename().string());
        EXPECT_EQ(written, *r.file ? Names{r.file} : Names{});
        EXPECT_EQ(dialogs.messages, *r.message ? Names{r.message} : Names{});
        if (std::string(r.message) == "Enemy saved.") {
            EXPECT_TRUE(logic.EnemySaved());
        }
    }

    // A file that cannot be written says why, and not that it was saved.
    St().DeckManagerMode = kEditDecks;
    Apply(logic.Activate());
    EXPECT_FALSE(logic.EnemySaved());
    fs::remove_all(Folder() / "zeta");
    std::ofstream(Folder() / "zeta") << "a file where the game's folder should be";
    dialogs.messages.clear();
    host.messages.clear();
    dialogs.inputs = {"Wight"};
    Apply(logic.SaveAsOpponent());
    EXPECT_TRUE(host.messages.empty()) << "the deck manager tells the reason itself";
    ASSERT_EQ(dialogs.messages.size(), 1u) << "the failed save gave no reason";
    EXPECT_NE(dialogs.messages[0].find("Could not save Wight_Enemy.txt"), std::string::npos)
        << dialogs.messages[0];
    EXPECT_NE(dialogs.messages[0].find("Not a directory"), std::string::npos)
        << "the system's words are lost: " << dialogs.messages[0];
    EXPECT_FALSE(logic.EnemySaved());
}

TEST_F(DeckCommandsTest, FileCommandsReadAndWriteWhatWasChosenAndCancelsChangeNothing) {
    State& st = St();
    const Names names = {"Mage", "Imp", "Orc"};
    Apply(logic.SavePlayerAs());
    Apply(logic.LoadPlayer());
    Apply(logic.LoadExistingOpponent());
    EXPECT_EQ(dialogs.asked, (Names{"Save Player", "Load Player", "Load Existing Opponent"}));
    ASSERT_EQ(st.Collection.size(), 3);
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(st.Collection[i].Name, names[i - 1])
            << "a cancelled dialog changed the collection";
    EXPECT_FALSE(fs::exists(Folder() / "Zeta_Guest.plr"));

    dialogs.files = {(Folder() / "Backup").string()};
    Apply(logic.SavePlayerAs());
    ASSERT_TRUE(fs::exists(Folder() / "Backup.plr")) << "the default extension was not added";
    fs::create_directory(Folder() / "Taken.plr");
    dialogs.files = {(Folder() / "Taken.plr").string()};
    dialogs.messages.clear();
    Apply(logic.SavePlayerAs());
    ASSERT_EQ(dialogs.messages.size(), 1u) << "a failed save of the player said nothing";
    EXPECT_NE(dialogs.messages[0].find("Is a directory"), std::string::npos) << dialogs.messages[0];

    st.Collection[3].Name = "Changed";
    Apply(logic.ChooseDeck(0));
    st.CurrentDeck = 1;
    dialogs.files = {(Folder() / "Backup.plr").string()};
    Apply(logic.LoadPlayer());
    EXPECT_EQ(st.Collection[3].Name, "Orc");
    EXPECT_EQ(Shown(view.deck).size(), 2u);
    EXPECT_EQ(view.cardCount, "Cards: 2") << "the empty first entry of a read deck counted none";

    List<Card> foes = ListOf({Owned("Ghoul", 0), Owned("Wraith", 0)});
    ASSERT_TRUE(SaveEnemy(foes, (Folder() / "zeta" / "Ghoul_Enemy.txt").string(), "Ghoul"));
    st.DeckManagerMode = kOpponentDeck;
    st.EnemyCards = ListOf({Owned("Imp", 0)});
    dialogs.files = {(Folder() / "zeta" / "Ghoul_Enemy.txt").string()};
    Apply(logic.LoadExistingOpponent());
    Names enemies;
    for (const Card& card : st.EnemyCards)
        if (!card.Name.empty()) enemies.push_back(card.Name);
    EXPECT_EQ(enemies, (Names{"Imp", "Ghoul", "Wraith"})) << "the opponent's cards were not added";
    ASSERT_EQ(st.PlayerDecks[1].Cards.size(), 1);
    EXPECT_TRUE(st.PlayerDecks[1].Cards[1].Name.empty());
}

// "Load Player" of a file that is no player file emptied both panes without a word.
TEST_F(DeckCommandsTest, LoadingAFileOfNoCardsSaysSoAndKeepsThePanes) {
    fs::copy_file(fs::path(DV_SOURCE_DIR) / "content/Pictures/Card-marshwitch.jpg",
                  Folder() / "witch.jpg");
    WriteFile("empty.plr", "");
    State& st = St();
    st.Players[1].Tokens = 77;
    const ui::DeckView before = view;
    const std::vector<int32_t> ids = DeckIds(1);
    for (const char* file : {"witch.jpg", "empty.plr"}) {
        SCOPED_TRACE(file);
        dialogs.messages.clear();
        dialogs.files = {(Folder() / file).string()};
        Apply(logic.LoadPlayer());
        EXPECT_EQ(dialogs.messages,
                  Names{"\"" + std::string(file) +
                        "\" holds no cards: the collection and the decks stay as they were."});
        ASSERT_EQ(st.Collection.size(), 3);
        EXPECT_EQ(st.Collection[2].Name, "Imp");
        EXPECT_EQ(DeckIds(1), ids);
        EXPECT_EQ(DeckName(1), "Red");
        EXPECT_EQ(st.Players[1].Tokens, 77);
        EXPECT_EQ(Shown(view.deck), Shown(before.deck)) << "the deck pane was drawn afresh";
        EXPECT_EQ(Shown(view.collection), Shown(before.collection));
    }
    EXPECT_FALSE(fs::exists(Folder() / "Zeta_Guest.plr")) << "nothing is written";
}

// The text up to a few characters into the traits of its `nth` card (from 1): a file cut short
// there, after the cards before it.
std::string CutInsideTraits(const std::string& text, int nth) {
    std::size_t at = 0;
    for (int i = 0; i < nth && at != std::string::npos; ++i)
        at = text.find("\n#TRAIT, \"", at + 1);
    return at == std::string::npos ? std::string() : text.substr(0, at + 11);
}

Names NamesIn(const List<Card>& cards) {
    Names names;
    for (const Card& card : cards)
        if (!card.Name.empty()) names.push_back(card.Name);
    return names;
}

// Load Player of a player file cut short replaced the collection and the decks with the few
// cards read before the break, and each load of the deck manager kept what it read so.
TEST_F(DeckCommandsTest, AFailedLoadChangesNothingWhateverItReadBeforeTheFault) {
    const fs::path content = fs::path(DV_SOURCE_DIR) / "content";
    WriteFile("cut.plr",
              CutInsideTraits(ReadWholeFile(content / "Mosslight_Guest.plr").value_or(""), 5));
    WriteFile(
        "zeta/Cut_Enemy.txt",
        CutInsideTraits(ReadWholeFile(content / "Mosslight/Bogwarden_Enemy.txt").value_or(""), 4));
    WriteFile("empty.plr", "");
    fs::create_directory(Folder() / "folder.plr");
    for (const char* cut : {"cut.plr", "zeta/Cut_Enemy.txt"}) {
        SCOPED_TRACE(cut);
        List<Card> cards;
        Player reader;
        InitPlayer(reader, 2);
        EXPECT_FALSE(ReadCards(cards, (Folder() / cut).string(), reader, 0, "", kReadAppend));
        EXPECT_TRUE(HasNamedCard(cards) || HasNamedCard(reader.Deck))
            << "no card is read before the cut";
    }

    enum class Load { Player, IntoStoredDeck, IntoOpponent };
    struct Row {
        const char* fault;
        Load load;
        const char* file;
    };
    const Row rows[] = {
        {"a player file cut short left the cards read before the cut", Load::Player, "cut.plr"},
        {"a player file of no cards emptied the panes", Load::Player, "empty.plr"},
        {"a player file that cannot be read changed the panes", Load::Player, "folder.plr"},
        {"a card file cut short emptied the stored deck it was read into", Load::IntoStoredDeck,
         "zeta/Cut_Enemy.txt"},
        {"an opponent cut short added its first cards to the opponent being edited",
         Load::IntoOpponent, "zeta/Cut_Enemy.txt"},
    };
    State& st = St();
    st.Players[1].Tokens = 77;
    st.PlayerDecks[1].Cards = ListOf({Owned("Keep", 7)});
    st.EnemyCards = ListOf({Owned("Ghoul", 9)});
    const std::string rules = st.RulesCard.Name;
    const std::vector<int32_t> ids = DeckIds(1);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.fault);
        st.DeckManagerMode = r.load == Load::IntoOpponent ? kOpponentDeck : kEditDecks;
        host.messages.clear();
        dialogs.messages.clear();
        dialogs.files = {(Folder() / r.file).string()};
        Apply(r.load == Load::Player ? logic.LoadPlayer() : logic.LoadExistingOpponent());
        EXPECT_EQ(host.messages.size() + dialogs.messages.size(), 1u) << "the fault is told once";
        EXPECT_EQ(NamesIn(st.Collection), (Names{"Mage", "Imp", "Orc"}));
        ASSERT_EQ(st.Decks.size(), 1);
        EXPECT_EQ(DeckName(1), "Red");
        EXPECT_EQ(DeckIds(1), ids);
        EXPECT_EQ(st.Players[1].Tokens, 77);
        EXPECT_EQ(NamesIn(st.PlayerDecks[1].Cards), Names{"Keep"});
        EXPECT_EQ(NamesIn(st.EnemyCards), Names{"Ghoul"});
        EXPECT_EQ(st.RulesCard.Name, rules);
        EXPECT_TRUE(st.PartialCollectionFile.empty()) << "the player file can no longer be saved";
    }
}

// Saving an opponent under the name of one saved before replaced that file without a word.
TEST_F(DeckCommandsTest, AnOpponentSavedOverAnExistingFileAsksFirstAndANoWritesNothing) {
    // The folder is named: the file replaced is the game's, whichever file the player opened.
    const std::string question = "\"Wight_Enemy.txt\" already exists in the game's folder " +
                                 (Folder() / "zeta").string() + ". Replace it with this deck?";
    struct Row {
        const char* fault;
        uint8_t mode;
        bool byDone;  // DONE of the opponent editing, which offers the save first
        bool exists;  // a file of that name is there before
        std::deque<bool> answers;
        bool written;
    };
    const Row rows[] = {
        {"the player's own opponent was replaced unasked", kEditDecks, false, true, {false}, false},
        {"a Yes did not replace it", kEditDecks, false, true, {true}, true},
        {"a new opponent's file was asked about", kEditDecks, false, false, {}, true},
        {"an edited opponent was replaced unasked", kOpponentDeck, false, true, {false}, false},
        {"DONE's save replaced it unasked", kOpponentDeck, true, true, {true, false}, false},
    };
    const fs::path file = Folder() / "zeta" / "Wight_Enemy.txt";
    for (const Row& r : rows) {
        SCOPED_TRACE(r.fault);
        St().DeckManagerMode = r.mode;
        St().EnemyCards = ListOf({Owned("Ghoul", 9)});
        fs::remove(file);
        if (r.exists) WriteFile("zeta/Wight_Enemy.txt", "mine");
        Apply(logic.Activate());
        dialogs.asked.clear();
        dialogs.messages.clear();
        dialogs.inputs = {"Wight"};
        dialogs.answers = r.answers;
        Apply(r.byDone ? logic.Done() : logic.SaveAsOpponent());
        const Names asked(dialogs.asked.begin() + (r.byDone ? 1 : 0), dialogs.asked.end());
        const Names wanted =
            r.exists ? Names{ui::kEnemyNamePrompt, question} : Names{ui::kEnemyNamePrompt};
        EXPECT_EQ(asked, wanted);
        EXPECT_EQ(ReadWholeFile(file).value_or("") == "mine", !r.written);
        EXPECT_EQ(dialogs.messages.size() == 1 && dialogs.messages[0] == "Enemy saved.", r.written);
        EXPECT_EQ(logic.EnemySaved(), r.written);
    }
}

// An opponent saved from a deck played under its player card's name: "Mage draws an opening hand."
// on both sides, and no end line said who had lost.
TEST_F(DeckCommandsTest, ASavedOpponentsPlayerCardCarriesTheNameGiven) {
    for (const char* name : {"Wight", ""}) {
        SCOPED_TRACE(name);
        dialogs.inputs = {std::string(name)};
        Apply(logic.SaveAsOpponent());
        const std::string given = *name ? name : "Mage";
        List<Card> read;
        Player opponent;
        InitPlayer(opponent, 2);
        ASSERT_TRUE(
            ReadCards(read, (Folder() / "zeta" / (given + "_Enemy.txt")).string(), opponent));
        Names players;
        for (Card& card : opponent.Deck)
            if (!card.Name.empty() && HasTrait(card, "PLAYER", 0)) players.push_back(card.Name);
        EXPECT_EQ(players, Names{given}) << "the opponent plays its deck's player card";
        EXPECT_EQ(NamesIn(opponent.Deck).size(), 2u);
    }
    EXPECT_EQ(St().Collection[1].Name, "Mage") << "the player's own card was renamed";
}

TEST_F(DeckCommandsTest, QuitEndsTheProgramWithoutSaving) {
    const ui::DeckOutcome out = Apply(logic.Quit());
    EXPECT_TRUE(out.close);
    EXPECT_TRUE(closed);
    EXPECT_EQ(host.calls.back(), "EndProgram");
    EXPECT_EQ(St().EndProgram, 1) << "the command that opened the window goes on";
    EXPECT_FALSE(fs::exists(Folder() / "Zeta_Guest.plr"));
    EXPECT_TRUE(CloseBox());
    EXPECT_FALSE(fs::exists(Folder() / "Zeta_Guest.plr"));
}

// The designer's cards, their save not done, kept the program going: Quit still closed this window
// and left the command that opened it stopping, with the program going on.
TEST_F(DeckCommandsTest, AQuitThatDidNotEndTheProgramLeavesTheWindowAsItWas) {
    host.onCall[WindowCall::EndProgram] = [] { St().EndProgram = 0; };
    const ui::DeckOutcome out = Apply(logic.Quit());
    EXPECT_FALSE(out.close);
    EXPECT_EQ(St().EndProgram, 0);
    EXPECT_TRUE(CloseBox());
    EXPECT_TRUE(fs::exists(Folder() / "Zeta_Guest.plr")) << "its close saves as before";
}

}  // namespace
}  // namespace dv
