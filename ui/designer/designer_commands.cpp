// The designer's life cycle and its commands on the card being designed.
#include <array>

#include "data/card_files.h"
#include "engine/interpreter/eff_card.h"
#include "engine/model/card_lists.h"
#include "engine/model/cards.h"
#include "engine/model/compiler.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "engine/pages/page_buffer.h"
#include "game/startup.h"
#include "ui/common/dialogs.h"
#include "ui/common/flag_scope.h"
#include "ui/designer/card_designer.h"
#include "ui/designer/included_cards.h"

namespace dv::ui {
namespace {

constexpr const char* kTitle = "Duvenhall";
constexpr uint32_t kWhite = 0xFFFFFF;

// The designer prices a card outside any game. While this lives the cost card's runs go on whether
// or not the last game is over; what they write for the game (the turn log and its debug lines,
// the echo, the last target and amount) is dropped when it ends, on every way out.
class PricingApart {
  public:
    PricingApart() { St().GameOver = 0; }
    ~PricingApart() {
        State& s = St();
        s.TurnLog = std::move(turnLog_);
        s.EchoParts = std::move(echoParts_);
        s.EchoText = std::move(echoText_);
        s.TraitEcho = std::move(traitEcho_);
        s.LastTarget = lastTarget_;
        s.LastTargetName = std::move(lastTargetName_);
        s.LastAmount = std::move(lastAmount_);
        s.CurrentValue = std::move(currentValue_);
        s.GameOver = gameOver_;
    }
    PricingApart(const PricingApart&) = delete;
    PricingApart& operator=(const PricingApart&) = delete;

  private:
    std::string turnLog_ = St().TurnLog;
    PickerCommand echoParts_ = St().EchoParts;
    std::string echoText_ = St().EchoText;
    std::string traitEcho_ = St().TraitEcho;
    int32_t lastTarget_ = St().LastTarget;
    std::string lastTargetName_ = St().LastTargetName;
    Value lastAmount_ = St().LastAmount;
    Value currentValue_ = St().CurrentValue;
    uint8_t gameOver_ = St().GameOver;
};

// Runs one step of the activation; a failure skips only that step.
template <class Step>
void Tolerant(Step&& step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

}  // namespace

std::string Designer::HelpText(int index) {
    static const std::array<const char*, 5> texts = {
        "Traits are the data that defines the card; they tell the game what kind of card it is and "
        "define it's stats.  For more information on what traits are and how to use them, consult "
        "the main help.",
        "Cards interact with one another using \"Actions,\" which are defined via action scripts.  "
        "Each line here corresponds to a single action.  To make an action, select a target type "
        "and a trigger for the action using the dropdown menu, then click on the \"Add Effect\" "
        "button to begin defining effects for that action.  For more information on actions and "
        "action scripting, consult the main help file.",
        "Many games define what are called \"Trait Actions.\"  These are actions which a card "
        "inherits by having a certain trait.  While these actions often have captions of their "
        "own, the game allows you to change the message displayed when this card uses a particular "
        "trait action.  If you wish to do this, simply type the new caption here next to the trait "
        "it corresponds to.",
        "",
        "This is the text that is displayed to the user when they click on the card or when they "
        "examine a card in their hand.  You can use standard HTML formatting to control the way it "
        "displays in-game."};
    if (index < 0 || index >= static_cast<int>(texts.size())) return {};
    return texts[static_cast<std::size_t>(index)];
}

void Designer::Open(DesignerOpener opener) {
    State& s = St();
    outer_.reset();
    if (opener == DesignerOpener::DeckManager)
        outer_ = OuterSession{s.EditCards,  s.EditIndex,      s.Templates,    s.CardSetFile,
                              s.EditorTest, s.DesignerActive, s.CardSetLayout};
    // A flag left by an earlier hand-over would lock the form of a designer opened from the menu.
    s.EditFromDeckManager = opener == DesignerOpener::DeckManager ? 1 : 0;
    if (s.EditFromDeckManager == 1) {
        form.LoadCardToForm(s.CurrentCard);
    } else {
        // A fresh card: a name left from the last designer would show without its traits.
        s.CurrentCard = Card{};
        InitCard(s.CurrentCard, 1, 0);
        s.CurrentCard.StartTime = "TURNSTART";
        s.EditCards = List<Card>(1);
        // An empty list belongs to no file: saved under the last file's name, it would empty it.
        s.CardSetFile.clear();
        s.CardSetLayout = {};
        form.pictures.NameColour = kWhite;
    }
    s.Templates = List<CardTemplate>(1);
    fileParts_ = {};
    s.EditIndex = 1;
    form.pictures.BackPath = "backs-generic.bmp";
    form.TraitTop = form.CaptionTop = form.ActionTop = 1;
    form.LoadCombos();
}

void Designer::Activate() {
    State& s = St();
    Tolerant([&] { s.DesignerActive = 1; });
    Tolerant([&] {
        if (s.EditIndex < 1) s.EditIndex = 1;
    });
    Tolerant([&] { form.LoadCombos(); });
    Tolerant([&] { form.UpdateCard(); });
}

bool Designer::Close() {
    State& s = St();
    if (s.EditFromDeckManager == 1) {
        peers_.UnloadPicPick();
        s.DeckManagerMode = 0;
        s.EditorTest = 0;
        // A card handed over by the deck manager goes back in CurrentCard, not into the card
        // file.
        Card card;
        form.StoreCardFromForm(card);
        s.CurrentCard = card;
        // The deck manager is still open under the designer: no file to save, no new game. A
        // designer from the menu may be hidden during its test game: its card file, the slot it
        // shows, its templates and its test come back as they were.
        s.DesignerActive = 0;
        if (outer_) {
            s.EditCards = std::move(outer_->EditCards);
            s.EditIndex = outer_->EditIndex;
            s.Templates = std::move(outer_->Templates);
            s.CardSetFile = std::move(outer_->CardSetFile);
            s.CardSetLayout = std::move(outer_->CardSetLayout);
            s.EditorTest = outer_->EditorTest;
            s.DesignerActive = outer_->DesignerActive;
            outer_.reset();
        }
        return true;
    }
    form.Commit();
    if (!OfferToSave()) return false;
    peers_.UnloadPicPick();
    s.DeckManagerMode = 0;
    s.EditorTest = 0;
    peers_.ShowMainWindow();
    s.DesignerActive = 0;
    const std::string& playerFile = s.CurrentProfile.PlayerFile;
    if (!GetImagePath(playerFile, 0, "").empty())
        ReadCards(s.Collection, playerFile, s.Players[1], 0, "", kReadReplace);
    QuickStart();
    return true;
}

bool Designer::LetProgramEnd() {
    State& s = St();
    // One card handed over by the deck manager goes back to it, which ends too: nothing to save.
    if (outer_) return true;
    // Hidden during its card test or card view, the designer has handed its list over, which the
    // deck manager may have sorted meanwhile: the cards asked about and saved are its own list, as
    // it comes back after a test.
    std::optional<HandOver> handedOver;
    std::optional<HandOver> meanwhile;
    if (handedOver_) {
        handedOver = handedOver_;
        meanwhile = HandOver{s.CurrentCard, s.EditCards, s.EditIndex};
    }
    TakeBackCard();
    form.Commit();
    if (!OfferToSave()) {
        // The program goes on as it was, the hand-over too.
        if (meanwhile) {
            handedOver_ = std::move(handedOver);
            s.CurrentCard = std::move(meanwhile->card);
            s.EditCards = std::move(meanwhile->cards);
            s.EditIndex = meanwhile->index;
        }
        return false;
    }
    peers_.UnloadPicPick();
    s.DeckManagerMode = 0;
    s.EditorTest = 0;
    s.DesignerActive = 0;
    return true;
}

bool Designer::OfferToSave() {
    // The cards live only in the designer: a save that did not happen keeps it open with them.
    if (!TheDialogs().YesNo("Save cards now?", kTitle)) return true;
    return SaveCardFile(SaveWay::Offered);
}

void Designer::NewSlotFor(bool duplicate) {
    State& s = St();
    form.pictures.ArtPath.clear();
    const int n = s.EditCards.PushBack(Card{});
    InitCard(s.EditCards[n], 1, 0);
    // Every card of the file keeps an identifier of its own; a copy takes the new slot's.
    const int32_t freshGid = s.EditCards[n].GID;
    Card& current = s.CurrentCard;
    if (duplicate) {
        if (s.EditCards.Has(s.EditIndex)) {
            current = s.EditCards[s.EditIndex];
            form.LoadCardToForm(s.EditCards[s.EditIndex]);
        }
        s.EditIndex = static_cast<int16_t>(n);
        current.UniqueName = DrawUniqueName(current.Name, n);
        current.Name = "Copy of " + current.Name;
        current.GID = freshGid;
        Card copy;
        form.StoreCardFromForm(copy);
        s.EditCards[n] = copy;
    } else {
        const int chosen = form.controls.TemplateCombo.selected;
        s.EditIndex = static_cast<int16_t>(n);
        if (chosen > 0 && s.Templates.Has(chosen)) {
            const CardTemplate t = s.Templates[chosen];
            s.EditCards[n] = t.card;
            form.pictures.BackPath = t.BackPicture;
            form.pictures.MiniPath = t.Extra;
            form.pictures.NameColour = static_cast<uint32_t>(t.Colour);
            current = s.EditCards[n];
            form.LoadCardToForm(t.card);
            current.Name = "New " + current.Name;
            current.UniqueName = DrawUniqueName(current.Name, n);
            current.GID = freshGid;
            Card made;
            form.StoreCardFromForm(made);
            s.EditCards[n] = made;
        } else {
            Card blank;
            InitCard(blank, 1, 0);
            blank.Name = "Card";
            blank.StartTime = "TURNSTART";
            current = blank;
            form.LoadCardToForm(current);
        }
    }
    form.LoadCombos();
    form.SelectCardEntry(s.EditCards.size() - 1);
    form.UpdateCard();
    peers_.UpdatePic(0);
}

void Designer::DuplicateCard() {
    NewSlotFor(true);
}

void Designer::NewCardFromTemplate() {
    NewSlotFor(false);
}

void Designer::SaveAsTemplate() {
    form.Commit();
    Card card;
    form.StoreCardFromForm(card);
    AddEditTemplate(card, form.pictures.BackPath, form.pictures.MiniPath,
                    static_cast<int32_t>(form.pictures.NameColour));
    form.LoadCombos();
}

void Designer::DeleteCard() {
    State& s = St();
    if (!TheDialogs().YesNo("Are you sure you want to delete this card?", kTitle)) return;
    Card blank;
    InitCard(blank, 1, 0);
    s.CurrentCard = blank;
    if (s.EditCards.Has(s.EditIndex)) s.EditCards[s.EditIndex] = blank;
    SortCards(s.EditCards, "NAME", 1);
    if (s.EditCards.empty()) s.EditCards.Resize(1);
    s.EditIndex = 1;
    {
        const ListBusyScope busy;
        form.LoadCombos();
        form.UpdateCard();
        form.CardListStale = 0;
    }
    // The form shows the card the index points at, so the next commit stores that card again
    // instead of the blank one over it.
    form.controls.CardCombo.Select(0);
    form.ShowSlot(1);
}

void Designer::SaveCard() {
    State& s = St();
    if (s.EditIndex == 0) s.EditIndex = static_cast<int16_t>(s.EditCards.PushBack(Card{}));
    form.Commit();
    form.ShowSlot(s.EditIndex);
    form.LoadCombos();
}

void Designer::CalculateCost() {
    State& s = St();
    if (s.CostCard.Name.empty()) return;
    form.Commit();
    {
        const PricingApart apart;
        PriceCard(s.EditCards[s.EditIndex]);
    }
    form.ShowSlot(s.EditIndex);
}

void Designer::AddEffectToRow(int i) {
    if (i < 0 || i >= kShownRows) return;
    form.Commit();
    if (form.controls.TriggerCombo[i].text == "COUNTER") {
        TheDialogs().Message(
            "The Add Effect menu cannot be used for COUNTER commands.  (See main help for "
            "details.)",
            kTitle);
        return;
    }
    const std::string commands = peers_.PickEffect();
    form.OnEffText(i, form.controls.EffText[i] + commands);
}

void Designer::TargetClick(int i, int position) {
    if (i < 0 || i >= kShownRows) return;
    ComboList& combo = form.controls.TargetCombo[i];
    combo.Select(position);
    if (form.FormUpdating != 0) return;
    std::string& row = form.ActionRows[form.ActionTop + i + kTableRows];
    row = combo.text;
    if (combo.text == "GIDCARD")
        row = "GIDCARD:" + TheDialogs().Input("Which Card?", kTitle, "").value_or("");
    form.UpdateCard();
}

void Designer::ShowHelpText(int index) {
    const std::string text = HelpText(index);
    if (!text.empty()) TheDialogs().Message(text, kTitle);
}

void Designer::GenerateCardText() {
    Card card;
    form.StoreCardFromForm(card);
    form.controls.OutputText = CardFileText(card, "INDECK");
    form.controls.OutputVisible = true;
}

void Designer::ErrorCheck() {
    State& s = St();
    // Every compiled card's lines are shown; "No errors found." only when no card had any.
    bool anyErrors = false;
    std::string errors;
    if (!s.RulesCard.Name.empty()) {
        CompileCard(s.RulesCard, errors);
        if (!errors.empty()) {
            TheDialogs().Message(errors, kTitle);
            anyErrors = true;
        }
    }
    for (Card& traitCard : s.TraitActions) {
        errors.clear();
        CompileCard(traitCard, errors);
        if (!errors.empty()) {
            TheDialogs().Message(
                "Errors found in " + traitCard.Name + " trait actions:\r\n" + errors, kTitle);
            return;
        }
    }
    if (!s.CostCard.Name.empty()) {
        errors.clear();
        CompileCard(s.CostCard, errors);
        if (!errors.empty()) {
            TheDialogs().Message(errors, kTitle);
            anyErrors = true;
        }
    }
    for (int i = 1; i <= s.EditCards.size(); ++i) {
        errors.clear();
        CompileCard(s.EditCards[i], errors);
        if (!errors.empty()) {
            form.SelectCardEntry(i - 1);
            TheDialogs().Message(errors, kTitle);
            return;
        }
    }
    if (!anyErrors) TheDialogs().Message("No errors found.", kTitle);
}

void Designer::Help() {
    DisplayHelp("MainHelp.html");
}

}  // namespace dv::ui
