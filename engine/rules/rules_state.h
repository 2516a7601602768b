#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/model/list.h"

namespace dv {

struct TriggerSlot {
    List<int32_t> Effects = List<int32_t>(1);
    List<int32_t> Cards = List<int32_t>(1);
};

struct TraitMaskName {
    std::string Name;
};

struct RulesState {
    std::array<TriggerSlot, 21> TriggerRegistry;
    List<TraitMaskName> TraitMaskNames = List<TraitMaskName>(1);
    std::array<double, 65> BitLookup{};
    uint8_t EchoOnce = 0;
    std::string AddEffectText;
    int32_t AddEffectCard = 0;
};

}  // namespace dv
