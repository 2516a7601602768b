// The player's part in the real program, for the test that ends it from outside. Loaded into
// the program with LD_PRELOAD, it follows the steps of DV_DRIVE_STEPS, each taken on a tick of a
// timer, which also ticks inside modal windows and page waits, and writes each step taken and
// each message box it closed to the file DV_DRIVE_LOG. Steps, separated by ';':
//   window:NAME  waits for the visible window of that object name: the steps after act on it
//   idle:N       waits until the program's own event loop runs, and at most N event loops in
//                all: no page wait or modal window beyond those of the window, whose commands
//                would refuse a press meanwhile
//   press:NAME   clicks that push button of the window
//   menu:NAME    chooses that menu item of the window
//   link:TEXT    presses the first link of the window's board view whose href holds TEXT
//   file:PATH    chooses that file in the file dialog open
//   input:TEXT   answers the input box open with that text
//   label:NAME   writes the text that label of the window shows
//   close        closes the window
// A step that may open a modal window runs after the tick, so that the ticks go on inside it.

#include <dlfcn.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWebEngineScript>
#include <QWebEngineView>

namespace {

constexpr int kTickMs = 100;

// Set once the program has entered its event loop. Before, its start-up runs the profile chooser
// and its page waits in event loops of their own, one deep as the program's own loop is.
bool programLoopRuns = false;

class Driver : public QObject {
  public:
    explicit Driver(QObject* parent) : QObject(parent) {
        steps_ = qEnvironmentVariable("DV_DRIVE_STEPS").split(';', Qt::SkipEmptyParts);
        auto* tick = new QTimer(this);
        connect(tick, &QTimer::timeout, this, [this] { Tick(); });
        tick->start(kTickMs);
    }

  private:
    void Log(const QString& line) {
        QFile log(qEnvironmentVariable("DV_DRIVE_LOG"));
        if (log.open(QIODevice::Append)) log.write((line + '\n').toUtf8());
    }

    void Tick() {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            // One line of the log a message, its line ends written as "\n".
            Log("message: " + box->text().replace('\n', "\\n"));
            QTimer::singleShot(0, box, &QMessageBox::reject);
            return;
        }
        if (next_ >= steps_.size() || pending_) return;
        const QString step = steps_[next_];
        const QString verb = step.section(':', 0, 0);
        const QString name = step.section(':', 1);
        if (verb == "file") {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            auto* typed = dialog ? dialog->findChild<QLineEdit*>("fileNameEdit") : nullptr;
            if (!typed) return;
            Done(step);
            typed->setText(name);
            QTimer::singleShot(0, dialog,
                               [dialog] { QMetaObject::invokeMethod(dialog, "accept"); });
        } else if (verb == "input") {
            auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            if (!box) return;
            Done(step);
            box->setTextValue(name);
            QTimer::singleShot(0, box, &QInputDialog::accept);
        } else if (verb == "window") {
            window_ = nullptr;
            for (QWidget* top : QApplication::topLevelWidgets())
                if (top->objectName() == name && top->isVisible()) window_ = top;
            if (!window_) return;
            Done(step + " (" + window_->windowTitle() + ")");
        } else if (verb == "idle") {
            if (!programLoopRuns || QThread::currentThread()->loopLevel() > name.toInt()) return;
            Done(step);
        } else if (!window_) {
            return;
        } else if (verb == "label") {
            auto* label = window_->findChild<QLabel*>(name);
            if (!label) return;
            Done(step + " (" + label->text() + ")");
        } else if (verb == "press") {
            Later(window_->findChild<QPushButton*>(name), &QPushButton::click, step);
        } else if (verb == "menu") {
            Later(window_->findChild<QAction*>(name), &QAction::trigger, step);
        } else if (verb == "close") {
            Later(window_.data(), &QWidget::close, step);
        } else if (verb == "link") {
            PressLink(name, step);
        }
    }

    void Done(const QString& step) {
        Log("done " + step);
        ++next_;
    }

    template <class Target, class Slot>
    void Later(Target* target, Slot slot, const QString& step) {
        if (!target) return;
        Done(step);
        QTimer::singleShot(0, target, [target, slot] { (target->*slot)(); });
    }

    // The page is asked where the link is; it is pressed once the page holds it.
    void PressLink(const QString& text, const QString& step) {
        auto* board = window_->findChild<QWidget*>("ulkBrowser1");
        auto* view = board ? board->findChild<QWebEngineView*>("WebBrowser1") : nullptr;
        if (!view) return;
        const QString script =
            "(function () { var all = document.querySelectorAll('[href]');"
            " for (var i = 0; i < all.length; ++i) {"
            "   if (all[i].getAttribute('href').indexOf('" +
            text +
            "') < 0) continue;"
            "   all[i].scrollIntoView({block: 'center'});"
            "   var r = all[i].getClientRects()[0];"
            "   return [Math.round(r.left + Math.min(r.width / 2, 8)),"
            "           Math.round(r.top + r.height / 2)]; }"
            " return null; })()";
        pending_ = true;
        QPointer<QWebEngineView> target(view);
        view->page()->runJavaScript(
            script, QWebEngineScript::ApplicationWorld, [this, target, step](const QVariant& at) {
                pending_ = false;
                const QVariantList point = at.toList();
                if (!target || point.size() != 2) return;
                Done(step);
                const QPoint where(point[0].toInt(), point[1].toInt());
                QTimer::singleShot(0, target, [target, where] {
                    QTest::mousePress(target->focusProxy(), Qt::LeftButton, {}, where);
                    QTest::mouseRelease(target->focusProxy(), Qt::LeftButton, {}, where);
                });
            });
    }

    QStringList steps_;
    int next_ = 0;
    bool pending_ = false;
    QPointer<QWidget> window_;
};

// Started once the application is whole and its events run: at the first modal window or page
// wait of the start-up.
void StartDriver() {
    // The browser's helper processes, started from this one later, must not load the driver.
    qunsetenv("LD_PRELOAD");
    QCoreApplication* app = QCoreApplication::instance();
    QMetaObject::invokeMethod(
        app,
        [app] {
            if (qobject_cast<QApplication*>(app)) new Driver(app);
        },
        Qt::QueuedConnection);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(StartDriver)

// The program's call of its event loop comes here first, the driver being loaded before Qt.
int QApplication::exec() {
    programLoopRuns = true;
    using Exec = int (*)();
    static const auto exec = reinterpret_cast<Exec>(dlsym(RTLD_NEXT, "_ZN12QApplication4execEv"));
    return exec();
}
