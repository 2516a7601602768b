#pragma once
// What a user does with the program's real windows, for the window tests: find a widget by name,
// press a button, pick an entry of a drop-down list by clicking it, and answer a modal window that
// another one opens, without ever waiting for ever on one.

#include <QString>
#include <QTest>
#include <QWidget>
#include <functional>
#include <memory>

class QComboBox;

namespace dv::test {

// The child of that object name; the test stops when there is none.
template <class W>
W* Child(const QObject& parent, const QString& name) {
    W* widget = parent.findChild<W*>(name);
    if (!widget) qFatal("no widget %s", qPrintable(name));
    return widget;
}

// A mouse click on the push button of that name.
void ClickButton(const QWidget& window, const QString& name);
// The menu item of that name, chosen.
void ChooseMenuItem(const QWidget& window, const QString& name);
// Opens the list with a click and clicks the entry that reads `entry`; false when the list offers
// no such entry or the click chose another.
bool PickEntry(QComboBox* combo, const QString& entry);
// The same for the entry at `position` (from 0).
bool PickEntryAt(QComboBox* combo, int position);

// Replaces the text of a line or text box by typing `text` over all of it.
template <class Edit>
void Retype(Edit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

// Runs `steps` inside the application's event loop: whether they asked it to end (the program's
// end of the process). The end asked for is caught, and the test goes on.
bool EndsTheEventLoop(const std::function<void()>& steps);

// Runs `answer` on the next modal window that `wanted` accepts, from inside its own event loop;
// the flag returned turns true once `answer` has returned. When none comes up within the time
// limit the modal window on top is closed, so that the test goes on to fail rather than hang.
constexpr int kModalWaitMs = 30000;
using Answered = std::shared_ptr<const bool>;
Answered AnswerModal(std::function<bool(QWidget*)> wanted, std::function<void(QWidget*)> answer,
                     int limitMs = kModalWaitMs);
// The same for the next modal window with that title.
Answered AnswerModalTitled(const QString& title, std::function<void(QWidget*)> answer,
                           int limitMs = kModalWaitMs);
// The same for the next modal window of class W.
template <class W>
Answered AnswerModalOf(std::function<void(QWidget*)> answer, int limitMs = kModalWaitMs) {
    return AnswerModal([](QWidget* modal) { return qobject_cast<W*>(modal) != nullptr; },
                       std::move(answer), limitMs);
}
// The same for the next modal window, whichever it is.
Answered AnswerNextModal(std::function<void(QWidget*)> answer, int limitMs = kModalWaitMs);
// Drops the answers still waiting, so that none outlives the test that set it.
void DropModalAnswers();

}  // namespace dv::test
