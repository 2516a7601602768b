// The echo parts of the running report.
#include <stdexcept>
#include <utility>

#include "engine/model/cards.h"
#include "engine/model/guard.h"
#include "engine/model/state.h"

namespace dv {

std::string& EchoPart(int part) {
    return EchoPart(St().EchoParts, part);
}

void ThrowNoEchoPart(int part) {
    throw std::out_of_range("echo part " + std::to_string(part));
}

namespace {

// The parts as numbered 1 to 7, read without a look-up per part by the loops over all of them.
constexpr std::string PickerCommand::*kParts[] = {
    &PickerCommand::Label,   &PickerCommand::Description, &PickerCommand::Prompt1,
    &PickerCommand::Amt1,    &PickerCommand::Prompt2,     &PickerCommand::Amt2,
    &PickerCommand::Command,
};

// Appends the parts in the order they are shown.
void AppendMainEcho(std::string& text) {
    static constexpr int kOrder[] = {1, 2, 6, 3, 4, 5, 7};
    const PickerCommand& parts = St().EchoParts;
    // A growing text (the turn log) is left to grow as it does; a fresh one is made to measure.
    if (text.empty()) {
        std::size_t size = 0;
        for (int part : kOrder)
            size += (parts.*kParts[part - 1]).size();
        text.reserve(size);
    }
    for (int part : kOrder)
        text += parts.*kParts[part - 1];
}

}  // namespace

std::string GetMainEcho(int clear) {
    return Guarded("GetMainEcho", std::string(), [&] {
        std::string joined;
        AppendMainEcho(joined);
        if (clear == 1) ClearMainEcho();
        return joined;
    });
}

void TakeMainEcho(std::string& text) {
    Guarded("GetMainEcho", [&] {
        AppendMainEcho(text);
        ClearMainEcho();
    });
}

void ClearMainEcho() {
    // Emptied in place: the next effect's echo fills the same room again.
    PickerCommand& parts = St().EchoParts;
    for (std::string PickerCommand::*part : kParts)
        (parts.*part).clear();
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
