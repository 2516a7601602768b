#pragma once
// The window "Which cards should count towards the total?": five buttons, one scope word each.

#include <QDialog>
#include <string>

namespace dv::ui {

class TraitScopeDialog : public QDialog {
    Q_OBJECT

  public:
    explicit TraitScopeDialog(QWidget* parent);

    // The word of the button pressed; "" when the window closed without one.
    const std::string& Scope() const { return scope_; }

    // Shows the window modally over `parent` and gives back its scope word.
    static std::string Choose(QWidget* parent);

  private:
    std::string scope_;
};

}  // namespace dv::ui
