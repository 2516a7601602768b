#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>

#include "data/card_files.h"
#include "engine/model/cards.h"
#include "engine/model/files.h"
#include "tests/support/engine_fixture.h"

namespace dv {
namespace {

std::string CardLine(const std::string& zone, const std::string& name,
                     const std::string& key = "") {
    return "#CARD, " + zone + ", \"" + name + "\", \"" + key + "\", , , , , \"\"\r\n";
}

class CardReaderTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        St().Players[1].Id = 1;
    }
    bool Read(const std::string& text, int duplicateCheck = 0, const std::string& zone = "",
              int mode = kReadReplace) {
        WriteFile("in.txt", text);
        return ReadCards(cards, "in.txt", Me(), duplicateCheck, zone, mode);
    }
    Player& Me() { return St().Players[1]; }
    std::vector<std::string> Names(const List<Card>& list) {
        std::vector<std::string> names;
        for (const Card& c : list)
            if (!c.Name.empty()) names.push_back(c.Name);
        return names;
    }
    List<Card> cards;
};

TEST_F(CardReaderTest, ZonesPlaceCardsWhereTheySay) {
    ASSERT_TRUE(Read("#CARD, COLLECTION, \"Elf\"\r\n\"Elf:5\", , , , , \"\"\r\n" +
                     CardLine("#cardindeck", "Orc") + CardLine("#inplay", "Imp") +
                     CardLine("SIDEBOARD", "Rat") + CardLine("PLAYERCARD", "Nobody") +
                     "#TRAIT, \"HP:3\", \r\n" + CardLine("MOON", "Lost") +
                     "#CARDINPLAYERDECK, 2, Bat, , , #FFFFFF, 3 gold, \"\"\r\n" +
                     // stored-deck numbers no int holds, once cast all the same
                     CardLine("INPLAYERDECK:-99999999999999999999", "Mole") +
                     CardLine("INPLAYERDECK:99999999999999999999", "Vole")));
    EXPECT_EQ(Names(cards), (std::vector<std::string>{"Elf", "Mole", "Vole"}));
    EXPECT_EQ(cards[1].GID, 5);
    EXPECT_EQ(Names(Me().Deck), std::vector<std::string>{"Orc"});
    ASSERT_EQ(St().InPlay.size(), 1);
    EXPECT_EQ(St().InPlay[1].Name, "Imp");
    EXPECT_EQ(St().InPlay[1].Index, 1) << "a card in play knows its slot";
    EXPECT_EQ(Names(St().SideBoard), std::vector<std::string>{"Rat"});
    EXPECT_EQ(Names(St().PlayerDecks[2].Cards), std::vector<std::string>{"Bat"});
    EXPECT_EQ(St().PlayerDecks[2].Cards[1].CostDesc, "3 gold");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(CardReaderTest, DetailLinesFillTheCurrentCardAndKeepQuotEscapes) {
    ASSERT_TRUE(Read(CardLine("COLLECTION", "Elf", "Elf:9") +
                     "#TRAIT, \"HP:5\", #TRAIT, \"Note:a:b\", \r\n"
                     "#TRAITACTIONDESC, HP, \"says &quothi&quot\"\r\n"
                     "#TRAITACTIONDESC, Wings, \"x\"\r\n"
                     "#EFFECT, GIDCARD:5, TURNSTART, \"MODTRAIT:HP:1\"\r\n"
                     "#EXTRADATA, 7, GAMESTART, a$|$, art.jpg%back%mini%1%2%3%4%5%6%7%8, \r\n"));
    Card& elf = cards[1];
    EXPECT_EQ(GetTrait(elf, "HP").Text(), "5");
    EXPECT_EQ(GetTrait(elf, "Note").Text(), "a:b");
    EXPECT_EQ(elf.TraitActionDescs[GetTraitNum(elf, "HP")], "says &quothi&quot");
    EXPECT_EQ(host.CountMessages(
                  "Error in reading cards: Elf references trait Wings but does not have it."),
              1);
    ASSERT_EQ(elf.Effects.size(), 1);
    EXPECT_EQ(elf.Effects[1].TargetType, 11);
    EXPECT_EQ(elf.Effects[1].TargetText, "GIDCARD:5");
    EXPECT_EQ(elf.Rarity, 7);
    EXPECT_EQ(elf.StartTime, "GAMESTART");
    EXPECT_EQ(elf.Mods, "a$|$");
    EXPECT_EQ(elf.MiniSource, "mini");
    EXPECT_EQ(elf.ArtRegion[7], 8);
}

TEST_F(CardReaderTest, UniqueKeysGiveIdentifiersAndDuplicatesAreLeftOut) {
    ASSERT_TRUE(Read(CardLine("COLLECTION", "A", "A:0") + CardLine("COLLECTION", "B", "B:42") +
                         CardLine("COLLECTION", "C", "Two: parts:77") +
                         CardLine("COLLECTION", "A again", "A:3") + "#TRAIT, \"HP:1\", \r\n",
                     1));
    ASSERT_EQ(Names(cards), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_GT(cards[1].GID, 0);
    EXPECT_EQ(cards[2].GID, 42);
    EXPECT_EQ(cards[3].UniqueName, "Two: parts");
    EXPECT_EQ(cards[3].GID, 77);
    EXPECT_FALSE(HasTrait(cards[1], "HP")) << "detail lines of a left-out card change nothing";
}

TEST_F(CardReaderTest, DuplicateCopiesAreCountedAndBounded) {
    struct Row {
        const char* count;
        int cards;
    };
    for (const Row r : {Row{"0", 2}, Row{"3", 4}, Row{"999999999999", 1001}}) {
        SCOPED_TRACE(r.count);
        Me().Deck = {};
        ASSERT_TRUE(Read(CardLine("INDECK", "Elf") + "#DUPLICATE, " + r.count + "\r\n"));
        ASSERT_EQ(Me().Deck.size(), r.cards);
        std::set<int32_t> ids;
        for (const Card& c : Me().Deck)
            ids.insert(c.GID);
        EXPECT_EQ(static_cast<int>(ids.size()), r.cards) << "every copy has its own identifier";
    }
}

TEST_F(CardReaderTest, ListsEndAtTheirMarkerOrAtTheEndOfTheFile) {
    ASSERT_TRUE(
        Read("#WONMISSIONS, m1, , m2, \r\n#ENDWONMISSIONS\r\n"
             "\"#DECK\",\"First\"\r\n5\r\n0\r\n7\r\n\"#ENDOFDECK\"\r\n"
             "#DECK, Open\r\n11\r\n12"));
    EXPECT_EQ(Me().WonMissions, (List<std::string>{"m1", "m2"}));
    ASSERT_EQ(St().Decks.size(), 2);
    EXPECT_EQ(St().Decks[1].CardIds, (List<int32_t>{0, 5, 7}));
    EXPECT_EQ(St().Decks[2].CardIds, (List<int32_t>{0, 11, 12}));
}

TEST_F(CardReaderTest, ModesReplaceOrAppendTheCardList) {
    cards.Resize(3);
    cards[3].Name = "Old";
    ASSERT_TRUE(Read("#TOKENS, 5\r\n"));
    ASSERT_EQ(cards.size(), 1) << "a file without cards leaves one free element";
    EXPECT_TRUE(cards[1].Name.empty());
    ASSERT_TRUE(Read(CardLine("COLLECTION", "A")));
    ASSERT_TRUE(Read(CardLine("COLLECTION", "B"), 0, "", kReadAppend));
    EXPECT_EQ(Names(cards), (std::vector<std::string>{"A", "B"}));
}

TEST_F(CardReaderTest, IncludesMoveZonesKeepLaterCardsAndStopCycles) {
    WriteFile("set.txt", CardLine("COLLECTION", "Set1") + CardLine("COLLECTION", "Set2"));
    WriteFile("plain.txt", "#INCLUDE, set.txt\r\n\r\n");
    WriteFile("a.txt", "#INCLUDE, b.txt\r\n\r\n" + CardLine("COLLECTION", "FromA"));
    WriteFile("b.txt", "#INCLUDE, A.TXT\r\n\r\n" + CardLine("COLLECTION", "FromB"));

    ASSERT_TRUE(Read("#INCLUDE, set.txt, INDECK\r\n" + CardLine("COLLECTION", "After")));
    EXPECT_EQ(Names(Me().Deck), (std::vector<std::string>{"Set1", "Set2"}));
    EXPECT_EQ(Names(cards), std::vector<std::string>{"After"});

    Me().Deck = {};
    ASSERT_TRUE(Read("#INCLUDE, plain.txt, INDECK\r\n"));
    EXPECT_EQ(Names(cards), (std::vector<std::string>{"Set1", "Set2"}))
        << "an include with no zone word keeps the zones as written";

    ASSERT_TRUE(Read("#INCLUDE, set.txt\r\n\r\n" + CardLine("COLLECTION", "After")));
    EXPECT_EQ(Names(cards), (std::vector<std::string>{"Set1", "Set2", "After"}))
        << "cards after an include are placed after the included ones";

    host.messages.clear();
    ASSERT_TRUE(ReadCards(cards, "a.txt", Me(), 0, "", kReadReplace));
    EXPECT_EQ(Names(cards), (std::vector<std::string>{"FromB", "FromA"}));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find("already being read"), std::string::npos);
    EXPECT_EQ(St().IncludeList.Depth, 0);
    for (const IncludeSlot& slot : St().IncludeList.Names)
        EXPECT_TRUE(slot.Name.empty());
}

TEST_F(CardReaderTest, AFileAlreadyReadAtItsDepthIsNotIncludedAgainByTheSameName) {
    WriteFile("shared.txt", CardLine("COLLECTION", "Shared"));
    WriteFile("left.txt", "#INCLUDE, shared.txt\r\n\r\n" + CardLine("COLLECTION", "Left"));
    WriteFile("right.txt", "#INCLUDE, SHARED.TXT\r\n\r\n" + CardLine("COLLECTION", "Right"));
    ASSERT_TRUE(Read("#INCLUDE, left.txt\r\n\r\n#INCLUDE, right.txt\r\n\r\n"));
    EXPECT_EQ(Names(cards), (std::vector<std::string>{"Shared", "Left", "Right"}));
    EXPECT_TRUE(host.messages.empty());

    ASSERT_TRUE(Read("#INCLUDE, right.txt\r\n\r\n"));
    EXPECT_EQ(Names(cards), (std::vector<std::string>{"Shared", "Right"}))
        << "the names are forgotten when the outermost read ends";
}

TEST_F(CardReaderTest, WithoutAModeTheListIsKeptUntilTheFileGivesItsFirstCard) {
    cards = {Card{}, Card{}};
    cards[1].Name = "Old";
    cards[2].Name = "Kept";
    cards[2].UniqueName = "Kept";
    ASSERT_TRUE(Read("#TOKENS, 5\r\n", 0, "", kReadCutOnFirst));
    EXPECT_EQ(Names(cards), (std::vector<std::string>{"Old", "Kept"}));
    ASSERT_TRUE(Read(CardLine("COLLECTION", "Kept again", "Kept:4") +
                         CardLine("COLLECTION", "New", "New:5") +
                         CardLine("COLLECTION", "New again", "New:6"),
                     1, "", kReadCutOnFirst));
    EXPECT_EQ(Names(cards), std::vector<std::string>{"New"})
        << "duplicates are found in the list as it stands, then among this file's cards";
}

TEST_F(CardReaderTest, AFailedReadSaysWhereAndNeverLetsAPartialCollectionBeSaved) {
    struct Row {
        const char* text;
        const char* where;
    };
    const Row rows[] = {
        {"#TOKENS, lots\r\n", "in.txt, line 1: \"lots\" is not a number"},
        {"\r\n\r\n#CARD, COLLECTION, \"Elf\"", "in.txt, line 3: the file ends inside #CARD"},
        {"#CARDINPLAYERDECK, 4, a, b, c, d, e, f\r\n", "in.txt, line 1: \"4\" is out of range"},
        {"#TOKENS, -99999999999999999999\r\n", "line 1: \"-99999999999999999999\" is out of range"},
        {"#CARD, COLLECTION, \"Elf\", \"Elf:99999999999999999999\", , , , , \"\"\r\n",
         "line 1: \"99999999999999999999\" is out of range for a card identifier"},
        {"#INCLUDE, missing.txt, \r\n", "in.txt, line 1: the included file missing.txt"},
        {"#INCLUDE, pipe.txt, \r\n",
         "in.txt, line 1: the included file pipe.txt cannot be read: not a regular file"},
        {"#CARD, COLLECTION, \"Elf\", \"Elf:1\", , , , , \"\"\r\n#EXTRADATA, 300, , , , \r\n",
         "in.txt, line 2: \"300\" is out of range for a rarity"},
    };
    ASSERT_EQ(::mkfifo((Folder() / "pipe.txt").c_str(), 0644), 0);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        host.messages.clear();
        EXPECT_FALSE(Read(r.text));
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_NE(host.messages[0].find(r.where), std::string::npos) << host.messages[0];
        EXPECT_EQ(St().IncludeList.Depth, 0);
    }

    // A name longer than any file's is not looked up, nor shown whole.
    const std::string longName = std::string(65 * 1024, 'A') + ".TXT";
    host.messages.clear();
    EXPECT_FALSE(Read("#INCLUDE, " + longName + "\r\n\r\n"));
    EXPECT_EQ(host.messages, std::vector<std::string>{
                                 "Error in reading cards: in.txt, line 2: the included file " +
                                 longName.substr(0, 200) + "... cannot be found"});

    WriteFile("Game_Me.plr", "keep me");
    WriteFile("broken.plr", CardLine("COLLECTION", "Elf", "Elf:1") + "#TOKENS, x\r\n");
    EXPECT_FALSE(ReadCards(St().Collection, "broken.plr", Me()));
    EXPECT_FALSE(SavePlayer("Game_Me.plr"));
    EXPECT_EQ(*ReadWholeFile(Folder() / "Game_Me.plr"), "keep me");

    WriteFile("huge.txt", "");
    std::filesystem::resize_file(Folder() / "huge.txt", kMaxDataFileBytes + 1);
    host.messages.clear();
    EXPECT_FALSE(ReadCards(cards, "huge.txt", Me()));
    EXPECT_EQ(host.CountMessages(
                  "Error in reading cards: huge.txt: the file cannot be read: larger than 256 MB"),
              1);

    WriteFile("good.plr", CardLine("COLLECTION", "Elf", "Elf:1"));
    EXPECT_TRUE(ReadCards(St().Collection, "good.plr", Me()));
    EXPECT_TRUE(St().PartialCollectionFile.empty()) << "a whole read makes saving safe again";
}

// A file whose includes would take more than one read may, or that includes a file out of the
// program folder and the game folders, is refused before anything changes, as a file that cannot
// be read is. A tree of files each including both files of the next level was read 2^(levels-1)
// times, each leaf's cards placed each time: 22 levels kept start-up busy for hours.
TEST_F(CardReaderTest, AReadRefusedForWhatItWouldReadChangesNothingAndSaysWhy) {
    namespace fs = std::filesystem;
    const fs::path program = Folder() / "program";
    auto include = [](const std::string& name) { return "#INCLUDE, " + name + "\r\n\r\n"; };
    auto tree = [&](const std::string& stem, int levels) {
        for (int l = 1; l <= levels; ++l)
            for (const std::string side : {"a", "b"}) {
                const std::string next = stem + std::to_string(l + 1);
                WriteFile("program/" + stem + std::to_string(l) + side + ".txt",
                          l < levels ? include(next + "a.txt") + include(next + "b.txt")
                                     : CardLine("INDECK", "Leaf"));
            }
        return include(stem + "1a.txt");
    };
    const std::string thousand = CardLine("INDECK", "Copied") + "#DUPLICATE, 1000\r\n";
    std::string copies;
    for (int l = 1; l <= 101; ++l) {
        copies += thousand;
        if (l <= 46)  // each includes the next, then places 1,001 cards
            WriteFile("program/chain" + std::to_string(l) + ".txt",
                      (l < 46 ? include("chain" + std::to_string(l + 1) + ".txt") : "") + thousand);
    }
    // 100 includes of a file of 198 cards copy the deck 100 times: 999,900 cards from an empty
    // deck, and more than 1,000,000 from a deck of 40.
    WriteFile("program/c198.txt", CardLine("INDECK", "C") + "#DUPLICATE, 197\r\n");
    std::string hundred;
    for (int i = 0; i < 100; ++i)
        hundred += include(i % 2 == 0 ? "c198.txt" : "./c198.txt");
    // Included twice, a file of half the bytes a read may read and one more.
    WriteFile("program/Half.txt", "");
    fs::resize_file(program / "Half.txt", (kMaxDataFileBytes >> 1) + 1);
    WriteFile("elsewhere/Away.txt", CardLine("INDECK", "Away"));
    WriteFile("program/Moss/Home.txt", CardLine("INDECK", "Home"));
    WriteFile("program/Shared.txt", CardLine("INDECK", "Shared"));
    WriteFile("program/Leads.txt", include("Linked.txt"));
    WriteFile("program/Refers.txt", "#REFINDECK, Away, Linked.txt\r\n");
    fs::create_symlink(Folder() / "elsewhere/Away.txt", program / "Linked.txt");
    fs::create_symlink(program / "Shared.txt", program / "Moss/Alias.txt");
    const std::string away = (Folder() / "elsewhere/Away.txt").string();
    const std::string outside =
        " is not read: it lies outside the program folder and the game "
        "folders; nothing was read";
    struct Row {
        std::string text;     // of in.txt in the current folder
        const char* folder;   // the current folder, in the program folder
        std::string refusal;  // after "Error in reading cards: "; empty: read
        int cards = 0;        // placed in the deck when read
        int held = 1;         // in the deck before the read
    };
    const Row rows[] = {
        {tree("t", 22), "",
         "in.txt: the read would open more than 1000 files (this file and those it includes); "
         "nothing "
         "was read"},
        {tree("n", 9), "", "", 256},  // 511 files
        {copies, "",
         "in.txt: the read would place more than 100000 cards (from this file and those it "
         "includes); "
         "nothing was read"},
        {include("chain1.txt"), "",
         "in.txt: the read would copy more than 1000000 cards (the deck as read so far, after each "
         "file "
         "it includes); nothing was read"},
        {include(away), "", "in.txt, line 1: the included file " + away + outside},
        {include("../elsewhere/Away.txt"), "",
         "in.txt, line 1: the included file ../elsewhere/Away.txt" + outside},
        {include("Linked.txt"), "", "in.txt, line 1: the included file Linked.txt" + outside},
        {include("Leads.txt"), "", "Leads.txt, line 1: the included file Linked.txt" + outside},
        {include("../Shared.txt") + include("Alias.txt") + include("Home.txt"), "Moss", "", 3},
        {hundred, "",
         "in.txt: the read would copy more than 1000000 cards (the deck as read so far, after each "
         "file it includes); nothing was read",
         0, 40},
        {include("Half.txt") + include("./Half.txt"), "",
         "in.txt: the read would read more than 256 MB (this file and those it includes, each "
         "time it is included); nothing was read"},
        // The card sets of "#REF..." lines pass the same gate.
        {"#REFINDECK, Away, " + away + "\r\n", "",
         "in.txt, line 1: the included file " + away + outside},
        {"#REFINPLAY, Away, ../elsewhere/Away.txt\r\n", "",
         "in.txt, line 1: the included file ../elsewhere/Away.txt" + outside},
        {"#REFCOLLECTION, Away, Linked.txt\r\n", "",
         "in.txt, line 1: the included file Linked.txt" + outside},
        {"#REFINPLAYERDECK, 1, Away, Linked.txt\r\n", "",
         "in.txt, line 1: the included file Linked.txt" + outside},
        {include("Refers.txt"), "", "Refers.txt, line 1: the included file Linked.txt" + outside},
        {"#REFINDECK, Shared, ../Shared.txt\r\n#REFINDECK, Shared, Alias.txt\r\n", "Moss", "", 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text.substr(0, 60));
        St().ProgramFolder = program;
        St().CurrentFolder = program / r.folder;
        WriteFile("program/" + std::string(r.folder) + "/in.txt", r.text);
        cards = List<Card>(1);
        cards[1].Name = "Old";
        Me().Deck = List<Card>(r.held);
        for (Card& card : Me().Deck)
            card.Name = "Old";
        host.messages.clear();
        const uint64_t draws = St().Random.Draws();
        EXPECT_EQ(ReadCards(cards, "in.txt", Me(), 0, "", kReadAppend), r.refusal.empty());
        EXPECT_EQ(St().IncludeList.Depth, 0);
        if (r.refusal.empty()) {
            EXPECT_TRUE(host.messages.empty()) << host.messages.front();
            EXPECT_EQ(Me().Deck.size(), r.held + r.cards);
            continue;
        }
        EXPECT_EQ(host.messages, std::vector<std::string>{"Error in reading cards: " + r.refusal});
        EXPECT_EQ(Names(cards), std::vector<std::string>{"Old"});
        EXPECT_EQ(Names(Me().Deck), std::vector<std::string>(r.held, "Old"));
        EXPECT_EQ(St().Random.Draws(), draws) << "the scratch read's draws are not kept";
    }
}

// Each spelling of one set's name was read anew and kept for good: 200 spellings took 33 s and
// 379 MB. Includes of one file are each read, and each counts toward the read's bytes.
TEST_F(CardReaderTest, ASetIsKeptByTheFileFoundAndEveryIncludeCountsItsBytes) {
    const std::string set = CardLine("COLLECTION", "Elf", "Elf:1") + CardLine("COLLECTION", "Orc");
    WriteFile("S.txt", set);
    std::string refs, spelling = "S.txt";
    for (int i = 0; i < 50; ++i, spelling = "./" + spelling)
        refs += "#REFINDECK, Elf, " + spelling + "\r\n";
    ASSERT_TRUE(Read(refs));
    EXPECT_EQ(Names(Me().Deck), std::vector<std::string>(50, "Elf"));
    int sets = 0;
    for (const Player& entry : St().CardsetCache)
        sets += entry.Name.empty() ? 0 : 1;
    EXPECT_EQ(sets, 1) << "one entry, one read, for 50 spellings";

    const std::string one = std::string(1000, '*') + "\r\n";
    WriteFile("one.txt", one);
    std::string includes;
    for (int i = 0; i < 998; ++i)
        includes += "#INCLUDE, " + std::string(i % 2 == 0 ? "one.txt" : "./one.txt") + "\r\n\r\n";
    ASSERT_TRUE(Read(includes));
    EXPECT_EQ(St().CardRead.Files, 999);
    EXPECT_EQ(St().CardRead.Bytes, static_cast<long long>(includes.size() + 998 * one.size()));
}

// A card file with 2,000 lines naming traits its card lacks opened 2,000 message boxes in a row.
TEST_F(CardReaderTest, EachKindOfFaultIsToldOncePerReadWithItsCountAndFirstNames) {
    std::string descs, selfIncludes;
    for (int i = 0; i < 2000; ++i)
        descs += "#TRAITACTIONDESC, T" + std::to_string(i) + ", \"x\"\r\n";
    for (int i = 0; i < 20; ++i)
        selfIncludes += "#INCLUDE, in.txt\r\n\r\n";
    const std::string elf = CardLine("COLLECTION", "Elf", "Elf:1");
    const std::string many =
        "Error in reading cards: 2000 lines name traits their cards do not have: Elf (T0), "
        "Elf (T1), Elf (T2), Elf (T3), Elf (T4), and 1995 more.";
    const std::string skipped = "\"#INCLUDE, in.txt\" in in.txt";
    struct Row {
        std::string text;
        bool read;
        std::vector<std::string> messages;
    };
    const Row rows[] = {
        {elf + descs, true, {many}},
        {elf + "#TRAITACTIONDESC, Wings, \"x\"\r\n",
         true,
         {"Error in reading cards: Elf references trait Wings but does not have it."}},
        {selfIncludes,
         true,
         {"Skipped 20 \"#INCLUDE\" lines of files already being read: " + skipped + ", " + skipped +
          ", " + skipped + ", " + skipped + ", " + skipped + ", and 15 more."}},
        {"#INCLUDE, in.txt\r\n\r\n",
         true,
         {"Skipped " + skipped + ": that file is already being read."}},
        {elf + descs + "#TOKENS, lots\r\n",
         false,
         {many, "Error in reading cards: in.txt, line 2002: \"lots\" is not a number (tokens)"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text.substr(0, 60));
        host.messages.clear();
        EXPECT_EQ(Read(r.text), r.read);
        EXPECT_EQ(host.messages, r.messages);
        EXPECT_TRUE(St().CardRead.Faults.empty());
    }
}

TEST_F(CardReaderTest, GameLinesSetTheRulesCostCardTemplatesAndTraitActions) {
    const std::string game =
        "#RULESCARD\r\n#TRAIT, \"TRAITGRAPHIC:Shield:shield.gif:Armour:#00FF00:1:0:1:Armour\", "
        "\r\n#COSTCARD\r\n#EFFECT, SELF, COST, \"MODTOKENS:-1\"\r\n"
        "#TRAITACTION, Flying\r\n#EFFECT, SELF, TURNSTART, \"ECHO:flap\"\r\n"
        "#TEMPLATE, Blank, b.jpg, b-mini.jpg, #FFFFFF, , \"\"\r\n"
        "#TEMPLATEDATA, back.bmp, extra, 255\r\n#DECKRULES, MAX:40\r\n#GAMEFILE, g.gam\r\n"
        "#STARTERDECK\r\n";
    ASSERT_TRUE(Read(game));
    ASSERT_TRUE(Read(game)) << "a second read of the same game file";
    EXPECT_EQ(St().RulesCard.Name, "RulesCard");
    EXPECT_EQ(GetTrait(St().RulesCard, "TRAITGRAPHIC").Text(),
              "Shield:shield.gif:Armour:#00FF00:1:0:1:Armour");
    ASSERT_GE(St().TraitGraphs.size(), 2);
    EXPECT_EQ(St().TraitGraphs[St().TraitGraphs.size()].Colour, "#00FF00");
    EXPECT_EQ(St().CostCard.Name, "CostCard");
    int costEffects = 0;
    for (const Effect& e : St().CostCard.Effects)
        costEffects += !e.Text.empty();
    EXPECT_EQ(costEffects, 1) << "reading the file again must not double the cost card";
    EXPECT_EQ(St().TraitActions[St().TraitActions.size()].Name, "Flying");
    ASSERT_EQ(St().Templates.size(), 1);
    EXPECT_EQ(St().Templates[1].BackPicture, "back.bmp");
    EXPECT_EQ(St().Templates[1].Colour, 255);
    EXPECT_EQ(St().DeckRules, "MAX:40");
    EXPECT_EQ(St().GameFile, "g.gam");
    EXPECT_EQ(St().StarterDeck, 1);
}

}  // namespace
}  // namespace dv
