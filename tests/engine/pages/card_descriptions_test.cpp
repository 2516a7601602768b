#include <gtest/gtest.h>

#include "engine/model/files.h"
#include "engine/model/state.h"
#include "engine/pages/card_pages.h"
#include "engine/pages/page_buffer.h"
#include "engine/pages/page_helpers.h"
#include "tests/engine/pages/pages_fixture.h"

namespace dv {
namespace {

using CardDescriptionsTest = test::PagesTest;

TEST_F(CardDescriptionsTest, ACardWithoutColourIsNamedInWhiteAndKeepsIt) {
    Card card = MakeCard("Imp", 1, 7);
    EXPECT_EQ(DCard(card), "<font color=#FFFFFF>Imp</font>");
    EXPECT_EQ(card.Colour, "#FFFFFF");
    card.Colour = "#00FF00";
    EXPECT_EQ(DCard(card), "<font color=#00FF00>Imp</font>");
}

TEST_F(CardDescriptionsTest, PlayerColourShadesRoundHalvesToEven) {
    struct Row {
        const char* colour;
        int divisor;
        const char* shade;
    };
    const Row rows[] = {
        {"#FF8000", 8, "201000"}, {"#FF8000", 4, "402000"},
        {"#FF8000", 2, "804000"}, {"#0C0A06", 4, "030202"},  // 3, 2.5 and 1.5 round to 3, 2 and 2
        {"", 8, "000000"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.colour) + " / " + std::to_string(r.divisor));
        EXPECT_EQ(ColourShade(r.colour, r.divisor), r.shade);
    }
}

TEST_F(CardDescriptionsTest, SmallCardLinksLeanTowardTheirOwner) {
    struct Row {
        int owner;
        int side;
        const char* image;
    };
    const Row rows[] = {
        {2, 2, "<img  align = left  border"},
        {2, 1, "<img  align = right  border"},
        {1, 1, "<img  align = left  border"},
        {1, 2, "<img  align = right  border"},
        {2, 0, "<img  border"},
        {3, 1, "<img  align = left  border"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.owner) + " side " + std::to_string(r.side));
        Card card = MakeCard("Imp", r.owner, 42);
        card.Thumbnail = "imp-mini.jpg";
        card.ThumbnailUrl = "file:///pics/imp-mini.jpg";
        EXPECT_EQ(CLink(card, 0, r.side),
                  "<a href=\"CARD42\">" + std::string(r.image) +
                      " = \"0\" src=\"file:///pics/imp-mini.jpg\"></img></a>");
        EXPECT_LE(card.Owner, 2) << "an owner above 2 becomes player 1";
    }
}

TEST_F(CardDescriptionsTest, CardsWithoutThePictureAskedForGiveNoText) {
    Card card = MakeCard("Imp", 1, 7);
    EXPECT_EQ(CLink(card, 0, 0), "");
    EXPECT_EQ(CLink(card, 1, 0), "");
    EXPECT_EQ(FullDesc(card, 2, 0), "");
    Card unnamed;
    EXPECT_EQ(FullDesc(unnamed, 2, 0), "Non-existant card referenced.<br>");
    Player nobody;
    EXPECT_EQ(GenPlayerDesc(nobody), "") << "no player card in play";
}

TEST_F(CardDescriptionsTest, NeutralCardFrameIsBlackWithoutAFault) {
    Card card = MakeCard("Rock", 0, 9);
    card.Picture = "rock.jpg";
    card.PictureUrl = "file:///pics/rock.jpg";
    const std::string link = CLink(card, 1, 0);
    EXPECT_NE(link.find("bgcolor=000000 border = 1 bordercolorlight=000000 bordercolordark = "
                        "000000>"),
              std::string::npos)
        << link;
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(CardDescriptionsTest, FoundPicturesAreNotPrefixedTwice) {
    WriteFile("pics/imp.jpg", "JPG");
    WriteFile("pics/imp-mini.jpg", "JPG");
    Card card = MakeCard("Imp", 1, 7);
    card.Picture = "imp.jpg";
    card.Thumbnail = "imp-mini.jpg";
    for (int mode : {1, 2}) {
        SCOPED_TRACE(mode);
        const std::string desc = Portable(FullDesc(card, mode, 0));
        const std::string file = mode == 1 ? "imp-mini.jpg" : "imp.jpg";
        EXPECT_NE(desc.find("src=\"file://{FOLDER}/pics/" + file + "\""), std::string::npos)
            << desc;
        EXPECT_EQ(desc.find("file://file:"), std::string::npos);
    }
}

TEST_F(CardDescriptionsTest, AllTraitsListNamesValuesAndQualifiers) {
    Card card = MakeCard("Imp", 1, 77, {{"HP", "3"}, {"COLOR:red", "2"}, {"", "x"}, {"FLY", ""}});
    card.Index = 4;
    EXPECT_EQ(AllTraitsDesc(card), "Card #4<br>Global ID: 77, HP: 3, COLOR: 2 (red), FLY: , ");
}

TEST_F(CardDescriptionsTest, CardViewPageMatchesGolden) {
    AddPlayer(1, "Alice", "#FF8000");
    AddTraitGraph("FLYING", "", "#80C0FF", "Flying $MYNAME", "1", "1", "0", "0");
    AddTraitGraph("#ANY#", "", "#C0C0C0", "[#TRAIT/HP#]", "1", "0", "0", "");
    Card imp = MakeCard("Imp", 1, 501, {{"HP", "3"}, {"FLYING", ""}});
    imp.Colour = "#FF0000";
    imp.Picture = "imp.jpg";
    imp.Description = "Deals $AMT to $LASTNAME.\r\nOwned by $MYOWNER.";
    const int number = Put(imp);
    St().LastAmount = 2;
    St().LastTargetName = "Bob";
    DisplayCard(St().InPlay[number], 1);
    test::ExpectGolden(*ReadWholeFile(Folder() / "CardDesc.html"), "card_view.html");
    ASSERT_EQ(host.pages.size(), 1u);
    EXPECT_EQ(host.pages[0].viewer, kCardViewer);
    EXPECT_EQ(host.calls, std::vector<std::string>{"LoadCardPicture"}) << "picture not found";
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(CardDescriptionsTest, DebugCardViewListsTraitsAndActions) {
    St().DebugMode = 1;
    Card imp = MakeCard("Imp", 1, 501, {{"HP", "3"}});
    imp.Rarity = 2;
    imp.Effects.Resize(1);
    imp.Effects[1].Trigger = "TURNSTART";
    imp.Effects[1].Text = "MODTRAIT:HP:1";
    imp.Effects[1].Target = 3;
    const int number = Put(imp);
    DisplayCard(St().InPlay[number], 0);
    const std::string page = *ReadWholeFile(Folder() / "CardDesc.html");
    EXPECT_NE(page.find("<p></p><br>Card #1<br>Rarity:2<br><br>Card #1<br>Global ID: 501, HP: 3, "
                        "Action #1<br>Target: Card #3<br>Trigger: TURNSTART<br>Action:<br>"
                        "MODTRAIT:HP:1<br><br>\r\n"),
              std::string::npos)
        << page;
}

TEST_F(CardDescriptionsTest, DeckManagerCardTextIsComposedButNotShown) {
    Card imp = MakeCard("Imp", 1, 501);
    imp.Description = "I am $MYNAME";
    St().HTMLText = "old";
    DisplayCard2(imp, 0);
    EXPECT_EQ(St().HTMLText,
              "<p><font color=#FFFFFF>Imp</font></p><p>I am <font color=#FFFFFF>Imp</font></p>");
    EXPECT_TRUE(host.pages.empty());
}

TEST_F(CardDescriptionsTest, PlayerBoxMatchesGolden) {
    AddTraitGraph("SHIELD", "", "#FFFF00", "Shielded", "0", "0", "1", "");
    AddTraitGraph("FLYING", "", "#80C0FF", "Flying", "1", "1", "0", "");
    const int number =
        AddPlayer(2, "Bob", "#0080FF", {{"HP", "18"}, {"SHIELD", "1"}, {"FLYING", ""}});
    Card& card = St().InPlay[number];
    card.Colour = "#00FFFF";
    card.Picture = "bob.jpg";
    card.PictureUrl = "file:///pics/bob.jpg";
    test::ExpectGolden(GenPlayerDesc(St().Players[2]), "player_box.html");
}

}  // namespace
}  // namespace dv
