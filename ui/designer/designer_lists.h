#pragma once
// The designer's vocabulary: the fixed lists its combo boxes offer and the common trait names
// gathered from the cards of the open card file.

#include <string>
#include <vector>

#include "engine/model/records.h"

namespace dv::ui {

// A combo box as the designer's logic keeps it: its entries, the selected position (-1 none) and
// the text it shows, which a typed text may have changed.
struct ComboList {
    std::vector<std::string> entries;
    int selected = -1;
    std::string text;

    void Clear();
    void Add(const std::string& entry);
    // Selects a position and shows its entry; -1 leaves no selection and the text as it was.
    void Select(int position);
    // The first position whose entry equals the text exactly; -1 when there is none.
    int Find(const std::string& entry) const;
};

// Position 0 is a prompt, not a trigger.
const std::vector<std::string>& TriggerEntries();
const std::vector<std::string>& StartTimeEntries();
// Position 0 is a prompt; the list is not in the order of the target-type numbers.
const std::vector<std::string>& TargetTypeEntries();
// "0" to "101".
const std::vector<std::string>& RarityEntries();
inline constexpr const char* kRarityHint =
    "The higher the rarity, the less often boosters will contain the card.  A rarity of 101 means "
    "the card will never appear naturally.";
inline constexpr const char* kBlankTemplate = "Blank Card";

// Puts one name into CommonTraits: nothing when it is empty, already there or the list is full.
void addcommontrait(const std::string& name);
// Gathers the trait names (up to their first ":") of the named cards into CommonTraits. A list of
// exactly one slot gathers nothing and answers false.
bool GatherCommonTraits(const List<Card>& cards);
// The names of CommonTraits in slot order, free slots left out.
std::vector<std::string> CommonTraitNames();

}  // namespace dv::ui
