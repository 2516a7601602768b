#include "tests/ui/qt/support/window_steps.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace dv::test {
namespace {

constexpr int kModalPollMs = 20;
constexpr int kListOpenWaitMs = 5000;
// An editable list opens from its arrow, at the right end of the box.
constexpr int kArrowInset = 6;

// The parent of the answers still waiting.
QObject& PendingAnswers() {
    static QObject* pending = new QObject(qApp);
    return *pending;
}

class QuitCatcher : public QObject {
  public:
    bool caught = false;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Quit) return false;
        caught = true;
        return true;
    }
};

}  // namespace

bool EndsTheEventLoop(const std::function<void()>& steps) {
    QuitCatcher catcher;
    qApp->installEventFilter(&catcher);
    QTimer::singleShot(0, qApp, [&] {
        steps();
        QCoreApplication::exit();
    });
    QApplication::exec();
    qApp->removeEventFilter(&catcher);
    return catcher.caught;
}

void ClickButton(const QWidget& window, const QString& name) {
    QTest::mouseClick(Child<QPushButton>(window, name), Qt::LeftButton);
}

void ChooseMenuItem(const QWidget& window, const QString& name) {
    Child<QAction>(window, name)->trigger();
}

bool PickEntry(QComboBox* combo, const QString& entry) {
    const int position = combo->findText(entry, Qt::MatchExactly);
    return position >= 0 && PickEntryAt(combo, position);
}

bool PickEntryAt(QComboBox* combo, int position) {
    if (position < 0 || position >= combo->count()) return false;
    int chosen = -1;
    const QMetaObject::Connection seen =
        QObject::connect(combo, &QComboBox::activated, combo, [&chosen](int p) { chosen = p; });
    const QPoint opener = combo->isEditable()
                              ? QPoint(combo->width() - kArrowInset, combo->height() / 2)
                              : combo->rect().center();
    QTest::mouseClick(combo, Qt::LeftButton, Qt::NoModifier, opener);
    QAbstractItemView* list = combo->view();
    if (QTest::qWaitFor([list] { return list->isVisible(); }, kListOpenWaitMs)) {
        const QModelIndex index =
            combo->model()->index(position, combo->modelColumn(), combo->rootModelIndex());
        list->scrollTo(index, QAbstractItemView::PositionAtCenter);
        const QPoint at = list->visualRect(index).center();
        // A release close to the opening click is taken for the end of that click: the pointer
        // goes by the list's corner first, as a hand moving to the entry would.
        QTest::mouseMove(list->viewport(), QPoint(1, 1));
        QTest::mouseMove(list->viewport(), at);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }
    QObject::disconnect(seen);
    if (list->isVisible()) combo->hidePopup();
    return chosen == position;
}

Answered AnswerModal(std::function<bool(QWidget*)> wanted, std::function<void(QWidget*)> answer,
                     int limitMs) {
    auto answered = std::make_shared<bool>(false);
    auto* poll = new QTimer(&PendingAnswers());
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    poll->setInterval(kModalPollMs);
    QObject::connect(poll, &QTimer::timeout, poll, [=] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible() && wanted(modal)) {
            poll->stop();
            poll->deleteLater();
            const QPointer<QWidget> answering(modal);
            answer(modal);
            *answered = true;
            // An answer that stopped short (a failed check) leaves its window open: closed here,
            // the test goes on to report the failure instead of hanging.
            if (answering && answering->isVisible() &&
                QApplication::activeModalWidget() == answering) {
                qWarning("the answer left %s open; closing it",
                         qPrintable(answering->windowTitle()));
                answering->close();
            }
            return;
        }
        if (clock->elapsed() < limitMs) return;
        poll->stop();
        poll->deleteLater();
        qWarning("no modal window to answer came up; closing %s",
                 modal ? qPrintable(modal->windowTitle()) : "nothing");
        if (modal) modal->close();
    });
    poll->start();
    return answered;
}

Answered AnswerModalTitled(const QString& title, std::function<void(QWidget*)> answer,
                           int limitMs) {
    return AnswerModal([title](QWidget* modal) { return modal->windowTitle() == title; },
                       std::move(answer), limitMs);
}

Answered AnswerNextModal(std::function<void(QWidget*)> answer, int limitMs) {
    return AnswerModal([](QWidget*) { return true; }, std::move(answer), limitMs);
}

void DropModalAnswers() {
    qDeleteAll(PendingAnswers().findChildren<QTimer*>(Qt::FindDirectChildrenOnly));
}

}  // namespace dv::test
