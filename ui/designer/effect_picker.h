#pragma once
// The effect picker's logic: eight rows, each holding the command chosen from the menu with its
// questions answered, joined in row order into an action script.

#include <array>
#include <string>
#include <vector>

#include "engine/model/records.h"
#include "ui/designer/picker_commands.h"

namespace dv::ui {

class EffectPicker {
  public:
    static constexpr int kRows = 8;

    // `valbox` answers the "VALBOX:" questions; input boxes go through the dialog seam.
    explicit EffectPicker(ValboxAsk valbox);

    // The menu every row offers.
    const std::vector<std::string>& Labels() const { return PickerLabels(); }
    // The author picks the menu item at `position` (from 0) in `row` (0 to kRows - 1): the row
    // takes that entry and asks its questions. Returns the row's description with its answers.
    std::string Choose(int row, int position);
    const PickerCommand& Row(int row) const;

    // "Done": the chosen rows' commands in row order, each followed by ":"; "" when none.
    const std::string& Done();
    // The script of the last "Done"; "" when the window closed without it.
    const std::string& Value() const { return value_; }

  private:
    ValboxAsk valbox_;
    std::array<PickerCommand, kRows> rows_;
    std::string value_;
};

}  // namespace dv::ui
