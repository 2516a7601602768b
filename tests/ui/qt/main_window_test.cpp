// The main window's wiring: the hand strip shows the hand and queues on release, real clicks in
// the board and card views reach the link router, the layout keeps its minimum and shows the chat
// panel on a connection, and the buttons and menus reach their commands.

#include "ui/main/main_window.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <clocale>
#include <filesystem>

#include "engine/model/cards.h"
#include "engine/model/files.h"
#include "engine/model/state.h"
#include "engine/model/value.h"
#include "engine/pages/page_buffer.h"
#include "game/play_queue.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/ui/qt/support/page_clicks.h"
#include "tests/ui/qt/support/program_steps.h"
#include "tests/ui/qt/support/window_steps.h"
#include "tests/ui/qt/support/window_test_main.h"
#include "ui/common/qt_dialogs.h"
#include "ui/designer/card_edit_window.h"
#include "ui/main/program.h"
#include "ui/main/qt_connection.h"
#include "ui/main/qt_host.h"
#include "viewer/ulk_browser.h"

namespace dv::ui {
namespace {

namespace fs = std::filesystem;

constexpr int kWaitMs = 20000;

using test::Child;

// A card of the sample game's pictures, in hand slot `slot` of the human player.
void InHand(int slot, const std::string& name, const std::string& picture,
            const std::string& colour) {
    Card& card = St().Players[1].Hand[slot];
    InitCard(card, 1, 0);
    card.Name = name;
    card.Thumbnail = picture;
    card.Colour = colour;
}

int PutInPlay(const std::string& name, int32_t gid, int owner) {
    Card card;
    InitCard(card, owner, 1);
    card.Name = name;
    card.GID = gid;
    const int n = St().InPlay.PushBack(card);
    St().InPlay[n].Index = n;
    return n;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void init() {
        root_ = std::make_unique<QTemporaryDir>();
        folder_ = fs::path(root_->path().toStdString()) / "program folder";
        fs::create_directories(folder_);
        test::CopySampleGame(folder_);
        ResetState();
        dialogs_ = test::ScriptedDialogs{};
        program_ = std::make_unique<Program>(folder_, &dialogs_);
        St().Players[1].Hand = List<Card>(10);
        St().GameRunning = 1;
        window().show();
    }
    void cleanup() {
        program_.reset();
        ResetState();
    }

    void theHandShowsItsCardsHoverShowsOneAndReleaseQueuesIt() {
        InHand(1, "Glow Moth", "Card-glowmoth-mini.jpg", "#FFD860");
        InHand(2, "Ember Newt", "Card-embernewt-mini.jpg", "#102030");
        InHand(5, "Bog Hound", "Card-boghound-mini.jpg", "#FFFFFF");
        window().UpdateHand();
        for (int slot = 1; slot <= 10; ++slot) {
            const bool held = slot == 1 || slot == 2 || slot == 5;
            QCOMPARE(Child<QLabel>(window(), QString("Picture2_%1").arg(slot))->isVisible(), held);
            QCOMPARE(Child<QLabel>(window(), QString("HandLabel_%1").arg(slot - 1))->isVisible(),
                     held);
        }
        auto* label = Child<QLabel>(window(), "HandLabel_0");
        QCOMPARE(label->text(), QString("Glow Moth"));
        QVERIFY(label->styleSheet().contains("rgb(255, 216, 96)"));
        QVERIFY(!Child<QLabel>(window(), "Picture2_1")->pixmap().isNull());

        QTest::mouseMove(Child<QLabel>(window(), "Picture2_2"), QPoint(10, 10));
        QTRY_VERIFY_WITH_TIMEOUT(test::PageText(*window().CardView()).contains("Ember Newt"),
                                 kWaitMs);

        QTest::mouseRelease(Child<QLabel>(window(), "Picture2_2"), Qt::RightButton, Qt::NoModifier,
                            QPoint(10, 10));
        QCOMPARE(int(St().ActionCards[1]), 2);
        QCOMPARE(int(St().ActionTargets[1]), kDiscardTarget);
        QTRY_VERIFY_WITH_TIMEOUT(test::PageText(*window().QueueView()).contains("Discard"),
                                 kWaitMs);
    }

    // The pointer moves from one hand picture onto another, whose card then loads in the card
    // view, and the click comes while it loads: it was refused by the re-entry guard and lost.
    void aClickOnAHandPictureWhileItsCardLoadsQueuesIt() {
        InHand(1, "Glow Moth", "Card-glowmoth-mini.jpg", "#FFD860");
        InHand(2, "Ember Newt", "Card-embernewt-mini.jpg", "#102030");
        window().UpdateHand();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        window().CardView()->setLoadTimeLimit(kWaitMs);
        QTest::mouseMove(Child<QLabel>(window(), "Picture2_1"), QPoint(10, 10));
        QTRY_VERIFY_WITH_TIMEOUT(test::PageText(*window().CardView()).contains("Glow Moth"),
                                 kWaitMs);
        auto* picture = Child<QLabel>(window(), "Picture2_2");
        QSignalSpy loads(window().CardView()->Document(), &QWebEnginePage::loadFinished);
        bool clicked = false;
        bool clickedWhileLoading = false;
        int queuedInsideTheWait = -1;
        connect(
            window().CardView()->Document(), &QWebEnginePage::loadStarted, this,
            [&] {
                if (std::exchange(clicked, true)) return;
                clickedWhileLoading = loads.count() == 0;
                QTest::mouseClick(window().windowHandle(), Qt::LeftButton, Qt::NoModifier,
                                  picture->mapTo(&window(), QPoint(10, 10)));
                queuedInsideTheWait = St().ActionCards[1];
            },
            Qt::QueuedConnection);
        QTest::mouseMove(picture, QPoint(10, 10));
        QTRY_VERIFY_WITH_TIMEOUT(clicked, kWaitMs);
        QVERIFY(clickedWhileLoading);
        QCOMPARE(queuedInsideTheWait, 0);
        QTRY_COMPARE_WITH_TIMEOUT(int(St().ActionCards[1]), 2, kWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(test::PageText(*window().QueueView()).contains("Ember Newt"),
                                 kWaitMs);
    }

    // A card name is data: laid out as rich text, an <img src> in it loads that file.
    void aNameWithMarkupShowsAsItsOwnText() {
        const fs::path picture = folder_ / "Pictures" / "Card-boghound.jpg";
        const int pictureHeight = QImage(ToQt(picture.string())).height();
        QVERIFY(pictureHeight > 100);
        const std::string name = "<img src='" + picture.string() + "'>Bog <b>Hound</b>";
        InHand(1, name, "Card-boghound-mini.jpg", "#FFFFFF");
        window().UpdateHand();
        auto* label = Child<QLabel>(window(), "HandLabel_0");
        QCOMPARE(label->text(), ToQt(name));
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QVERIFY2(label->sizeHint().height() < pictureHeight, "the picture is not laid out");
    }

    // A press on the name inside a card link reaches the router through the link's href; the
    // card view's action menu then switches the card's action.
    void realClicksInTheBoardAndCardViewsReachTheLinkRouter() {
        // The player's own card: the enemy's cards offer no actions.
        const int warden = PutInPlay("Bogwarden", 4242, 1);
        const int e =
            AddEffect(St().InPlay[warden], "MODTRAIT:HP:1", 5, "MENU:PHASE1:Ring the Bell", 0, "");
        AddHTML("<p><a href=\"CARD4242\"><font color=#FF0000>Bogwarden</font></a></p>");
        CreateHTML("Display.html", "#000000");
        HTMLDisplay("Display.html");

        QVERIFY(test::PressLink(*window().BoardView(), "CARD4242"));
        QTRY_VERIFY_WITH_TIMEOUT(test::PageText(*window().CardView()).contains("Ring the Bell"),
                                 kWaitMs);

        const QString action = QString("MENUACTION:4242:%1").arg(e);
        QVERIFY(test::PressLink(*window().CardView(), action));
        QTRY_COMPARE_WITH_TIMEOUT(int(St().InPlay[warden].Effects[e].MenuState), 2, kWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(
            test::PageText(*window().QueueView()).contains("uses special action"), kWaitMs);
    }

    void theLayoutKeepsItsMinimumAndAConnectionShowsTheChatPanel() {
        window().resize(300, 200);
        QTest::qWait(50);
        QWidget* area = window().centralWidget();
        QVERIFY(area->width() >= 720);
        QVERIFY(area->height() >= 540);
        ulkBrowser* board = window().BoardView();
        QVERIFY(!window().ChatView()->isVisible());
        QCOMPARE(board->height(), area->height());

        QtConnection& connection = window().Connection();
        QVERIFY(!connection.Server().isListening());
        QVERIFY(connection.Server().listen(QHostAddress::LocalHost));
        QTcpSocket request;
        request.connectToHost(QHostAddress::LocalHost, connection.Server().serverPort());
        QTRY_VERIFY_WITH_TIMEOUT(connection.Accepted() != nullptr, kWaitMs);
        QVERIFY2(!window().ChatView()->isVisible(), "an accepted request alone shows nothing");

        connection.Socket().connectToHost(QHostAddress::LocalHost,
                                          connection.Server().serverPort());
        QTRY_VERIFY_WITH_TIMEOUT(window().ChatView()->isVisible(), kWaitMs);
        QCOMPARE(int(St().Connected), 1);
        QVERIFY(Child<QWidget>(window(), "Text1")->isVisible());
        QVERIFY(Child<QWidget>(window(), "TextColorButton")->isVisible());
        QCOMPARE(board->height() + window().ChatView()->height() + 25, area->height());
        QCOMPARE(window().ChatView()->y(), board->height());
    }

    void aDecimalCommaLocaleDoesNotChangeHowCardFilesReadNumbers() {
        const char* comma = nullptr;
        for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE.utf8", "fr_FR.utf8"})
            if (std::setlocale(LC_NUMERIC, name)) comma = name;
        if (!comma) QSKIP("no locale with a decimal comma is installed here");
        program_.reset();
        program_ = std::make_unique<Program>(folder_, &dialogs_);
        QCOMPARE(ReadNumber("2.5"), 2.5);
    }

    void buttonsAndMenusReachTheirCommands() {
        QVERIFY(!Child<QPushButton>(window(), "AITurnButton")->isVisible());
        QVERIFY(!Child<QPushButton>(window(), "Command3")->isVisible());
        QVERIFY(!Child<QPushButton>(window(), "backbutton")->isVisible());

        auto* debug = Child<QAction>(window(), "debugmen");
        debug->trigger();
        QVERIFY(debug->isChecked());
        QCOMPARE(int(St().DebugMode), 1);
        debug->trigger();
        QVERIFY(!debug->isChecked());

        auto* editor = Child<QAction>(window(), "EditMen");
        window().SetCardEditorOpener({});
        QVERIFY2(!editor->isEnabled(), "without a designer the item is off");
        int opened = 0;
        window().SetCardEditorOpener([&] { ++opened; });
        QVERIFY(editor->isEnabled());
        editor->trigger();
        QCOMPARE(opened, 1);
        QVERIFY2(!window().isVisible(), "the designer takes the main window's place");
        window().ShowFromEngine();
        QVERIFY(window().isVisible());

        // "Take Turn" once the game is over starts a new game: the games page comes back.
        St().CurrentProfile.Name = "Guest";
        St().GameOver = 1;
        // The game was a card test, which found debug mode off: the new game ends the test.
        debug->trigger();
        St().DebugModeBeforeTest = 0;
        test::ClickButton(window(), "Command1");
        QCOMPARE(int(St().GameOver), 0);
        QTRY_VERIFY_WITH_TIMEOUT(test::PageText(*window().BoardView()).contains("Mosslight"),
                                 kWaitMs);
        QCOMPARE(Child<QPushButton>(window(), "Command1")->text(), QString("Take Turn"));
        // On the games page there is no game to play a turn of.
        test::ClickButton(window(), "Command1");
        QCOMPARE(St().TurnsPlayed, 0);
        QVERIFY(test::PageText(*window().BoardView()).contains("Mosslight"));
        QCOMPARE(int(St().DebugMode), 0);
        QVERIFY2(!debug->isChecked(), "the check mark kept the test's debug mode");
    }

    // The main window closed, or the program told to end (as each Quit tells it), while the
    // designer held cards never saved: the process ended and the cards were lost unasked.
    void theDesignersCardsAreAskedAboutBeforeTheProgramEnds_data() {
        QTest::addColumn<bool>("closed");  // the main window closed; else told to end
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("saveAs");  // "": the save dialog cancelled
        for (const bool closed : {true, false}) {
            const char* way = closed ? "main window closed" : "told to end";
            QTest::addRow("%s, Yes and saved: it ends, the cards on disk", way)
                << closed << true << "Mine.txt";
            QTest::addRow("%s, Yes then Cancel: both windows stay", way) << closed << true << "";
            QTest::addRow("%s, No: it ends", way) << closed << false << "";
        }
    }
    void theDesignersCardsAreAskedAboutBeforeTheProgramEnds() {
        QFETCH(bool, closed);
        QFETCH(bool, yes);
        QFETCH(QString, saveAs);
        const bool ends = !yes || !saveAs.isEmpty();
        const QPointer<CardEditWindow> designer = OpenCardEditor({});
        test::Retype(Child<QLineEdit>(*designer, "CardText_0"), "Solo");
        dialogs_.answers = {yes};
        dialogs_.files = {(folder_ / saveAs.toStdString()).string()};
        if (saveAs.isEmpty()) dialogs_.files = {std::nullopt};
        St().EndProgram = closed ? 0 : 1;
        const bool ended = test::EndsTheEventLoop([&] {
            if (closed)
                window().close();
            else
                TheHost().Call(WindowCall::EndProgram, "");
        });
        QVERIFY2(!dialogs_.asked.empty() && dialogs_.asked.front() == "Save cards now?",
                 "the designer was not asked");
        QCOMPARE(ended, ends);
        QCOMPARE(window().isVisible(), !ends);
        QCOMPARE(St().EndProgram != 0, !closed && ends);
        QCOMPARE(program_->Host().Ending(), !closed && ends);
        QCOMPARE(designer && designer->isVisible(), !ends || closed);
        if (designer) QCOMPARE(Child<QLineEdit>(*designer, "CardText_0")->text(), QString("Solo"));
        const std::string mine = ReadWholeFile(folder_ / "Mine.txt").value_or("");
        QCOMPARE(mine.find("Solo") != std::string::npos, ends && yes);
        delete designer.data();
    }

  private:
    MainWindow& window() { return program_->Window(); }

    std::unique_ptr<QTemporaryDir> root_;
    fs::path folder_;
    test::ScriptedDialogs dialogs_;
    std::unique_ptr<Program> program_;
};

}  // namespace dv::ui

int main(int argc, char** argv) {
    return dv::test::RunWindowTest<dv::ui::MainWindowTest>(argc, argv);
}

#include "main_window_test.moc"
