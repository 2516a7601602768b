#include "ui/designer/card_form.h"

#include <algorithm>

#include "data/card_files.h"
#include "engine/model/cards.h"
#include "engine/model/case_fold.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "engine/model/trait_actions.h"
#include "engine/rules/card_life.h"
#include "engine/rules/trait_changes.h"
#include "ui/common/dialogs.h"
#include "ui/common/flag_scope.h"

namespace dv::ui {
namespace {

constexpr const char* kTitle = "Duvenhall";
// Unique names are drawn as the name and a number up to this.
constexpr double kUniqueNumbers = 10000;
// A drawn unique name already in the file is drawn again at most this often.
constexpr int kMaxUniqueNameDraws = 100;

int ClampTop(int top) {
    return std::clamp(top, 1, kLastTop);
}

// A menu action that was split into its parts when read is shown in the form it is typed in, or
// the next commit would store it as a plain action.
std::string TriggerRowText(const Effect& effect) {
    if (effect.MenuState != MenuState::None)
        return "MENU:" + effect.Trigger + ":" + effect.MenuText;
    return effect.Trigger;
}

Effect FreeEffect() {
    Effect effect;
    effect.Program.Resize(1);
    effect.Args.Resize(1);
    return effect;
}

// The slots of a list shown in the rows: every slot while they fit, else the ones that carry
// something, in order.
template <class Carries>
std::vector<int> ShownSlots(int count, Carries carries) {
    std::vector<int> slots;
    for (int k = 1; k <= count; ++k)
        if (count <= kTableRows || carries(k)) slots.push_back(k);
    return slots;
}

// Whether the card has pictures to compose its own from (a thumbnail border alone is one); one
// without them and without picture files is an empty card, with no picture of its own to show or
// write.
bool HasPictureSources(const Card& card) {
    return !card.ArtSource.empty() || !card.BackSource.empty() || !card.MiniSource.empty();
}

void SetCaption(Card& card, int slot, const std::string& caption) {
    if (card.TraitActionDescs.size() < slot) card.TraitActionDescs.Resize(slot);
    card.TraitActionDescs[slot] = caption;
}

}  // namespace

std::string DrawUniqueName(const std::string& name, int ownSlot) {
    const List<Card>& cards = St().EditCards;
    std::string candidate;
    for (int draw = 0; draw < kMaxUniqueNameDraws; ++draw) {
        candidate = name + std::to_string(RandomNum(kUniqueNumbers));
        bool used = false;
        for (int i = 1; i <= cards.size() && !used; ++i)
            used = i != ownSlot && !cards[i].Name.empty() && cards[i].UniqueName == candidate;
        if (!used) break;
    }
    return candidate;
}

std::string CardPictureName(const std::string& uniqueName, const std::string& suffix) {
    std::string name = "Card-";
    for (char c : uniqueName) {
        const auto u = static_cast<unsigned char>(c);
        if (c == ' ') continue;
        const bool unsafe = u < 0x20 || u == 0x7F || c == '/' || c == '\\' || c == ':';
        name += unsafe ? '_' : c;
    }
    return name + suffix;
}

void CardForm::UpdateCard() {
    State& s = St();
    const Card& card = s.CurrentCard;
    const FlagScope<uint8_t> updating(FormUpdating, FormUpdating == 0 ? uint8_t{1} : FormUpdating);
    TraitTop = ClampTop(TraitTop);
    CaptionTop = ClampTop(CaptionTop);
    ActionTop = ClampTop(ActionTop);
    for (int i = 0; i < kShownRows; ++i) {
        controls.TraitText[i] = TraitRows[TraitTop + i];
        controls.ValueText[i] = TraitRows[TraitTop + i + kTableRows];
        controls.TraitDescName[i] = CaptionRows[CaptionTop + i];
        controls.TraitDescText[i] = CaptionRows[CaptionTop + i + kTableRows];
        controls.EffText[i] = ActionRows[ActionTop + i + 2 * kTableRows];
        ShowTrigger(i);
        ShowTarget(i);
    }
    controls.TraitScroll = TraitTop;
    controls.TraitDescScroll = CaptionTop;
    controls.EffScroll = ActionTop;

    ComboList& start = controls.ActivateCombo;
    int found = -1;
    for (std::size_t p = 0; p < start.entries.size() && found < 0; ++p)
        if (SameNoCase(start.entries[p], card.StartTime)) found = static_cast<int>(p);
    if (found < 0) {
        start.Add(card.StartTime);
        found = static_cast<int>(start.entries.size()) - 1;
    }
    start.Select(found);

    ComboList& rarity = controls.RarityCombo;
    for (std::size_t p = 0; p < rarity.entries.size(); ++p)
        if (ReadNumber(rarity.entries[p]) == card.Rarity) rarity.Select(static_cast<int>(p));

    controls.CardText = {card.Name, card.CostDesc, card.UniqueName};
    controls.DescText = card.Description;
    controls.CostButtonVisible = !s.CostCard.Name.empty();
    controls.DeckManagerEdit = s.EditFromDeckManager == 1;

    long long low = 0, middle = 0, high = 0;
    SplitColor(static_cast<long long>(ColorValue(ReplaceAllCopy(card.Colour, "#", "")).Num()), low,
               middle, high);
    pictures.NameColour = static_cast<uint32_t>(high + middle * 256 + low * 65536);
    controls.NameColour = pictures.NameColour;
    controls.CardTotal = "Total Cards: " + std::to_string(s.EditCards.size());
}

void CardForm::ShowTrigger(int i) {
    ComboList& combo = controls.TriggerCombo[i];
    const std::string& row = ActionRows[ActionTop + i];
    const int found = combo.Find(row);
    if (found >= 0) {
        combo.Select(found);
    } else if (!row.empty()) {
        combo.Add(row);
        combo.Select(static_cast<int>(combo.entries.size()) - 1);
    } else if (!combo.entries.empty()) {
        // An empty row shows the prompt, not the trigger of the row shown there before.
        combo.Select(0);
    } else {
        combo.text.clear();
    }
}

void CardForm::ShowTarget(int i) {
    ComboList& combo = controls.TargetCombo[i];
    const std::string& row = ActionRows[ActionTop + i + kTableRows];
    int found = combo.Find(row);
    if (found < 0) {
        combo.Add(row);
        found = static_cast<int>(combo.entries.size()) - 1;
    }
    combo.Select(found);
}

void CardForm::ClearRows() {
    for (auto* table : {&TraitRows, &CaptionRows, &ActionRows})
        for (std::string& row : *table)
            row.clear();
    heldBack = {};
}

void CardForm::FillRows(const Card& card) {
    ClearRows();
    // Actions a trait hands down belong to the trait, not to the card.
    Card own = card;
    RemoveAllTraitActions(own);

    const std::vector<int> effects =
        ShownSlots(own.Effects.size(), [&](int k) { return !own.Effects[k].Text.empty(); });
    for (std::size_t n = 0; n < effects.size(); ++n) {
        const Effect& effect = own.Effects[effects[n]];
        if (effect.Text.empty()) continue;  // a free slot shows empty rows
        const int r = static_cast<int>(n) + 1;
        if (r <= kTableRows) {
            ActionRows[r] = TriggerRowText(effect);
            ActionRows[r + kTableRows] = effect.TargetText;
            ActionRows[r + 2 * kTableRows] = effect.Text;
        } else {
            heldBack.actions.push_back({TriggerRowText(effect), effect.TargetText, effect.Text});
        }
    }

    const std::vector<int> traits =
        ShownSlots(own.TraitNames.size(), [&](int k) { return !own.TraitNames[k].empty(); });
    for (std::size_t n = 0; n < traits.size(); ++n) {
        const int k = traits[n];
        const std::string& name = own.TraitNames[k];
        const std::string value = own.TraitValues.Has(k) ? own.TraitValues[k] : "";
        const std::string caption = own.TraitActionDescs.Has(k) ? own.TraitActionDescs[k] : "";
        const int r = static_cast<int>(n) + 1;
        if (r <= kTableRows) {
            TraitRows[r] = name;
            TraitRows[r + kTableRows] = value;
            CaptionRows[r] = name;
            CaptionRows[r + kTableRows] = caption;
        } else if (!name.empty()) {
            heldBack.traits.push_back({name, value, caption});
        }
    }
    if (!heldBack.traits.empty() || !heldBack.actions.empty())
        TheDialogs().Message(card.Name + " has more traits or actions than the designer shows (" +
                                 std::to_string(kTableRows) +
                                 " of each). The ones not shown are kept when the card is stored.",
                             kTitle);
}

void CardForm::LoadCardToForm(const Card& card) {
    if (card.Name.empty()) return;
    const Card copy = card;  // the card may lie in the list that a commit writes
    St().CurrentCard = copy;
    const FlagScope<uint8_t> loading(FormUpdating, 2);
    ActionTop = CaptionTop = TraitTop = 1;
    FillRows(copy);
    UpdateCard();
    // Composed now when the card has no files yet, so that a store writes this card's picture;
    // a card of no picture shows empty boxes, not the picture of the card shown before.
    peers_.UpdatePic(0);
    CardListStale = 0;
}

void CardForm::ShowSlot(int slot) {
    State& s = St();
    if (s.EditCards.Has(slot) && !s.EditCards[slot].Name.empty()) {
        LoadCardToForm(s.EditCards[slot]);
        return;
    }
    Card blank;
    InitCard(blank, 1, 0);
    blank.StartTime = "TURNSTART";
    s.CurrentCard = blank;
    ActionTop = CaptionTop = TraitTop = 1;
    ClearRows();
    UpdateCard();
    CardListStale = 0;
}

// Whether the slot the form shows holds this card already, as a card file would hold it.
static bool StoredAsIs(const Card& card) {
    const State& s = St();
    if (!s.EditCards.Has(s.EditIndex)) return false;
    Card stored = s.EditCards[s.EditIndex];
    Card shown = card;
    return CardFileText(stored, "COLLECTION") == CardFileText(shown, "COLLECTION");
}

void CardForm::StoreCardFromForm(Card& result) {
    State& s = St();
    Card& current = s.CurrentCard;
    if (current.Name.empty()) {
        result = Card{};
        return;
    }
    if (current.UniqueName.empty()) current.UniqueName = DrawUniqueName(current.Name, s.EditIndex);

    // The three trait lists and the masks built from them start afresh together, so no value,
    // caption or mask bit of an old slot stays with another trait.
    Card w = current;
    w.Effects = List<Effect>{FreeEffect()};
    w.RunFlags.Clear();
    w.TraitNames = List<std::string>(1);
    w.TraitValues = List<std::string>(1);
    w.TraitActionDescs = List<std::string>(1);
    w.TraitMask.fill(0);

    for (int r = 1; r <= kTableRows; ++r) {
        const std::string& script = ActionRows[r + 2 * kTableRows];
        const std::string& target = ActionRows[r + kTableRows];
        if (!script.empty()) AddEffect(w, script, GetTargetType(target), ActionRows[r], 0, target);
        if (!TraitRows[r].empty())
            SetTrait(w, TraitRows[r], Value(TraitRows[r + kTableRows]), 1, "", 0, 0, 0);
    }
    for (int r = 1; r <= kTableRows; ++r) {
        if (CaptionRows[r].empty()) continue;
        const int slot = GetTraitNum(w, CaptionRows[r]);
        if (slot != 0) SetCaption(w, slot, CaptionRows[r + kTableRows]);
    }
    for (const HeldBackSlots::Trait& trait : heldBack.traits) {
        if (GetTraitNum(w, trait.name) != 0) continue;  // a row of the same name was typed
        SetTrait(w, trait.name, Value(trait.value), 1, "", 0, 0, 0);
        const int slot = GetTraitNum(w, trait.name);
        if (slot != 0 && !trait.caption.empty()) SetCaption(w, slot, trait.caption);
    }
    for (const HeldBackSlots::Action& action : heldBack.actions)
        AddEffect(w, action.script, GetTargetType(action.target), action.trigger, 0, action.target);

    // A card without a picture file gets the shown picture and thumbnail written under names of
    // its own; a file that cannot be written leaves the names empty for the next store. An empty
    // card has no picture to write: the blank picture box would only leave grey files behind. A
    // card only looked at is stored as it was, so that a file loaded and saved holds what it held.
    if (w.Picture.empty() && HasPictureSources(w) && !StoredAsIs(w))
        peers_.StorePictureFiles(CardPictureName(w.UniqueName, ".jpg"),
                                 CardPictureName(w.UniqueName, "-mini.jpg"), w);

    result = std::move(w);
    pictures.ArtPath.clear();
}

void CardForm::Commit() {
    Card stored;
    StoreCardFromForm(stored);
    State& s = St();
    if (!s.EditCards.Has(s.EditIndex))
        s.EditIndex = static_cast<int16_t>(s.EditCards.PushBack(Card{}));
    s.EditCards[s.EditIndex] = std::move(stored);
}

void CardForm::LoadCombos() {
    State& s = St();
    const FlagScope<uint8_t> filling(FormUpdating, FormUpdating == 0 ? uint8_t{2} : FormUpdating);
    // The card names are listed afresh here; a stale list would otherwise move EditIndex away
    // from the shown card when the selection is put back.
    CardListStale = 0;
    for (int i = 0; i < kShownRows; ++i) {
        ComboList& trigger = controls.TriggerCombo[i];
        trigger.Clear();
        for (const std::string& entry : TriggerEntries())
            trigger.Add(entry);
        trigger.Select(0);
    }
    controls.ActivateCombo.Clear();
    for (const std::string& entry : StartTimeEntries())
        controls.ActivateCombo.Add(entry);
    for (int i = 0; i < kShownRows; ++i) {
        ComboList& target = controls.TargetCombo[i];
        target.Clear();
        for (const std::string& entry : TargetTypeEntries())
            target.Add(entry);
        target.Select(0);
    }
    const std::vector<std::string> traits = CommonTraitNames();
    for (ComboList& combo : controls.TraitCombo) {
        combo.Clear();
        for (const std::string& name : traits)
            combo.Add(name);
    }

    ComboList& cards = controls.CardCombo;
    const int kept = cards.selected;
    cards.Clear();
    for (const Card& card : s.EditCards)
        cards.Add(card.Name);
    {
        const ListBusyScope busy;
        SelectCardEntry(std::min(kept, s.EditCards.size() - 1));
    }

    ComboList& templates = controls.TemplateCombo;
    templates.Clear();
    templates.Add(kBlankTemplate);
    for (const CardTemplate& t : s.Templates)
        templates.Add(t.card.Name);

    controls.RarityCombo.Clear();
    for (const std::string& entry : RarityEntries())
        controls.RarityCombo.Add(entry);

    UpdateCard();
}

void CardForm::loadcommontraits() {
    if (!GatherCommonTraits(St().EditCards)) return;
    const std::vector<std::string> traits = CommonTraitNames();
    for (ComboList& combo : controls.TraitCombo) {
        combo.Clear();
        for (const std::string& name : traits)
            combo.Add(name);
    }
}

void CardForm::OnCardText(int field, const std::string& text) {
    Card& card = St().CurrentCard;
    switch (field) {
        case 0:
            card.Name = text;
            CardListStale = 1;
            break;
        case 1:
            card.CostDesc = text;
            break;
        case 2:
            card.UniqueName = text;
            break;
        default:
            return;
    }
    controls.CardText[field] = text;
}

void CardForm::OnDescText(const std::string& text) {
    St().CurrentCard.Description = text;
    controls.DescText = text;
}

void CardForm::OnStartTime(const std::string& text) {
    St().CurrentCard.StartTime = text;
    controls.ActivateCombo.text = text;
    controls.ActivateCombo.selected = controls.ActivateCombo.Find(text);
}

void CardForm::OnRarityClick(int position) {
    ComboList& rarity = controls.RarityCombo;
    if (position < 0 || position >= static_cast<int>(rarity.entries.size())) return;
    rarity.Select(position);
    St().CurrentCard.Rarity = static_cast<uint8_t>(ReadNumber(rarity.text));
}

void CardForm::OnTraitText(int i, const std::string& text) {
    TraitRows[TraitTop + i] = text;
    UpdateCard();
}

void CardForm::OnValueText(int i, const std::string& text) {
    TraitRows[TraitTop + i + kTableRows] = text;
    UpdateCard();
}

void CardForm::OnTraitComboClick(int i, int position) {
    if (FormUpdating != 0) return;
    ComboList& combo = controls.TraitCombo[i];
    if (position < 0 || position >= static_cast<int>(combo.entries.size())) return;
    combo.Select(position);
    OnTraitText(i, combo.text);
}

void CardForm::OnTraitDescName(int i, const std::string& text) {
    controls.TraitDescName[i] = text;
    if (FormUpdating == 0) CaptionRows[CaptionTop + i] = text;
}

void CardForm::OnTraitDescText(int i, const std::string& text) {
    controls.TraitDescText[i] = text;
    CaptionRows[CaptionTop + i + kTableRows] = text;
}

void CardForm::OnTriggerTyped(int i, const std::string& text) {
    ComboList& combo = controls.TriggerCombo[i];
    combo.text = text;
    combo.selected = combo.Find(text);
    if (FormUpdating == 0) ActionRows[ActionTop + i] = text;
}

void CardForm::OnTriggerClick(int i, int position) {
    ComboList& combo = controls.TriggerCombo[i];
    if (position >= 0 && position < static_cast<int>(combo.entries.size())) combo.Select(position);
    if (FormUpdating == 0) {
        const int r = ActionTop + i;
        const std::string chosen = combo.text;
        // A cancelled question gives an empty answer, stored as such.
        auto ask = [](const char* prompt) {
            return TheDialogs().Input(prompt, kTitle, "").value_or("");
        };
        ActionRows[r] = chosen;
        if (chosen == "TRAITCHANGE" || chosen == "BEFORETRAITCHANGE") {
            ActionRows[r] = chosen + ":" + ask("Name of trait?");
        } else if (chosen == "MENU") {
            const std::string trigger = ask("Trigger for action?");
            const std::string caption = ask("What should the menu caption for this item be?");
            ActionRows[r] = "MENU:" + trigger + ":" + caption;
        }
    }
    UpdateCard();
}

void CardForm::OnEffText(int i, const std::string& text) {
    controls.EffText[i] = text;
    ActionRows[ActionTop + i + 2 * kTableRows] = text;
}

void CardForm::OnTraitScroll(int value) {
    TraitTop = ClampTop(value);
    UpdateCard();
}

void CardForm::OnTraitDescScroll(int value) {
    CaptionTop = ClampTop(value);
    UpdateCard();
}

void CardForm::OnEffScroll(int value) {
    ActionTop = ClampTop(value);
    UpdateCard();
}

void CardForm::SelectCardEntry(int position) {
    controls.CardCombo.Select(position);
    if (position >= 0) CardComboClick(position);
}

void CardForm::CardComboClick(int position) {
    if (FormUpdating != 0 && CardListStale == 0) return;
    State& s = St();
    if (s.EditIndex == 0) {
        s.EditIndex = static_cast<int16_t>(s.EditCards.size() + 1);
        s.EditCards.Resize(s.EditIndex);
    }
    if (s.ListBusy != 1) Commit();
    if (CardListStale == 1) {
        CardListStale = 0;
        const FlagScope<uint8_t> rebuilding(FormUpdating, 1);
        const int kept = controls.CardCombo.selected;
        LoadCombos();
        controls.CardCombo.Select(kept);
    }
    s.EditIndex = static_cast<int16_t>(std::max(1, position + 1));
    if (s.ListBusy != 1) ShowSlot(s.EditIndex);
}

}  // namespace dv::ui
