#pragma once
// The modal window "Choose a Player Profile": a column of eight buttons over the profile list and
// a scroll bar. Closing it without a choice leaves the profile unchosen, which ends the program.

#include <QDialog>
#include <array>

#include "ui/decks/profile_chooser.h"

class QPushButton;
class QScrollBar;

namespace dv::ui {

class ProfileDialog : public QDialog {
    Q_OBJECT

  public:
    explicit ProfileDialog(QWidget* parent);

  private:
    void UpdateButtons();
    void Choose(int button);

    ProfileChooser chooser_;
    std::array<QPushButton*, kProfileButtons> buttons_{};
    QScrollBar* scroll_;
};

}  // namespace dv::ui
