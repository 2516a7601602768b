#include <gtest/gtest.h>

#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "engine/pages/card_pages.h"
#include "engine/pages/page_helpers.h"
#include "tests/engine/pages/pages_fixture.h"

namespace dv {
namespace {

// One occurrence is replaced in place and several through a new text: both replace the
// occurrences of the text as it was, left to right, never those a replacement brings in.
TEST(FillAllTest, ReplacesTheOccurrencesOfTheTextAsItWas) {
    struct Row {
        std::string text, find, replacement, filled;
    };
    const Row rows[] = {
        {"a $X b", "$X", "long value", "a long value b"},
        {"$X$X $X", "$X", "1", "11 1"},
        {"$X.$X", "$X", "$X$X", "$X$X.$X$X"},
        {"aaaaa", "aa", "b", "bba"},
        {"aaa", "aa", "aaa", "aaaa"},
        {"none here", "$X", "y", "none here"},
        {"$X $X", "$X", "", " "},
    };
    for (const Row& row : rows) {
        std::string text = row.text;
        FillAll(text, row.find, row.replacement);
        EXPECT_EQ(text, row.filled) << row.text;
    }
}

class PlaceholdersTest : public test::PagesTest {
  protected:
    void SetUp() override {
        PagesTest::SetUp();
        AddPlayer(1, "Alice", "#FF8000");
        AddPlayer(2, "Bob", "#0080FF");
        Card imp = MakeCard("Imp", 1, 501, {{"HP", "3"}, {"NICK", "Little one"}});
        imp.Colour = "#FF0000";
        imp.UniqueName = "imp01";
        imp.Picture = "imp.jpg";
        imp.Description = "Small $SIMPLETARGETNAME";
        source = Put(imp);
        Card ogre = MakeCard("Ogre", 2, 502, {{"HP", "7"}, {"NICK", "Big Bob"}});
        ogre.UniqueName = "ogre02";
        target = Put(ogre);
        St().LastTarget = Put("Goblin", 2, 503);
        St().LastTargetName = "Last one";
        St().Players[1].Tokens = 500;
    }

    Card& Source() { return St().InPlay[source]; }
    Card& Target() { return St().InPlay[target]; }

    std::string Fill(std::string text, Value amount = 7) {
        SwapCardStrings(Source(), Target(), text, "src.jpg", "tgt.jpg", Value(), amount);
        return text;
    }

    struct Row {
        const char* text;
        std::string filled;
    };
    void ExpectRows(std::initializer_list<Row> rows) {
        for (const Row& r : rows) {
            SCOPED_TRACE(r.text);
            EXPECT_EQ(Fill(r.text), r.filled);
        }
        EXPECT_TRUE(host.messages.empty());
    }

    int source = 0;
    int target = 0;
    const std::string imp = "<font color=#FF0000>Imp</font>";
    const std::string ogre = "<font color=#FFFFFF>Ogre</font>";
};

TEST_F(PlaceholdersTest, DollarWordsAreFilledFromTheRightCard) {
    const std::string path = "file://" + Folder().string();
    ExpectRows({
        {"plain text, no words", "plain text, no words"},
        {"$MYIMG", "src.jpg"},
        {"$TARGETIMG", "tgt.jpg"},
        {"$MYOWNER", "<font color=#FFFFFF>Alice</font>"},
        {"$OWNER", "<font color=#FFFFFF>Bob</font>"},
        {"$TARGETOWNER", "<font color=#FFFFFF>Bob</font>"},
        {"$AMT", "<font color=\"#FFFF00\">7</font>"},
        {"$TARGETNAME", ogre},
        {"$TARGETCARD", ogre},
        {"$TARGETUNIQUENAME", "ogre02"},
        {"$UNIQUENAME", "ogre02"},
        {"$MYUNIQUENAME", "imp01"},
        {"$SIMPLETARGETNAME", "Ogre"},
        {"$LASTTARGETNAME", "Goblin"},
        {"$LASTTARGETCARD", "Goblin"},
        {"$MYNAME hits $SRCCARD", imp + " hits " + imp},
        {"$LASTNAME", "Last one"},
        {"[$TRAIT]", "[]"},
        {"$EFFSTR", "()"},
        {"$LASTAMT/$LASTVAL", "7/7"},
        {"#TOKENS# tokens", "500 tokens"},
        {"a&colb&col", "a:b:"},
        {"$GAMEPATH #PATH#", path + " " + path},
        {"$MYDESC", "<table width=100%><tr><td bgcolor=#0><p>" + imp +
                        "</p><p></p><p>Small Imp</p></td></tr></table><br>"},
        {"[$TARGETDESC]", "[]"},
    });
}

TEST_F(PlaceholdersTest, OwnerAndLastTargetWordsStayWhenTheirCardIsMissing) {
    Source().Owner = 0;
    St().LastTarget = 0;
    ExpectRows({
        {"$MYOWNER", "$MYOWNER"},
        {"$OWNER", "$OWNER"},
        {"$TARGETOWNER", "$TARGETOWNER"},
        {"$LASTTARGETNAME", "$LASTTARGETNAME"},
        {"$LASTTARGETCARD", "$LASTTARGETCARD"},
        {"$GIDCARD", "$GIDCARD"},
    });
}

TEST_F(PlaceholdersTest, AmountOfMinusOneIsTheLastAmountAndNegativesPrintWithoutSign) {
    const std::string words = "$AMT|$LASTAMT|$LASTVAL";
    const std::string five = "<font color=\"#FFFF00\">5</font>|5|5";
    St().LastAmount = -5;
    Value amount = -1;
    EXPECT_EQ(Fill(words, amount), five);
    std::string text = words;
    SwapCardStrings(Source(), Target(), text, "", "", Value(), amount);
    EXPECT_EQ(text, five);
    EXPECT_EQ(amount, Value(-5)) << "the caller receives the last amount";

    Value minusFive = -5;
    text = words;
    SwapCardStrings(Source(), Target(), text, "", "", Value(), minusFive);
    EXPECT_EQ(text, five);
    EXPECT_EQ(minusFive, Value(-5));
    EXPECT_EQ(Fill("$LASTAMT", Value("fire")), "fire");
}

TEST_F(PlaceholdersTest, SecondPassFillsWordsTheFirstBroughtInButNoThirdRuns) {
    St().LastTargetName = "$MYNAME";
    EXPECT_EQ(Fill("$LASTNAME"), imp);

    // Pass one leaves "$AMT"; pass two fills it with the last amount, which brings in "$MYIMG".
    St().LastTargetName = "$AMT";
    St().LastAmount = "$MYIMG";
    Value amount = 7;
    EXPECT_EQ(Fill("$LASTNAME", amount), "<font color=\"#FFFF00\">$MYIMG</font>");
    EXPECT_EQ(amount, Value(7));
    EXPECT_EQ(St().SwapSecondPass, 0);
}

// The words are filled in turn, each in the text the ones before it left: a value that brings in
// a later word, or makes one with the text before it, has it filled in the same pass; an earlier
// one waits for the second pass.
TEST_F(PlaceholdersTest, WordsAFillingBringsInAreFilledInTheirTurn) {
    struct Row {
        const char* name;
        const char* text;
        std::string filled;
    };
    const Row rows[] = {
        {"$MYNAME", "$SIMPLETARGETNAME", imp},
        {"NAME", "$LAST$SIMPLETARGETNAME", "Last one"},
        {"$MYIMG", "[$SIMPLETARGETNAME]", "[src.jpg]"},
        {"$TRAITS", "$SIMPLETARGETNAME", "S"},
        {"$$TARGETNAME", "$SIMPLETARGETNAME", "$<font color=#FFFFFF>$$TARGETNAME</font>"},
        // An empty value joins the text on either side into a word; a lower-case one cannot.
        {"", "$MY$SIMPLETARGETNAMENAME", imp},
        {"x", "$MY$SIMPLETARGETNAMENAME", "$MYxNAME"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        Target().Name = r.name;
        EXPECT_EQ(Fill(r.text), r.filled);
    }
}

TEST_F(PlaceholdersTest, WordsWhoseValueHoldsThemselvesEnd) {
    Target().Name = "x$SIMPLETARGETNAME";
    EXPECT_EQ(Fill("$SIMPLETARGETNAME"), "xx$SIMPLETARGETNAME");
    St().LastTargetName = "$MYDESC";
    Source().Description = "[$LASTNAME]";
    const std::string filled = Fill("$MYDESC");
    EXPECT_NE(filled.find("<table"), std::string::npos);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(St().SwapNesting, 0);
}

TEST_F(PlaceholdersTest, HashTokensReadTraitsOfEitherCard) {
    St().LastAmount = 502;
    ExpectRows({
        {"#TRAIT/HP#", "7"},
        {"#MYTRAIT/HP#", "3"},
        {"[#TRAIT/ARMOR#]", "[]"},
        {"#HTMLTRAIT/NICK#", "Big%20Bob"},
        {"#HTMLMYTRAIT/NICK#", "Little%20one"},
        {"$GIDCARD", ogre},
        {"HP #TRAIT/HP", "HP #TRAIT/HP"},
        {"#WORD# and #TRAIT/HP#", "#WORD# and 7"},
        {"x#TRAIT/HP##MYTRAIT/HP#", "x73"},
        {"#TRAIT/HP# of #TRAIT/HP#", "7 of 7"},
    });
    Card freeSlot;
    std::string text = "#TRAIT/HP#";
    SwapTraitStrings(Source(), freeSlot, text);
    EXPECT_EQ(text, "NONE");
}

TEST_F(PlaceholdersTest, HashTokensEvaluateExpressionsIntoValuesCardsAndPictures) {
    WriteFile("pics/wings.gif", "GIF");
    const std::string wings = (Folder() / "pics" / "wings.gif").string();
    ExpectRows({
        {"#TRANSVAL/2/3#", "5"},
        {"#TRANSVAL/TRAIT/HP#", "3"},
        {"#CARD/502#", ogre},
        {"#CARD/999#", "(Dead Card)"},
        {"#IMG/none.gif/0#", "<img src=\"\" align=default></img>"},
        {"#IMG/wings.gif/502#",
         "<a href=CARD502><img src=\"" + wings + "\" align=default></img></a>"},
    });
}

TEST_F(PlaceholdersTest, TraitActionDescriptionsExchangeTheCardNames) {
    Source().TraitNames[3] = "FLYING";
    Source().TraitActionDescs[3] = "$MYNAME flies over $TARGETNAME";
    Target().TraitNames[3] = "FLYING";
    Target().TraitActionDescs[3] = "$MYNAME flies over $TARGETNAME";
    ExpectRows({
        {"#MYTRAITACTIONDESC/FLYING#", ogre + " flies over " + imp},
        {"#TARGETTRAITACTIONDESC/FLYING#", ogre + " flies over " + imp},
        {"#MYTRAITACTIONDESCREVERSE/FLYING#", imp + " flies over " + ogre},
        {"#TARGETTRAITACTIONDESCREVERSE/FLYING#", imp + " flies over " + ogre},
        {"[#MYTRAITACTIONDESC/SWIMMING#]", "[]"},
    });
}

TEST_F(PlaceholdersTest, TokensWhoseValueHoldsThemselvesEnd) {
    Target().TraitNames[5] = "LOOP";
    Target().TraitValues[5] = "<#TRAIT/LOOP#>";
    Target().TraitNames[6] = "A";
    Target().TraitValues[6] = "#TRAIT/B##TRAIT/B#";
    Target().TraitNames[7] = "B";
    Target().TraitValues[7] = "#TRAIT/A##TRAIT/A#";
    std::string text = "#TRAIT/LOOP#";
    SwapTraitStrings(Source(), Target(), text);
    EXPECT_EQ(text, "<#TRAIT/LOOP#>");
    EXPECT_EQ(Fill("#TRAIT/LOOP#"), "<<#TRAIT/LOOP#>>") << "each of the two passes fills once";
    text = "#TRAIT/A#";
    SwapTraitStrings(Source(), Target(), text);
    EXPECT_NE(text.find("#TRAIT/"), std::string::npos) << "the cycle is cut, not filled out";
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(PlaceholdersTest, RandomStringsAreDrawnOncePerPassAndTheirWordsFilled) {
    AddRandomString("FRUIT", "apple");
    AddRandomString("WHO", "$MYNAME");
    EXPECT_EQ(Fill("FRUIT and FRUIT"), "apple and apple");
    EXPECT_EQ(Fill("WHO"), imp);
}

}  // namespace
}  // namespace dv
