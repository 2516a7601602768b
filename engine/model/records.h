#pragma once
// The plain value records of the card engine. They are copied whole when they move between lists;
// the lists a card rarely changes share their elements between copies (see shared_list.h).

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "engine/model/list.h"
#include "engine/model/run_codes.h"
#include "engine/model/shared_list.h"
#include "engine/model/value.h"

namespace dv {

// Trait-mask words are numbered 1 to kMaskWords; element 0 is not used.
inline constexpr int kMaskWords = 8;
using MaskWords = std::array<int32_t, kMaskWords + 1>;

struct Effect {
    std::string Trigger;
    int32_t TargetType = 0;
    std::string TargetText;
    std::string Text;  // the action script; empty marks a free slot
    SharedList<std::string> Args;
    SharedList<int32_t> Program;
    SharedList<uint8_t> AIFlags;  // 1 where the command was written with the "AI" prefix
    dv::MenuState MenuState = dv::MenuState::None;
    std::string MenuText;
    int32_t Target = 0;
    MaskWords ReqTargetHas{};
    MaskWords ReqSourceHas{};
    MaskWords ReqTargetNot{};
    MaskWords ReqSourceNot{};
    MaskWords TraitBits{};
    int32_t SideReq = 0;
    uint8_t DeckSel = 0;
    uint8_t Echoed = 0;
    uint8_t ReqEffect = 0;
    uint8_t Compiled = 0;

    friend bool operator==(const Effect&, const Effect&) = default;
};

// A card's effects are copied with the card for every trial and journal entry, while a run
// writes one effect's flags at a time: only that effect is copied then.
template <>
struct ListSlot<Effect> : SharedSlot<Effect> {};

// What runs mark on an effect while it goes on. Kept beside a card's effects rather than in them:
// a run marks an effect of a card that shares its effects with a trial's copy, and would copy the
// effect for three bytes.
struct EffectRunFlags {
    uint8_t Running = 0;
    uint8_t RunWork = 0;       // interpreter bookkeeping of the running action
    uint8_t DispatchWork = 0;  // interpreter and dispatch bookkeeping

    friend bool operator==(const EffectRunFlags&, const EffectRunFlags&) = default;
};

struct Card {
    std::string Name;  // empty marks a free slot in every card list
    std::string Picture;
    std::string Thumbnail;
    std::string PictureUrl;
    std::string ThumbnailUrl;
    std::string CostDesc;
    SharedList<std::string> TraitNames;
    SharedList<std::string> TraitValues;
    SharedList<std::string> TraitActionDescs;
    SharedList<Effect> Effects;
    // Numbered as Effects; an effect past its end has none set (see RunFlagsOf).
    SharedList<EffectRunFlags> RunFlags;
    std::string Description;
    std::string Colour;
    uint8_t Active = 0;
    int16_t PresetTarget = 0;
    int16_t NextTarget = 0;
    uint8_t Owner = 0;
    int32_t GID = 0;
    uint8_t Initialised = 0;
    uint8_t TraitEffectsValid = 0;
    uint8_t Rarity = 0;
    std::string SetFile;
    std::string UniqueName;
    MaskWords TraitMask{};
    int32_t SideMask = 0;
    int32_t Index = 0;
    std::string StartTime;
    std::string Mods;
    Value SortKey;
    uint8_t DisplayFilter = 0;
    uint8_t Dead = 0;
    uint8_t AlreadyPlaced = 0;  // 1: the cost step lets the card through without paying
    std::string ArtSource;
    std::string BackSource;
    std::string MiniSource;
    std::array<int16_t, 8> ArtRegion{};
    // The picture and thumbnail items of a "#CARD" line that gave a location beside the name
    // ("name.jpg:location"), as the file held them: written back while the card keeps that name.
    std::string PictureItem;
    std::string ThumbnailItem;

    friend bool operator==(const Card&, const Card&) = default;
};

// The run flags of effect e of the card. Like the effect itself, an effect the card does not have
// is out of range.
inline EffectRunFlags RunFlagsOf(const Card& card, long long e) {
    if (!card.Effects.Has(e)) throw std::out_of_range("list index " + std::to_string(e));
    return card.RunFlags.Has(e) ? std::as_const(card.RunFlags)[e] : EffectRunFlags{};
}

inline EffectRunFlags& ChangeRunFlags(Card& card, long long e) {
    if (!card.Effects.Has(e)) throw std::out_of_range("list index " + std::to_string(e));
    if (card.RunFlags.size() < e) card.RunFlags.Resize(static_cast<int>(e));
    return card.RunFlags[e];
}

struct Player {
    std::string Name;
    int32_t CardIndex = 0;
    List<Card> Deck;
    List<Card> OrigDeck;
    List<Card> Hand;
    uint8_t Id = 0;
    std::string Colour;
    int32_t Tokens = 0;
    List<std::string> MissionNames;
    List<std::string> WonMissions;
    std::string LastModified;
};

struct CardDeck {
    std::string Name;
    List<Card> Cards;
};

struct DeckList {
    std::string Name;
    List<int32_t> CardIds;
    List<float> Positions;
};

struct CardTemplate {
    Card card;
    std::string BackPicture = "backs-generic.bmp";
    std::string Extra;
    int32_t Colour = 0;
};

// An "#INCLUDE" line of a card file: the file name and zone word as the file wrote them.
struct IncludeLine {
    std::string Name;
    std::string Zone;
    friend bool operator==(const IncludeLine&, const IncludeLine&) = default;
};

// What a card file held besides its own cards and templates, as a read of it found it: a save of
// the designer's card file writes it back, and leaves out what the files it includes brought.
struct CardFileLayout {
    bool Read = false;  // false for a card file that no read gave (a new one)
    std::optional<std::string> GameFile;
    bool StarterDeck = false;
    std::optional<std::string> DeckRules;
    std::vector<std::pair<std::string, std::string>> CustomStrings;  // list and text, in order
    std::vector<IncludeLine> Includes;
    // The cards and templates the included files brought, as read, with the file that held each.
    std::vector<std::pair<std::string, Card>> IncludedCards;
    std::vector<std::pair<std::string, CardTemplate>> IncludedTemplates;
};

// Seven texts; the card designer's pickers fill them, the engine keeps one as its echo parts.
struct PickerCommand {
    std::string Label;
    std::string Description;
    std::string Prompt1;
    std::string Amt1;
    std::string Prompt2;
    std::string Amt2;
    std::string Command;
};

struct RandomStringList {
    std::string Name;
    List<std::string> Strings;
};

}  // namespace dv
