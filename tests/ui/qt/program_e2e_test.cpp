// The whole program through its real windows: a fresh program folder whose path holds a blank,
// a new player who takes the starter deck and saves it from the menu, the sample game started by
// a click on its opponent in the games page with the player's file loaded and its deck chosen in
// the deck manager, a hand card queued on a target clicked in the board, turns until the game
// ends, and a restart that reads back what closing saved after a program was killed in the folder.
// A second program in a folder where one runs ends before its profile chooser.

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>

#include "engine/model/state.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/ui/qt/support/page_clicks.h"
#include "tests/ui/qt/support/program_steps.h"
#include "tests/ui/qt/support/window_steps.h"
#include "tests/ui/qt/support/window_test_main.h"
#include "ui/common/engine_guard.h"
#include "ui/common/qt_dialogs.h"
#include "ui/decks/deck_manager_window.h"
#include "ui/main/folder_lock.h"
#include "ui/main/help_window.h"
#include "ui/main/main_window.h"
#include "ui/main/program.h"
#include "ui/main/qt_host.h"
#include "viewer/ulk_browser.h"

namespace dv::ui {
namespace {

namespace fs = std::filesystem;

constexpr int kWaitMs = 60000;
constexpr const char* kNewPlayer = "Wren";
constexpr const char* kPlayerFile = "Mosslight_Wren.plr";
// The sample game ends long before this many turns: after round 15 the night takes 2 HP a turn.
constexpr int kMaxTurns = 200;

using CardKeys = std::vector<std::pair<std::string, int32_t>>;

CardKeys CollectionKeys() {
    CardKeys keys;
    for (const Card& card : St().Collection)
        if (!card.Name.empty()) keys.emplace_back(card.Name, card.GID);
    std::sort(keys.begin(), keys.end());
    return keys;
}

using test::Child;
using test::ClickButton;

}  // namespace

class ProgramEndToEndTest : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { test::DropModalAnswers(); }
    void initTestCase() {
        QApplication::setQuitOnLastWindowClosed(false);
        QVERIFY(root_.isValid());
        folder_ = fs::path(root_.path().toStdString()) / "program folder";
        fs::create_directories(folder_);
        test::CopySampleGame(folder_);
        fs::remove(folder_ / "PlayerProfiles.txt");
    }

    void leavingTheChooserWithoutAProfileEndsTheProgram();
    void aSecondProgramInTheFolderEndsBeforeItsChooser();
    void aLockFileThatIsAFifoEndsTheProgramBeforeItsChooser();
    void aNewPlayerPlaysTheSampleGameToItsEnd();
    void aRestartReadsTheSameCollectionAndTokens();

  private:
    QTemporaryDir root_;
    fs::path folder_;
    test::ScriptedDialogs dialogs_;
    CardKeys collectionAtClose_;
    int32_t tokensAtClose_ = -1;
};

void ProgramEndToEndTest::leavingTheChooserWithoutAProfileEndsTheProgram() {
    ResetState();
    dialogs_ = test::ScriptedDialogs{};
    Program program(folder_, &dialogs_);
    test::AnswerNextModal([](QWidget* modal) { modal->close(); });
    QVERIFY(!program.Start());
    QCOMPARE(int(St().EndProgram), 1);
    QVERIFY(!program.Window().isVisible());
    QVERIFY(!fs::exists(folder_ / "PlayerProfiles.txt"));
}

// Two programs in one folder each saved the player file over the other's changes.
void ProgramEndToEndTest::aSecondProgramInTheFolderEndsBeforeItsChooser() {
    FolderLock running;  // the first program's
    QVERIFY(running.Take(folder_));
    ResetState();
    dialogs_ = test::ScriptedDialogs{};
    Program second(folder_, &dialogs_);
    bool chooserShown = false;
    second.Host().SetAnswer(WindowCall::ShowProfileMenu,
                            [&](const std::string&) { chooserShown = true; });
    QVERIFY(!second.Start());
    QCOMPARE(dialogs_.messages,
             std::vector<std::string>{"Duvenhall is already running in this folder."});
    QVERIFY(!chooserShown);
    QVERIFY(!second.Window().isVisible());
    QVERIFY(!fs::exists(folder_ / "PlayerProfiles.txt"));
    dialogs_.messages.clear();
}

// A FIFO the user cannot write, planted as the lock file, held the start in open() before any
// window: the start says what to remove and ends, as a second program's does.
void ProgramEndToEndTest::aLockFileThatIsAFifoEndsTheProgramBeforeItsChooser() {
    const fs::path lock = folder_ / kLockFileName;
    fs::remove(lock);
    QCOMPARE(::mkfifo(lock.c_str(), 0444), 0);
    ResetState();
    dialogs_ = test::ScriptedDialogs{};
    Program program(folder_, &dialogs_);
    bool chooserShown = false;
    program.Host().SetAnswer(WindowCall::ShowProfileMenu,
                             [&](const std::string&) { chooserShown = true; });
    QVERIFY(!program.Start());
    QCOMPARE(dialogs_.messages.size(), std::size_t(1));
    QVERIFY(dialogs_.messages[0].find("is a FIFO (a named pipe), not a regular file. Remove " +
                                      lock.string()) != std::string::npos);
    QVERIFY(!chooserShown);
    QVERIFY(!program.Window().isVisible());
    fs::remove(lock);
    dialogs_.messages.clear();
}

namespace {

// A program killed in its folder: the kernel drops its lock with it, and its lock file stays.
void KillAProgramHoldingTheLock(const fs::path& folder) {
    const std::string file = (folder / kLockFileName).string();
    int ready[2];
    QCOMPARE(::pipe(ready), 0);
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        // This process runs the browser's threads: the child makes system calls only.
        const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        const char taken = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 'y' : 'n';
        if (::write(ready[1], &taken, 1) != 1) ::_exit(1);
        ::pause();
        ::_exit(0);
    }
    char taken = 0;
    QCOMPARE(::read(ready[0], &taken, 1), ssize_t(1));
    QCOMPARE(taken, 'y');
    FolderLock meanwhile;
    QVERIFY(!meanwhile.Take(folder));
    ::kill(child, SIGKILL);
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFSIGNALED(status));
    ::close(ready[0]);
    ::close(ready[1]);
    QVERIFY(fs::exists(file));
}

}  // namespace

void ProgramEndToEndTest::aNewPlayerPlaysTheSampleGameToItsEnd() {
    ResetState();
    dialogs_.inputs = {std::string(kNewPlayer)};
    Program program(folder_, &dialogs_);
    QString chooser;
    test::AnswerNextModal([&](QWidget* modal) {
        chooser = modal->windowTitle();
        ClickButton(*modal, "Command1_0");
    });

    QVERIFY(program.Start());
    QCOMPARE(chooser, QString("Choose a Player Profile"));
    QCOMPARE(dialogs_.asked, std::vector<std::string>{"New Player Name?"});
    QCOMPARE(St().CurrentProfile.Name, std::string(kNewPlayer));
    QCOMPARE(St().Players[1].Tokens, 500);
    MainWindow& window = program.Window();
    QVERIFY(window.isVisible());

    // The games page in the board view, its opponent link holding the folder's blank.
    ulkBrowser& board = *window.BoardView();
    QTRY_VERIFY_WITH_TIMEOUT(test::PageText(board).contains("Bogwarden"), kWaitMs);
    const QString opponent = test::FirstHrefStartingWith(board, "GAME:");
    QCOMPARE(opponent, QString::fromStdString(
                           "GAME:1:" + (folder_ / "Mosslight" / "Bogwarden_Enemy.txt").string()));

    // No deck yet: the starter deck's game hands out its cards, and the menu keeps them.
    QVERIFY(test::PressLink(
        board, QString::fromStdString(
                   "GAME:1:" + (folder_ / "Mosslight" / "Lamplighter_StarterDeck.txt").string())));
    QTRY_VERIFY_WITH_TIMEOUT(
        test::PageText(board).contains("Your new starter deck contains the following cards."),
        kWaitMs);
    test::ChooseMenuItem(window, "saveplrmen");
    QVERIFY(fs::exists(folder_ / kPlayerFile));
    test::ChooseMenuItem(window, "newgamemen");
    QTRY_VERIFY_WITH_TIMEOUT(test::PageText(board).contains("Bogwarden"), kWaitMs);

    // The game start's deck manager: "Load Player" of the player's file, its deck chosen, DONE.
    QString deckChosen;
    const test::Answered decked = test::AnswerModalOf<DeckManager>([&](QWidget* manager) {
        dialogs_.files = {(folder_ / "Mosslight_Guest.plr").string()};
        test::ChooseMenuItem(*manager, "loadplrmen");
        auto* decks = Child<QComboBox>(*manager, "Combo1");
        QVERIFY(test::PickEntry(decks, "Starter Deck"));
        deckChosen = decks->currentText();
        ClickButton(*manager, "Command2");  // DONE
    });
    // The player closes the help window: the game start's hand-back must not bring it back.
    test::ChooseMenuItem(window, "helpmen");
    QVERIFY(program.Help().isVisible());
    program.Help().close();
    QVERIFY(test::PressLink(board, opponent));
    // GameStarted stays 1 from the starter game: the deck manager's answer marks the start.
    QTRY_VERIFY_WITH_TIMEOUT(*decked && !EngineGuard::Busy(), kWaitMs);
    QVERIFY(*decked);
    QCOMPARE(deckChosen, QString("Starter Deck"));
    QCOMPARE(int(St().CurrentDeck), 1);
    QCOMPARE(int(CollectionKeys().size()), 42);
    QTRY_VERIFY_WITH_TIMEOUT(test::PageText(board).contains("The marsh lanterns flicker to life."),
                             kWaitMs);
    QVERIFY2(!program.Help().isVisible(), "the closed help window stays closed");

    // Hovering a hand picture shows its card.
    int slot = 0;
    for (int i = 1; i <= 10 && slot == 0; ++i)
        if (Child<QLabel>(window, QString("Picture2_%1").arg(i))->isVisible()) slot = i;
    QVERIFY2(slot > 0, "the opening hand shows");
    QLabel* picture = Child<QLabel>(window, QString("Picture2_%1").arg(slot));
    const QString cardName = ToQt(St().Players[1].Hand[slot].Name);
    QTest::mouseMove(picture, QPoint(20, 20));
    QTRY_VERIFY_WITH_TIMEOUT(test::PageText(*window.CardView()).contains(cardName), kWaitMs);

    // Queued, then aimed at the Bogwarden by a click on its link in the board.
    QTest::mouseRelease(picture, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    QCOMPARE(int(St().ActionCards[1]), slot);
    QCOMPARE(St().ChoiceSlot, 1);
    const int warden = St().Players[2].CardIndex;
    const QString wardenLink = QString("CARD%1").arg(St().InPlay[warden].GID);
    QVERIFY(test::PressLink(board, wardenLink));
    QTRY_COMPARE_WITH_TIMEOUT(int(St().ActionTargets[1]), warden, kWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(
        test::PageText(*window.QueueView()).contains("Play " + cardName + " on Bogwarden"),
        kWaitMs);

    int turns = 0;
    while (St().GameOver == 0 && turns < kMaxTurns) {
        ClickButton(window, "Command1");
        ++turns;
    }
    QVERIFY2(St().GameOver == 1, "the game ended");
    QCOMPARE(Child<QPushButton>(window, "Command1")->text(), QString("End Game"));
    // The game ended inside a turn, whose end drew the hand again.
    for (int i = 0; i < 10; ++i)
        QVERIFY(!Child<QLabel>(window, QString("HandLabel_%1").arg(i))->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(test::PageText(board).contains("goes dark"), kWaitMs);
    QCOMPARE(dialogs_.messages, std::vector<std::string>{});

    // Closing writes the player file.
    collectionAtClose_ = CollectionKeys();
    tokensAtClose_ = St().Players[1].Tokens;
    QVERIFY(!collectionAtClose_.empty());
    fs::remove(folder_ / kPlayerFile);
    QVERIFY(window.close());
    QVERIFY(fs::exists(folder_ / kPlayerFile));
}

void ProgramEndToEndTest::aRestartReadsTheSameCollectionAndTokens() {
    QVERIFY(!collectionAtClose_.empty());
    KillAProgramHoldingTheLock(folder_);
    if (QTest::currentTestFailed()) return;
    ResetState();
    dialogs_ = test::ScriptedDialogs{};
    Program program(folder_, &dialogs_);
    QString picked;
    test::AnswerNextModal([&](QWidget* modal) {
        picked = Child<QPushButton>(*modal, "Command1_1")->text();
        ClickButton(*modal, "Command1_1");
    });
    QVERIFY(program.Start());
    QCOMPARE(picked, QString(kNewPlayer));
    QCOMPARE(St().CurrentProfile.PlayerFile, std::string(kPlayerFile));
    QCOMPARE(St().Players[1].Tokens, tokensAtClose_);
    QCOMPARE(CollectionKeys(), collectionAtClose_);
    QVERIFY(dialogs_.asked.empty());
    program.Window().close();
}

}  // namespace dv::ui

int main(int argc, char** argv) {
    return dv::test::RunWindowTest<dv::ui::ProgramEndToEndTest>(argc, argv);
}

#include "program_e2e_test.moc"
