// The designer's card files: loading, adding and saving them, stores and starter decks, and the
// hand-overs to the deck manager. A cancelled choice or question changes and writes nothing.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

#include "engine/model/card_lists.h"
#include "engine/model/cards.h"
#include "engine/model/text_utils.h"
#include "tests/data/golden.h"
#include "tests/ui/designer/designer_fixture.h"

namespace dv::test {
namespace {

namespace fs = std::filesystem;

class DesignerFilesTest : public DesignerTest {
  protected:
    ui::CardForm& form = designer.form;
    std::string setFile;

    void OpenSet() {
        setFile = WriteCards("set.txt",
                             {{"Gamma", "c", {"HP:3"}, {}, {}}, {"Alpha", "a", {"HP:1"}, {}, {}}});
        OpenWith(setFile);
    }
    // Every file of the test's folder with its text.
    std::map<std::string, std::string> Files() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(Folder()))
            files[entry.path().filename().string()] = ReadFile(entry.path().string());
        return files;
    }
};

TEST_F(DesignerFilesTest, ACancelChangesAndWritesNothing) {
    struct Row {
        const char* what;
        void (ui::Designer::*command)();
        std::deque<std::optional<std::string>> files;
        std::deque<std::optional<std::string>> inputs;
    };
    const std::string out = (Folder() / "out.txt").string();
    const Row rows[] = {
        {"Load Cards", &ui::Designer::LoadCards, {std::nullopt}, {}},
        {"Add Cards from File", &ui::Designer::AddCardsFromFile, {std::nullopt}, {}},
        {"Save Cards As...", &ui::Designer::SaveCardsAs, {std::nullopt}, {}},
        {"Create Card Store, no file", &ui::Designer::CreateCardStore, {std::nullopt}, {}},
        {"Create Card Store, no name", &ui::Designer::CreateCardStore, {out}, {std::nullopt}},
        {"Create Starter Deck Builder, no file",
         &ui::Designer::CreateStarterDeckBuilder,
         {std::nullopt},
         {}},
        {"Create Starter Deck Builder, no name",
         &ui::Designer::CreateStarterDeckBuilder,
         {out},
         {std::nullopt}},
        {"Edit Existing Enemy", &ui::Designer::EditExistingEnemy, {std::nullopt}, {}},
    };
    OpenSet();
    const auto before = Files();
    const std::vector<std::string> names = EditNames();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        dialogs.files = r.files;
        dialogs.inputs = r.inputs;
        (designer.*r.command)();
        EXPECT_EQ(Files(), before);
        EXPECT_EQ(EditNames(), names);
        EXPECT_EQ(St().CardSetFile, setFile);
        EXPECT_TRUE(peers.calls.empty() || peers.calls.back() != "EditEnemyDeck:1");
    }
}

TEST_F(DesignerFilesTest, AFirstSaveAsksACancelWritesNothing) {
    designer.Open(ui::DesignerOpener::MainMenu);
    designer.Activate();
    form.OnCardText(0, "Solo");
    dialogs.files = {std::nullopt};
    designer.SaveCards();
    EXPECT_TRUE(St().CardSetFile.empty());
    EXPECT_TRUE(fs::is_empty(Folder()));
}

TEST_F(DesignerFilesTest, EmptyStoreAndStarterNamesAreRefused) {
    OpenSet();
    const std::string out = (Folder() / "out.txt").string();
    for (auto command : {&ui::Designer::CreateCardStore, &ui::Designer::CreateStarterDeckBuilder}) {
        dialogs.files = {out};
        dialogs.inputs = {std::string()};
        (designer.*command)();
        EXPECT_FALSE(fs::exists(out));
    }
    const std::vector<std::string> expected = {
        "The store needs a name; nothing was written.",
        "The starter deck needs a name; nothing was written."};
    EXPECT_EQ(dialogs.messages, expected);
}

TEST_F(DesignerFilesTest, StoreAndStarterTexts) {
    OpenSet();
    St().GameFile = "Mosslight.gam";
    St().Players[1].Tokens = 500;
    struct Row {
        void (ui::Designer::*command)();
        const char* name;
        const char* golden;
    };
    const Row rows[] = {
        {&ui::Designer::CreateCardStore, "Moss Market", "store.golden.txt"},
        {&ui::Designer::CreateStarterDeckBuilder, "Marsh Starter", "starter.golden.txt"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.golden);
        const std::string out = (Folder() / r.golden).string();
        dialogs.files = {out};
        dialogs.inputs = {std::string(r.name)};
        (designer.*r.command)();
        // The include line names the designer's file from the program folder, the test's own.
        data_files::ExpectFileGolden(std::string("../ui/designer/") + r.golden, ReadFile(out));
    }
}

TEST_F(DesignerFilesTest, SavingWritesTheFileSortedAndStampsSetFilesFromTheSecondSave) {
    designer.Open(ui::DesignerOpener::MainMenu);
    designer.Activate();
    form.OnCardText(0, "Zeta");
    designer.SaveCard();
    designer.NewCardFromTemplate();  // a blank card
    form.OnCardText(0, "Eta");
    form.OnTraitText(0, "HP");
    form.OnValueText(0, "2");
    const std::string file = (Folder() / "mine").string();
    dialogs.files = {file};
    designer.SaveCards();
    EXPECT_EQ(St().CardSetFile, file + ".txt");
    EXPECT_EQ(St().CurrentCard.Name, "Eta") << "the form goes on with the card it showed";
    EXPECT_EQ(St().EditCards[St().EditIndex].Name, "Eta");

    List<Card> read;
    ReadCards(read, St().CardSetFile, St().LoadPlayer);
    ASSERT_EQ(read.size(), 2);
    EXPECT_EQ(read[1].Name, "Eta");
    EXPECT_EQ(read[2].Name, "Zeta");
    EXPECT_EQ(read[1].SetFile, "");
    EXPECT_EQ(read[1].TraitValues[GetTraitNum(read[1], "HP")], "2");

    designer.SaveCards();
    EXPECT_TRUE(dialogs.files.empty());
    ReadCards(read, St().CardSetFile, St().LoadPlayer);
    for (const Card& card : read)
        EXPECT_EQ(card.SetFile, "mine.txt") << card.Name;
}

TEST_F(DesignerFilesTest, SaveAsMakesTheChosenFileTheDesignersFile) {
    OpenSet();
    const std::string other = (Folder() / "other.txt").string();
    form.OnValueText(0, "8");
    dialogs.files = {other};
    designer.SaveCardsAs();
    EXPECT_EQ(St().CardSetFile, other);
    List<Card> read;
    ReadCards(read, other, St().LoadPlayer);
    ASSERT_EQ(read.size(), 2);
    EXPECT_EQ(read[1].TraitValues[1], "8");
}

// A card file the player aimed outside the program folder with a save dialog was refused as if a
// shared file had named it: "Not saved: ... lies outside the program folder."
TEST_F(DesignerFilesTest, EverySaveDialogSavesWhereThePlayerChose) {
    OpenSet();
    const fs::path chosen = Folder().string() + "-chosen";
    fs::create_directories(chosen);
    struct Row {
        void (ui::Designer::*command)();
        const char* file;
        const char* holds;
    };
    const Row rows[] = {{&ui::Designer::SaveCardsAs, "As.txt", "Alpha"},
                        {&ui::Designer::SaveCards, "As.txt", "Alpha"},
                        {&ui::Designer::CreateCardStore, "Store.txt", "Named"},
                        {&ui::Designer::CreateStarterDeckBuilder, "Starter.txt", "Named"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.file);
        dialogs.files = {(chosen / r.file).string()};
        dialogs.inputs = {std::string("Named")};
        (designer.*r.command)();
        EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages.front();
        EXPECT_TRUE(host.messages.empty()) << host.messages.front();
        EXPECT_NE(ReadFile((chosen / r.file).string()).find(r.holds), std::string::npos);
    }
    fs::remove_all(chosen);
}

TEST_F(DesignerFilesTest, AddingAFileTakesOnlyCardsNotLoadedYet) {
    OpenSet();
    dialogs.files = {WriteCards(
        "more.txt", {{"Alpha", "a", {"HP:9"}, {}, {}}, {"Beta", "b", {"HP:2"}, {}, {}}})};
    designer.AddCardsFromFile();
    const std::vector<std::string> expected = {"Gamma", "Alpha", "Beta"};
    EXPECT_EQ(EditNames(), expected);
    EXPECT_EQ(St().EditCards[2].TraitValues[1], "1");
    EXPECT_EQ(form.controls.CardCombo.entries.size(), 3u);
}

TEST_F(DesignerFilesTest, EnemyDecksStartEmpty) {
    OpenSet();
    Card old;
    old.Name = "Old Opponent Card";
    St().Players[2].Deck = {old};
    designer.CreateCustomEnemy();
    EXPECT_EQ(peers.enemyNames, std::vector<std::string>{""});
    EXPECT_EQ(St().DeckManagerMode, 0);

    dialogs.files = {WriteCards(
        "Foe_Enemy.txt", {{"Foe", "foe", {"PLAYER:"}, {}, {}}, {"Imp", "imp", {"HP:1"}, {}, {}}})};
    const std::string text =
        ReplaceAllCopy(ReadFile(*dialogs.files.front()), "COLLECTION", "INDECK");
    WriteFile("Foe_Enemy.txt", text);
    designer.EditExistingEnemy();
    std::vector<std::string> names = peers.enemyNames;
    std::sort(names.begin(), names.end());
    const std::vector<std::string> expected = {"Foe", "Imp"};
    EXPECT_EQ(names, expected) << "no card of the opponent read before";
    EXPECT_EQ(peers.calls.back(), "EditEnemyDeck:1");
    EXPECT_EQ(St().DeckManagerMode, 0);
}

TEST_F(DesignerFilesTest, TestAndViewNeedACardFile) {
    designer.Open(ui::DesignerOpener::MainMenu);
    designer.Activate();
    ExpectCardFileNeeded(designer);
    EXPECT_TRUE(peers.calls.empty());
    EXPECT_EQ(St().DeckManagerMode, 0);
}

TEST_F(DesignerFilesTest, TestAndViewHandTheCardsToTheDeckManager) {
    OpenSet();
    form.OnValueText(0, "7");
    designer.TestCards();
    EXPECT_EQ(St().DeckManagerMode, 2);
    EXPECT_EQ(peers.calls.back(), "ShowDeckManagerFor:2");
    EXPECT_EQ(St().Players[1].Hand.size(), 10);
    EXPECT_EQ(St().TopCards[3].size(), 1);
    EXPECT_EQ(St().EditCards[1].TraitValues[1], "7") << "the shown card is committed first";
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].rfind("Choose the cards you would like to test.", 0), 0u);

    designer.ViewCards();
    EXPECT_EQ(St().DeckManagerMode, 3);
    EXPECT_EQ(peers.calls.back(), "ShowDeckManagerFor:3");
    EXPECT_EQ(dialogs.messages.size(), 1u);

    designer.ShowCardOfList(2);
    EXPECT_EQ(St().EditIndex, 2);
    EXPECT_EQ(St().CurrentCard.Name, "Alpha");
    EXPECT_EQ(form.controls.CardCombo.selected, 1);
}

// A Load Cards (or Add Cards) whose read failed half-way kept the cards and templates read before
// the bad line, and the failed file as the card file: the next Save Cards wrote it over the file
// the author meant to mend. Another file's templates stayed after a load, and were saved into it.
TEST_F(DesignerFilesTest, AFailedLoadChangesNothingAndEachLoadStartsFromNoTemplates) {
    const fs::path outside = Folder().string() + "-outside";
    fs::create_directories(outside);
    std::ofstream(outside / "far.txt") << FileText({{"Far", "far", {}, {}, {}}});
    const std::string lead = "#TEMPLATE, Bad, , , #FFFFFF, , ,\r\n";
    const std::pair<std::string, std::string> faults[] = {
        {"", "#TEMPLATEDATA, b.bmp, , 0"},  // template data before any template
        {lead, "#TRAIT, \"HP:4"},           // a quoted item not closed
        {lead, "#INCLUDE, \"" + (outside / "far.txt").string() + "\""},  // refused
    };
    for (auto command : {&ui::Designer::LoadCards, &ui::Designer::AddCardsFromFile}) {
        for (const auto& [before, after] : faults) {
            SCOPED_TRACE(after);
            OpenSet();
            designer.SaveAsTemplate();
            designer.SaveCards();
            const std::string saved = ReadFile(setFile);
            const std::vector<std::string> names = EditNames();
            WriteFile("bad.txt", before + FileText({{"Beta", "b", {}, {}, {}}}) + after);
            host.messages.clear();
            dialogs.files = {(Folder() / "bad.txt").string()};
            (designer.*command)();
            EXPECT_EQ(EditNames(), names);
            std::vector<std::string> templates;
            for (const CardTemplate& t : St().Templates)
                if (!t.card.Name.empty()) templates.push_back(t.card.Name);
            EXPECT_EQ(templates, std::vector<std::string>{"Gamma"});
            EXPECT_EQ(St().CardSetFile, setFile);
            ASSERT_FALSE(host.messages.empty());
            EXPECT_TRUE(host.messages.back().ends_with("nothing was loaded") ||
                        host.messages.back().ends_with("nothing was read"));
            designer.SaveCards();
            EXPECT_EQ(ReadFile(setFile), saved) << "the next save wrote another file's cards";
        }
    }
    dialogs.files = {WriteCards("plain.txt", {{"Delta", "d", {}, {}, {}}})};
    designer.LoadCards();
    designer.SaveCards();
    EXPECT_EQ(ReadFile(St().CardSetFile).find("#TEMPLATE"), std::string::npos);
    fs::remove_all(outside);
}

// Every save dialog added its extension after it had closed, so its "replace?" question never saw
// the file written: "work" over an existing "work.txt" replaced it without a question.
TEST_F(DesignerFilesTest, ASaveAnswerWithoutExtensionReachesTheReplaceQuestion) {
    const std::pair<void (ui::Designer::*)(), bool> rows[] = {
        {&ui::Designer::SaveCardsAs, true},
        {&ui::Designer::SaveCards, false},  // the first save of new cards
        {&ui::Designer::CreateCardStore, true},
        {&ui::Designer::CreateStarterDeckBuilder, true},
        {nullptr, false},  // closing, Yes to saving
    };
    for (const auto& [command, withFile] : rows) {
        designer.Open(ui::DesignerOpener::MainMenu);
        designer.Activate();
        if (withFile) OpenSet();
        form.OnCardText(0, "Solo");
        WriteFile("work.txt", "the author's own");
        dialogs.asked.clear();
        dialogs.files = {(Folder() / "work").string()};
        dialogs.inputs = {std::string("Named")};
        dialogs.answers = {command == nullptr, false};
        command ? (designer.*command)() : void(designer.Close());
        EXPECT_EQ(dialogs.asked.back(), "work.txt already exists. Do you want to replace it?");
        EXPECT_EQ(dialogs.extensions.back(), "txt");
        EXPECT_EQ(ReadFile((Folder() / "work.txt").string()), "the author's own");
    }
}

// A store named its card set by its full path: copied, or read from a game folder, it read nothing.
TEST_F(DesignerFilesTest, StoresNameTheirSetFromTheProgramFolderOrElseInFull) {
    fs::create_directories(Folder() / "Marsh");
    OpenWith(WriteCards("Marsh/Marsh_Set.txt", {{"Gamma", "c", {}, {}, {}}}));
    const std::string store = (Folder() / "Marsh" / "Store.txt").string();
    const std::string far = Folder().string() + "-elsewhere/Far_Set.txt";
    const std::pair<std::string, std::string> rows[] = {{far, far},
                                                        {St().CardSetFile, "Marsh/Marsh_Set.txt"}};
    for (const auto& [set, named] : rows) {
        St().CardSetFile = set;
        dialogs.files = {store};
        dialogs.inputs = {std::string("Market")};
        dialogs.answers = {true};
        designer.CreateCardStore();
        EXPECT_NE(ReadFile(store).find("#INCLUDE, " + named + "\r\n"), std::string::npos);
    }
    St().CurrentFolder = Folder() / "Marsh";
    List<Card> read;
    Player reader;
    EXPECT_TRUE(ReadCards(read, store, reader));
    EXPECT_TRUE(HasNamedCard(read)) << "read from its game folder the store found no set";
}

// A received file with two cards of one unique name loaded one of them without a word, and the
// next save wrote the file without the other.
TEST_F(DesignerFilesTest, ACardLeftOutForItsUniqueNameIsToldOnceWhenTheFileIsLoaded) {
    const std::string file = WriteCards(
        "twins.txt",
        {{"Alpha", "a", {}, {}, {}}, {"Alpha", "a", {}, {}, {}}, {"Beta", "b", {}, {}, {}}});
    OpenWith(file);
    EXPECT_EQ(EditNames(), (std::vector<std::string>{"Alpha", "Beta"}));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0],
              "Left out Alpha (a:1002, " + file +
                  "): a card read before it has the same unique name. Saving these cards will "
                  "not write it.");
}

}  // namespace
}  // namespace dv::test
