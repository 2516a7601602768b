#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/model/list.h"

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
};

struct TraitMaskName {
    std::string Name;
};

// What compiling one action script gives, whatever card it is on.
struct CompiledScript {
    List<std::string> Args;
    List<int32_t> Program;
    List<uint8_t> AIFlags;
    bool AnyCommand = false;  // without one, compiling leaves AIFlags as it was
    std::vector<std::string> Unrecognized;
};

// Compiled scripts kept by their text; the store starts afresh when it holds this many.
inline constexpr std::size_t kMaxCompiledScripts = 4096;

struct RulesState {
    std::array<TriggerSlot, 21> TriggerRegistry;
    List<TraitMaskName> TraitMaskNames = List<TraitMaskName>(1);
    std::array<double, 65> BitLookup{};
    uint8_t EchoOnce = 0;
    std::string AddEffectText;
    int32_t AddEffectCard = 0;
    // Cards read for every game and the actions traits hand out compile the same few scripts
    // again and again.
    std::unordered_map<std::string, CompiledScript> CompiledScripts;
};

}  // namespace dv
