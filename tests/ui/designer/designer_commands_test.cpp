// The designer's commands on the card being designed: new cards, delete, save, cost, effects,
// targets, help, the error check and closing.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>

#include "engine/model/card_lists.h"
#include "engine/model/cards.h"
#include "engine/rules/trait_changes.h"
#include "tests/support/owned_card.h"
#include "tests/ui/designer/designer_fixture.h"

namespace dv::test {
namespace {

class DesignerCommandsTest : public DesignerTest {
  protected:
    ui::CardForm& form = designer.form;

    void OpenThree() {
        OpenWith(WriteCards("set.txt", {{"Alpha", "a", {"HP:1"}, {}, {}},
                                        {"Beta", "b", {"HP:2"}, {}, {}},
                                        {"Gamma", "c", {"HP:3"}, {}, {}}}));
    }
};

TEST_F(DesignerCommandsTest, DuplicateCopiesTheStoredCardUnderANewName) {
    OpenThree();
    form.CardComboClick(1);     // Beta
    form.OnValueText(0, "99");  // not saved: the duplicate drops it for both cards
    designer.DuplicateCard();
    const List<Card>& cards = St().EditCards;
    ASSERT_EQ(cards.size(), 4);
    EXPECT_EQ(cards[4].Name, "Copy of Beta");
    EXPECT_EQ(cards[4].UniqueName.rfind("Beta", 0), 0u);
    EXPECT_NE(cards[4].UniqueName, "Beta");
    EXPECT_NE(cards[4].GID, cards[2].GID) << "the copy has an identifier of its own";
    EXPECT_EQ(cards[2].TraitValues[1], "2");
    EXPECT_EQ(cards[4].TraitValues[1], "2");
    EXPECT_EQ(St().EditIndex, 4);
    EXPECT_EQ(form.controls.CardCombo.selected, 3);
    EXPECT_EQ(St().CurrentCard.Name, "Copy of Beta");
}

TEST_F(DesignerCommandsTest, NewCardsComeFromTemplatesOrBlank) {
    OpenThree();
    form.pictures.BackPath = "back.bmp";
    form.pictures.MiniPath = "border.bmp";
    designer.SaveAsTemplate();  // Alpha becomes template 1
    ASSERT_EQ(form.controls.TemplateCombo.entries.size(), 2u);
    EXPECT_EQ(form.controls.TemplateCombo.entries[1], "Alpha");

    form.pictures.BackPath = "other.bmp";
    form.controls.TemplateCombo.Select(1);
    designer.NewCardFromTemplate();
    const List<Card>& cards = St().EditCards;
    ASSERT_EQ(cards.size(), 4);
    EXPECT_EQ(cards[4].Name, "New Alpha");
    EXPECT_EQ(cards[4].UniqueName.rfind("New Alpha", 0), 0u);
    EXPECT_EQ(GetTraitNum(cards[4], "HP"), 1);
    EXPECT_EQ(form.pictures.BackPath, "back.bmp");
    EXPECT_EQ(form.pictures.MiniPath, "border.bmp");
    EXPECT_EQ(form.controls.CardCombo.selected, 3);

    form.controls.TemplateCombo.Select(0);
    designer.NewCardFromTemplate();
    ASSERT_EQ(cards.size(), 5);
    EXPECT_EQ(cards[5].Name, "Card");
    EXPECT_EQ(St().CurrentCard.Name, "Card");
}

TEST_F(DesignerCommandsTest, DeleteShowsTheCardTheIndexPointsAt) {
    OpenThree();
    form.CardComboClick(1);  // Beta
    dialogs.answers = {false};
    designer.DeleteCard();
    EXPECT_EQ(St().EditCards.size(), 3) << "No changes nothing";

    dialogs.answers = {true};
    designer.DeleteCard();
    EXPECT_EQ(St().EditIndex, 1);
    EXPECT_EQ(St().CurrentCard.Name, "Alpha");
    EXPECT_EQ(form.controls.CardText[0], "Alpha");
    // The next card choice commits the shown card over slot 1: it must still be Alpha.
    form.CardComboClick(1);
    const std::vector<std::string> expected = {"Alpha", "Gamma"};
    EXPECT_EQ(EditNames(), expected);
    EXPECT_EQ(St().EditCards[1].TraitValues[1], "1");
}

TEST_F(DesignerCommandsTest, SaveCardWithoutASlotAppendsIt) {
    OpenThree();
    St().EditIndex = 0;
    form.OnCardText(0, "Delta");
    designer.SaveCard();
    ASSERT_EQ(St().EditCards.size(), 4);
    EXPECT_EQ(St().EditCards[4].Name, "Delta");
    EXPECT_EQ(St().EditIndex, 4);
}

TEST_F(DesignerCommandsTest, CalculateCostRunsTheCostCardOnTheShownCard) {
    OpenThree();
    designer.CalculateCost();
    EXPECT_EQ(GetTraitNum(St().EditCards[1], "GLOWCOST"), 0) << "no cost card: nothing happens";

    St().CostCard.Name = "CostCard";
    InitCard(St().CostCard, 0, 1);
    AddEffect(St().CostCard, "SETTRAIT:GLOWCOST:3", 0, "PRICE", 0, "TARGETCARD");
    form.UpdateCard();
    EXPECT_TRUE(form.controls.CostButtonVisible);
    designer.CalculateCost();
    const int slot = GetTraitNum(St().EditCards[1], "GLOWCOST");
    ASSERT_NE(slot, 0);
    EXPECT_EQ(St().EditCards[1].TraitValues[slot], "3");
    EXPECT_EQ(St().CurrentCard.Name, "Alpha");
    EXPECT_NE(GetTraitNum(St().CurrentCard, "GLOWCOST"), 0) << "the form shows the priced card";
}

// The sample game's cost card prices by kind: a structure at half its HP, a creature at half its
// POWER and HP together, rounded down. The price reaches the form and the card's text, and the
// designer's runs leave nothing in the game: not its turn log (debug lines included) nor its echo,
// and a game that is over does not stop them.
TEST_F(DesignerCommandsTest, TheSampleCostCardPricesTheShownCardApartFromTheGame) {
    OpenWith(WriteCards("set.txt",
                        {{"Bell", "b", {"STRUCTURE:", "HP:5", "GLOWCOST:2"}, {}, {}},
                         {"Lantern", "l", {"STRUCTURE:", "HP:2", "GLOWCOST:2"}, {}, {}},
                         {"Toad", "t", {"CREATURE:", "POWER:2", "HP:2", "GLOWCOST:1"}, {}, {}}}));
    Player reader;
    List<Card> rules;
    ASSERT_TRUE(ReadCards(rules, std::string(DV_SOURCE_DIR) + "/content/Mosslight.gam", reader));
    ASSERT_EQ(St().CostCard.Effects.size(), 3);
    State& st = St();
    st.GameOver = 1;
    st.DebugMode = 1;
    st.TurnLog = "<p>the last turn</p>";

    struct Row {
        int position;  // in the card list, sorted by name
        const char* name;
        const char* price;
    };
    const Row rows[] = {{0, "Bell", "2"}, {1, "Lantern", "1"}, {2, "Toad", "2"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        form.CardComboClick(r.position);
        ASSERT_EQ(st.CurrentCard.Name, r.name);
        designer.CalculateCost();
        const int slot = GetTraitNum(st.EditCards[st.EditIndex], "GLOWCOST");
        ASSERT_NE(slot, 0);
        EXPECT_EQ(st.EditCards[st.EditIndex].TraitValues[slot], r.price);
        std::string shown;
        for (int row = 1; row <= ui::kTableRows; ++row)
            if (form.TraitRows[row] == "GLOWCOST") shown = form.TraitRows[row + ui::kTableRows];
        EXPECT_EQ(shown, r.price) << "the form shows the card before pricing";
        designer.GenerateCardText();
        EXPECT_NE(form.controls.OutputText.find(std::string("GLOWCOST:") + r.price),
                  std::string::npos);
    }
    EXPECT_EQ(st.TurnLog, "<p>the last turn</p>");
    EXPECT_EQ(st.GameOver, 1);
    EXPECT_EQ(EchoPart(st.EchoParts, 4), "") << "the echo of the next turn";
}

// A new blank card has no picture of its own: no picture file is written for it, neither when
// it is made nor when it is stored.
TEST_F(DesignerCommandsTest, ABlankNewCardWritesNoPictureFiles) {
    OpenThree();
    peers.savedPictures.clear();
    form.controls.TemplateCombo.Select(0);
    designer.NewCardFromTemplate();
    ASSERT_EQ(St().EditIndex, 4);
    designer.SaveCard();
    EXPECT_EQ(St().EditCards[4].Name, "Card");
    EXPECT_EQ(St().EditCards[4].Picture, "");
    EXPECT_EQ(St().CurrentCard.Picture, "") << "a picture would be asked about before a new one";
    EXPECT_TRUE(peers.savedPictures.empty());
}

// A command that fails part-way leaves neither the card list nor the form locked: the next card
// choice commits and shows as ever.
TEST_F(DesignerCommandsTest, AFailedCommandLeavesTheCardListFree) {
    struct Row {
        const char* what;
        std::function<void()> act;
    };
    const Row rows[] = {
        {"load a card file",
         [this] {
             dialogs.files.push_back(St().CardSetFile);
             designer.LoadCards();
         }},
        {"delete a card",
         [this] {
             dialogs.answers = {true};
             designer.DeleteCard();
         }},
        {"choose a card", [this] { form.CardComboClick(1); }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        ResetState();
        St().Players[1].Id = 1;
        OpenThree();
        peers.failPictures = true;
        EXPECT_ANY_THROW(r.act());
        peers.failPictures = false;
        EXPECT_EQ(St().ListBusy, 0);
        EXPECT_EQ(form.FormUpdating, 0);
        const int last = St().EditCards.size() - 1;
        form.CardComboClick(last);
        EXPECT_EQ(St().EditIndex, last + 1);
        EXPECT_EQ(form.controls.CardText[0], St().EditCards[last + 1].Name);
    }
}

TEST_F(DesignerCommandsTest, AddEffectAppendsThePickersCommands) {
    OpenThree();
    form.OnEffText(0, "MODTRAIT:HP:1:");
    peers.pickedEffect = "DRAWCARDS:1:";
    designer.AddEffectToRow(0);
    EXPECT_EQ(form.ActionRows[1 + 2 * ui::kTableRows], "MODTRAIT:HP:1:DRAWCARDS:1:");

    form.OnTriggerTyped(1, "COUNTER");
    peers.calls.clear();
    designer.AddEffectToRow(1);
    EXPECT_TRUE(peers.calls.empty()) << "no picker for a COUNTER row";
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.messages.back(),
              "The Add Effect menu cannot be used for COUNTER commands.  (See main help for "
              "details.)");
}

TEST_F(DesignerCommandsTest, TargetPicksStoreTheirTextAndAskForTheCard) {
    OpenThree();
    struct Row {
        int position;
        std::optional<std::string> answer;
        const char* stored;
    };
    const Row rows[] = {{10, std::string("17"), "GIDCARD:17"},
                        {10, std::nullopt, "GIDCARD:"},
                        {9, std::nullopt, "SELF"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.stored);
        dialogs.inputs = {r.answer};
        designer.TargetClick(0, r.position);
        EXPECT_EQ(form.ActionRows[1 + ui::kTableRows], r.stored);
        EXPECT_EQ(form.controls.TargetCombo[0].text, r.stored);
    }
}

TEST_F(DesignerCommandsTest, HelpButtonsShowTheirText) {
    designer.ShowHelpText(3);
    EXPECT_TRUE(dialogs.messages.empty());
    designer.ShowHelpText(0);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].rfind("Traits are the data that defines the card;", 0), 0u);
}

TEST_F(DesignerCommandsTest, GenerateCardTextShowsTheBlockWithoutCommitting) {
    OpenThree();
    form.OnValueText(0, "42");
    designer.GenerateCardText();
    EXPECT_TRUE(form.controls.OutputVisible);
    EXPECT_NE(form.controls.OutputText.find("#CARD, INDECK, \"Alpha\""), std::string::npos);
    EXPECT_NE(form.controls.OutputText.find("HP:42"), std::string::npos);
    EXPECT_EQ(St().EditCards[1].TraitValues[1], "1");
    form.HideOutput();
    EXPECT_FALSE(form.controls.OutputVisible);
}

TEST_F(DesignerCommandsTest, TheErrorCheckListsEveryErrorAndClaimsNoneOnlyWithoutAny) {
    struct Row {
        const char* what;
        const char* rulesScript;  // "" = no rules card
        std::vector<std::string> effects;
        std::vector<std::string> messages;
        int shownSlot;
    };
    const Row rows[] = {
        {"clean", "", {"#EFFECT, SELF, PHASE1, \"MODTRAIT:HP:1\""}, {"No errors found."}, 1},
        {"bad first effect",
         "",
         {"#EFFECT, SELF, PHASE1, \"BOGUS:MODTRAIT:HP:1\"",
          "#EFFECT, SELF, PHASE2, \"MODTRAIT:HP:1\""},
         {"Unrecognized command in Beta: BOGUS\r\n"},
         2},
        {"rules card errors",
         "NOPE",
         {"#EFFECT, SELF, PHASE1, \"MODTRAIT:HP:1\""},
         {"Unrecognized command in Rules: NOPE\r\n"},
         1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        ResetState();
        St().Players[1].Id = 1;
        dialogs.messages.clear();
        OpenWith(WriteCards("set.txt",
                            {{"Alpha", "a", {}, {}, {}}, {"Beta", "b", {"HP:1"}, r.effects, {}}}));
        if (*r.rulesScript) {
            St().RulesCard.Name = "Rules";
            AddEffect(St().RulesCard, r.rulesScript, 2, "TURNSTART", 0, "ALL");
        }
        designer.ErrorCheck();
        EXPECT_EQ(dialogs.messages, r.messages);
        EXPECT_EQ(St().EditIndex, r.shownSlot);
    }
}

TEST_F(DesignerCommandsTest, ClosingFromTheMenuOffersToSaveAndStartsANewGame) {
    OpenThree();
    const std::string file = St().CardSetFile;
    const std::string before = ReadFile(file);
    form.OnValueText(0, "5");
    dialogs.answers = {false};
    peers.calls.clear();
    designer.Close();
    EXPECT_EQ(dialogs.asked.back(), "Save cards now?");
    EXPECT_EQ(ReadFile(file), before) << "No writes nothing";
    EXPECT_EQ(St().EditCards[1].TraitValues[1], "5") << "the shown card is committed";
    EXPECT_EQ(peers.calls.front(), "UnloadPicPick");
    EXPECT_EQ(peers.calls.back(), "ShowMainWindow");
    EXPECT_EQ(St().DesignerActive, 0);
    EXPECT_FALSE(host.calls.empty()) << "QuickStart ran: " << host.calls.size();
    EXPECT_EQ(host.calls.back(), "EndProgram") << "no profile: the new game asks and ends";
}

TEST_F(DesignerCommandsTest, ClosingWithYesAndNoFileAsksAndACancelWritesNothing) {
    designer.Open(ui::DesignerOpener::MainMenu);
    designer.Activate();
    form.OnCardText(0, "Solo");
    dialogs.answers = {true};
    dialogs.files = {std::nullopt};
    designer.Close();
    EXPECT_TRUE(St().CardSetFile.empty());
    EXPECT_TRUE(std::filesystem::is_empty(Folder()));
}

// A designer opened again from the menu holds no cards, but still named the file saved before:
// "Yes" to saving rewrote that file with no cards, and the commands that need a card file ran.
TEST_F(DesignerCommandsTest, ADesignerOpenedAgainHasNoCardFileSoClosingItEmptiesNone) {
    OpenThree();
    const std::string mine = (Folder() / "MyCards.txt").string();
    dialogs.files = {mine};
    designer.SaveCardsAs();
    dialogs.answers = {true};
    designer.Close();
    const std::string saved = ReadFile(mine);
    ASSERT_NE(saved.find("Gamma"), std::string::npos);

    ui::Designer again{peers};
    again.Open(ui::DesignerOpener::MainMenu);
    again.Activate();
    EXPECT_EQ(St().CardSetFile, "");
    ExpectCardFileNeeded(again);
    dialogs.asked.clear();
    dialogs.answers = {true};
    dialogs.files = {std::nullopt};
    again.Close();
    EXPECT_EQ(dialogs.asked, (std::vector<std::string>{"Save cards now?", "Save Cards"}))
        << "Yes asks where to save";
    EXPECT_EQ(ReadFile(mine), saved);
}

// The designer stays open, hidden, during its own test game: coming back it has its file.
TEST_F(DesignerCommandsTest, ADesignerBackFromItsTestGameKeepsItsCardFile) {
    OpenThree();
    const std::string file = St().CardSetFile;
    designer.TestCards();
    designer.ComeBack();
    EXPECT_EQ(St().CardSetFile, file);

    // A designer the deck manager opens meanwhile may load another file; the one around it keeps
    // its own, or its next save would write its cards over the other file.
    ui::Designer inner{peers};
    St().CurrentCard = test::OwnedCard();
    inner.Open(ui::DesignerOpener::DeckManager);
    St().CardSetFile = (Folder() / "other.txt").string();
    inner.Close();
    EXPECT_EQ(St().CardSetFile, file);
}

TEST_F(DesignerCommandsTest, ACardFromTheDeckManagerGoesBackWithoutSaveOrNewGame) {
    St().CurrentCard = test::OwnedCard();
    designer.Open(ui::DesignerOpener::DeckManager);
    designer.Activate();
    EXPECT_TRUE(form.controls.DeckManagerEdit);
    form.OnCardText(1, "2 glow");
    designer.Close();
    EXPECT_TRUE(dialogs.asked.empty()) << "no offer to save";
    EXPECT_TRUE(host.calls.empty()) << "no new game under the deck manager";
    EXPECT_EQ(St().CurrentCard.CostDesc, "2 glow");
    EXPECT_EQ(GetTraitNum(St().CurrentCard, "HP"), 1);

    designer.Open(ui::DesignerOpener::MainMenu);
    EXPECT_FALSE(form.controls.DeckManagerEdit) << "the menu opens the whole designer";
    EXPECT_TRUE(St().CurrentCard.Name.empty());
}

TEST_F(DesignerCommandsTest, AHandedOverCardComesBackWithItsNameSoTheNextStoreKeepsIt) {
    struct Row {
        const char* what;
        void (ui::Designer::*handOver)();
        bool waits;  // the designer comes back by itself
    };
    const Row rows[] = {
        {"Test Cards", &ui::Designer::TestCards, false},
        {"View Cards", &ui::Designer::ViewCards, false},
        {"Create Custom Enemy", &ui::Designer::CreateCustomEnemy, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        OpenThree();
        form.CardComboClick(1);  // Beta
        const std::vector<std::string> names = EditNames();
        // A sort in the deck manager, or its activation, empties CurrentCard's name.
        peers.handedOver = [] { SortCards(St().EnemyCards, "NAME", 0); };
        (designer.*r.handOver)();
        if (!r.waits) designer.ComeBack();
        EXPECT_EQ(St().CurrentCard.Name, "Beta");
        EXPECT_EQ(form.controls.CardText[0], "Beta");
        designer.SaveCard();
        EXPECT_EQ(EditNames(), names) << "the stored card lost its name and its slot";
    }
}

TEST_F(DesignerCommandsTest, ADesignerOpenedByTheDeckManagerLeavesTheDesignerAroundItAsItWas) {
    OpenThree();
    form.CardComboClick(1);  // Beta
    designer.SaveAsTemplate();
    St().EditorTest = 1;  // its test game is on, the designer hidden
    const std::vector<std::string> names = EditNames();
    const int templates = St().Templates.size();

    Card owned;
    InitCard(owned, 1, 0);
    owned.Name = "Owned";
    owned.UniqueName = "owned";
    owned.Picture = "Card-owned.jpg";
    St().CurrentCard = owned;
    ui::Designer inner{peers};
    inner.Open(ui::DesignerOpener::DeckManager);
    inner.Activate();
    inner.form.Commit();  // as its picture commands do
    inner.form.OnCardText(1, "2 glow");
    inner.Close();

    EXPECT_EQ(St().CurrentCard.Name, "Owned") << "the deck manager takes the card back";
    EXPECT_EQ(St().CurrentCard.CostDesc, "2 glow");
    EXPECT_EQ(EditNames(), names);
    EXPECT_EQ(St().EditIndex, 2);
    EXPECT_EQ(St().Templates.size(), templates);
    EXPECT_EQ(St().EditorTest, 1) << "closing the test game would not come back to the designer";
    EXPECT_EQ(St().DesignerActive, 1);
}

// Closing lost every unsaved card when the save it offered did not happen (Yes, then Cancel; or
// Yes and a save that failed), and a Save As that failed took the file it could not write.
TEST_F(DesignerCommandsTest, ASaveThatDidNotHappenKeepsTheDesignerOpenWithItsCards) {
    WriteFile("zeta", "a file where a folder should be");
    const std::string unwritable = (Folder() / "zeta" / "cards.txt").string();
    const std::pair<std::string, std::optional<std::string>> rows[] = {
        {"", std::nullopt}, {"", unwritable}, {unwritable, std::nullopt}};
    for (const auto& [cardFile, chosen] : rows) {
        designer.Open(ui::DesignerOpener::MainMenu);
        designer.Activate();
        form.OnCardText(0, "Solo");
        St().CardSetFile = cardFile;
        peers.calls.clear();
        dialogs.answers = {true};
        dialogs.files = {chosen};
        EXPECT_FALSE(designer.Close());
        EXPECT_EQ(EditNames(), std::vector<std::string>{"Solo"});
        EXPECT_EQ(St().CardSetFile, cardFile);
        EXPECT_EQ(St().DesignerActive, 1);
        EXPECT_TRUE(peers.calls.empty()) << "the designer went on closing";
        EXPECT_TRUE(host.calls.empty()) << "a new game started under the designer";
    }
    OpenThree();
    const std::string file = St().CardSetFile;
    dialogs.files = {unwritable};
    designer.SaveCardsAs();
    EXPECT_EQ(St().CardSetFile, file);
    EXPECT_EQ(host.messages.size(), 3u) << "each failed save says why";
}

// After Test Cards (or View Cards) a sort in the deck manager reordered the designer's list under
// the slot it kept: the form showed one card, the list another, and Save Card wrote over that one.
TEST_F(DesignerCommandsTest, AHandOverWithASortBringsTheDesignerBackOnItsCardAndItsList) {
    // A sort by name moves every card of Zeta, Beta, Gamma.
    OpenWith(WriteCards("set.txt", {{"Zeta", "z", {"HP:1"}, {}, {}},
                                    {"Beta", "b", {"HP:2"}, {}, {}},
                                    {"Gamma", "c", {"HP:3"}, {}, {}}}));
    const std::vector<std::string> names = EditNames();
    peers.handedOver = [] { SortCards(St().EditCards, "NAME", 0); };
    for (bool view : {false, true}) {
        form.controls.CardCombo.Select(2);
        form.CardComboClick(2);  // Gamma
        view ? designer.ViewCards() : designer.TestCards();
        ASSERT_EQ(St().EditCards[1].Name, "Beta") << "the deck manager's sort";
        view ? designer.ShowCardOfList(3) : designer.ComeBack();  // Zeta, or Gamma shown
        const std::string shown = view ? "Zeta" : "Gamma";
        EXPECT_EQ(EditNames(), names);
        EXPECT_EQ(form.controls.CardText[0], shown);
        EXPECT_EQ(form.controls.CardCombo.text, shown);
        designer.SaveCard();
        EXPECT_EQ(EditNames(), names) << "Save Card wrote over another card";
    }
}

// The program told to end while the designer was hidden during its card test ended it without a
// word about its cards; a save then would have written the list as the test's deck manager sorted
// it, and a save that failed must leave the test going on as it was.
TEST_F(DesignerCommandsTest, TheProgramsEndAsksAboutTheCardsOfADesignerHiddenInItsTest) {
    WriteFile("zeta", "a file where a folder should be");
    for (const bool writable : {true, false}) {
        SCOPED_TRACE(writable ? "saved" : "the save failed");
        const std::string file = WriteCards(
            "set.txt", {{"Zeta", "z", {"HP:1"}, {}, {}}, {"Beta", "b", {"HP:2"}, {}, {}}});
        OpenWith(file);
        const std::string before = ReadFile(file);
        if (!writable) St().CardSetFile = (Folder() / "zeta" / "cards.txt").string();
        form.OnValueText(0, "7");  // Zeta's HP, never saved
        peers.handedOver = [] { SortCards(St().EditCards, "NAME", 0); };
        designer.TestCards();
        dialogs.answers = {true};
        EXPECT_EQ(designer.LetProgramEnd(), writable);
        EXPECT_EQ(dialogs.asked.back(), "Save cards now?");
        EXPECT_TRUE(host.calls.empty()) << "a new game started as the program ended";
        const std::string after = ReadFile(file);
        EXPECT_EQ(after != before, writable);
        EXPECT_LT(after.find("Zeta"), after.find("Beta")) << "the test's sort was saved";
        if (writable) continue;
        EXPECT_EQ(EditNames(), (std::vector<std::string>{"Beta", "Zeta"})) << "the test's list";
        designer.ComeBack();
        EXPECT_EQ(EditNames(), (std::vector<std::string>{"Zeta", "Beta"}));
        EXPECT_EQ(St().EditCards[1].TraitValues[1], "7");
    }
}

}  // namespace
}  // namespace dv::test
