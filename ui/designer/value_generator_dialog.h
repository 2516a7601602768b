#pragma once
// The window "Value Generator": the question, the expression being built (the author may type in
// it), the token buttons and "DONE". It draws and forwards; ValueGenerator builds the text.

#include <QDialog>
#include <string>

#include "ui/designer/value_generator.h"

class QLineEdit;

namespace dv::ui {

class ValueGeneratorDialog : public QDialog {
    Q_OBJECT

  public:
    ValueGeneratorDialog(QWidget* parent, const std::string& question);

    // The text handed back: "" unless the window closed with "DONE".
    const std::string& Result() const { return generator_.Result(); }
    // The counts ask their scope here; by default the scope window, modal over this one.
    void SetScopeChooser(ScopeChooser chooser) { chooseScope_ = std::move(chooser); }

    // Shows the window modally over `parent` and gives back its result.
    static std::string Ask(QWidget* parent, const std::string& question);

  private:
    void Press(int index);
    void Done();

    ValueGenerator generator_;
    ScopeChooser chooseScope_;
    QLineEdit* text_ = nullptr;
};

}  // namespace dv::ui
