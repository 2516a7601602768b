#pragma once
// The card on the designer's form: the three row tables (traits, trait-action captions, actions)
// behind the controls, loading a card into them and building the card back from them, the lists
// the form offers, and the change handlers of its controls. No Qt: the window draws `controls`
// and forwards each widget event to one handler here.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/model/records.h"
#include "ui/designer/card_pictures.h"
#include "ui/designer/designer_lists.h"
#include "ui/designer/designer_peers.h"

namespace dv::ui {

// A card on the form holds at most this many traits, captions and actions.
inline constexpr int kTableRows = 50;
inline constexpr int kShownRows = 3;
// The first shown row of a panel runs from 1 to this, so that the last shown row is row 50.
inline constexpr int kLastTop = kTableRows - kShownRows + 1;

// What the window's controls show; the window draws it after every call.
struct FormControls {
    std::array<std::string, kShownRows> TraitText, ValueText, TraitDescName, TraitDescText, EffText;
    std::array<ComboList, kShownRows> TriggerCombo, TargetCombo, TraitCombo;
    std::array<std::string, 3> CardText;  // name, cost description, unique name
    std::string DescText;
    ComboList ActivateCombo, RarityCombo, CardCombo, TemplateCombo;
    int TraitScroll = 1, TraitDescScroll = 1, EffScroll = 1;
    bool CostButtonVisible = false;
    // A collection card handed over by the deck manager: the file menu, card list, rarity,
    // actions and command buttons are hidden and the trait boxes locked.
    bool DeckManagerEdit = false;
    uint32_t NameColour = 0;  // 0x00BBGGRR, red in the low byte
    std::string CardTotal;
    std::string OutputText;
    bool OutputVisible = false;
};

// Traits and actions of a loaded card beyond what the row tables hold: kept aside and given back
// to the card when it is stored.
struct HeldBackSlots {
    struct Trait {
        std::string name, value, caption;
    };
    struct Action {
        std::string trigger, target, script;
    };
    std::vector<Trait> traits;
    std::vector<Action> actions;
};

class CardForm {
  public:
    explicit CardForm(DesignerPeers& peers) : peers_(peers) {}

    // Rows 1-50 trait names, row r + 50 the value of trait row r.
    List<std::string> TraitRows = List<std::string>(2 * kTableRows);
    // Rows 1-50 trait names, row r + 50 the caption of caption row r.
    List<std::string> CaptionRows = List<std::string>(2 * kTableRows);
    // Rows 1-50 triggers, row r + 50 the target text and row r + 100 the action script of row r.
    List<std::string> ActionRows = List<std::string>(3 * kTableRows);
    int TraitTop = 0, CaptionTop = 0, ActionTop = 0;
    // 0 idle; 1 while UpdateCard redraws; 2 while a card is loaded or the lists refilled.
    uint8_t FormUpdating = 0;
    // 1 after the name was edited: the card list is rebuilt before the next card is chosen.
    uint8_t CardListStale = 0;

    // The pictures the card picture is composed of, the folder of the last card file read and
    // the name colour, shared with the picture work.
    CardPictureState pictures;

    FormControls controls;
    HeldBackSlots heldBack;

    void UpdateCard();
    // Makes a copy of the card the card under edit and fills the row tables from it; a card
    // without a name is not loaded.
    void LoadCardToForm(const Card& card);
    // Builds the committed card from CurrentCard and the row tables.
    void StoreCardFromForm(Card& result);
    // Stores the form's card into EditCards(EditIndex); an index outside the list appends a slot.
    void Commit();
    // Shows slot `slot` of EditCards: its card, or a blank form for a free slot, so that the next
    // commit never writes one card over another.
    void ShowSlot(int slot);
    void LoadCombos();
    void loadcommontraits();

    // Change handlers, one per control event; i is the shown row 0 to 2.
    void OnCardText(int field, const std::string& text);
    void OnDescText(const std::string& text);
    void OnStartTime(const std::string& text);
    void OnRarityClick(int position);
    void OnTraitText(int i, const std::string& text);
    void OnValueText(int i, const std::string& text);
    void OnTraitComboClick(int i, int position);
    void OnTraitDescName(int i, const std::string& text);
    void OnTraitDescText(int i, const std::string& text);
    void OnTriggerTyped(int i, const std::string& text);
    void OnTriggerClick(int i, int position);
    void OnEffText(int i, const std::string& text);
    void OnTraitScroll(int value);
    void OnTraitDescScroll(int value);
    void OnEffScroll(int value);
    // A click in the card list: commits the shown card and shows the chosen one.
    void CardComboClick(int position);
    // Selects an entry of the card list as a click would.
    void SelectCardEntry(int position);
    void HideOutput() { controls.OutputVisible = false; }

  private:
    void ClearRows();
    void FillRows(const Card& card);
    void ShowTrigger(int i);
    void ShowTarget(int i);

    DesignerPeers& peers_;
};

// A unique name for a card named `name`: the name and a number from 1 to 10000, drawn again while
// another slot of EditCards than `ownSlot` holds it.
std::string DrawUniqueName(const std::string& name, int ownSlot);
// The bare file name of a card picture: "Card-", the unique name without spaces and the suffix,
// with every character that could leave the folder or break a file name made "_".
std::string CardPictureName(const std::string& uniqueName, const std::string& suffix);

}  // namespace dv::ui
