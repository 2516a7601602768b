#include "ui/decks/profile_dialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "ui/common/engine_guard.h"
#include "ui/common/qt_dialogs.h"
#include "ui/common/qt_plain_text.h"

namespace dv::ui {
namespace {

constexpr int kButtonWidth = 220;

}  // namespace

ProfileDialog::ProfileDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("ProfileMenu");
    setWindowTitle("Choose a Player Profile");
    setModal(true);
    auto* row = new QHBoxLayout(this);
    auto* column = new QVBoxLayout;
    row->addLayout(column);
    for (int i = 0; i < kProfileButtons; ++i) {
        auto* button = new QPushButton("New Player Profile", this);
        button->setObjectName(QString("Command1_%1").arg(i));
        button->setMinimumWidth(kButtonWidth);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, i] { Choose(i); });
        column->addWidget(button);
        buttons_[i] = button;
    }
    auto* spare = new QPushButton(this);
    spare->setObjectName("Command2");
    spare->setAutoDefault(false);
    column->addWidget(spare);
    scroll_ = new QScrollBar(Qt::Vertical, this);
    scroll_->setObjectName("VScroll1");
    row->addWidget(scroll_);
    connect(scroll_, &QScrollBar::valueChanged, this, [this](int value) {
        chooser_.Scroll(value);
        UpdateButtons();
    });

    for (QPushButton* button : buttons_)
        button->setText("");
    RunCommand("LoadButtons", [this] { chooser_.Load(); });
    UpdateButtons();
}

void ProfileDialog::UpdateButtons() {
    const auto captions = chooser_.Captions();
    for (int i = 0; i < kProfileButtons; ++i)
        buttons_[i]->setText(PlainCaption(ToQt(captions[i])));
    const QSignalBlocker quiet(scroll_);
    scroll_->setMaximum(chooser_.ScrollMaximum());
    scroll_->setValue(chooser_.Offset());
    scroll_->setVisible(chooser_.ScrollShown());
}

void ProfileDialog::Choose(int button) {
    ProfileChooser::Choice choice = ProfileChooser::Choice::StaysOpen;
    RunCommand("Command1_Click", [&] {
        EngineGuard guard;
        if (guard) choice = chooser_.Click(button);
    });
    if (choice != ProfileChooser::Choice::StaysOpen) accept();
}

}  // namespace dv::ui
