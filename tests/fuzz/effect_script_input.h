#pragma once
// One input run as an action script, as the fuzz target and the corpus replay test both do it.
// The input is the script, optionally led by a target type and "|" (for example "3|MODTRAIT:HP:-1"
// acts on a random enemy). On a small board of two players, a few cards and an opponent's stock,
// the script is compiled as an effect of a card in play, run for real and as a trial against the
// opponent's player card, and sent as a trigger to every card in play, so that its targets are
// picked. It must end, and leave no run, depth counter or open booster behind.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "engine/interpreter/eff_card.h"
#include "engine/model/cards.h"
#include "engine/model/hands_and_decks.h"
#include "engine/model/state.h"
#include "engine/model/triggers.h"
#include "engine/rules/card_life.h"
#include "engine/rules/dispatch.h"
#include "engine/rules/effect_runs.h"
#include "engine/rules/trait_changes.h"

namespace dv::fuzz {

// Target types a lead "N|" may name; the default acts on the card itself.
inline constexpr int kLastTargetType = 11;
inline constexpr int kDefaultTargetType = 7;

inline int PlaceFuzzCard(const std::string& name, int owner,
                         std::initializer_list<std::pair<const char*, const char*>> traits) {
    Card card;
    card.Name = name;
    InitCard(card, owner, 1);
    card.GID = 1000 + St().InPlay.size() + 1;
    card.UniqueName = name;
    for (const auto& [trait, value] : traits)
        SetTrait(card, trait, value, 1);
    const int n = St().InPlay.PushBack(card);
    St().InPlay[n].Index = n;
    return n;
}

inline Card StockCard(const std::string& name, int rarity, const char* trait) {
    Card card;
    card.Name = name;
    InitCard(card, 2, 0);
    card.UniqueName = name;
    card.Rarity = static_cast<uint8_t>(rarity);
    if (*trait) SetTrait(card, trait, "1", 1);
    return card;
}

// The target type and the script of an input.
inline std::pair<int, std::string> SplitEffectInput(const std::string& text) {
    const std::size_t bar = text.find('|');
    if (bar == 0 || bar > 2) return {kDefaultTargetType, text};
    int type = 0;
    for (std::size_t i = 0; i < bar; ++i) {
        if (text[i] < '0' || text[i] > '9') return {kDefaultTargetType, text};
        type = type * 10 + (text[i] - '0');
    }
    if (type > kLastTargetType) return {kDefaultTargetType, text};
    return {type, text.substr(bar + 1)};
}

// Gives false when a run left the interpreter's counters other than it found them.
inline bool RunEffectScriptInput(const uint8_t* data, std::size_t size,
                                 const std::filesystem::path& folder) {
    ResetState();
    State& s = St();
    s.ProgramFolder = folder;
    s.CurrentFolder = folder;
    s.FixedNow = "2024-05-01 10:00:00";
    s.Random.Seed(7);
    // Debug mode keeps SAVECOLLECTION from writing a player file for every input.
    s.DebugMode = 1;
    CreateBitLookup();
    for (uint8_t p = 1; p <= 3; ++p)
        InitPlayer(s.Players[p], p);
    s.Players[1].Tokens = 100;
    s.Games = List<GameInfo>(1);
    s.Games[1].Name = "Fuzz";
    s.CurrentGame = 1;
    s.CurrentProfile.Name = "Fuzz";
    s.Collection = {StockCard("Owned", 0, "")};
    s.Players[2].OrigDeck = {StockCard("Ember", 0, "FIRE"), StockCard("Frost", 50, "ICE"),
                             StockCard("Relic", 200, "")};

    const int hero = PlaceFuzzCard("Hero", 1, {{"PLAYER", "1"}, {"HP", "20"}});
    const int foe = PlaceFuzzCard("Foe", 2, {{"PLAYER", "1"}, {"HP", "20"}});
    s.Players[1].CardIndex = hero;
    s.Players[2].CardIndex = foe;
    const int source = PlaceFuzzCard("Imp", 1, {{"HP", "3"}, {"ATTACK", "2"}, {"FIRE", ""}});
    PlaceFuzzCard("Wolf", 2, {{"HP", "4"}, {"ATTACK", "1"}, {"ICE", "2"}});
    PlaceFuzzCard("Moss", 0, {{"HP", "1"}});

    const auto [type, script] =
        SplitEffectInput(std::string(reinterpret_cast<const char*>(data), size));
    const int effect = AddEffect(s.InPlay[source], script, type, "PHASE1", 0, "");

    auto atRest = [&] {
        return s.NestingDepth == 0 && s.AbsorbDepth == 0 && s.ExpressionDepth == 0 &&
               s.BonusReads.empty() && s.BoosterCardsLeft < 0;
    };
    for (uint8_t preview : {0, 1}) {
        if (s.InPlay[source].Name.empty() || s.InPlay[foe].Name.empty()) break;
        ClearPendingSignals();
        EffArgs args;
        args.effectIndex = effect;
        args.preview = preview;
        EffCard(s.InPlay[source], s.InPlay[foe], args);
        if (!atRest()) return false;
    }
    ClearPendingSignals();
    RunListActions(Value(std::string("PHASE1")));
    if (!atRest()) return false;
    CreateSideBoards();
    KillCards();
    return atRest();
}

}  // namespace dv::fuzz
