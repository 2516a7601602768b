#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/model/list.h"
#include "engine/model/shared_list.h"

namespace dv {

// Holes are reused only while a slot has fewer entries than this; from then on every
// registration appends.
inline constexpr int kRegistryReuseLimit = 100;
// A slot never grows past this: at the limit its holes are packed out, keeping the order.
inline constexpr int kMaxRegistryEntries = 10000;
// Distinct trait names that get a mask position.
inline constexpr int kMaxTraitMaskNames = 240;

struct TriggerSlot {
    List<int32_t> Effects = List<int32_t>(1);
    List<int32_t> Cards = List<int32_t>(1);
    // Set when packing a slot at the ceiling found no hole, cleared by the next hole made: a full
    // slot then refuses a registration without walking its entries again.
    bool PackedFull = false;
};

struct TraitMaskName {
    std::string Name;
};

// What compiling one action script gives, whatever card it is on.
struct CompiledScript {
    SharedList<std::string> Args;
    SharedList<int32_t> Program;
    SharedList<uint8_t> AIFlags;
    bool AnyCommand = false;  // without one, compiling leaves AIFlags as it was
    std::vector<std::string> Unrecognized;
};

// Compiled scripts kept by their text; the store starts afresh when it holds this many.
inline constexpr std::size_t kMaxCompiledScripts = 4096;

// A trait mask position handed out by name (word -1: none).
struct TraitMaskLookup {
    std::string Name;
    int Word = -1;
    int32_t Bit = 0;
};

using TriggerRegistryArray = std::array<TriggerSlot, 21>;

// The trigger registry as it stood when a snapshot of play was taken, copied only when something
// is about to change the registry while the snapshot is open (see RegistryWillChange).
struct RegistryKeep {
    bool copied = false;
    TriggerRegistryArray registry;
};

struct RulesState {
    TriggerRegistryArray TriggerRegistry;
    // One per open snapshot of play, the innermost last; those past OpenRegistryKeeps are kept
    // for the room of their copies.
    std::vector<RegistryKeep> RegistryKeeps;
    int OpenRegistryKeeps = 0;
    List<TraitMaskName> TraitMaskNames = List<TraitMaskName>(1);
    // While set, every position handed out from TraitMaskNames is noted in MaskLookups (a card
    // read that may be repeated keeps the positions its cards' masks were built with).
    bool LogMaskLookups = false;
    std::vector<TraitMaskLookup> MaskLookups;
    std::array<double, 65> BitLookup{};
    uint8_t EchoOnce = 0;
    std::string AddEffectText;
    int32_t AddEffectCard = 0;
    // Cards read for every game and the actions traits hand out compile the same few scripts
    // again and again.
    std::unordered_map<std::string, CompiledScript> CompiledScripts;
};

}  // namespace dv
