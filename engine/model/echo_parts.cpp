// The echo parts of the running report.
#include <stdexcept>
#include <utility>

#include "engine/model/cards.h"
#include "engine/model/guard.h"
#include "engine/model/state.h"

namespace dv {

std::string& EchoPart(int part) {
    PickerCommand& parts = St().EchoParts;
    switch (part) {
        case 1:
            return parts.Label;
        case 2:
            return parts.Description;
        case 3:
            return parts.Prompt1;
        case 4:
            return parts.Amt1;
        case 5:
            return parts.Prompt2;
        case 6:
            return parts.Amt2;
        case 7:
            return parts.Command;
    }
    throw std::out_of_range("echo part " + std::to_string(part));
}

std::string GetMainEcho(int clear) {
    return Guarded("GetMainEcho", std::string(), [&] {
        std::string joined;
        for (int part : {1, 2, 6, 3, 4, 5, 7})
            joined += EchoPart(part);
        if (clear == 1) ClearMainEcho();
        return joined;
    });
}

void ClearMainEcho() {
    St().EchoParts = PickerCommand{};
}

void ClearEchos() {
    for (Card& card : St().InPlay) {
        if (card.Name.empty()) continue;
        // Read first: writing would give a card sharing its effects a copy of its own.
        for (int e = 1; e <= card.Effects.size(); ++e)
            if (std::as_const(card.Effects)[e].Echoed != 0) card.Effects[e].Echoed = 0;
    }
}

}  // namespace dv
