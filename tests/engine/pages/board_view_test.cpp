#include <gtest/gtest.h>

#include "engine/model/state.h"
#include "engine/pages/card_pages.h"
#include "tests/engine/pages/pages_fixture.h"

namespace dv {
namespace {

using BoardViewTest = test::PagesTest;

TEST_F(BoardViewTest, HpFigureTakesItsColourFromTheShareLeft) {
    struct Row {
        const char* hp;
        const char* hpMax;  // nullptr: no HPMAX trait
        const char* colour;
        const char* shown;
    };
    // A present HPMAX with an empty value reads as 1, an absent one as 0.
    const Row rows[] = {
        {"10", "10", "#00FF00", "10/10"},   {"7", "10", "#FFFF00", "7/10"},
        {"4", "10", "#FF9900", "4/10"},     {"2", "10", "#FF0000", "2/10"},
        {"12", "10", "#FFFFFF", "12/10"},   {"5", "", "#FFFFFF", "5/1"},
        {"0", "0", "#FF0000", "0/0"},       {"-3", "10", "#FF0000", "0/10"},
        {"7.5", "10", "#00FF00", "7.5/10"}, {"6", nullptr, "#00FF00", "6/6"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.hp) + " of " + (r.hpMax ? r.hpMax : "none"));
        Card card = r.hpMax ? MakeCard("Imp", 1, 1, {{"HP", r.hp}, {"HPMAX", r.hpMax}})
                            : MakeCard("Imp", 1, 1, {{"HP", r.hp}});
        const std::string shown(r.shown);
        const auto slash = shown.find('/');
        const std::string figure = "<font color=\"" + std::string(r.colour) + "\"> " +
                                   shown.substr(0, slash) +
                                   "</font><font color=#FFFFFF>/</font><font color=#DDDDDD>" +
                                   shown.substr(slash + 1) + "</font>";
        EXPECT_EQ(GenHP(card, 0), figure);
        EXPECT_EQ(GenHP(card, 1), "<font color=\"#FFFFFF\">HP:</font>" + figure);
    }
}

TEST_F(BoardViewTest, TraitGraphicLinesAreStoredByNameAndOverwrittenInPlace) {
    // The reader hands on fields 2, 3, 5, 4, 6, 7, 8 and 9 of
    // TRAITGRAPHIC:FLYING:wings.gif:Flying:#80C0FF:1:1:0:0
    AddTraitGraph("FLYING", "wings.gif", "#80C0FF", "Flying", "1", "1", "0", "0");
    AddTraitGraph("SHIELD", "", "#FFFF00", "Shield", "0", "300", "-4", "Guard");
    ASSERT_EQ(St().TraitGraphs.size(), 3);
    const TraitGraph& flying = St().TraitGraphs[2];
    EXPECT_EQ(flying.Name, "FLYING");
    EXPECT_EQ(flying.Picture, "wings.gif");
    EXPECT_EQ(flying.Label, "Flying");
    EXPECT_EQ(flying.Colour, "#80C0FF");
    EXPECT_EQ(flying.CardViewFlag, 1);
    EXPECT_EQ(flying.BoardFlag, 1);
    EXPECT_EQ(flying.PlayerBoxFlag, 0);
    EXPECT_EQ(flying.Title, "0");
    EXPECT_EQ(St().TraitGraphs[3].BoardFlag, 255) << "flags are bytes";
    EXPECT_EQ(St().TraitGraphs[3].PlayerBoxFlag, 0);

    St().TraitGraphs[2].PictureLocation = "/found/wings.gif";
    AddTraitGraph("FLYING", "feather.gif", "#FFFFFF", "Flies", "0", "0", "1", "");
    ASSERT_EQ(St().TraitGraphs.size(), 3);
    EXPECT_EQ(St().TraitGraphs[2].Picture, "feather.gif");
    EXPECT_EQ(St().TraitGraphs[2].PictureLocation, "/found/wings.gif");
    AddTraitGraph("flying", "", "#FFFFFF", "other", "1", "1", "1", "");
    EXPECT_EQ(St().TraitGraphs.size(), 4) << "names are matched with case";

    St().TraitGraphs.Clear();
    AddTraitGraph("FLYING", "", "#FFFFFF", "Flies", "1", "1", "1", "");
    EXPECT_EQ(St().TraitGraphs.size(), 2) << "an empty first entry is made first";
}

TEST_F(BoardViewTest, TraitBoxesFollowTableOrderAndTheModeFlags) {
    AddTraitGraph("SHIELD", "", "#FFFF00", "Shield", "1", "0", "1", "Guard");
    AddTraitGraph("FLYING", "", "#80C0FF", "Flying", "1", "1", "0", "");
    AddTraitGraph("#ANY#", "", "#C0C0C0", "Any", "0", "1", "0", "");
    AddTraitGraph("#any#", "", "#C0C0C0", "lower", "1", "1", "1", "");
    Card card = MakeCard("Imp", 1, 1, {{"flying:fast", "0"}, {"SHIELD", "2"}, {"FLYING", "1"}});
    auto box = [](const char* colour, const char* label) {
        return "<font size=+1 color=" + std::string(colour) + ">" + label + "</font></font>";
    };
    EXPECT_EQ(GenTraitHTML(card, "", 0), box("#FFFF00", "Shield") + box("#80C0FF", "Flying"));
    EXPECT_EQ(GenTraitHTML(card, "", 1), box("#80C0FF", "Flying") + box("#C0C0C0", "Any"));
    EXPECT_EQ(GenTraitHTML(card, "", 2), box("#FFFF00", "Shield"));
    EXPECT_EQ(GenTraitHTML(card, "", 7),
              box("#FFFF00", "Shield") + box("#80C0FF", "Flying") + box("#C0C0C0", "Any"));

    Card plain = MakeCard("Rock", 1, 2);
    EXPECT_EQ(GenTraitHTML(plain, "", 0), "");
    plain.Dead = 1;
    EXPECT_EQ(GenTraitHTML(plain, "", 0), "<font color=grey size=-2>(Out of play)</font>");
    card.Dead = 1;
    EXPECT_EQ(GenTraitHTML(card, "", 2),
              box("#FFFF00", "Shield") + "<font color=grey size=-2>(Out of play)</font>");
}

TEST_F(BoardViewTest, TraitPicturesAreSearchedUntilFoundAndPerCardWhenTheirNameVaries) {
    AddTraitGraph("FLYING", "wings.gif", "#80C0FF", "Flying", "1", "1", "1", "");
    AddTraitGraph("CLASS", "#MYTRAIT/CLASS#.gif", "#FFFFFF", "", "1", "1", "1", "");
    Card knight = MakeCard("Knight", 1, 1, {{"FLYING", ""}, {"CLASS", "knight"}});
    Card mage = MakeCard("Mage", 1, 2, {{"CLASS", "mage"}});
    auto image = [](const std::string& location, const char* colour) {
        return "<font size=+3 color=" + std::string(colour) + "><img src=\"" + location +
               "\"></img>";
    };
    EXPECT_EQ(GenTraitHTML(knight, "", 0),
              "<font size=+1 color=#80C0FF>" + image("", "#80C0FF") + "Flying</font></font>" +
                  "<font size=+1 color=#FFFFFF>" + image("", "#FFFFFF") + "</font></font>");
    EXPECT_EQ(St().TraitGraphs[3].PerCard, 1);

    // The search path is built once, so the pictures sit in a folder that existed already.
    WriteFile("wings.gif", "GIF");
    WriteFile("knight.gif", "GIF");
    WriteFile("mage.gif", "GIF");
    const std::string folder = Folder().string();
    EXPECT_NE(GenTraitHTML(knight, "", 0).find(image(folder + "/wings.gif", "#80C0FF")),
              std::string::npos);
    EXPECT_NE(GenTraitHTML(knight, "", 0).find(image(folder + "/knight.gif", "#FFFFFF")),
              std::string::npos);
    EXPECT_NE(GenTraitHTML(mage, "", 0).find(image(folder + "/mage.gif", "#FFFFFF")),
              std::string::npos);
    EXPECT_EQ(St().TraitGraphs[2].PictureLocation, folder + "/wings.gif");
    EXPECT_EQ(St().TraitGraphs[2].PerCard, 0);
}

TEST_F(BoardViewTest, BoardOfBothPlayersMatchesGolden) {
    AddTraitGraph("FLYING", "", "#80C0FF", "Flying", "1", "1", "0", "");
    AddTraitGraph("SHIELD", "", "#FFFF00", "Shield", "1", "0", "1", "");
    AddPlayer(1, "Alice", "#FF8000", {{"HP", "20"}});
    AddPlayer(2, "Bob", "#0080FF", {{"HP", "18"}});
    St().Decks.Resize(2);
    St().Decks[2].Name = "Red Deck";
    St().CurrentDeck = 2;
    struct Row {
        const char* name;
        int owner;
        const char* hp;
        const char* hpMax;
        const char* extra;  // one more trait
    };
    const Row rows[] = {
        {"Knight", 1, "10", "10", "FLYING"},
        {"Squire", 2, "7", "10", "SHIELD"},
        {"Archer", 1, "4", "10", ""},
        {"Ghost", 1, "5", "5", "INVISIBLE"},
        {"Monk", 1, "2", "10", ""},
        {"Giant", 1, "12", "10", ""},
        {"Wall", 1, "0", "", "SHIELD"},
        {"Fallen", 1, "3", "3", ""},
        {"Page", 1, "1", "", ""},
        {"Scout", 1, "", "", "FLYING"},
    };
    int gid = 100;
    for (const Row& r : rows) {
        Card card =
            MakeCard(r.name, r.owner, ++gid, {{"HP", r.hp}, {"HPMAX", r.hpMax}, {r.extra, "1"}});
        if (!*r.hp) card.TraitNames[1] = "";
        card.Colour = r.owner == 1 ? "#FFC080" : "#80C0FF";
        card.Thumbnail = std::string(r.name) + "-mini.jpg";
        card.ThumbnailUrl = "file:///pics/" + card.Thumbnail;
        if (std::string(r.name) == "Fallen") card.Dead = 1;
        Put(card);
    }
    const std::string page = GenInPlay(St().Players[1]) + "\n" + GenInPlay(St().Players[2]) + "\n";
    test::ExpectGolden(page, "board.html");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(BoardViewTest, DeckTestBoardIsTitledByPlayerNumber) {
    AddPlayer(1, "Alice", "#FF8000");
    St().DeckManagerMode = 2;
    EXPECT_NE(GenInPlay(St().Players[1]).find("<center>Test Deck 1</font>"), std::string::npos);
    St().DeckManagerMode = 0;
    St().CurrentDeck = 3;  // no such deck: the player card names the table
    EXPECT_NE(GenInPlay(St().Players[1]).find("<center>Alice</font>"), std::string::npos);
}

}  // namespace
}  // namespace dv
