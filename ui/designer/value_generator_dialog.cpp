#include "ui/designer/value_generator_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/common/engine_guard.h"
#include "ui/common/qt_dialogs.h"
#include "ui/common/qt_plain_text.h"
#include "ui/designer/trait_scope_dialog.h"

namespace dv::ui {

ValueGeneratorDialog::ValueGeneratorDialog(QWidget* parent, const std::string& question)
    : QDialog(parent),
      generator_(question),
      chooseScope_([this] { return TraitScopeDialog::Choose(this); }) {
    setWindowTitle("Value Generator");
    auto* layout = new QVBoxLayout(this);

    QLabel* label = NewPlainLabel(this, ToQt(question));
    label->setObjectName("Label1");
    label->setWordWrap(true);
    layout->addWidget(label);

    text_ = new QLineEdit(this);
    text_->setObjectName("Text1");
    layout->addWidget(text_);

    auto* grid = new QGridLayout;
    int slot = 0;
    for (const GeneratorButton& b : GeneratorButtons()) {
        auto* button = new QPushButton(ToQt(std::string(b.caption)), this);
        button->setObjectName(QString("Command1_%1").arg(b.index));
        button->setAutoDefault(false);
        grid->addWidget(button, slot / 2, slot % 2);
        ++slot;
        const int index = b.index;
        connect(button, &QPushButton::clicked, this, [this, index] { Press(index); });
    }
    layout->addLayout(grid);

    auto* done = new QPushButton("DONE", this);
    done->setObjectName("Command5");
    done->setAutoDefault(false);
    layout->addWidget(done);
    connect(done, &QPushButton::clicked, this, [this] { Done(); });
}

void ValueGeneratorDialog::Press(int index) {
    RunCommand("Command1_Click", [&] {
        generator_.SetText(FromQt(text_->text()));
        generator_.Press(index, chooseScope_);
        text_->setText(ToQt(generator_.Text()));
    });
}

void ValueGeneratorDialog::Done() {
    RunCommand("Command5_Click", [&] {
        generator_.SetText(FromQt(text_->text()));
        generator_.Done();
        accept();
    });
}

std::string ValueGeneratorDialog::Ask(QWidget* parent, const std::string& question) {
    ValueGeneratorDialog dialog(parent, question);
    dialog.exec();
    return dialog.Result();
}

}  // namespace dv::ui
