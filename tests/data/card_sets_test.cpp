#include "data/card_sets.h"

#include <gtest/gtest.h>

#include "data/card_files.h"
#include "engine/model/cards.h"
#include "engine/model/text_utils.h"
#include "engine/rules/trait_changes.h"
#include "tests/support/engine_fixture.h"

namespace dv {
namespace {

std::string SetCard(const std::string& name, const std::string& key, const std::string& set,
                    const std::string& details = "") {
    return "#CARD, COLLECTION, \"" + name + "\", \"" + key + "\", " + set +
           ", new.jpg, new-mini.jpg, #123456, \"new text\"\r\n" + details;
}

class CardSetsTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        St().Players[1].Id = 1;
        St().Players[1].LastModified = "2024-05-01 10:00:00";
    }
    Card Owned(const std::string& name, const std::string& unique, const std::string& set) {
        Card card;
        InitCard(card, 1, 0);
        card.Name = name;
        card.UniqueName = unique;
        card.SetFile = set;
        card.Picture = "old.jpg";
        card.Colour = "#FF0000";
        card.GID = 77;
        SetTrait(card, "HP", "1");
        return card;
    }
};

TEST_F(CardSetsTest, OwnedCardsTakeTheNewerVersionButKeepTheirOwnIdentity) {
    WriteFile("Elves.txt",
              "#LASTMODIFIED, #2024-06-01 00:00:00#\r\n#GAMEFILE, other.gam\r\n"
              "#COSTCARD\r\n#TRAIT, \"X:1\", \r\n#TEMPLATE, T, a, b, #FFFFFF, , \"\"\r\n"
              "#DECK, Stolen\r\n1\r\n#ENDOFDECK\r\n" +
                  SetCard("Elf v2", "Elf:5", "Elves.txt",
                          "#TRAIT, \"HP:9\", \r\n#EFFECT, SELF, TURNSTART, \"ECHO:new\"\r\n") +
                  SetCard("Sage v2", "Sage:6", "Elves.txt", "#TRAIT, \"HP:9\", \r\n") +
                  SetCard("Odd v2", "Odd:7", "Elves.txt", "#TRAIT, \"HP:9\", \r\n") +
                  "#CARD, INPLAY, \"Imp\", \"Imp:8\", , , , , \"\"\r\n");
    List<Card> owned = {Owned("Elf", "Elf", "elves.TXT"), Owned("Sage", "Sage", "Elves.txt"),
                        Owned("Odd", "Odd", "Other.txt"), Owned("Free", "", "Elves.txt")};
    SetTrait(owned[2], "nomrp", "");
    const Card sage = owned[2], odd = owned[3];

    MRPCards(owned, St().Players[1]);
    const Card& elf = owned[1];
    EXPECT_EQ(elf.Name, "Elf");
    EXPECT_EQ(elf.Picture, "old.jpg");
    EXPECT_EQ(elf.Colour, "#FF0000");
    EXPECT_EQ(elf.GID, 77);
    EXPECT_EQ(elf.Description, "new text");
    EXPECT_EQ(elf.SetFile, "Elves.txt");
    EXPECT_EQ(GetTrait(owned[1], "HP").Text(), "9");
    EXPECT_EQ(elf.Effects[1].Text, "ECHO:new");
    EXPECT_EQ(owned[2], sage) << "NOMRP keeps the old version";
    EXPECT_EQ(owned[3], odd) << "a card of another set file is left alone";

    EXPECT_EQ(St().MRPTable.size(), 1);
    EXPECT_TRUE(St().GameFile.empty()) << "reading a set changes nothing of the running game";
    EXPECT_TRUE(St().CostCard.Name.empty());
    EXPECT_TRUE(St().Templates.empty());
    EXPECT_TRUE(St().Decks.empty());
    EXPECT_EQ(St().InPlay.size(), 0);
}

TEST_F(CardSetsTest, OnlySetsNoOlderThanThePlayerFileAreRead) {
    struct Row {
        const char* setDate;
        const char* playerDate;
        bool refreshed;
    };
    const Row rows[] = {
        {"#LASTMODIFIED, #2024-05-01 10:00:00#\r\n", "2024-05-01 10:00:00", true},
        {"#LASTMODIFIED, #2024-05-01 09:59:59#\r\n", "2024-05-01 10:00:00", false},
        {"", "2024-05-01 10:00:00", false},
        {"", "", true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.setDate);
        WriteFile("Elves.txt", std::string(r.setDate) + SetCard("Elf", "Elf:5", "Elves.txt"));
        St().Players[1].LastModified = r.playerDate;
        List<Card> owned = {Owned("Elf", "Elf", "Elves.txt")};
        MRPCards(owned, St().Players[1]);
        EXPECT_EQ(owned[1].Description == "new text", r.refreshed);
    }
}

TEST_F(CardSetsTest, ARefreshWithoutSetsTouchesNeitherTableNorGenerator) {
    List<Card> owned = {Owned("Elf", "Elf", "")};
    St().Random.Seed(5);
    const double expected = Rng(St().Random).Draw();
    MRPCards(owned, St().Players[1]);
    EXPECT_EQ(St().Random.Draw(), expected);
    EXPECT_EQ(St().MRPTable.size(), 1);
}

TEST_F(CardSetsTest, TheLaterSetWinsAndManyCardsNeitherLoopNorOverflow) {
    std::string big = "#LASTMODIFIED, #2024-06-01 00:00:00#\r\n";
    List<Card> owned;
    constexpr int kCards = 4500;  // more than the table's first size
    for (int i = 1; i <= kCards; ++i) {
        const std::string key = "Card" + std::to_string(i);
        big += SetCard(key, key + ":" + std::to_string(i), "Big.txt");
        owned.PushBack(Owned(key, key, "Big.txt"));
    }
    WriteFile("Big.txt", big);
    WriteFile("Late.txt", "#LASTMODIFIED, #2024-06-02 00:00:00#\r\n" +
                              SetCard("x", "Card1:1", "Big.txt", "#TRAIT, \"HP:5\", \r\n"));
    owned.PushBack(Owned("Late", "Card1", "Late.txt"));
    owned[1].SetFile = "Big.txt";
    MRPCards(owned, St().Players[1]);
    int refreshed = 0;
    for (const Card& c : owned)
        refreshed += c.Description == "new text";
    EXPECT_EQ(refreshed, kCards);
    EXPECT_EQ(GetTrait(owned[1], "HP").Text(), "5") << "the set read later gives the version";
    EXPECT_EQ(St().MRPTable.size(), 1);
}

TEST_F(CardSetsTest, SetLookupsGoThroughTheCacheAndGiveTheFirstCardOfAName) {
    WriteFile("Elves.txt", SetCard("Elf", "Elf:1", "Elves.txt") +
                               SetCard("Elf", "Elf2:2", "Elves.txt") +
                               "#REFINDECK, Elf, Elves.txt\r\n");
    EXPECT_EQ(GetCardsetCard("Elf", "Elves.txt").GID, 1);
    WriteFile("Elves.txt", "changed on disk");
    EXPECT_EQ(GetCardsetCard("Elf", "Elves.txt").GID, 1);
    EXPECT_TRUE(GetCardsetCard("Orc", "Elves.txt").Name.empty());
    EXPECT_TRUE(GetCardsetCard("Elf", "Missing.txt").Name.empty());

    WriteFile("deck.txt", "#REFINDECK, Elf, Elves.txt\r\n#REFCOLLECTION, Elf, Elves.txt\r\n");
    List<Card> cards;
    ASSERT_TRUE(ReadCards(cards, "deck.txt", St().Players[1]));
    EXPECT_EQ(St().Players[1].Deck[St().Players[1].Deck.size()].GID, 1);
    EXPECT_EQ(cards[1].GID, 1);
}

TEST_F(CardSetsTest, StampingAndTestListRefreshFollowTheirModes) {
    St().Collection = {Owned("Elf", "", "Old.txt"), Owned("Orc", "Orc", ""),
                       Owned("Elf", "", "Old.txt")};
    SetColFileName("sets\\\\Elves.txt", 0);
    EXPECT_EQ(St().Collection[1].SetFile, "Old.txt");
    EXPECT_EQ(St().Collection[2].SetFile, "Elves.txt");
    EXPECT_EQ(St().Collection[3].UniqueName, "Elf3");
    SetColFileName("Elves.txt", 1);
    EXPECT_EQ(St().Collection[1].SetFile, "Elves.txt");

    Card edited = Owned("Orc", "Orc", "Elves.txt");
    edited.Description = "edited";
    St().EditCards = {edited, Owned("Nameless", "", "")};
    St().TopCards[1] = List<Card>(10);
    St().TopCards[1][2] = Owned("Orc", "Orc", "");
    St().TopCards[4] = {Owned("Orc", "Orc", ""), Owned("Gob", "Gob", ""), Owned("Anon", "", "")};
    MRPForTesting();
    EXPECT_EQ(St().TopCards[1][2].Description, "edited");
    EXPECT_EQ(St().TopCards[4][1].Description, "edited");
    EXPECT_EQ(St().TopCards[4][2].Name, "Gob");
    EXPECT_EQ(St().TopCards[4][3].Name, "Anon");
    EXPECT_TRUE(St().TopCards[1][1].Name.empty());
}

}  // namespace
}  // namespace dv
