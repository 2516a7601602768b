#include "ui/designer/effect_picker_dialog.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/common/engine_guard.h"
#include "ui/common/qt_dialogs.h"
#include "ui/common/qt_plain_text.h"
#include "ui/designer/value_generator_dialog.h"

namespace dv::ui {
namespace {

// The labels are long; the row shows the start of one and its list is as wide as the longest.
constexpr int kRowListWidthInCharacters = 60;

}  // namespace

EffectPickerDialog::EffectPickerDialog(QWidget* parent)
    : QDialog(parent),
      generatorWindow_([this](const std::string& question) {
          return ValueGeneratorDialog::Ask(this, question);
      }),
      picker_([this](const std::string& question) { return Valbox(question, generatorWindow_); }) {
    setWindowTitle("Effect Picker");
    auto* layout = new QVBoxLayout(this);

    auto* intro = new QLabel(
        "Choose one or more effects from the dropdown lists below.  Effects occur in sequential "
        "order.",
        this);
    intro->setObjectName("Label2");
    layout->addWidget(intro);

    QStringList labels;
    for (const std::string& label : picker_.Labels())
        labels << ToQt(label);

    auto* grid = new QGridLayout;
    for (int i = 0; i < EffectPicker::kRows; ++i) {
        auto* row = new QComboBox(this);
        row->setObjectName(QString("Combo1_%1").arg(i));
        row->addItems(labels);
        row->setCurrentIndex(-1);
        row->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        row->setMinimumContentsLength(kRowListWidthInCharacters);
        row->view()->setMinimumWidth(row->view()->sizeHintForColumn(0));
        grid->addWidget(row, i, 0);

        QLabel* description = NewPlainLabel(this);
        description->setObjectName(QString("Label1_%1").arg(i));
        description->setWordWrap(true);
        description->setMinimumWidth(280);
        grid->addWidget(description, i, 1);

        rows_[static_cast<std::size_t>(i)] = row;
        descriptions_[static_cast<std::size_t>(i)] = description;
        // Activated, not index-changed: picking the same entry again asks its questions again.
        connect(row, &QComboBox::activated, this, [this, i](int position) { Choose(i, position); });
    }
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);

    auto* note = new QLabel(
        "Note: This menu does not include all possible commands.  For a complete list, consult "
        "the help files.",
        this);
    note->setObjectName("Label3");
    layout->addWidget(note);

    auto* done = new QPushButton("Done", this);
    done->setObjectName("Command1");
    done->setAutoDefault(false);
    layout->addWidget(done);
    connect(done, &QPushButton::clicked, this, [this] { Done(); });
}

void EffectPickerDialog::Choose(int row, int position) {
    RunCommand("Combo1_Click", [&] {
        const std::string description = picker_.Choose(row, position);
        descriptions_[static_cast<std::size_t>(row)]->setText(ToQt(description));
    });
}

void EffectPickerDialog::Done() {
    RunCommand("Command1_Click", [&] {
        picker_.Done();
        accept();
    });
}

std::string PickEffect(QWidget* parent) {
    EffectPickerDialog dialog(parent);
    dialog.exec();
    return dialog.Value();
}

}  // namespace dv::ui
