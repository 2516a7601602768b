#include "ui/designer/effect_picker.h"

#include <utility>

namespace dv::ui {

EffectPicker::EffectPicker(ValboxAsk valbox) : valbox_(std::move(valbox)) {}

std::string EffectPicker::Choose(int row, int position) {
    const std::vector<PickerCommand>& menu = PickerCommands();
    if (row < 0 || row >= kRows || position < 0 || position >= static_cast<int>(menu.size()))
        return {};
    PickerCommand& chosen = rows_[static_cast<std::size_t>(row)];
    FillCommand(chosen, menu[static_cast<std::size_t>(position)], &valbox_);
    return chosen.Description;
}

const PickerCommand& EffectPicker::Row(int row) const {
    static const PickerCommand none;
    if (row < 0 || row >= kRows) return none;
    return rows_[static_cast<std::size_t>(row)];
}

const std::string& EffectPicker::Done() {
    value_.clear();
    for (const PickerCommand& chosen : rows_) {
        if (!chosen.Command.empty()) value_ += chosen.Command + ":";
    }
    return value_;
}

}  // namespace dv::ui
