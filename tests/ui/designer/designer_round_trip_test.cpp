// A card file loaded into the designer, each card shown and the file saved without an edit holds
// what it held; what one file brings is never written into another.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>

#include "data/card_files.h"
#include "engine/model/text_utils.h"
#include "tests/ui/designer/designer_fixture.h"
#include "ui/designer/card_pictures.h"

namespace dv::test {
namespace {

namespace fs = std::filesystem;

// The window's picture platform, drawing and writing nothing: showing a card runs the designer's
// own picture work over the card's names.
class BlankPlatform : public ui::PicturePlatform {
  public:
    std::optional<std::string> PickPicture(const std::string&, bool, ui::PicRegion&) override {
        return std::nullopt;
    }
    std::string PickerFolder() override { return {}; }
    void BeginComposing() override {}
    std::string ShowSavedPictures(const std::string&, const std::string&) override { return {}; }
    ui::PictureCompose ComposePictures(const ui::PictureSources& sources) override {
        return {!sources.art.empty() || !sources.back.empty(), ""};
    }
    void EndComposing() override {}
    ui::PictureSave SaveImage(const std::string&) override { return {true, ""}; }
    ui::PictureSave SaveMini(const std::string&) override { return {true, ""}; }
};

template <class Items>
std::string Joined(const Items& items) {
    std::string text;
    for (const std::string& item : items)
        text += item + "|";
    return text;
}

// A card's fields as the reader gives them, one text; the set stamp aside.
std::string Fields(const Card& c) {
    std::string effects;
    for (const Effect& e : c.Effects)
        if (!e.Text.empty())
            effects += std::to_string(e.TargetType) + e.TargetText + "," + e.Trigger + "," +
                       e.MenuText + "," + e.Text + "|";
    std::string region;
    for (int32_t r : c.ArtRegion)
        region += std::to_string(r) + "%";
    return c.Name + " / " + c.UniqueName + ":" + std::to_string(c.GID) + " / " + c.Picture + ":" +
           c.PictureUrl + " / " + c.Thumbnail + ":" + c.ThumbnailUrl + " / " + c.Colour + " / " +
           c.Description + " / " + Joined(c.TraitNames) + Joined(c.TraitValues) +
           Joined(c.TraitActionDescs) + " / " + effects + " / " + std::to_string(c.Rarity) + "," +
           c.StartTime + "," + c.Mods + " / " + c.ArtSource + "%" + c.BackSource + "%" +
           c.MiniSource + "%" + region;
}

// What a card file holds, as the reader reads it: its cards in name order, then its cost card,
// templates, tokens, game file and include lines. Nothing of the game changes.
std::vector<std::string> FileFields(const std::string& file, const std::string& text) {
    State& s = St();
    const Card cost = std::exchange(s.CostCard, Card{});
    const List<CardTemplate> templates = std::exchange(s.Templates, List<CardTemplate>(1));
    const std::string gameFile = std::exchange(s.GameFile, std::string());
    Player reader;
    List<Card> cards;
    EXPECT_TRUE(ReadCards(cards, file, reader, 0, "", kReadReplace)) << file;
    std::vector<std::string> fields;
    for (const Card& card : cards)
        if (!card.Name.empty()) fields.push_back(Fields(card));
    std::sort(fields.begin(), fields.end());
    // The cost card's identifier is drawn at each read: it is not in the file.
    s.CostCard.GID = 0;
    if (!s.CostCard.Name.empty()) fields.push_back("cost card: " + Fields(s.CostCard));
    for (const CardTemplate& t : s.Templates)
        if (!t.card.Name.empty())
            fields.push_back("template: " + Fields(t.card) + t.BackPicture + "," + t.Extra);
    fields.push_back("tokens: " + std::to_string(reader.Tokens) + ", game file: " + s.GameFile);
    for (std::size_t at = text.find("#INCLUDE"); at != std::string::npos;
         at = text.find("#INCLUDE", at + 1))
        fields.push_back(text.substr(at, text.find('\r', at) - at));
    s.CostCard = cost;
    s.Templates = templates;
    s.GameFile = gameFile;
    return fields;
}

// A card as another author's file holds it, stamped with that file as its set: `pictures` are its
// picture and thumbnail items, `parts` the art, back and border of its #EXTRADATA.
std::string CardLines(const std::string& name, int gid, const std::string& pictures = ", ",
                      const std::string& parts = "%%", const std::string& about = "About") {
    return "#CARD, COLLECTION, \"" + name + "\", \"" + name + ":" + std::to_string(gid) +
           "\", Received.txt, " + pictures + ", #FFFFFF, \"" + about + "\"\r\n" +
           "#TRAIT, \"HP:2\", \r\n#EFFECT, SELF, ENTERPLAY, \"ECHO:" + name + " comes\"\r\n" +
           "#EXTRADATA, 3, TURNSTART, , " + parts + "%0%0%0%0%0%0%0%0, \r\n\r\n";
}

std::string CostLines(const std::string& price, const std::string& start = "") {
    return "*** Card Cost Calculator ***\r\n#COSTCARD\r\n#EFFECT, TARGETCARD, PRICE, "
           "\"SETTRAIT:COST:" +
           price + "\"\r\n#EXTRADATA, 0, " + start + ", , %%%0%0%0%0%0%0%0%0, \r\n\r\n";
}

// The fixes of other parts of the program some round trips wait for.
enum class Waits { Nothing, PictureLookup, WriterFields, LeftOutCards, Includes };

class DesignerRoundTripTest : public DesignerTest {
  protected:
    void SetUp() override {
        DesignerTest::SetUp();
        peers.pictures = &pictures;
    }

    void Open() {
        designer.Open(ui::DesignerOpener::MainMenu);
        designer.Activate();
    }
    // Loads the file; a designer holding cards is answered No to saving them first.
    void Load(const std::string& file) {
        dialogs.answers.push_back(false);
        dialogs.files.push_back(file);
        designer.LoadCards();
        dialogs.answers.clear();
    }
    void ShowEveryCard() {
        for (int i = 0; i < St().EditCards.size(); ++i)
            designer.form.CardComboClick(i);
    }
    std::string Path(const std::string& name) const { return (Folder() / name).string(); }
    // Every message shown, the reader's and the designer's.
    std::vector<std::string> Messages() const {
        std::vector<std::string> all = host.messages;
        all.insert(all.end(), dialogs.messages.begin(), dialogs.messages.end());
        return all;
    }

    void RunRoundTrips(Waits waits);

    BlankPlatform platform;
    ui::CardPictures pictures{designer.form.pictures, platform, [this] { designer.form.Commit(); }};
};

struct RoundTrip {
    const char* what;
    Waits waits;
    std::string text;
    std::vector<std::string> beside;  // files the set names, below the test's folder
    std::optional<std::string> told;  // a message holding this; nullopt: none
    std::string kept = {};            // a line the reader does not keep, which stays in the file
    std::string leftOut = {};         // a card the load leaves out, as it tells
};

std::vector<RoundTrip> RoundTrips() {
    const std::string plain = CardLines("Alpha", 11) + CardLines("Beta", 12);
    const std::string quoted =
        "#CARD, COLLECTION, \"Scripted\", \"Scripted:18\", , , , #FFFFFF, \"\"\r\n"
        "#EFFECT, SELF, ENTERPLAY, \"ECHO:\"\"Boo\"\"\"\r\n#EXTRADATA, 1, , , , \r\n";
    return {
        {"plain cards", Waits::Nothing, plain, {}, std::nullopt},
        {"tokens", Waits::Nothing, "#TOKENS, 250\r\n" + plain, {}, std::nullopt},
        {"a cost card", Waits::Nothing, CostLines("7") + plain, {}, std::nullopt},
        {"picture parts beside the file",
         Waits::PictureLookup,
         CardLines("Fox", 13, "Card-fox.jpg, Card-fox-mini.jpg",
                   "redfox.jpg%bg.jpg%redfox-mini.jpg"),
         {"Received/Card-fox.jpg", "Received/Card-fox-mini.jpg", "Received/redfox.jpg",
          "Received/bg.jpg", "Received/redfox-mini.jpg"},
         std::nullopt},
        {"picture parts under Pictures",
         Waits::PictureLookup,
         CardLines("Moss", 14, "Card-moss.jpg, Card-moss-mini.jpg", "moss.jpg%%"),
         {"Pictures/Card-moss.jpg", "Pictures/Card-moss-mini.jpg", "Pictures/moss.jpg"},
         std::nullopt},
        {"a card without a picture file",
         Waits::PictureLookup,
         CardLines("Bare", 15, ", ", "bare.jpg%%"),
         {"Received/bare.jpg"},
         std::nullopt},
        {"a picture with its location",
         Waits::WriterFields,
         CardLines("Far", 16, "Card-far.jpg:Pictures/Far/Card-far.jpg, "),
         {"Pictures/Far/Card-far.jpg"},
         std::nullopt},
        {"a cost card with a start time",
         Waits::WriterFields,
         CostLines("7", "TURNSTART") + plain,
         {},
         std::nullopt,
         "#EXTRADATA, 0, TURNSTART,"},
        {"doubled quotes",
         Waits::WriterFields,
         CardLines("Quote", 17, ", ", "%%", "Say \"\"hi\"\" now") + quoted,
         {},
         std::nullopt},
        {"two cards of one unique name",
         Waits::LeftOutCards,
         plain + CardLines("Twin", 19) + CardLines("Twin", 20),
         {},
         std::string("Twin"),
         "",
         "Twin:20"},
        {"an included set",
         Waits::Includes,
         "#INCLUDE, other.txt\r\n\r\n" + plain,
         {},
         std::nullopt},
    };
}

// Loads each round trip of that kind, shows every card, saves with Save Cards and reads back
// what was read before.
void DesignerRoundTripTest::RunRoundTrips(Waits waits) {
    for (const RoundTrip& r : RoundTrips()) {
        if (r.waits != waits) continue;
        SCOPED_TRACE(r.what);
        for (const std::string& file : r.beside)
            WriteFile(file, "jpeg");
        // A set received from another author, in a folder of its own.
        const std::string set = Path("Received/set.txt");
        WriteFile("Received/other.txt", CardLines("Other", 30));
        WriteFile("Received/set.txt", r.text);
        const std::vector<std::string> read = FileFields(set, r.text);
        host.messages.clear();
        dialogs.messages.clear();
        Open();
        Load(set);
        ShowEveryCard();
        designer.SaveCards();
        const std::string saved = ReadFile(set);
        std::vector<std::string> kept = read;
        // A card left out of the load, as the author was told, is not written back.
        std::erase_if(kept, [&](const std::string& card) {
            return !r.leftOut.empty() && card.find(r.leftOut) != std::string::npos;
        });
        EXPECT_EQ(FileFields(set, saved), kept);
        EXPECT_NE(saved.find(r.kept), std::string::npos) << r.kept;
        if (r.told) {
            ASSERT_FALSE(Messages().empty());
            EXPECT_NE(Messages().front().find(*r.told), std::string::npos) << Messages().front();
        } else {
            EXPECT_EQ(Messages(), std::vector<std::string>{});
        }
    }
}

TEST_F(DesignerRoundTripTest, ASavedFileHoldsWhatItHeld) {
    RunRoundTrips(Waits::Nothing);
}

TEST_F(DesignerRoundTripTest, ShowingACardKeepsItsPictureNames) {
    RunRoundTrips(Waits::PictureLookup);
}

TEST_F(DesignerRoundTripTest, TheWriterWritesBackEveryFieldRead) {
    RunRoundTrips(Waits::WriterFields);
}

TEST_F(DesignerRoundTripTest, CardsLeftOutAreToldBeforeASave) {
    RunRoundTrips(Waits::LeftOutCards);
}

TEST_F(DesignerRoundTripTest, AnIncludedSetStaysIncluded) {
    RunRoundTrips(Waits::Includes);
}

// After a file with a cost card or tokens, a file without them was saved with them, and so was
// every file saved later; a file loaded while the game had a cost card was saved with the game's;
// Add Cards from File put the added file's cost card in place of the author's.
TEST_F(DesignerRoundTripTest, ACostCardAndTokensStayWithTheFileThatBroughtThem) {
    enum class Way { SaveCards, Close, Quit };
    struct Row {
        const char* what;
        std::vector<const char*> loads;
        const char* added;
        Way way;
        const char* price;  // of the cost card saved; nullptr: none
        int tokens;
        const char* gameFile;  // of the file saved; nullptr: none
    };
    const Row rows[] = {
        {"the game's cost card", {"b.txt"}, nullptr, Way::SaveCards, nullptr, 0, nullptr},
        {"another file's", {"a.txt", "b.txt"}, nullptr, Way::SaveCards, nullptr, 0, nullptr},
        {"saved on closing", {"a.txt", "b.txt"}, nullptr, Way::Close, nullptr, 0, nullptr},
        {"saved on quitting", {"a.txt", "b.txt"}, nullptr, Way::Quit, nullptr, 0, nullptr},
        {"the author's kept", {"a.txt"}, "c.txt", Way::SaveCards, "7", 250, "a.gam"},
        {"only what the author lacks", {"b.txt"}, "c.txt", Way::SaveCards, "1", 9, "c.gam"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Open();
        WriteFile("game.gam", CostLines("3"));
        List<Card> none;
        ReadCards(none, Path("game.gam"), St().LoadPlayer);
        St().Players[1].Tokens = 40;
        WriteFile("a.txt",
                  "#TOKENS, 250\r\n#GAMEFILE, a.gam\r\n" + CostLines("7") + CardLines("Alpha", 11));
        WriteFile("b.txt", CardLines("Beta", 12));
        WriteFile("c.txt",
                  "#TOKENS, 9\r\n#GAMEFILE, c.gam\r\n" + CostLines("1") + CardLines("Gamma", 13));
        for (const char* file : r.loads)
            Load(Path(file));
        EXPECT_EQ(St().Players[1].Tokens, 40) << "a card file's tokens are not the player's";
        EXPECT_FALSE(St().CostCard.Name.empty()) << "a cost card prices the cards";
        if (r.added) {
            dialogs.files = {Path(r.added)};
            designer.AddCardsFromFile();
        }
        dialogs.answers = {true};
        if (r.way == Way::SaveCards) designer.SaveCards();
        if (r.way == Way::Close) {
            EXPECT_TRUE(designer.Close());
        }
        if (r.way == Way::Quit) {
            EXPECT_TRUE(designer.LetProgramEnd());
        }
        const std::string saved = ReadFile(Path(r.loads.back()));
        const std::string cost = r.price ? std::string("SETTRAIT:COST:") + r.price : "#COSTCARD";
        EXPECT_EQ(saved.find(cost) != std::string::npos, r.price != nullptr) << saved;
        EXPECT_EQ(saved.find("#COSTCARD"), saved.rfind("#COSTCARD"));
        EXPECT_NE(saved.find("#TOKENS, " + std::to_string(r.tokens) + "\r\n"), std::string::npos);
        EXPECT_EQ(St().Players[1].Tokens, 40);
        const std::size_t line = saved.find("#GAMEFILE");
        EXPECT_EQ(line == std::string::npos, r.gameFile == nullptr) << saved;
        if (r.gameFile) {
            EXPECT_EQ(saved.substr(line, saved.find('\r', line) - line),
                      std::string("#GAMEFILE, ") + r.gameFile);
        }
    }
}

// Save Cards As and the save offered on closing or quitting left every card naming the file it
// was read from as its set, so collections refreshed those cards from the old file.
TEST_F(DesignerRoundTripTest, EverySaveStampsTheCardsWithTheFileWritten) {
    struct Row {
        const char* what;
        std::function<void()> save;
        const char* written;
    };
    const Row rows[] = {
        {"Save Cards", [this] { designer.SaveCards(); }, "set.txt"},
        {"Save Cards As",
         [this] {
             dialogs.files = {Path("new.txt")};
             designer.SaveCardsAs();
         },
         "new.txt"},
        {"saved on closing",
         [this] {
             dialogs.answers = {true};
             designer.Close();
         },
         "set.txt"},
        {"saved on quitting",
         [this] {
             dialogs.answers = {true};
             designer.LetProgramEnd();
         },
         "set.txt"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Open();
        WriteFile("set.txt", CardLines("Alpha", 11) + CardLines("Beta", 12));
        Load(Path("set.txt"));
        r.save();
        List<Card> read;
        ReadCards(read, Path(r.written), St().LoadPlayer);
        ASSERT_EQ(read.size(), 2);
        for (const Card& card : read)
            EXPECT_EQ(card.SetFile, r.written) << card.Name;
    }
}

// Load Cards replaced cards never saved to a file without a question.
TEST_F(DesignerRoundTripTest, LoadCardsAsksAboutTheCardsHeldFirst) {
    struct Row {
        const char* what;
        bool held;
        std::deque<bool> answers;
        std::deque<std::optional<std::string>> files;  // the save dialog's, then the open one's
        std::vector<std::string> names;                // the designer's cards after the load
        bool savedMine;
    };
    const std::string set = Path("set.txt");
    const std::string mine = Path("mine.txt");
    const std::string nowhere = Path("missing/mine.txt");
    const Row rows[] = {
        {"nothing held", false, {}, {set}, {"Alpha"}, false},
        {"No", true, {false}, {set}, {"Alpha"}, false},
        {"Yes, saved", true, {true}, {mine, set}, {"Alpha"}, true},
        {"Yes, the save cancelled", true, {true}, {std::nullopt, set}, {"Fresh"}, false},
        {"Yes, the save failed", true, {true}, {nowhere, set}, {"Fresh"}, false},
    };
    WriteFile("set.txt", CardLines("Alpha", 11));
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        fs::remove(mine);
        Open();
        if (r.held) {
            designer.form.OnCardText(0, "Fresh");
            designer.SaveCard();
        }
        dialogs.asked.clear();
        dialogs.answers = r.answers;
        dialogs.files = r.files;
        designer.LoadCards();
        EXPECT_EQ(EditNames(), r.names);
        const bool asked = std::ranges::count(dialogs.asked, "Save cards now?") == 1;
        EXPECT_EQ(asked, r.held);
        EXPECT_EQ(std::ranges::count(dialogs.asked, "Load Cards") == 1, r.names[0] == "Alpha");
        EXPECT_EQ(fs::exists(mine), r.savedMine);
        if (r.savedMine) {
            EXPECT_NE(ReadFile(mine).find("Fresh"), std::string::npos);
        }
    }
}

// Every card file of the sample game, loaded, shown card by card and saved under a new name.
TEST_F(DesignerRoundTripTest, EveryCardFileOfTheSampleGameSavesWhatItHeld) {
    fs::copy(fs::path(DV_SOURCE_DIR) / "content", Folder(), fs::copy_options::recursive);
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(Folder() / "Mosslight"))
        if (entry.path().extension() == ".txt") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    int loaded = 0;
    for (const fs::path& path : files) {
        const std::string file = path.string();
        SCOPED_TRACE(file);
        const std::string out = (Folder() / "Mosslight" / "Saved.out").string();
        const std::vector<std::string> read = FileFields(file, ReadFile(file));
        Open();
        Load(file);
        // A deck file holds no cards of a set: the designer loads nothing of it.
        if (St().CardSetFile != file) continue;
        ++loaded;
        ShowEveryCard();
        dialogs.files = {out};
        dialogs.answers = {true};
        designer.SaveCardsAs();
        EXPECT_EQ(FileFields(out, ReadFile(out)), read);
    }
    EXPECT_GE(loaded, 2);
}

}  // namespace
}  // namespace dv::test
