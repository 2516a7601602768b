// The card designer that the deck manager opens on one collection card ("Change Card Image"),
// among the program's real windows: closing it hands the card back to the deck manager that is
// still open, without offering to save a card file and without a new game; and a designer from the
// main menu, hidden during its test game, keeps its card file, its card and its test through it.

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/model/state.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/ui/qt/support/page_clicks.h"
#include "tests/ui/qt/support/program_steps.h"
#include "tests/ui/qt/support/window_steps.h"
#include "tests/ui/qt/support/window_test_main.h"
#include "ui/common/engine_guard.h"
#include "ui/decks/deck_manager_window.h"
#include "ui/designer/card_edit_window.h"
#include "ui/main/hand_picture_widget.h"
#include "ui/main/main_window.h"
#include "ui/main/program.h"

namespace dv::ui {
namespace {

namespace fs = std::filesystem;
using test::Child;

constexpr int kWaitMs = 30000;
constexpr const char* kSaveQuestion = "Save cards now?";

template <class Cards>
std::vector<std::string> Names(const Cards& cards) {
    std::vector<std::string> names;
    for (const Card& card : cards)
        names.push_back(card.Name);
    return names;
}

}  // namespace

class DeckManagerDesignerTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        test::CopySampleGame(Folder());
    }
    void cleanup() {
        test::DropModalAnswers();
        program_.reset();
        ResetState();
    }

    void aCardChangedInMidGameComesBackWithoutASaveOrANewGame();
    void aDesignerHiddenDuringItsTestKeepsItsCardsThroughAChange();

  private:
    fs::path Folder() const { return folder_->path().toStdString(); }
    void StartProgram();
    // The menu's "Deck Manager": the deck's first card taken out into the collection pane,
    // "Change Card Image", that card clicked, its description typed in the designer that opens
    // on it, the designer closed, and then the
    // deck manager. `changed` takes the card's name.
    void ChangeACollectionCard(const QString& text, std::string* changed);

    std::unique_ptr<QTemporaryDir> folder_;
    test::ScriptedDialogs dialogs_;
    std::unique_ptr<Program> program_;
};

void DeckManagerDesignerTest::StartProgram() {
    QVERIFY(test::StartWithFirstProfile(program_, Folder(), dialogs_, 2024));
}

void DeckManagerDesignerTest::ChangeACollectionCard(const QString& text, std::string* changed) {
    bool lockedForm = false;
    bool handedBack = false;
    test::Answered designed;
    const test::Answered managed = test::AnswerModalOf<DeckManager>([&](QWidget* manager) {
        // The deck holds the whole collection: its first card is taken out, into the pane.
        QTest::mouseClick(Child<HandPictureWidget>(*manager, "DeckPic_0"), Qt::LeftButton,
                          Qt::NoModifier, QPoint(5, 5));
        auto* first = Child<HandPictureWidget>(*manager, "CollectPic_0");
        QVERIFY(first->isVisible());
        test::ClickButton(*manager, "Command3");  // "Change Card Image"
        designed = test::AnswerModalOf<CardEditWindow>([&](QWidget* designer) {
            *changed = St().CurrentCard.Name;
            lockedForm = !Child<QWidget>(*designer, "CardActionFrame")->isVisible() &&
                         Child<QLineEdit>(*designer, "CardText_0")->text() ==
                             QString::fromStdString(*changed);
            test::Retype(Child<QPlainTextEdit>(*designer, "DescText"), text);
            designer->close();
        });
        QTest::mouseClick(first, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        handedBack = manager->isVisible();
        manager->close();
    });
    test::ChooseMenuItem(program_->Window(), "deckmanagermen");
    QVERIFY(*managed);
    QVERIFY(designed && *designed);
    QVERIFY2(lockedForm, "the designer shows the card with its actions hidden");
    QVERIFY2(handedBack, "the deck manager is still open after the designer closed");
}

void DeckManagerDesignerTest::aCardChangedInMidGameComesBackWithoutASaveOrANewGame() {
    StartProgram();
    MainWindow& main = program_->Window();
    // The game started through the games page and its deck manager's DONE.
    const test::Answered started = test::AnswerModalOf<DeckManager>(
        [](QWidget* manager) { test::ClickButton(*manager, "Command2"); });
    const QString opponent = test::FirstHrefStartingWith(*main.BoardView(), "GAME:");
    QVERIFY(test::PressLink(*main.BoardView(), opponent));
    QTRY_VERIFY_WITH_TIMEOUT(*started && St().GameStarted == 1 && !EngineGuard::Busy(), kWaitMs);
    const std::vector<std::string> inPlay = Names(St().InPlay);
    const std::vector<std::string> hand = Names(St().Players[1].Hand);
    QVERIFY(std::count(inPlay.begin(), inPlay.end(), "Bogwarden") == 1);

    std::string changed;
    ChangeACollectionCard("A changed card.", &changed);
    if (QTest::currentTestFailed()) return;

    const auto asked = std::find(dialogs_.asked.begin(), dialogs_.asked.end(), kSaveQuestion);
    QVERIFY2(asked == dialogs_.asked.end(), "the designer offered to save a card file");
    QCOMPARE(Names(St().InPlay), inPlay);
    QCOMPARE(Names(St().Players[1].Hand), hand);
    QVERIFY(main.isVisible());
    QVERIFY(!TheCardEditor());
    QCOMPARE(St().EditFromDeckManager, uint8_t{0});
    bool kept = false;
    for (const Card& card : St().Collection)
        kept |= card.Name == changed && card.Description == "A changed card.";
    QVERIFY2(kept, "the collection holds the changed card");
}

void DeckManagerDesignerTest::aDesignerHiddenDuringItsTestKeepsItsCardsThroughAChange() {
    StartProgram();
    MainWindow& main = program_->Window();
    test::ChooseMenuItem(main, "EditMen");
    CardEditWindow* designer = TheCardEditor();
    QVERIFY(designer);
    dialogs_.files = {(Folder() / "Mosslight" / "Mosslight_Set.txt").string()};
    test::ChooseMenuItem(*designer, "loaddeckmen");
    test::ChooseMenuItem(*designer, "testcardsmen");
    DeckManager* tester = designer->findChild<DeckManager*>();
    QVERIFY(tester && tester->isVisible());
    QTest::mouseClick(Child<HandPictureWidget>(*tester, "CollectPic_0"), Qt::LeftButton,
                      Qt::NoModifier, QPoint(5, 5));
    test::ClickButton(*tester, "Command2");  // DONE: the test game
    QTRY_VERIFY_WITH_TIMEOUT(main.isVisible(), kWaitMs);
    QCOMPARE(St().EditorTest, uint8_t{1});

    // The test game given up: its new game leaves the designer hidden and the deck manager free.
    test::ChooseMenuItem(main, "newgamemen");  // "Quit / New Game"
    QVERIFY(Child<QAction>(main, "deckmanagermen")->isEnabled());
    const std::vector<std::string> cards = Names(St().EditCards);
    const int16_t shown = St().EditIndex;
    const std::string designing = St().CurrentCard.Name;
    const int templates = St().Templates.size();
    QVERIFY(cards.size() > 1);

    std::string changed;
    ChangeACollectionCard("A changed card.", &changed);
    if (QTest::currentTestFailed()) return;

    QCOMPARE(TheCardEditor(), designer);
    QCOMPARE(St().EditorTest, uint8_t{1});
    QCOMPARE(St().DesignerActive, uint8_t{1});
    QCOMPARE(Names(St().EditCards), cards);
    QCOMPARE(St().EditIndex, shown);
    QCOMPARE(St().Templates.size(), templates);

    // Closing the main window still goes back to the designer, showing its card; storing it
    // stores that card, not a nameless one over it.
    QVERIFY(!main.close());
    QTRY_VERIFY_WITH_TIMEOUT(designer->isVisible(), kWaitMs);
    QCOMPARE(Child<QLineEdit>(*designer, "CardText_0")->text(), QString::fromStdString(designing));
    test::ClickButton(*designer, "Command6");  // "Save Card"
    QCOMPARE(Names(St().EditCards), cards);
    dialogs_.answers = {false};
    QVERIFY(designer->close());
    QCOMPARE(dialogs_.asked.back(), std::string(kSaveQuestion));
    QVERIFY(main.isVisible());
}

}  // namespace dv::ui

int main(int argc, char** argv) {
    return dv::test::RunWindowTest<dv::ui::DeckManagerDesignerTest>(argc, argv);
}

#include "deck_manager_designer_test.moc"
