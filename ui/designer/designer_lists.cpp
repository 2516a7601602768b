#include "ui/designer/designer_lists.h"

#include "engine/model/state.h"
#include "engine/model/text_utils.h"

namespace dv::ui {
namespace {

constexpr int kHighestRarity = 101;

}  // namespace

void ComboList::Clear() {
    entries.clear();
    selected = -1;
    text.clear();
}

void ComboList::Add(const std::string& entry) {
    entries.push_back(entry);
}

void ComboList::Select(int position) {
    if (position < 0 || position >= static_cast<int>(entries.size())) {
        selected = -1;
        return;
    }
    selected = position;
    text = entries[static_cast<std::size_t>(position)];
}

int ComboList::Find(const std::string& entry) const {
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i] == entry) return static_cast<int>(i);
    return -1;
}

const std::vector<std::string>& TriggerEntries() {
    static const std::vector<std::string> entries = {"(Choose a Trigger)",
                                                     "COST",
                                                     "COSTMOD",
                                                     "AIREQ",
                                                     "OTHERENTERSPLAY",
                                                     "ENTERPLAY",
                                                     "TURNSTART",
                                                     "PHASE1",
                                                     "PHASE2",
                                                     "PHASE3",
                                                     "PHASE4",
                                                     "PHASE5",
                                                     "PHASE6",
                                                     "PHASE7",
                                                     "PHASE8",
                                                     "PHASE9",
                                                     "PHASE10",
                                                     "TURNEND",
                                                     "ONDEATH",
                                                     "DISCARD",
                                                     "TARGETED",
                                                     "INTERCEPT",
                                                     "MYACTION",
                                                     "TRAITCHANGE",
                                                     "BEFORETRAITCHANGE",
                                                     "MENU"};
    return entries;
}

const std::vector<std::string>& StartTimeEntries() {
    static const std::vector<std::string> entries = {"TURNSTART", "PHASE1", "PHASE2",  "PHASE3",
                                                     "PHASE4",    "PHASE5", "PHASE6",  "PHASE7",
                                                     "PHASE8",    "PHASE9", "PHASE10", "TURNEND"};
    return entries;
}

const std::vector<std::string>& TargetTypeEntries() {
    static const std::vector<std::string> entries = {"(Choose a Target Type)",
                                                     "ALL",
                                                     "TARGETCARD",
                                                     "RANDOMALLY",
                                                     "RANDOMENEMY",
                                                     "ENEMYPLAYER",
                                                     "OWNER",
                                                     "RANDOM",
                                                     "TRIGGERINGCARD",
                                                     "SELF",
                                                     "GIDCARD"};
    return entries;
}

const std::vector<std::string>& RarityEntries() {
    static const std::vector<std::string> entries = [] {
        std::vector<std::string> numbers;
        for (int r = 0; r <= kHighestRarity; ++r)
            numbers.push_back(std::to_string(r));
        return numbers;
    }();
    return entries;
}

void addcommontrait(const std::string& name) {
    if (name.empty()) return;
    List<std::string>& traits = St().CommonTraits;
    for (std::string& slot : traits) {
        if (slot == name) return;
        if (slot.empty()) {
            slot = name;
            return;
        }
    }
}

bool GatherCommonTraits(const List<Card>& cards) {
    if (cards.size() == 1) return false;
    for (const Card& card : cards) {
        if (card.Name.empty()) continue;
        for (const std::string& trait : card.TraitNames)
            if (!trait.empty()) addcommontrait(GetField(trait, 1, ":"));
    }
    return true;
}

std::vector<std::string> CommonTraitNames() {
    std::vector<std::string> names;
    for (const std::string& slot : St().CommonTraits)
        if (!slot.empty()) names.push_back(slot);
    return names;
}

}  // namespace dv::ui
