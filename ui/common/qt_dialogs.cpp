#include "ui/common/qt_dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace dv::ui {

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
    QMessageBox::information(Parent(), ToQt(title), ToQt(text));
}

std::optional<std::string> QtDialogs::Input(const std::string& prompt, const std::string& title,
                                            const std::string& defaultText) {
    bool ok = false;
    const QString answer = QInputDialog::getText(Parent(), ToQt(title), ToQt(prompt),
                                                 QLineEdit::Normal, ToQt(defaultText), &ok);
    if (!ok) return std::nullopt;
    return FromQt(answer);
}

bool QtDialogs::YesNo(const std::string& question, const std::string& title) {
    return QMessageBox::question(Parent(), ToQt(title), ToQt(question),
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
                                               const std::string& filter) {
    const QString start = QDir(ToQt(folder)).filePath(ToQt(suggestedName));
    const QString path = QFileDialog::getSaveFileName(Parent(), ToQt(title), start, ToQt(filter));
    if (path.isEmpty()) return std::nullopt;
    return FromQt(QDir::toNativeSeparators(path));
}

std::optional<uint32_t> QtDialogs::Colour(uint32_t initial) {
    const QColor start(initial & 0xFF, (initial >> 8) & 0xFF, (initial >> 16) & 0xFF);
    const QColor chosen = QColorDialog::getColor(start, Parent());
    if (!chosen.isValid()) return std::nullopt;
    return static_cast<uint32_t>(chosen.red()) | (static_cast<uint32_t>(chosen.green()) << 8) |
           (static_cast<uint32_t>(chosen.blue()) << 16);
}

}  // namespace dv::ui
