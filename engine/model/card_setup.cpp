// Setting up a card and giving it actions.
#include <utility>

#include "engine/model/cards.h"
#include "engine/model/compiler.h"
#include "engine/model/guard.h"
#include "engine/model/keyword_table.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "engine/model/triggers.h"

namespace dv {
namespace {

constexpr int kStartTraitSlots = 20;
constexpr double kLargestSetUpGID = 100000000;

Effect EmptyEffect() {
    Effect effect;
    effect.Program.Resize(1);
    effect.Args.Resize(1);
    return effect;
}

// Every card set up starts with the same one empty effect: its copies share it until one is
// written, so a card that never gets an action costs a count rather than an effect.
const SharedList<Effect>& FreshEffects() {
    static const SharedList<Effect> fresh = List<Effect>{EmptyEffect()};
    return fresh;
}

}  // namespace

int32_t DrawSetUpGID() {
    return static_cast<int32_t>(RandomNum(kLargestSetUpGID));
}

void InitCard(Card& card, int owner, int active) {
    Guarded("InitCard", [&] {
        card.Index = 0;
        card.Effects = FreshEffects();
        card.RunFlags.Clear();
        card.TraitNames = SharedList<std::string>(kStartTraitSlots);
        card.TraitValues = SharedList<std::string>(kStartTraitSlots);
        card.TraitActionDescs = SharedList<std::string>(kStartTraitSlots);
        card.Initialised = 1;
        card.Owner = static_cast<uint8_t>(owner);
        card.GID = DrawSetUpGID();
        card.TraitMask.fill(0);
        switch (owner) {
            case 0:
                card.SideMask = 4;
                break;
            case 1:
                card.SideMask = 1;
                break;
            case 2:
                card.SideMask = 2;
                break;
            default:
                break;
        }
        card.Colour = "#FFFFFF";
        card.Active = static_cast<uint8_t>(active);
    });
}

namespace {

// Puts the effect into the card's first free slot, or a new one at the end, and gives its place.
// A freed slot keeps its former effect's menu state, masks and registrations; the new effect
// starts from none of them. The run bookkeeping stays for a run in progress.
int PutEffect(Card& card, Effect effect) {
    int index = 0;
    for (int i = 1; i <= card.Effects.size() && index == 0; ++i)
        if (std::as_const(card.Effects)[i].Text.empty()) index = i;
    if (index == 0) {
        index = card.Effects.PushBack(std::move(effect));
        // A new effect has no run flags, whatever a longer list of effects once left there.
        if (card.RunFlags.size() >= index) card.RunFlags.Resize(index - 1);
        return index;
    }
    DropRegistrations(card, index);
    // The run flags are numbered as the effects: the slot's stay with it.
    card.Effects[index] = std::move(effect);
    return index;
}

}  // namespace

int AddEffect(Card& card, const std::string& actionText, int targetType, const std::string& trigger,
              int keepMenu, const std::string& targetText) {
    return Guarded("AddEffect", 0, [&] {
        if (St().DesignerActive == 1) keepMenu = 1;
        if (card.Initialised == 0) InitCard(card, 1, 0);
        const int index = PutEffect(card, EmptyEffect());

        Effect& effect = card.Effects[index];
        effect.Text = actionText;
        effect.TargetType = targetType;
        effect.TargetText = targetText;
        effect.Trigger = trigger;
        if (keepMenu == 0 && GetField(trigger, 1, ":") == "MENU") {
            effect.MenuState = MenuState::Offered;
            effect.Trigger = GetField(trigger, 2, ":");
            effect.MenuText = GetField(trigger, 3, ":");
        }
        SetActionMasks(card, index);
        card.Effects[index].Args.Resize(1);
        std::string errorText;
        CompileEffect(card, index, errorText);
        return index;
    });
}

int AddPreparedEffect(Card& card, const Effect& prepared) {
    return Guarded("AddEffect", 0, [&] {
        const int index = PutEffect(card, prepared);
        SetActionMasks(card, 0);
        return index;
    });
}

std::string GetEffectTrait2(Card& card, int32_t& effectNumber, std::string& name) {
    std::string result = "NONE";
    if (name.empty() || effectNumber == 0) return result;
    try {
        if (std::as_const(card.Effects)[effectNumber].Compiled == 0) {
            std::string errors;
            CompileEffect(card, effectNumber, errors);
        }
        // The look-up reads the two words of each "TRAIT" command.
        static const int16_t traitCode = KeywordCode("TRAIT");
        const Effect& compiled = std::as_const(card.Effects)[effectNumber];
        for (int p = 1; p <= compiled.Program.size(); ++p) {
            if (compiled.Program[p] != traitCode) continue;
            if (compiled.Args.Has(p + 1) && compiled.Args[p + 1] == name) {
                result = compiled.Args.Has(p + 2) ? compiled.Args[p + 2] : std::string();
                break;
            }
        }
    } catch (const std::exception&) {
        // A look-up that cannot finish finds nothing; it reports no error.
    }
    return result;
}

void ClearMenuActions(Card& card) {
    if (card.Name.empty()) return;
    for (int e = 1; e <= card.Effects.size(); ++e)
        if (std::as_const(card.Effects)[e].MenuState == MenuState::Chosen)
            card.Effects[e].MenuState = MenuState::Offered;
}

}  // namespace dv
