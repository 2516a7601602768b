// The designer's card files: loading, adding and saving them, stores and starter decks, and the
// hand-overs to the deck manager. A cancelled choice or question changes and writes nothing.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

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
    // The names of the designer's templates, free slots left out.
    static std::vector<std::string> TemplateNames() {
        std::vector<std::string> names;
        for (const CardTemplate& t : St().Templates)
            if (!t.card.Name.empty()) names.push_back(t.card.Name);
        return names;
    }
    // The set of OpenSet with one template of its own, saved.
    void OpenSetWithTemplate() {
        OpenSet();
        form.CardComboClick(1);  // Alpha
        designer.SaveAsTemplate();
        designer.SaveCards();
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

// A Load Cards whose read failed half-way kept the failed file as the designer's card file, with
// the cards read before the bad line: the next Save Cards wrote it over the file the author meant
// to mend, and the cards the designer had were gone.
TEST_F(DesignerFilesTest, AFailedLoadKeepsCardsTemplatesAndCardFileSoTheNextSaveWritesTheOldFile) {
    const fs::path outside = Folder().string() + "-outside";
    fs::create_directories(outside);
    { std::ofstream(outside / "far.txt") << FileText({{"Far", "far", {"HP:1"}, {}, {}}}); }
    struct Row {
        const char* what;
        void (ui::Designer::*command)();
        std::string lead;     // before the good card
        std::string badLine;  // after it
        const char* tells;    // how the last message ends
    };
    const std::string refusedInclude = "#INCLUDE, \"" + (outside / "far.txt").string() + "\"";
    const std::string aTemplate = "#TEMPLATE, Bad Template, , , #FFFFFF, , ,\r\n";
    const std::string dataFirst = "#TEMPLATEDATA, backs-generic.bmp, , 0";
    const std::string unclosed = "#TRAIT, \"HP:4";
    const Row rows[] = {
        {"Load, template data before any template", &ui::Designer::LoadCards, "", dataFirst,
         "; nothing was loaded"},
        {"Load, a quoted item not closed", &ui::Designer::LoadCards, aTemplate, unclosed,
         "; nothing was loaded"},
        {"Load, an include the reader refuses", &ui::Designer::LoadCards, aTemplate, refusedInclude,
         "; nothing was read"},
        {"Add, template data before any template", &ui::Designer::AddCardsFromFile, "", dataFirst,
         "; nothing was loaded"},
        {"Add, a quoted item not closed", &ui::Designer::AddCardsFromFile, aTemplate, unclosed,
         "; nothing was loaded"},
        {"Add, an include the reader refuses", &ui::Designer::AddCardsFromFile, aTemplate,
         refusedInclude, "; nothing was read"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        OpenSetWithTemplate();
        const std::string saved = ReadFile(setFile);
        const std::vector<std::string> names = EditNames();
        const std::vector<std::string> templates = TemplateNames();
        ASSERT_EQ(templates.size(), 1u);
        const std::string bad = (Folder() / "bad.txt").string();
        WriteFile("bad.txt",
                  r.lead + FileText({{"Beta", "b", {"HP:2"}, {}, {}}}) + r.badLine + "\r\n");
        const std::string badText = ReadFile(bad);
        host.messages.clear();
        dialogs.files = {bad};
        (designer.*r.command)();
        EXPECT_EQ(EditNames(), names);
        EXPECT_EQ(TemplateNames(), templates);
        EXPECT_EQ(St().CardSetFile, setFile);
        EXPECT_EQ(form.pictures.CardFolder, (Folder() / "").string());
        ASSERT_FALSE(host.messages.empty());
        EXPECT_TRUE(host.messages.back().ends_with(r.tells)) << host.messages.back();

        designer.SaveCards();
        EXPECT_TRUE(dialogs.files.empty());
        EXPECT_EQ(ReadFile(setFile), saved) << "the next save wrote another file's cards";
        EXPECT_EQ(ReadFile(bad), badText);
    }
    fs::remove_all(outside);
}

// The templates of one card file stayed after loading another, and the next save wrote them into
// it; a file that reads as nothing (a picture chosen by mistake) became the file the next save
// wrote over.
TEST_F(DesignerFilesTest, EachLoadStartsFromNoTemplatesAndAFileOfNothingIsNotLoaded) {
    OpenSetWithTemplate();
    const std::string plain = WriteCards("plain.txt", {{"Delta", "d", {"HP:4"}, {}, {}}});
    dialogs.files = {plain};
    designer.LoadCards();
    EXPECT_EQ(St().CardSetFile, plain);
    EXPECT_TRUE(TemplateNames().empty());
    designer.SaveCards();
    EXPECT_EQ(ReadFile(plain).find("#TEMPLATE"), std::string::npos);

    WriteFile("Card-x.jpg", std::string("\xFF\xD8\xFF\xE0 JFIF\0", 10));
    const std::string picture = (Folder() / "Card-x.jpg").string();
    const std::string pictureBytes = ReadFile(picture);
    dialogs.files = {picture};
    designer.LoadCards();
    EXPECT_EQ(St().CardSetFile, plain);
    EXPECT_EQ(EditNames(), std::vector<std::string>{"Delta"});
    EXPECT_EQ(dialogs.messages.back(),
              "\"Card-x.jpg\" holds no cards or templates: nothing was loaded.");
    designer.SaveCards();
    EXPECT_EQ(ReadFile(picture), pictureBytes);

    // Adding a file keeps the designer's templates and takes the file's after them.
    OpenSetWithTemplate();
    WriteFile("more.txt", "#TEMPLATE, Other, , , #FFFFFF, , ,\r\n#TEMPLATEDATA, b.bmp, , 0\r\n" +
                              FileText({{"Beta", "b", {"HP:2"}, {}, {}}}));
    dialogs.files = {(Folder() / "more.txt").string()};
    designer.AddCardsFromFile();
    EXPECT_EQ(TemplateNames(), (std::vector<std::string>{"Alpha", "Other"}));
}

// Every save dialog added its extension after it had closed, so its "replace?" question never saw
// the file written: "work" over an existing "work.txt" replaced it without a question.
TEST_F(DesignerFilesTest, ASaveAnswerWithoutExtensionReachesTheReplaceQuestion) {
    struct Row {
        const char* what;
        void (*command)(ui::Designer&);
        bool withFile;  // a card file is open
        std::deque<bool> answers;
    };
    const Row rows[] = {
        {"Save Cards As", [](ui::Designer& d) { d.SaveCardsAs(); }, true, {false}},
        {"the first Save Cards", [](ui::Designer& d) { d.SaveCards(); }, false, {false}},
        {"the save on closing", [](ui::Designer& d) { d.Close(); }, false, {true, false}},
        {"Create Card Store", [](ui::Designer& d) { d.CreateCardStore(); }, true, {false}},
        {"Create Starter Deck Builder",
         [](ui::Designer& d) { d.CreateStarterDeckBuilder(); },
         true,
         {false}},
    };
    const std::string question = "work.txt already exists. Do you want to replace it?";
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        if (r.withFile) {
            OpenSet();
        } else {
            designer.Open(ui::DesignerOpener::MainMenu);
            designer.Activate();
            form.OnCardText(0, "Solo");
        }
        WriteFile("work.txt", "the author's own");
        dialogs.asked.clear();
        dialogs.extensions.clear();
        dialogs.files = {(Folder() / "work").string()};
        dialogs.inputs = {std::string("Named")};
        dialogs.answers = r.answers;
        r.command(designer);
        EXPECT_NE(std::find(dialogs.asked.begin(), dialogs.asked.end(), question),
                  dialogs.asked.end());
        EXPECT_EQ(dialogs.extensions, std::vector<std::string>{"txt"});
        EXPECT_EQ(ReadFile((Folder() / "work.txt").string()), "the author's own");
        EXPECT_NE(St().CardSetFile, (Folder() / "work.txt").string());
    }
}

// A store or starter deck named its card set by its full path on the machine that wrote it: once
// copied, or read from a game folder, it could not be read back.
TEST_F(DesignerFilesTest, StoresNameTheirSetFromTheProgramFolder) {
    fs::create_directories(Folder() / "Marsh");
    const std::string set = WriteCards("Marsh/Marsh_Set.txt", {{"Gamma", "c", {"HP:3"}, {}, {}}});
    OpenWith(set);
    const std::string store = (Folder() / "Marsh" / "Marsh_Store.txt").string();
    dialogs.files = {store};
    dialogs.inputs = {std::string("Marsh Market")};
    designer.CreateCardStore();
    EXPECT_NE(ReadFile(store).find("#INCLUDE, Marsh/Marsh_Set.txt\r\n"), std::string::npos)
        << ReadFile(store);
    // Read from a game folder, as the game reads a store, it still finds its set.
    St().CurrentFolder = Folder() / "Marsh";
    List<Card> read;
    Player reader;
    EXPECT_TRUE(ReadCards(read, store, reader));
    bool gamma = false;
    for (const Card& card : reader.Deck)
        gamma = gamma || card.Name == "Gamma";
    for (const Card& card : read)
        gamma = gamma || card.Name == "Gamma";
    EXPECT_TRUE(gamma) << "the store's set was not read";

    // A set outside the program folder keeps its full path.
    const fs::path outside = Folder().string() + "-elsewhere";
    fs::create_directories(outside);
    St().CardSetFile = (outside / "Far_Set.txt").string();
    dialogs.files = {store};
    dialogs.inputs = {std::string("Far Market")};
    dialogs.answers = {true};
    designer.CreateCardStore();
    EXPECT_NE(ReadFile(store).find("#INCLUDE, " + (outside / "Far_Set.txt").string()),
              std::string::npos);
    fs::remove_all(outside);
}

}  // namespace
}  // namespace dv::test
