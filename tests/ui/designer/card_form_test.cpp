// The designer's form: a card loaded into the row tables and stored back is the same card, rows
// the author emptied leave the card, and the controls show the rows they stand for.

#include <gtest/gtest.h>

#include "engine/model/cards.h"
#include "engine/model/text_utils.h"
#include "engine/model/trait_actions.h"
#include "engine/rules/card_life.h"
#include "engine/rules/trait_changes.h"
#include "tests/ui/designer/designer_fixture.h"

namespace dv::test {
namespace {

using ui::kTableRows;

std::string Block(Card card) {
    return CardFileText(card, "COLLECTION");
}

class CardFormTest : public DesignerTest {
  protected:
    ui::CardForm& form = designer.form;

    Card Stored() {
        Card card;
        form.StoreCardFromForm(card);
        return card;
    }
};

TEST_F(CardFormTest, LoadThenStoreGivesTheSameCard) {
    struct Row {
        const char* what;
        CardText card;
    };
    const Row rows[] = {
        {"traits and values", {"Goblin", "goblin", {"HP:3", "POWER:2", "FLYING:"}, {}, {}}},
        {"captions",
         {"Mage",
          "mage",
          {"HP:2", "POWER:1"},
          {},
          {"#TRAITACTIONDESC, POWER, \"Casts a bolt\"", "#TRAITACTIONDESC, HP, \"Heals\""}}},
        {"effects with a menu trigger and a card target",
         {"Imp",
          "imp",
          {"HP:1"},
          {"#EFFECT, SELF, MENU:ENTERPLAY:Attack, \"MODTRAIT:HP:1\"",
           "#EFFECT, ENEMYPLAYER, PHASE5, \"MODTRAIT:HP:-1\"",
           "#EFFECT, GIDCARD:17, TRAITCHANGE:HP, \"MODTRAIT:POWER:1\""},
          {}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        OpenWith(WriteCards("set.txt", {r.card}));
        const Card read = St().EditCards[1];
        EXPECT_EQ(Block(Stored()), Block(read));
    }
}

TEST_F(CardFormTest, AMenuActionSplitWhenReadKeepsItsMenu) {
    // A collection card is read while no designer runs: its menu action is split into parts.
    ReadCards(St().Collection,
              WriteCards("col.txt", {{"Imp",
                                      "imp",
                                      {"HP:1"},
                                      {"#EFFECT, SELF, MENU:ENTERPLAY:Attack, \"MODTRAIT:HP:1\""},
                                      {}}}),
              St().Players[1]);
    Card read = St().Collection[1];
    ASSERT_EQ(read.Effects[1].MenuState, MenuState::Offered);
    St().CurrentCard = read;
    designer.Open(ui::DesignerOpener::DeckManager);
    designer.Activate();
    EXPECT_EQ(form.ActionRows[1], "MENU:ENTERPLAY:Attack");
    EXPECT_EQ(Block(Stored()), Block(read));
}

TEST_F(CardFormTest, ACardOfMoreSlotsThanRowsKeepsTheRest) {
    designer.Open(ui::DesignerOpener::MainMenu);
    designer.Activate();
    Card big;
    InitCard(big, 1, 0);
    big.Name = "Hydra";
    big.UniqueName = "hydra";
    big.Picture = "Card-hydra.jpg";
    // 53 slots of each list, two of them free in the middle: 51 traits and 51 actions.
    constexpr int kSlots = 53;
    big.TraitNames.Resize(kSlots);
    big.TraitValues.Resize(kSlots);
    big.TraitActionDescs.Resize(kSlots);
    big.Effects.Resize(kSlots);
    for (int k = 1, n = 0; k <= kSlots; ++k) {
        if (k == 10 || k == 20) continue;
        const std::string name = "T" + std::to_string(++n);
        big.TraitNames[k] = name;
        big.TraitValues[k] = std::to_string(n);
        big.Effects[k].Trigger = "PHASE1";
        big.Effects[k].TargetType = 7;
        big.Effects[k].TargetText = "SELF";
        big.Effects[k].Text = "MODTRAIT:" + name + ":1";
    }
    big.TraitActionDescs[kSlots] = "last caption";
    form.LoadCardToForm(big);
    EXPECT_EQ(form.TraitRows[kTableRows], "T50");
    EXPECT_EQ(form.ActionRows[3 * kTableRows], "MODTRAIT:T50:1");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].find("Hydra has more traits or actions"), std::string::npos);
    EXPECT_EQ(Block(Stored()), Block(big));
}

TEST_F(CardFormTest, ActionsATraitHandsDownStayWithTheTrait) {
    designer.Open(ui::DesignerOpener::MainMenu);
    designer.Activate();
    Card power;
    InitCard(power, 0, 0);
    power.Name = "POWER";
    AddEffect(power, "MODTRAIT:HP:-1", 3, "PHASE5", 0, "RANDOMENEMY");
    St().TraitActions = {power};
    Card card;
    InitCard(card, 1, 0);
    card.Name = "Brute";
    card.UniqueName = "brute";
    card.Picture = "Card-brute.jpg";
    SetTrait(card, "POWER", Value("2"), 1);
    AddEffect(card, "MODTRAIT:POWER:1", 7, "TURNEND", 0, "SELF");
    AddTraitEffects(card, "");
    ASSERT_EQ(card.Effects.size(), 2);

    form.LoadCardToForm(card);
    EXPECT_EQ(form.ActionRows[1 + 2 * kTableRows], "MODTRAIT:POWER:1");
    EXPECT_EQ(form.ActionRows[2 + 2 * kTableRows], "") << "the inherited action is no row";
    EXPECT_EQ(Stored().Effects.size(), 1);
}

TEST_F(CardFormTest, StoringStartsTheThreeTraitListsAfresh) {
    // Trait A is dropped and B loses its caption row: B must not take A's old caption.
    OpenWith(WriteCards("set.txt",
                        {{"Imp",
                          "imp",
                          {"A:1", "B:2"},
                          {},
                          {"#TRAITACTIONDESC, A, \"capA\"", "#TRAITACTIONDESC, B, \"capB\""}}}));
    form.OnTraitText(0, "");
    form.OnTraitDescName(1, "");
    const Card card = Stored();
    const int b = GetTraitNum(card, "B");
    ASSERT_NE(b, 0);
    EXPECT_EQ(GetTraitNum(card, "A"), 0);
    EXPECT_EQ(card.TraitValues[b], "2");
    EXPECT_EQ(card.TraitActionDescs[b], "");
}

TEST_F(CardFormTest, RowsWithoutNameOrScriptLeaveTheCard) {
    OpenWith(WriteCards("set.txt", {{"Imp", "imp", {"HP:1"}, {}, {}}}));
    form.OnTraitScroll(4);  // rows 4 to 6
    form.OnTraitText(0, "");
    form.OnValueText(0, "7");          // a value without a name
    form.OnTriggerTyped(0, "PHASE2");  // a trigger and target without a script
    designer.TargetClick(0, 1);
    form.OnTraitDescName(0, "NOSUCH");  // a caption for a trait the card lacks
    form.OnTraitDescText(0, "lost");
    const Card card = Stored();
    EXPECT_EQ(Block(card).find("PHASE2"), std::string::npos);
    EXPECT_EQ(Block(card).find("lost"), std::string::npos);
    EXPECT_EQ(Block(card).find(":7"), std::string::npos);
    EXPECT_EQ(GetTraitNum(card, "HP"), 1);
}

TEST_F(CardFormTest, UniqueNamesAndPictureFiles) {
    struct Row {
        const char* name;
        const char* uniqueName;
        const char* picture;
        const char* art;
        const char* back;
        const char* border;
        const char* expectPicture;  // "" = no file written
        const char* expectThumbnail;
    };
    const Row rows[] = {
        {"Fire Imp", "Fire Imp12", "", "imp.jpg", "", "", "Card-FireImp12.jpg",
         "Card-FireImp12-mini.jpg"},
        {"Fire Imp", "Fire Imp12", "Card-own.jpg", "imp.jpg", "", "", "", ""},
        {"Slash", "a/b\\c:d\te", "", "slash.jpg", "", "", "Card-a_b_c_d_e.jpg",
         "Card-a_b_c_d_e-mini.jpg"},
        {"Walled", "Walled3", "", "", "stone.bmp", "", "Card-Walled3.jpg", "Card-Walled3-mini.jpg"},
        // A thumbnail border alone was taken for no picture: the card kept no files.
        {"Rimmed", "Rimmed5", "", "", "", "rim.bmp", "Card-Rimmed5.jpg", "Card-Rimmed5-mini.jpg"},
        // Nothing to compose a picture from: the blank box is not written as one.
        {"Card", "Card77", "", "", "", "", "", ""},
    };
    designer.Open(ui::DesignerOpener::MainMenu);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.uniqueName);
        peers.savedPictures.clear();
        peers.calls.clear();
        Card card;
        InitCard(card, 1, 0);
        card.Name = r.name;
        card.UniqueName = r.uniqueName;
        card.Picture = r.picture;
        card.ArtSource = r.art;
        card.BackSource = r.back;
        card.MiniSource = r.border;
        form.LoadCardToForm(card);
        // A card of no picture is shown too: its boxes empty, not the last card's picture.
        EXPECT_EQ(peers.calls, std::vector<std::string>{"UpdatePic:0"})
            << "a store writes the picture the card was shown with";
        const Card stored = Stored();
        EXPECT_EQ(stored.UniqueName, r.uniqueName);
        if (std::string(r.expectPicture).empty()) {
            EXPECT_TRUE(peers.savedPictures.empty());
            EXPECT_EQ(stored.Picture, r.picture);
        } else {
            EXPECT_EQ(stored.Picture, r.expectPicture);
            EXPECT_EQ(stored.Thumbnail, r.expectThumbnail);
            EXPECT_EQ(St().CurrentCard.Picture, r.expectPicture);
            ASSERT_EQ(peers.savedPictures.size(), 2u);
            EXPECT_EQ(peers.savedPictures[0], r.expectPicture);
        }
    }
}

// Showing a card read without picture files and storing it unchanged wrote picture files and
// gave it their names, which a save then put into a file that never had them.
TEST_F(CardFormTest, OnlyAChangedCardGetsPictureFilesWrittenForIt) {
    OpenWith(WriteCards("set.txt", {{"Imp", "imp", {"HP:1"}, {}, {}, ""}}));
    St().EditCards[1].ArtSource = "imp.jpg";
    form.LoadCardToForm(St().EditCards[1]);
    peers.savedPictures.clear();
    EXPECT_EQ(Stored().Picture, "");
    EXPECT_TRUE(peers.savedPictures.empty());

    St().CurrentCard.Colour = "#00FF00";
    EXPECT_EQ(Stored().Picture, "Card-imp.jpg");
    EXPECT_EQ(peers.savedPictures.size(), 2u);
}

TEST_F(CardFormTest, ADrawnUniqueNameAlreadyInTheFileIsDrawnAgain) {
    designer.Open(ui::DesignerOpener::MainMenu);
    St().Random.Seed(777);
    const long long first = RandomNum(10000);
    St().Random.Seed(777);
    Card other;
    other.Name = "Goblin";
    other.UniqueName = "Goblin" + std::to_string(first);
    St().EditCards[1] = other;
    St().EditCards.PushBack(Card{});
    St().EditIndex = 2;
    Card card;
    InitCard(card, 1, 0);
    card.Name = "Goblin";
    card.Picture = "Card-g.jpg";
    form.LoadCardToForm(card);
    const Card stored = Stored();
    EXPECT_NE(stored.UniqueName, other.UniqueName);
    EXPECT_EQ(stored.UniqueName.rfind("Goblin", 0), 0u);
    // Committing again keeps the name drawn.
    EXPECT_EQ(Stored().UniqueName, stored.UniqueName);
}

TEST_F(CardFormTest, ControlsShowTheirRows) {
    OpenWith(
        WriteCards("set.txt", {{"Imp",
                                "imp",
                                {"HP:1"},
                                {"#EFFECT, SELF, PHASE1, \"A\"", "#EFFECT, SELF, PHASE2, \"B\"",
                                 "#EFFECT, SELF, PHASE3, \"C\"", "#EFFECT, SELF, PHASE4, \"D\""},
                                {}}}));
    const auto& c = form.controls;
    EXPECT_EQ(c.ActivateCombo.entries.size(), 12u) << "TURNSTART is found, not added";
    EXPECT_EQ(c.ActivateCombo.text, "TURNSTART");
    EXPECT_EQ(c.RarityCombo.text, "5");
    EXPECT_EQ(c.NameColour, 0x0000FFu) << "#FF0000 shows red";
    EXPECT_EQ(c.CardTotal, "Total Cards: 1");

    form.OnEffScroll(3);
    EXPECT_EQ(c.EffText[0], "C");
    EXPECT_EQ(c.EffText[1], "D");
    EXPECT_EQ(c.TriggerCombo[1].text, "PHASE4");
    // An empty row shows the prompt, not the trigger shown there before.
    EXPECT_EQ(c.TriggerCombo[2].text, "(Choose a Trigger)");
    form.OnEffScroll(99);
    EXPECT_EQ(form.ActionTop, ui::kLastTop);

    form.OnEffScroll(4);
    dialogs.inputs = {std::string("ENTERPLAY"), std::string("Attack")};
    form.OnTriggerClick(0, ui::TriggerEntries().size() - 1);
    EXPECT_EQ(form.ActionRows[4], "MENU:ENTERPLAY:Attack");
    EXPECT_EQ(c.TriggerCombo[0].entries.back(), "MENU:ENTERPLAY:Attack");
    EXPECT_EQ(c.TriggerCombo[0].text, "MENU:ENTERPLAY:Attack");

    dialogs.inputs = {std::nullopt};
    form.OnTriggerClick(1, ui::TriggerEntries().size() - 3);  // TRAITCHANGE, question cancelled
    EXPECT_EQ(form.ActionRows[5], "TRAITCHANGE:");
}

TEST_F(CardFormTest, ChoosingAnotherCardKeepsTheEditsOfTheShownOne) {
    OpenWith(
        WriteCards("set.txt", {{"Alpha", "a", {"HP:1"}, {}, {}}, {"Beta", "b", {"HP:2"}, {}, {}}}));
    form.OnValueText(0, "9");
    form.OnCardText(0, "Alpha Prime");
    form.CardComboClick(1);
    EXPECT_EQ(St().EditIndex, 2);
    EXPECT_EQ(St().CurrentCard.Name, "Beta");
    EXPECT_EQ(St().EditCards[1].Name, "Alpha Prime");
    EXPECT_EQ(St().EditCards[1].TraitValues[1], "9");
    EXPECT_EQ(form.controls.CardCombo.entries[0], "Alpha Prime") << "the renamed card is listed";
}

TEST_F(CardFormTest, AFreeSlotChosenInTheListShowsABlankForm) {
    OpenWith(
        WriteCards("set.txt", {{"Alpha", "a", {"HP:1"}, {}, {}}, {"Beta", "b", {"HP:2"}, {}, {}}}));
    St().EditCards.PushBack(Card{});
    form.LoadCombos();
    form.CardComboClick(2);
    EXPECT_EQ(St().EditIndex, 3);
    EXPECT_TRUE(St().CurrentCard.Name.empty());
    EXPECT_EQ(form.controls.TraitText[0], "");
    // Leaving the free slot stores nothing over any card.
    form.CardComboClick(1);
    const std::vector<std::string> expected = {"Alpha", "Beta", ""};
    EXPECT_EQ(EditNames(), expected);
}

}  // namespace
}  // namespace dv::test
