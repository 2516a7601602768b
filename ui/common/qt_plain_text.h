#pragma once
// Texts that come from files (card, deck, player and profile names, picker texts, file names) are
// data and show as written. Qt lays out the text of a label, a message or a tool tip as rich text
// whenever it looks like HTML, and rich text loads every picture its <img src> names, from any
// file and of any size; a button takes "&" for the mark of its shortcut key.

#include <QString>

class QLabel;
class QWidget;

namespace dv::ui {

// A label that shows any text it is given as written.
QLabel* NewPlainLabel(QWidget* parent, const QString& text = {});
// `text` for a tool tip that shows it as written: unchanged when Qt takes it for plain text, else
// as the HTML that reads as it.
QString PlainTip(const QString& text);
// `text` for a button's caption that shows its "&" rather than underlining the next letter.
QString PlainCaption(const QString& text);

}  // namespace dv::ui
