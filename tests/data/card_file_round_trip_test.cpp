// A card file read and written again holds what it held: every field the reader takes from it
// comes back from the written file, the lines whose form is fixed come back byte for byte, and
// what an included file brought stays in that file.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "data/card_files.h"
#include "engine/model/files.h"
#include "engine/model/state.h"
#include "tests/data/card_fields.h"
#include "tests/data/writer_fixture.h"

namespace dv {
namespace {

const std::string kExtra = "#EXTRADATA, 2, TURNSTART, , %%%0%0%0%0%0%0%0%0, \r\n";

std::string CardLines(const std::string& name, const std::string& key) {
    return "#CARD, COLLECTION, \"" + name + "\", \"" + key +
           "\", Set.txt, a.jpg, a-mini.jpg, #FF0000, \"About\"\r\n#TRAIT, \"HP:1\", \r\n" + kExtra +
           "\r\n";
}

const std::string kAlpha = CardLines("Alpha", "alpha:11");

// What a read as the designer's gives: the card list, the file's layout, the cost card and the
// templates, each as its fields.
struct Read {
    std::vector<std::string> cards;
    std::string layout;
    std::string cost;
    std::vector<std::string> templates;
    List<Card> list;
    CardFileLayout held;
};

class CardFileRoundTripTest : public test::WriterTest {
  protected:
    Read ReadAsDesigner(const std::string& name) {
        State& s = St();
        s.Templates = List<CardTemplate>(1);
        s.CostCard = Card{};
        Read read;
        read.list = List<Card>(1);
        EXPECT_TRUE(ReadCardFile(read.list, name, s.Players[1], 1, kReadReplace, read.held));
        for (const Card& card : read.list)
            if (!card.Name.empty()) read.cards.push_back(test::CardFields(card));
        std::sort(read.cards.begin(), read.cards.end());
        read.layout = test::LayoutFields(read.held);
        // The cost card's identifier is drawn as it is set up; its file holds none.
        Card cost = s.CostCard;
        cost.GID = 0;
        read.cost = test::CardFields(cost);
        for (const CardTemplate& t : s.Templates)
            if (!t.card.Name.empty()) read.templates.push_back(test::TemplateFields(t));
        return read;
    }
    std::string File(const std::string& name) { return *ReadWholeFile(Folder() / name); }
};

TEST_F(CardFileRoundTripTest, EveryFieldReadComesBackFromTheWrittenFile) {
    struct Row {
        const char* what;
        std::string body;                       // the file read
        std::vector<std::string> written = {};  // whole lines the written file holds as read
        std::vector<std::string> left = {};     // texts the written file does not hold
        std::string told = {};                  // what the read said, "" for nothing
        std::string included = {};              // "inc.txt", which the file may include
    };
    const std::string quotes =
        "#CARD, COLLECTION, \"Q\", \"q:13\", , , , #FFFFFF, \"Say \"\"hi\"\" &quot;ok\"";
    const std::string pictures =
        "#CARD, COLLECTION, \"Pic\", \"pic:12\", , pic.jpg:art/pic.jpg, "
        "pic-mini.jpg:art/pic-mini.jpg, #00FF00, \"x\"";
    const Row rows[] = {
        {"the file's game file, while another game's is set",
         "#GAMEFILE, Mosslight.gam\r\n\r\n" + kAlpha,
         {"#GAMEFILE, Mosslight.gam"}},
        {"no game file line, while another game's is set", kAlpha, {}, {"#GAMEFILE"}},
        {"picture and thumbnail with their locations", pictures + "\r\n" + kExtra, {pictures}},
        {"a cost card with a start time",
         "#COSTCARD\r\n#TRAIT, \"PRICE:1\", \r\n#EFFECT, SELF, TURNSTART, \"MODTRAIT:PRICE:1\"\r\n"
         "#EXTRADATA, 0, TURNSTART, , %%%0%0%0%0%0%0%0%0, \r\n\r\n" +
             kAlpha,
         {"#COSTCARD", "#EXTRADATA, 0, TURNSTART, , %%%0%0%0%0%0%0%0%0, "}},
        {"doubled quotes in a description and a script",
         quotes + "\r\n#EFFECT, SELF, TURNSTART, \"ECHO:\"\"boo\"\"\"\r\n" + kExtra,
         {quotes, "#EFFECT, SELF, TURNSTART, \"ECHO:\"\"boo\"\"\""}},
        {"target words, a menu trigger and trait lines",
         "#CARD, COLLECTION, \"T\", \"t:14\", , , , #FFFFFF, \"\"\r\n"
         "#TRAIT, \"HP:1\", #TRAIT, \"NOTE:a:b\", \r\n#TRAITACTIONDESC, HP, \"Heals\"\r\n"
         "#EFFECT, GIDCARD:TRAIT/X, TURNSTART, \"MODTRAIT:HP:1\"\r\n"
         "#EFFECT, NOBODY, TURNSTART, \"MODTRAIT:HP:2\"\r\n"
         "#EFFECT, SELF, \"MENU:TURNSTART:Pray, twice\", \"ECHO:x\"\r\n" +
             kExtra,
         {"#TRAIT, \"HP:1\", #TRAIT, \"NOTE:a:b\", ", "#TRAITACTIONDESC, HP, \"Heals\"",
          "#EFFECT, GIDCARD:TRAIT/X, TURNSTART, \"MODTRAIT:HP:1\"",
          "#EFFECT, NOBODY, TURNSTART, \"MODTRAIT:HP:2\"",
          "#EFFECT, SELF, \"MENU:TURNSTART:Pray, twice\", \"ECHO:x\""}},
        {"a starter mark, deck rules and a random text",
         "#STARTERDECK\r\n\r\n#DECKRULES, TRAITMINIMUM:#ANY#:30:\r\n\r\n"
         "#CUSTOMSTRING, Names, \"Bob, the bold\"\r\n\r\n" +
             kAlpha,
         {"#STARTERDECK",
          "#DECKRULES, TRAITMINIMUM:#ANY#:30:", "#CUSTOMSTRING, Names, \"Bob, the bold\""}},
        {"a template",
         "#CARD, #TEMPLATE, \"Tpl\", \"tpl:15\", , t.jpg, , #FFFFFF, \"\"\r\n" + kExtra +
             "#TEMPLATEDATA, back.bmp, extra.txt, 255\r\n\r\n" + kAlpha,
         {"#TEMPLATEDATA, back.bmp, extra.txt, 255"}},
        {"two cards of one unique name",
         kAlpha + CardLines("Alpha", "alpha:12"),
         {},
         {"alpha:12"},
         "Left out Alpha (alpha:12, in.txt): a card read before it has the same unique name. "
         "Saving these cards will not write it."},
        {"three cards of one unique name",
         kAlpha + CardLines("Alpha", "alpha:12") + CardLines("Alpha", "alpha:13"),
         {},
         {"alpha:12", "alpha:13"},
         "Left out 2 cards that have the unique name of a card read before them; saving these "
         "cards will not write them: Alpha (alpha:12, in.txt), Alpha (alpha:13, in.txt)."},
        {"lines a save of the cards drops",
         "#RULESCARD\r\n#TRAIT, \"X:1\", \r\n\r\n" + kAlpha +
             "#CARD, INDECK, \"Deck\", \"deck:31\", , , , #FFFFFF, \"\"\r\n\r\n",
         {},
         {"#RULESCARD", "Deck"},
         "in.txt holds lines that a save of its cards does not write, and such a save drops: "
         "#RULESCARD; #CARD, INDECK."},
        {"an included set",
         "#INCLUDE, inc.txt\r\n\r\n" + kAlpha,
         {"#INCLUDE, inc.txt", ""},
         {"Beta"},
         "",
         CardLines("Beta", "beta:21")},
        {"an included set with a zone word",
         "#INCLUDE, inc.txt, COLLECTION\r\n\r\n" + kAlpha,
         {"#INCLUDE, inc.txt, COLLECTION"},
         {"Beta"},
         "",
         CardLines("Beta", "beta:21")},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        WriteFile("in.txt", "#LASTMODIFIED, #2024-01-01 09:00:00#\r\n\r\n" + r.body);
        WriteFile("inc.txt", r.included);
        St().GameFile = "Other.gam";
        host.messages.clear();
        Read read = ReadAsDesigner("in.txt");
        const std::vector<std::string> told =
            r.told.empty() ? std::vector<std::string>{} : std::vector<std::string>{r.told};
        EXPECT_EQ(host.messages, told);

        St().CardSetLayout = read.held;
        St().GameFile = "Other.gam";
        ASSERT_TRUE(SaveCollection(read.list, "out.txt", "COLLECTION", "", 0));
        const std::string text = File("out.txt");
        for (const std::string& line : r.written)
            EXPECT_NE(text.find("\r\n" + line + "\r\n"), std::string::npos) << line << "\n" << text;
        for (const std::string& gone : r.left)
            EXPECT_EQ(text.find(gone), std::string::npos) << gone << "\n" << text;

        host.messages.clear();
        const Read back = ReadAsDesigner("out.txt");
        EXPECT_TRUE(host.messages.empty());
        EXPECT_EQ(back.cards, read.cards);
        EXPECT_EQ(back.layout, read.layout);
        EXPECT_EQ(back.cost, read.cost);
        EXPECT_EQ(back.templates, read.templates);
    }
}

TEST_F(CardFileRoundTripTest, AChangedCardOfAnIncludedFileIsNamedAndNotWrittenHere) {
    WriteFile("inc.txt", CardLines("Beta", "beta:21") + CardLines("Gamma", "gamma:22"));
    WriteFile("in.txt", "#INCLUDE, inc.txt\r\n\r\n" + kAlpha);
    Read read = ReadAsDesigner("in.txt");
    ASSERT_EQ(read.held.IncludedCards.size(), 2u);
    EXPECT_TRUE(ChangedIncludedCards(read.list, read.held).empty())
        << "a card as it was read, its set stamp aside, is unchanged";
    for (Card& card : read.list) {
        if (card.Name == "Beta") card.Description = "Changed";
        card.SetFile = "in.txt";
    }
    EXPECT_EQ(ChangedIncludedCards(read.list, read.held),
              std::vector<std::string>{"Beta (inc.txt)"});
    List<Card> withoutGamma;
    for (const Card& card : read.list)
        if (card.Name != "Gamma") withoutGamma.PushBack(card);
    EXPECT_EQ(ChangedIncludedCards(withoutGamma, read.held),
              (std::vector<std::string>{"Beta (inc.txt)", "Gamma (inc.txt, deleted)"}));

    St().CardSetLayout = read.held;
    ASSERT_TRUE(SaveCollection(read.list, "out.txt", "COLLECTION", "", 0));
    const std::string text = File("out.txt");
    EXPECT_EQ(text.find("Beta"), std::string::npos);
    EXPECT_EQ(File("inc.txt"), CardLines("Beta", "beta:21") + CardLines("Gamma", "gamma:22"));

    // A store carries every card itself.
    ASSERT_TRUE(SaveCollection(read.list, "store.txt", "#CARDINDECK", "Shop", 0));
    EXPECT_NE(File("store.txt").find("\"Beta\""), std::string::npos);
}

}  // namespace
}  // namespace dv
