#include "ui/common/qt_plain_text.h"

#include <QLabel>
#include <QTextDocument>

namespace dv::ui {

QLabel* NewPlainLabel(QWidget* parent, const QString& text) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
}

QString PlainTip(const QString& text) {
    // A tool tip has no text format of its own: it decides as Qt::mightBeRichText does.
    if (!Qt::mightBeRichText(text)) return text;
    return Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal);
}

QString PlainCaption(const QString& text) {
    QString caption = text;
    return caption.replace('&', "&&");
}

}  // namespace dv::ui
