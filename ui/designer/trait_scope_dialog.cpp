#include "ui/designer/trait_scope_dialog.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "ui/common/engine_guard.h"
#include "ui/common/qt_dialogs.h"
#include "ui/designer/value_generator.h"

namespace dv::ui {

TraitScopeDialog::TraitScopeDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Which cards should count towards the total?");
    auto* layout = new QVBoxLayout(this);
    const auto& buttons = ScopeButtons();
    for (int i = 0; i < static_cast<int>(buttons.size()); ++i) {
        auto* button =
            new QPushButton(ToQt(std::string(buttons[static_cast<std::size_t>(i)].caption)), this);
        button->setObjectName(QString("Command1_%1").arg(i));
        button->setAutoDefault(false);
        layout->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, i] {
            RunCommand("Command1_Click", [&] {
                scope_ = TraitScopeWord(i);
                accept();
            });
        });
    }
}

std::string TraitScopeDialog::Choose(QWidget* parent) {
    TraitScopeDialog dialog(parent);
    dialog.exec();
    return dialog.Scope();
}

}  // namespace dv::ui
