#include "ui/designer/included_cards.h"

#include <string>
#include <vector>

#include "data/card_files.h"
#include "engine/model/state.h"
#include "ui/common/dialogs.h"

namespace dv::ui {
namespace {

// The cards named in the question; the rest are counted.
constexpr std::size_t kNamesAsked = 5;

}  // namespace

bool SaveLeavingIncludedChanges() {
    const State& s = St();
    const std::vector<std::string> changed = ChangedIncludedCards(s.EditCards, s.CardSetLayout);
    if (changed.empty()) return true;
    std::string names;
    for (std::size_t i = 0; i < changed.size() && i < kNamesAsked; ++i)
        names += (i == 0 ? "" : ", ") + changed[i];
    if (changed.size() > kNamesAsked)
        names += ", and " + std::to_string(changed.size() - kNamesAsked) + " more";
    return TheDialogs().YesNo(
        "These cards come from files that this card file includes, and their changes cannot be "
        "saved into those files: " +
            names +
            ". A save writes only this file's own cards and its \"#INCLUDE\" lines. Save "
            "without those changes?",
        "Duvenhall");
}

}  // namespace dv::ui
