#include "ui/common/qt_dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>

namespace dv::ui {
namespace {

// Messages and prompts carry card and file names: their text shows as written, never as HTML.
int ShowBox(QWidget* parent, QMessageBox::Icon icon, const std::string& text,
            const std::string& title, QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, ToQt(title), ToQt(text), buttons, parent);
    box.setTextFormat(Qt::PlainText);
    return box.exec();
}

}  // namespace

QString ToQt(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string FromQt(const QString& text) {
    return text.toUtf8().toStdString();
}

QWidget* QtDialogs::Parent() const {
    if (QWidget* active = QApplication::activeWindow()) return active;
    return parent_.data();
}

void QtDialogs::Message(const std::string& text, const std::string& title) {
    ShowBox(Parent(), QMessageBox::Information, text, title, QMessageBox::Ok);
}

std::optional<std::string> QtDialogs::Input(const std::string& prompt, const std::string& title,
                                            const std::string& defaultText) {
    QInputDialog dialog(Parent());
    dialog.setWindowTitle(ToQt(title));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(ToQt(prompt));
    dialog.setTextValue(ToQt(defaultText));
    // The dialog has no text format of its own; its prompt is the one label it holds.
    for (QLabel* label : dialog.findChildren<QLabel*>())
        label->setTextFormat(Qt::PlainText);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return FromQt(dialog.textValue());
}

bool QtDialogs::YesNo(const std::string& question, const std::string& title) {
    return ShowBox(Parent(), QMessageBox::Question, question, title,
                   QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

std::optional<std::string> QtDialogs::OpenFile(const std::string& title, const std::string& folder,
                                               const std::string& filter) {
    const QString path =
        QFileDialog::getOpenFileName(Parent(), ToQt(title), ToQt(folder), ToQt(filter));
    if (path.isEmpty()) return std::nullopt;
    return FromQt(QDir::toNativeSeparators(path));
}

std::optional<std::string> QtDialogs::SaveFile(const std::string& title, const std::string& folder,
                                               const std::string& suggestedName,
                                               const std::string& filter,
                                               const std::string& defaultExtension) {
    QFileDialog dialog(Parent(), ToQt(title), QDir(ToQt(folder)).filePath(ToQt(suggestedName)),
                       ToQt(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Qt's own dialog adds the extension before it asks about replacing a file; a native one may
    // add it only after it has asked about the name as typed.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setDefaultSuffix(ToQt(defaultExtension));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty()) return std::nullopt;
    return FromQt(QDir::toNativeSeparators(chosen.first()));
}

std::optional<uint32_t> QtDialogs::Colour(uint32_t initial) {
    const QColor start(initial & 0xFF, (initial >> 8) & 0xFF, (initial >> 16) & 0xFF);
    const QColor chosen = QColorDialog::getColor(start, Parent());
    if (!chosen.isValid()) return std::nullopt;
    return static_cast<uint32_t>(chosen.red()) | (static_cast<uint32_t>(chosen.green()) << 8) |
           (static_cast<uint32_t>(chosen.blue()) << 16);
}

}  // namespace dv::ui
