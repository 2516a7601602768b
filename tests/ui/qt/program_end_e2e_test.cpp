// The real program, started as a player starts it, ended by each of its ways to end, and checked
// from outside: its process is gone within seconds, and the next start in its folder opens the
// profile chooser. On the way, a save over an opponent's file and a load of a player file cut
// short are checked as a player meets them. A driver preloaded into the program
// (driver/program_driver.cpp) plays the player's part.

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "engine/model/files.h"
#include "tests/ui/qt/support/program_steps.h"
#include "tests/ui/qt/support/window_test_main.h"

namespace dv::ui {
namespace {

namespace fs = std::filesystem;

// The start-up with its browser engine and the steps up to the way out, on a shared machine.
constexpr int kStepsLimitMs = 90000;
// From the last step to the process gone.
constexpr int kEndLimitMs = 10000;
// The profile "Guest" chosen; its main window shown, with no page loading.
constexpr const char* kGuest = "window:ProfileMenu;press:Command1_1;window:MainWindow;idle:1;";

}  // namespace

class ProgramEndTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void eachWayToEndTheProgramEndsItsProcess_data();
    void eachWayToEndTheProgramEndsItsProcess();
    void anOpponentSavedOverAnotherAsksAndANoKeepsItsFile();
    void aPlayerFileCutShortLeavesTheDeckManagerAsItWas();

  private:
    // Runs the program with the driver's steps until it has ended; the driver's log.
    QStringList Run(const QString& steps, const QString& lastStep);

    QTemporaryDir root_;
    fs::path folder_;
};

// The program's folder is the one it lies in: a copy of it beside the sample game.
void ProgramEndTest::initTestCase() {
    QVERIFY(root_.isValid());
    folder_ = fs::path(root_.path().toStdString()) / "program folder";
    fs::create_directories(folder_);
    test::CopySampleGame(folder_);
    const fs::path built = fs::path(DV_PROGRAM).parent_path();
    for (const char* file : {"Duvenhall", "libulkWebBrowser.so"})
        fs::copy_file(built / file, folder_ / file);
}

QStringList ProgramEndTest::Run(const QString& steps, const QString& lastStep) {
    const QString log = root_.filePath("driver.log");
    const QString output = root_.filePath("program.out");
    QFile::remove(log);
    QProcess program;
    program.setStandardOutputFile(output);
    program.setStandardErrorFile(output, QIODevice::Append);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu");
    env.insert("QTWEBENGINE_DISABLE_SANDBOX", "1");
    env.insert("LD_PRELOAD", DV_PROGRAM_DRIVER);
    env.insert("DV_DRIVE_STEPS", steps);
    env.insert("DV_DRIVE_LOG", log);
    program.setProcessEnvironment(env);
    program.start(QString::fromStdString((folder_ / "Duvenhall").string()), {});
    auto lines = [&] {
        QFile file(log);
        if (!file.open(QIODevice::ReadOnly)) return QStringList{};
        return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    };
    auto stepTaken = [&] {
        for (const QString& line : lines())
            if (line.startsWith("done " + lastStep)) return true;
        return false;
    };
    const bool taken = QTest::qWaitFor(stepTaken, kStepsLimitMs);
    const bool ended = taken && program.waitForFinished(kEndLimitMs);
    if (!ended) {
        program.kill();
        program.waitForFinished();
    }
    [&] {
        QFile out(output);
        const QString said = out.open(QIODevice::ReadOnly) ? QString::fromUtf8(out.readAll()) : "";
        QVERIFY2(taken, qPrintable("the steps stopped short of " + lastStep + ":\n" +
                                   lines().join('\n') + "\nThe program said:\n" + said));
        QVERIFY2(ended, qPrintable("the program still ran " + QString::number(kEndLimitMs) +
                                   " ms after " + lastStep));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
    }();
    return lines();
}

// Each row: the player's steps, the last of which ends the program, and the messages the program
// shows on the way (the driver closes them).
void ProgramEndTest::eachWayToEndTheProgramEndsItsProcess_data() {
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("lastStep");
    QTest::addColumn<QStringList>("messages");
    const QString cards =
        QString::fromStdString((folder_ / "Mosslight" / "Mosslight_Set.txt").string());
    QTest::newRow("Quit in the deck manager of the File menu left the process running")
        << QString(kGuest) + "menu:deckmanagermen;window:DeckManager;idle:2;menu:quitmen"
        << "menu:quitmen" << QStringList{};
    QTest::newRow(
        "Quit in the deck manager of a game start, inside a click on the games page, "
        "left the process running")
        << QString(kGuest) + "link:Bogwarden_Enemy.txt;window:DeckManager;idle:2;menu:quitmen"
        << "menu:quitmen" << QStringList{};
    QTest::newRow(
        "Quit in the deck manager of the designer's card test, whose windows beneath "
        "are hidden, left the process running, the designer's cards never asked about")
        << QString(kGuest) + "menu:EditMen;window:CardEdit;idle:1;menu:loaddeckmen;file:" + cards +
               ";idle:1;menu:testcardsmen;window:DeckManager;idle:1;menu:quitmen"
        << "menu:quitmen"
        << QStringList{
               "message: Choose the cards you would like to test.  You may place cards in "
               "the player's starting hand or already in play.  When done, click the "
               "Play button.",
               "message: Save cards now?"};
    QTest::newRow("closing the main window left the process running") << QString(kGuest) + "close"
                                                                      << "close" << QStringList{};
}

void ProgramEndTest::eachWayToEndTheProgramEndsItsProcess() {
    QFETCH(QString, steps);
    QFETCH(QString, lastStep);
    QFETCH(QStringList, messages);
    const QStringList ended = Run(steps, lastStep);
    if (QTest::currentTestFailed()) return;
    QCOMPARE(ended.filter(QRegularExpression("^message: ")), messages);
    // The next start finds the folder free: the profile chooser, which ends the program when it
    // is closed without a profile.
    const QStringList next = Run("window:ProfileMenu;close", "close");
    if (QTest::currentTestFailed()) return;
    QCOMPARE(next,
             (QStringList{"done window:ProfileMenu (Choose a Player Profile)", "done close"}));
}

// Saving the deck as an opponent under the name of one of the game's opponents replaced its file
// without a word.
void ProgramEndTest::anOpponentSavedOverAnotherAsksAndANoKeepsItsFile() {
    const fs::path file = folder_ / "Mosslight" / "Bogwarden_Enemy.txt";
    const std::string before = ReadWholeFile(file).value_or("");
    const QStringList log = Run(QString(kGuest) +
                                    "menu:deckmanagermen;window:DeckManager;idle:2;"
                                    "menu:saveasopponent;input:Bogwarden;idle:2;menu:quitmen",
                                "menu:quitmen");
    if (QTest::currentTestFailed()) return;
    QCOMPARE(log.filter(QRegularExpression("^message: ")),
             QStringList{QString::fromStdString(
                 "message: \"Bogwarden_Enemy.txt\" already exists in the game's folder " +
                 (folder_ / "Mosslight").string() + ". Replace it with this deck?")});
    QVERIFY(!before.empty());
    QCOMPARE(ReadWholeFile(file).value_or(""), before);
}

// Load Player of a player file cut short told where it broke off, then showed the few cards read
// before the break in place of the player's collection and decks.
void ProgramEndTest::aPlayerFileCutShortLeavesTheDeckManagerAsItWas() {
    // Cut inside the traits of its sixth card.
    const std::string whole = ReadWholeFile(folder_ / "Mosslight_Guest.plr").value_or("");
    std::size_t cut = 0;
    for (int card = 1; card <= 6 && cut != std::string::npos; ++card)
        cut = whole.find("\n#TRAIT, \"", cut + 1);
    QVERIFY(cut != std::string::npos);
    std::ofstream(folder_ / "Cut.plr", std::ios::binary) << whole.substr(0, cut + 11);
    const QString shown = "window:DeckManager;idle:2;label:Cardcount;label:Label1;";
    const QStringList log =
        Run(QString(kGuest) + "menu:deckmanagermen;" + shown +
                "menu:loadplrmen;file:" + QString::fromStdString((folder_ / "Cut.plr").string()) +
                ";" + shown + "menu:quitmen",
            "menu:quitmen");
    fs::remove(folder_ / "Cut.plr");
    if (QTest::currentTestFailed()) return;
    const QStringList labels = log.filter(QRegularExpression("^done label:"));
    QCOMPARE(labels.size(), 4);
    QVERIFY2(labels[0] != "done label:Cardcount (Cards: 0)", qPrintable(labels[0]));
    QCOMPARE(labels[2], labels[0]);
    QCOMPARE(labels[3], labels[1]);
    const QStringList told = log.filter(QRegularExpression("^message: "));
    QCOMPARE(told.size(), 1);
    QVERIFY2(told[0].startsWith("message: Error in reading cards: ") &&
                 told[0].contains("Cut.plr, line "),
             qPrintable(told[0]));
}

}  // namespace dv::ui

int main(int argc, char** argv) {
    return dv::test::RunWindowTest<dv::ui::ProgramEndTest>(argc, argv);
}

#include "program_end_e2e_test.moc"
