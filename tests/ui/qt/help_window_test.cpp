// The help window: the help menu and a games page's help link show their page in it, modeless
// and in front; its viewer fills it.

#include "ui/main/help_window.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

#include "engine/model/state.h"
#include "game/startup.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/ui/qt/support/page_clicks.h"
#include "tests/ui/qt/support/program_steps.h"
#include "tests/ui/qt/support/window_steps.h"
#include "tests/ui/qt/support/window_test_main.h"
#include "ui/main/main_window.h"
#include "ui/main/program.h"
#include "viewer/ulk_browser.h"

namespace dv::ui {
namespace {

namespace fs = std::filesystem;

constexpr int kWaitMs = 20000;

}  // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void init() {
        root_ = std::make_unique<QTemporaryDir>();
        const fs::path folder = fs::path(root_->path().toStdString()) / "program folder";
        fs::create_directories(folder);
        test::CopySampleGame(folder);
        ResetState();
        program_ = std::make_unique<Program>(folder, &dialogs_);
        program_->Window().show();
    }
    void cleanup() {
        program_.reset();
        ResetState();
    }

    void theHelpMenuShowsTheMainHelpModeless() {
        HelpWindow& help = program_->Help();
        QVERIFY(!help.isVisible());
        test::ChooseMenuItem(program_->Window(), "helpmen");
        QVERIFY(help.isVisible());
        QVERIFY(!help.isModal());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QVERIFY(program_->Window().isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(test::PageText(*help.Viewer()).contains("collectible card game"),
                                 kWaitMs);
    }

    void aHelpLinkOnTheGamesPageShowsTheGamesHelp() {
        St().CurrentProfile.Name = "Guest";
        QuickStart();
        ulkBrowser& board = *program_->Window().BoardView();
        QTRY_VERIFY_WITH_TIMEOUT(test::PageText(board).contains("Mosslight"), kWaitMs);
        QVERIFY(test::PressLink(board, "HELP:MosslightHelp.html"));
        HelpWindow& help = program_->Help();
        QTRY_VERIFY_WITH_TIMEOUT(help.isVisible(), kWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(test::PageText(*help.Viewer()).contains("Night has fallen"),
                                 kWaitMs);
    }

    void theViewerFillsTheWindowOnResize() {
        HelpWindow& help = program_->Help();
        help.show();
        help.resize(500, 300);
        QTRY_COMPARE(help.Viewer()->geometry(), QRect(0, 0, 500, 300));
    }

  private:
    std::unique_ptr<QTemporaryDir> root_;
    test::ScriptedDialogs dialogs_;
    std::unique_ptr<Program> program_;
};

}  // namespace dv::ui

int main(int argc, char** argv) {
    return dv::test::RunWindowTest<dv::ui::HelpWindowTest>(argc, argv);
}

#include "help_window_test.moc"
