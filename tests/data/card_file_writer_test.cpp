#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>
#include <vector>

#include "data/card_files.h"
#include "engine/model/cards.h"
#include "engine/model/files.h"
#include "engine/model/text_utils.h"
#include "engine/rules/trait_changes.h"
#include "tests/data/golden.h"
#include "tests/data/writer_fixture.h"

namespace dv {
namespace {

class CardWriterTest : public test::WriterTest {
  protected:
    // Reads a card block back as the only card of a file.
    Card ReadBack(const std::string& text) {
        WriteFile("back.txt", text);
        List<Card> cards;
        EXPECT_TRUE(ReadCards(cards, "back.txt", St().Players[1], 0, "", kReadReplace));
        return cards.size() >= 1 ? cards[1] : Card{};
    }
};

TEST_F(CardWriterTest, ACardWithEveryKindOfDetailIsWrittenAsTheGoldenFileAndReadsBackTheSame) {
    Card card = NewCard("Say \"Hi\", Elf", 1234);
    card.SetFile = "Elves.txt";
    card.Picture = "Card-Elf.jpg";
    card.Thumbnail = "Card-Elf-mini.jpg";
    card.Colour = "#00FF00";
    card.Description = "A <b>\"quoted\"</b> elf,\r\nover two lines &quot kept";
    SetTrait(card, "HP", "5");
    SetTrait(card, "Flying", "");
    SetTrait(card, "Odd \"name\"", "value with \"quotes\", and comma");
    card.TraitActionDescs[GetTraitNum(card, "Flying")] = "OVERRIDE";
    for (int type = 0; type <= 11; ++type)
        AddEffect(card, "MODTRAIT:HP:" + std::to_string(type), type, "TURNSTART", 0,
                  type == 11 ? "GIDCARD:5" : "");
    AddEffect(card, "ECHO:say \"boo\"", 7, "MENU:TURNSTART:Shout, loudly", 0, "");
    card.Rarity = 3;
    card.StartTime = "GAMESTART";
    card.Mods = "MODTRAIT:HP:1$|$";
    card.ArtSource = "art.jpg";
    card.ArtRegion = {1, 2, 3, 4, -5, 6, 7, 8};

    const std::string text = CardFileText(card, "COLLECTION");
    test::data_files::ExpectFileGolden("card_block.golden.txt", text);

    Card back = ReadBack(text);
    EXPECT_EQ(back.Name, card.Name);
    EXPECT_EQ(GetTrait(back, "Odd \"name\"").Text(), "value with \"quotes\", and comma");
    EXPECT_EQ(back.Description, card.Description) << "a double quote comes back as it was";
    EXPECT_EQ(back.Effects[13].MenuText, "Shout, loudly");
    EXPECT_EQ(CardFileText(back, "COLLECTION"), text) << "a second write gives the same bytes";
}

TEST_F(CardWriterTest, TraitLinesAndPlayerCardsTakeTheirShortForms) {
    Card none = NewCard("None", 1);
    Card one = NewCard("One", 2);
    SetTrait(one, "Blank", "");
    Card three = NewCard("Three", 3);
    for (const char* t : {"A", "B", "C"})
        SetTrait(three, t, "1");
    EXPECT_EQ(CardFileText(none, "COLLECTION").find("#TRAIT"), std::string::npos);
    EXPECT_NE(CardFileText(one, "COLLECTION").find("\r\n#TRAIT, \"Blank:\", \r\n"),
              std::string::npos);
    EXPECT_NE(CardFileText(three, "COLLECTION")
                  .find("\r\n#TRAIT, \"A:1\", #TRAIT, \"B:1\", #TRAIT, \"C:1\", \r\n"),
              std::string::npos);

    const std::string cardLine = "#CARD, #PLAYERCARD, \"Three\", \"Three:3\", , , , #FFFFFF, \"\"";
    EXPECT_EQ(CardFileText(three, "#PLAYERCARD"),
              std::string(41, '*') + " Three\r\n" + cardLine + "\r\n\r\n");
    EXPECT_NE(CardFileText(three, "playercard").find("#EXTRADATA, 0, , , %%%0%0%0%0%0%0%0%0, "),
              std::string::npos)
        << "only the upper-case zone word is the player card";
}

TEST_F(CardWriterTest, CardsWithNoneOneOrThreeTraitsComeBackWithTheSameTraits) {
    using Traits = std::vector<std::pair<std::string, std::string>>;
    struct Row {
        const char* name;
        Traits traits;
        const char* described;  // the trait given an action description, or nullptr
    };
    const Row rows[] = {
        {"None", {}, nullptr},
        {"One", {{"HP", "3"}}, "HP"},
        {"Three", {{"HP", "3"}, {"Blank", ""}, {"Note", "a:b, \"c\""}}, "Note"},
        {"Quoted trait", {{"Odd \"name\"", "1"}}, "Odd \"name\""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        host.messages.clear();
        Card card = NewCard(r.name, 10);
        for (const auto& [name, value] : r.traits)
            SetTrait(card, name, value);
        if (r.described) card.TraitActionDescs[GetTraitNum(card, r.described)] = "says \"hi\"";

        const std::string text = CardFileText(card, "COLLECTION");
        Card back = ReadBack(text);
        EXPECT_TRUE(host.messages.empty()) << "every trait action description finds its trait";
        int traits = 0;
        for (const std::string& name : back.TraitNames)
            traits += !name.empty();
        EXPECT_EQ(traits, static_cast<int>(r.traits.size()));
        for (const auto& [name, value] : r.traits)
            EXPECT_EQ(GetTrait(back, name).Text(), GetTrait(card, name).Text()) << name;
        if (r.described) {
            EXPECT_EQ(back.TraitActionDescs[GetTraitNum(back, r.described)], "says \"hi\"");
        }
        EXPECT_EQ(CardFileText(back, "COLLECTION"), text);
    }
}

TEST_F(CardWriterTest, GeneratedCardsAndIncludesDecideWhatElseACardFileHolds) {
    struct Row {
        const char* what;
        int starter;
        const char* setFile;
        const char* generated;
        bool starterCard, storeCard, include, costAndCards;
    };
    const Row rows[] = {
        {"starter of a set", 1, "Elves.txt", "Start", true, false, true, false},
        {"starter without a set", 1, "", "Start", true, false, false, true},
        {"store without a set", 0, "", "Shop", false, true, false, true},
        {"store of a set", 0, "Elves.txt", "Shop", false, true, true, false},
        {"plain card file", 0, "Elves.txt", "", false, false, false, true},
    };
    List<Card> cards = {NewCard("Elf", 7)};
    St().CostCard = NewCard("CostCard", 1);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        St().CardSetFile = r.setFile;
        ASSERT_TRUE(SaveCollection(cards, "out.txt", "#CARDINDECK", r.generated, r.starter));
        const std::string text = *ReadWholeFile(Folder() / "out.txt");
        auto has = [&](const char* piece) { return text.find(piece) != std::string::npos; };
        EXPECT_EQ(has("GAMESTART, \"ECHO:Your new starter deck"), r.starterCard);
        EXPECT_EQ(has("MENU:TURNSTART:Purchase a booster"), r.storeCard);
        EXPECT_EQ(has("\r\n#INCLUDE, Elves.txt\r\n\r\n"), r.include);
        EXPECT_EQ(has("*** Card Cost Calculator ***\r\n"), r.costAndCards);
        EXPECT_EQ(has("#CARD, #CARDINDECK, \"Elf\""), r.costAndCards);
    }

    St().CardSetFile.clear();
    List<Card> free(3);
    ASSERT_TRUE(SaveCollection(free, "free.txt", "COLLECTION", "", 0));
    const std::string text = *ReadWholeFile(Folder() / "free.txt");
    EXPECT_NE(text.find("#TOKENS, "), std::string::npos);
    EXPECT_NE(text.find("#LASTMODIFIED, #2024-05-01 10:00:00#"), std::string::npos);
    EXPECT_NE(text.find("#COSTCARD\r\n"), std::string::npos);
    EXPECT_EQ(text.find("#CARD, COLLECTION"), std::string::npos) << "free slots are not written";
}

TEST_F(CardWriterTest, CardFilesOfTheDesignerStoresAndStartersAreTheGoldenFiles) {
    List<Card> cards(2);
    cards[2] = NewCard("Elf", 7);
    SetTrait(cards[2], "HP", "2");
    St().Players[1].Tokens = 500;
    St().GameFile = "Arena.gam";
    St().CostCard = NewCard("CostCard", 1);
    AddEffect(St().CostCard, "MODTOKENS:-1", 7, "COST", 0, "");
    St().Templates.Resize(1);
    St().Templates[1].card = NewCard("Blank", 9);
    St().Templates[1].BackPicture = "pics\\\\backs\\\\back.bmp";
    St().Templates[1].Colour = 255;

    ASSERT_TRUE(SaveCollection(cards, "cards.txt", "COLLECTION", "", 0));
    test::data_files::ExpectFileGolden("card_file.golden.txt",
                                       *ReadWholeFile(Folder() / "cards.txt"));
    EXPECT_EQ(St().Templates[1].BackPicture, "back.bmp");

    St().CardSetFile = "Elves.txt";
    ASSERT_TRUE(SaveCollection(cards, "starter.txt", "#CARDINDECK", "Elf Start", 1));
    test::data_files::ExpectFileGolden("starter_file.golden.txt",
                                       *ReadWholeFile(Folder() / "starter.txt"));
    ASSERT_TRUE(SaveCollection(cards, "store.txt", "#CARDINDECK", "Elf Shop", 0));
    test::data_files::ExpectFileGolden("store_file.golden.txt",
                                       *ReadWholeFile(Folder() / "store.txt"));
}

TEST_F(CardWriterTest, ASaveThatFailsHalfWayLeavesTheOldFileAndSaysSo) {
    List<Card> cards(40);
    for (int i = 1; i <= 40; ++i)
        cards[i] = NewCard("Elf", i);
    WriteFile("cards.txt", "old");
    // A file size limit makes the write stop part-way, for root as for anyone. The save itself
    // ignores SIGXFSZ, which once ended the program instead.
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 1000;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const bool saved = SaveCollection(cards, "cards.txt", "COLLECTION", "", 0);
    ::setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(saved);
    EXPECT_EQ(*ReadWholeFile(Folder() / "cards.txt"), "old");
    EXPECT_EQ(ListFolder(Folder()).size(), 1u) << "no temporary file is left behind";
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find("Could not save cards.txt"), std::string::npos);
    EXPECT_NE(host.messages[0].find("File too large"), std::string::npos) << "the system's reason";

    if (::geteuid() == 0) return;
    ::chmod(Folder().c_str(), 0555);
    EXPECT_FALSE(SaveCollection(cards, "cards.txt", "COLLECTION", "", 0));
    ::chmod(Folder().c_str(), 0755);
    EXPECT_EQ(*ReadWholeFile(Folder() / "cards.txt"), "old");
}

}  // namespace
}  // namespace dv
