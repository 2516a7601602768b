#pragma once
// The window "Effect Picker": eight rows, each a menu of commands and the chosen command's
// description, and "Done". It draws and forwards; EffectPicker builds the script.

#include <QDialog>
#include <array>
#include <string>

#include "ui/designer/effect_picker.h"
#include "ui/designer/value_generator.h"

class QComboBox;
class QLabel;

namespace dv::ui {

class EffectPickerDialog : public QDialog {
    Q_OBJECT

  public:
    explicit EffectPickerDialog(QWidget* parent);

    // The script of "Done"; "" when the window closed any other way.
    const std::string& Value() const { return picker_.Value(); }
    // "VALBOX:" questions open this; by default the value generator, modal over the picker.
    void SetGeneratorWindow(GeneratorWindow window) { generatorWindow_ = std::move(window); }

  private:
    void Choose(int row, int position);
    void Done();

    GeneratorWindow generatorWindow_;
    EffectPicker picker_;
    std::array<QComboBox*, EffectPicker::kRows> rows_{};
    std::array<QLabel*, EffectPicker::kRows> descriptions_{};
};

// The card designer's "Add Effect": shows the effect picker modally over `parent` and gives back
// the script to append to the action ("" when nothing was chosen or it closed without "Done").
std::string PickEffect(QWidget* parent);

}  // namespace dv::ui
