#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "data/card_files.h"
#include "engine/model/cards.h"
#include "engine/model/files.h"
#include "tests/data/golden.h"
#include "tests/support/engine_fixture.h"

namespace dv {
namespace {

class CardWriterTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        St().Players[1].Id = 1;
        St().FixedNow = "2024-05-01 10:00:00";
    }
    Card NewCard(const std::string& name, int32_t gid) {
        Card card;
        InitCard(card, 1, 0);
        card.Name = name;
        card.UniqueName = name;
        card.GID = gid;
        return card;
    }
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
    EXPECT_EQ(GetTrait(back, "Odd &quotname&quot").Text(), "value with \"quotes\", and comma");
    EXPECT_EQ(back.Description, "A <b>&quotquoted&quot</b> elf,\r\nover two lines &quot kept");
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
    // A file size limit makes the write stop part-way, for root as for anyone.
    ::signal(SIGXFSZ, SIG_IGN);
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

    if (::geteuid() == 0) return;
    ::chmod(Folder().c_str(), 0555);
    EXPECT_FALSE(SaveCollection(cards, "cards.txt", "COLLECTION", "", 0));
    ::chmod(Folder().c_str(), 0755);
    EXPECT_EQ(*ReadWholeFile(Folder() / "cards.txt"), "old");
}

}  // namespace
}  // namespace dv
