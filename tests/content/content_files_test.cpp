// The sample game shipped in content/: its files keep the data-file form the reader expects,
// every picture a card names is shipped, and (once the reader is in) every file reads cleanly.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "data/card_files.h"
#include "data/catalogue.h"
#include "data/games_page.h"
#include "engine/model/compiler.h"
#include "engine/model/files.h"
#include "engine/model/state.h"
#include "tests/data/card_fields.h"
#include "tests/support/engine_fixture.h"

namespace dv {
namespace {

namespace fs = std::filesystem;

fs::path ContentFolder() {
    return fs::path(DV_SOURCE_DIR) / "content";
}

std::string Slurp(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool IsDataOrPage(const fs::path& file) {
    static const std::set<std::string> kinds = {".gam", ".txt", ".mis", ".plr", ".html", ".htm"};
    return kinds.count(file.extension().string()) > 0;
}

std::vector<fs::path> ContentFiles() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(ContentFolder()))
        if (entry.is_regular_file()) files.push_back(entry.path());
    return files;
}

// The items of one line: separated by commas, blanks before an item skipped, quoted items whole.
std::vector<std::string> LineItems(const std::string& line) {
    std::vector<std::string> items;
    size_t i = 0;
    while (i <= line.size()) {
        while (i < line.size() && line[i] == ' ')
            ++i;
        std::string item;
        if (i < line.size() && line[i] == '"') {
            size_t close = line.find('"', i + 1);
            item = line.substr(i + 1, close - i - 1);
            i = line.find(',', close);
        } else {
            size_t comma = line.find(',', i);
            item = line.substr(i, comma == std::string::npos ? std::string::npos : comma - i);
            i = comma;
        }
        items.push_back(item);
        if (i == std::string::npos) break;
        ++i;
    }
    return items;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

TEST(ContentFilesTest, NoDataFileOrPageHasALineEndOtherThanCrLf) {
    int checked = 0;
    for (const fs::path& file : ContentFiles()) {
        if (!IsDataOrPage(file)) continue;
        SCOPED_TRACE(file.string());
        const std::string text = Slurp(file);
        ++checked;
        ASSERT_FALSE(text.empty());
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n') {
                ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at " << i;
            }
            if (text[i] == '\r') {
                ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "bare CR at " << i;
            }
        }
        EXPECT_EQ(text.substr(text.size() - 2), "\r\n") << "last line has no line end";
    }
    EXPECT_GE(checked, 12);
}

TEST(ContentFilesTest, EveryPictureNamedByACardOrGameIsShipped) {
    std::set<std::string> shipped;
    for (const fs::path& file : ContentFiles())
        shipped.insert(file.filename().string());
    int named = 0;
    for (const fs::path& file : ContentFiles()) {
        if (!IsDataOrPage(file)) continue;
        for (const std::string& line : Lines(Slurp(file))) {
            std::vector<std::string> items = LineItems(line);
            std::vector<std::string> pictures;
            if (items[0] == "#CARD" && items.size() >= 9) pictures = {items[5], items[6]};
            if (items[0] == "#ENEMYDECK" && items.size() >= 9) pictures = {items[4], items[5]};
            if (items[0] == "#GAMERULES" && items.size() >= 6) pictures = {items[2]};
            for (const std::string& picture : pictures) {
                SCOPED_TRACE(file.filename().string() + ": " + line.substr(0, 60));
                ++named;
                EXPECT_EQ(shipped.count(picture), 1u) << picture << " is not shipped";
            }
        }
    }
    EXPECT_GT(named, 100);
}

TEST(ContentFilesTest, ProfileListNamesAShippedPlayerFileAndGameFile) {
    const std::vector<std::string> lines = Lines(Slurp(ContentFolder() / "PlayerProfiles.txt"));
    ASSERT_GE(lines.size(), 4u);
    const std::vector<std::string> items = LineItems(lines[0]);
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(items[0], "#PLAYERPROFILE");
    const std::string files = items[2];
    const size_t colon = files.find(':');
    ASSERT_NE(colon, std::string::npos);
    const std::string playerFile = files.substr(0, colon);
    const std::string gameFile = files.substr(colon + 1);
    // The player file of a profile is always named from the game, the profile and ".plr".
    EXPECT_EQ(playerFile, "Mosslight_" + items[1] + ".plr");
    EXPECT_TRUE(fs::exists(ContentFolder() / playerFile));
    EXPECT_TRUE(fs::exists(ContentFolder() / gameFile));
    EXPECT_EQ(lines[2], "#UNLOCKED, #ENDUNLOCKED");
}

// The game file's head must come before any card data, or the catalogue leaves the game out.
TEST(ContentFilesTest, GameFileOpensWithItsRulesLine) {
    const std::vector<std::string> lines = Lines(Slurp(ContentFolder() / "Mosslight.gam"));
    const std::vector<std::string> items = LineItems(lines.at(0));
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(items[0], "#GAMERULES");
    EXPECT_EQ(items[1], "Mosslight");
    EXPECT_TRUE(fs::is_directory(ContentFolder() / items[4]));
    EXPECT_TRUE(fs::exists(ContentFolder() / items[5]));
}

// The starter deck builder carries the starter card the card designer writes, so that it plays as
// a designer's starter deck does; only its booster leaves out the player card of the included
// deck, which the builder hands out once by name.
// The help page said everything was saved on closing the program, while the deck manager's Quit
// ends it without saving.
TEST(ContentFilesTest, TheHelpPageTellsWhichWaysOutSaveThePlayer) {
    const std::string page = Slurp(ContentFolder() / "MainHelp.html");
    EXPECT_EQ(page.find("when you close the program"), std::string::npos);
    EXPECT_NE(page.find("when you close the main window"), std::string::npos);
    EXPECT_NE(page.find("deck manager's <b>File</b> menu"), std::string::npos);
    EXPECT_NE(page.find("ends the program without saving"), std::string::npos);
}

TEST(ContentFilesTest, StarterDeckBuilderHoldsTheDesignersStarterCard) {
    const std::string builder =
        Slurp(ContentFolder() / "Mosslight" / "Lamplighter_StarterDeck.txt");
    std::string card = GenStarterText("Lamplighter Starter Deck", "", "", 80);
    const std::string booster = ":BOOSTER:80\"";
    ASSERT_NE(card.find(booster), std::string::npos);
    card.replace(card.find(booster), booster.size(),
                 "\"\r\n#EFFECT, ALL, GAMESTART, "
                 "\"BOOSTERWITHREQS:80:TARGETREQUIREMENTS:REQNOTTRAIT:PLAYER\"");
    EXPECT_NE(builder.find(card), std::string::npos) << card;
    EXPECT_NE(builder.find("\r\n#STARTERDECK\r\n"), std::string::npos);
    EXPECT_NE(builder.find("\r\n#INCLUDE, Lamplighter_Starter.txt\r\n"), std::string::npos);
}

class ContentReadTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        fs::copy(ContentFolder(), Folder(), fs::copy_options::recursive);
    }

    int NamedCards(const List<Card>& cards) const {
        int count = 0;
        for (int i = 1; i <= cards.size(); ++i)
            if (!cards[i].Name.empty()) ++count;
        return count;
    }

    // Every effect of every card compiles with no unrecognised word.
    void ExpectCardsCompile(List<Card>& cards) {
        for (int i = 1; i <= cards.size(); ++i) {
            if (cards[i].Name.empty()) continue;
            std::string errors;
            CompileCard(cards[i], errors);
            EXPECT_EQ(errors, "") << cards[i].Name;
        }
    }
};

TEST_F(ContentReadTest, EveryCardDataFileReadsWithoutAMessage) {
    struct Row {
        const char* file;
        int deckCards;        // named cards placed in the player's deck
        int collectionCards;  // named cards placed in the card list
    };
    const Row rows[] = {
        {"Mosslight.gam", 0, 0},
        {"Mosslight/Mosslight_Set.txt", 0, 42},
        {"Mosslight/Torvalune_StartingSet.txt", 0, 42},
        {"Mosslight/Lamplighter_Starter.txt", 42, 0},
        {"Mosslight/Lamplighter_StarterDeck.txt", 42, 0},
        {"Mosslight/Bogwarden_Enemy.txt", 30, 0},
        {"Mosslight/Mirewitch_Enemy.txt", 30, 0},
        {"Mosslight/Reedmother_Enemy.txt", 30, 0},
        {"Mosslight/FirstLight.mis", 31, 0},
        {"Mosslight_Guest.plr", 0, 42},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.file);
        ResetState();
        SetHost(&host);
        St().ProgramFolder = Folder();
        St().CurrentFolder = Folder() / "Mosslight";
        host.messages.clear();
        List<Card> cards;
        Player player;
        player.Id = 2;
        EXPECT_TRUE(ReadCards(cards, r.file, player));
        EXPECT_TRUE(host.messages.empty()) << host.messages.front();
        EXPECT_EQ(NamedCards(player.Deck), r.deckCards);
        EXPECT_EQ(NamedCards(cards), r.collectionCards);
        ExpectCardsCompile(player.Deck);
        ExpectCardsCompile(cards);
    }
}

// What a read as the designer's gives of a file: its cards, its layout, its cost card (the
// identifier it is set up with aside) and its templates, as their fields.
std::vector<std::string> DesignerRead(const std::string& file, int& cards) {
    State& s = St();
    s.Templates = List<CardTemplate>(1);
    s.CostCard = Card{};
    List<Card> list(1);
    CardFileLayout layout;
    EXPECT_TRUE(ReadCardFile(list, file, s.Players[1], 1, kReadReplace, layout));
    std::vector<std::string> fields;
    cards = 0;
    for (const Card& card : list) {
        if (card.Name.empty()) continue;
        fields.push_back(test::CardFields(card));
        ++cards;
    }
    std::sort(fields.begin(), fields.end());
    fields.push_back(test::LayoutFields(layout));
    Card cost = s.CostCard;
    cost.GID = 0;
    fields.push_back(test::CardFields(cost));
    for (const CardTemplate& t : s.Templates)
        if (!t.card.Name.empty()) fields.push_back(test::TemplateFields(t));
    s.CardSetLayout = std::move(layout);
    return fields;
}

TEST_F(ContentReadTest, EveryCardFileWrittenAgainReadsBackWithEveryField) {
    int checked = 0;
    for (const fs::path& shipped : ContentFiles()) {
        const fs::path relative = shipped.lexically_relative(ContentFolder());
        if (!IsDataOrPage(shipped) || shipped.extension().string().starts_with(".htm") ||
            relative == "PlayerProfiles.txt")
            continue;
        SCOPED_TRACE(relative.string());
        ResetState();
        SetHost(&host);
        St().ProgramFolder = Folder();
        St().CurrentFolder = (Folder() / relative).parent_path();
        St().Players[1].Id = 1;
        host.messages.clear();
        int cards = 0;
        const std::vector<std::string> read = DesignerRead(relative.filename().string(), cards);
        // The player file's deck lists and won missions are no part of a card file.
        EXPECT_EQ(host.messages.size(), shipped.extension() == ".plr" ? 1u : 0u);
        host.messages.clear();
        // A file whose cards go elsewhere than the card list is no card file of the designer.
        if (cards == 0) continue;
        List<Card> list(1);
        CardFileLayout layout;
        ASSERT_TRUE(ReadCardFile(list, relative.filename().string(), St().Players[1], 1,
                                 kReadReplace, layout));
        St().CardSetLayout = std::move(layout);
        host.messages.clear();
        ASSERT_TRUE(SaveCollection(list, "written_again.txt", "COLLECTION", "", 0));
        int back = 0;
        EXPECT_EQ(DesignerRead("written_again.txt", back), read);
        EXPECT_TRUE(host.messages.empty()) << host.messages.front();
        ++checked;
    }
    EXPECT_GE(checked, 3) << "the two card sets and the guest's player file";
}

TEST_F(ContentReadTest, GameFileGivesRulesCostTraitActionsAndDeckRules) {
    List<Card> scratch;
    Player loadPlayer;
    ASSERT_TRUE(ReadCards(scratch, "Mosslight.gam", loadPlayer));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(St().RulesCard.Name, "RulesCard");
    EXPECT_EQ(St().CostCard.Name, "CostCard");
    std::set<std::string> traitActions;
    for (int i = 1; i <= St().TraitActions.size(); ++i)
        if (!St().TraitActions[i].Name.empty()) traitActions.insert(St().TraitActions[i].Name);
    EXPECT_EQ(traitActions, (std::set<std::string>{"HP", "PLAYER", "POWER", "SPELL"}));
    auto namedEffects = [](const Card& card) {
        int count = 0;
        for (int i = 1; i <= card.Effects.size(); ++i)
            if (!card.Effects[i].Text.empty()) ++count;
        return count;
    };
    EXPECT_EQ(namedEffects(St().RulesCard), 6);
    EXPECT_EQ(namedEffects(St().CostCard), 3);
    EXPECT_EQ(St().DeckRules.rfind("TRAITMINIMUM:#ANY#:30:", 0), 0u);
    std::string errors;
    CompileCard(St().RulesCard, errors);
    EXPECT_EQ(errors, "");
    CompileCard(St().CostCard, errors);
    EXPECT_EQ(errors, "");
}

// A new player has no deck: the starter deck is offered beside the opponents.
TEST_F(ContentReadTest, CatalogueOffersTheStarterDeckTwoOpponentsAndTheMissionUntilItIsWon) {
    struct Row {
        const char* wonMission;
        std::vector<std::string> opponents;
    };
    const Row rows[] = {
        {"", {"Bogwarden", "Lamplighter Starter Deck", "Mirewitch"}},
        {"FirstLight.mis", {"Bogwarden", "Lamplighter Starter Deck", "Mirewitch", "Reedmother"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.wonMission);
        St().Games = List<GameInfo>(1);
        St().Players[1].WonMissions = List<std::string>{r.wonMission};
        LoadAllGames();
        ASSERT_EQ(St().Games.size(), 1);
        const GameInfo& game = St().Games[1];
        EXPECT_EQ(game.Name, "Mosslight");
        std::vector<std::string> opponents;
        for (int i = 1; i <= game.Opponents.size(); ++i)
            if (!game.Opponents[i].Name.empty()) opponents.push_back(game.Opponents[i].Name);
        EXPECT_EQ(opponents, r.opponents);
        ASSERT_GE(game.MissionTitles.size(), 1);
        EXPECT_EQ(game.MissionTitles[1], "The Drowned Chapel");
        const std::string page = DisplayGames();
        EXPECT_NE(page.find("HELP:MosslightHelp.html"), std::string::npos);
        EXPECT_NE(page.find("FirstLight.mis\">The Drowned Chapel</a>"), std::string::npos);
        EXPECT_TRUE(host.messages.empty());
    }
}

}  // namespace
}  // namespace dv
