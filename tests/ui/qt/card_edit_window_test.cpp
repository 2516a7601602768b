// The card designer window: a menu command reaches the logic and the form shows its answer, a
// typed edit lands in the card and closing offers to save, "Add Effect" appends the effect
// picker's script, the card view hands a clicked card back, and a card handed over by the deck
// manager comes back edited without the file controls.

#include "ui/designer/card_edit_window.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <filesystem>

#include "engine/model/cards.h"
#include "engine/model/state.h"
#include "engine/rules/trait_changes.h"
#include "tests/support/owned_card.h"
#include "tests/ui/qt/support/window_seams.h"
#include "tests/ui/qt/support/window_steps.h"
#include "tests/ui/qt/support/window_test_main.h"
#include "ui/decks/designer_link.h"
#include "ui/designer/effect_picker_dialog.h"

namespace dv::ui {
namespace {

namespace fs = std::filesystem;

using test::Child;

}  // namespace

class CardEditWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        QVERIFY(folder_.isValid());
        seams_.Install(folder_.path().toStdString());
        setFile_ = (fs::path(folder_.path().toStdString()) / "Mosslight_Set.txt").string();
        fs::copy_file(fs::path(DV_SOURCE_DIR) / "content/Mosslight/Mosslight_Set.txt", setFile_,
                      fs::copy_options::overwrite_existing);
    }
    void cleanup() {
        test::DropModalAnswers();
        seams_.Remove();
    }

    void aLoadedCardTakesATypedValueAndClosingOffersToSave() {
        bool mainShown = false;
        CardEditWindow window(DesignerOpener::MainMenu, {[&] { mainShown = true; }});
        window.show();
        seams_.dialogs.files = {setFile_};
        test::ChooseMenuItem(window, "loaddeckmen");
        auto* cards = Child<QComboBox>(window, "CardCombo");
        QVERIFY(cards->count() > 10);
        QCOMPARE(cards->currentIndex(), 0);
        QCOMPARE(Child<QLineEdit>(window, "CardText_0")->text(), QString("Lamplighter"));
        QCOMPARE(Child<QLineEdit>(window, "TraitText_1")->text(), QString("HP"));
        QVERIFY2(!Child<QPushButton>(window, "Command3")->isVisible(), "Random Pic stays hidden");

        test::Retype(Child<QPlainTextEdit>(window, "ValueText_1"), "25");
        test::ClickButton(window, "Command6");
        Card& saved = St().EditCards[1];
        QCOMPARE(saved.TraitValues[GetTraitNum(saved, "HP")], std::string("25"));
        seams_.dialogs.answers = {false};
        window.close();
        QVERIFY(mainShown);
        QCOMPARE(seams_.dialogs.asked.back(), std::string("Save cards now?"));
    }

    // Yes to saving, then Cancel in the save dialog, closed the window with the cards unsaved.
    void aCloseWhoseSaveWasCancelledStaysOpen() {
        bool mainShown = false;
        CardEditWindow window(DesignerOpener::MainMenu, {[&] { mainShown = true; }});
        window.show();
        test::Retype(Child<QLineEdit>(window, "CardText_0"), "Solo");
        seams_.dialogs.answers = {true};
        window.close();
        QVERIFY(window.isVisible() && !mainShown);
        QCOMPARE(Child<QLineEdit>(window, "CardText_0")->text(), QString("Solo"));
        seams_.dialogs.answers = {false};
        window.close();
        QVERIFY(!window.isVisible() && mainShown);
    }

    void addEffectAppendsThePickersScript() {
        CardEditWindow window(DesignerOpener::MainMenu, {});
        window.show();
        seams_.dialogs.files = {setFile_};
        test::ChooseMenuItem(window, "loaddeckmen");
        QTest::keyClicks(Child<QLineEdit>(window, "EffText_0"), "MODTRAIT:HP:1:");
        const test::Answered driven = test::AnswerModalOf<EffectPickerDialog>([](QWidget* picker) {
            constexpr int kDestroy = 44;
            QVERIFY(test::PickEntryAt(Child<QComboBox>(*picker, "Combo1_0"), kDestroy));
            test::ClickButton(*picker, "Command1");  // "Done"
        });
        test::ClickButton(window, "EffButton_0");  // "Add Effect"
        QVERIFY(*driven);
        QCOMPARE(Child<QLineEdit>(window, "EffText_0")->text(), QString("MODTRAIT:HP:1:DESTROY:"));
        window.close();
    }

    void aCardClickedInTheCardViewComesBackToTheDesigner() {
        InstallDesignerLink();
        CardEditWindow window(DesignerOpener::MainMenu, {});
        window.show();
        seams_.dialogs.files = {setFile_};
        test::ChooseMenuItem(window, "loaddeckmen");
        test::ClickButton(window, "viewcardsbutton");
        QVERIFY(!window.isVisible());
        QCOMPARE(St().DeckManagerMode, kCardView);
        QWidget* deckManager = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == "DeckManager" && top->isVisible()) deckManager = top;
        QVERIFY(deckManager);
        QTest::mouseClick(Child<QWidget>(*deckManager, "CollectPic_2"), Qt::LeftButton);
        QVERIFY(window.isVisible());
        QCOMPARE(St().EditIndex, int16_t{3});
        QCOMPARE(Child<QLineEdit>(window, "CardText_0")->text(),
                 QString::fromStdString(St().EditCards[3].Name));
        QCOMPARE(Child<QComboBox>(window, "CardCombo")->currentIndex(), 2);
        window.close();
        SetDesignerLink(nullptr);
    }

    void aCardFromTheDeckManagerComesBackEdited() {
        St().CurrentCard = test::OwnedCard();
        St().EditFromDeckManager = 1;
        bool checked = false;
        QTimer::singleShot(0, this, [&] {
            // Not the designer the deck manager and a test game hand back to: that stays the one
            // from the menu.
            QVERIFY(!TheCardEditor());
            auto* window = qobject_cast<CardEditWindow*>(QApplication::activeModalWidget());
            QVERIFY(window);
            QVERIFY(!Child<QWidget>(*window, "CardActionFrame")->isVisible());
            QVERIFY(!Child<QWidget>(*window, "ButtonFrame")->isVisible());
            QVERIFY(!Child<QMenu>(*window, "filemen")->menuAction()->isVisible());
            QVERIFY(Child<QLineEdit>(*window, "TraitText_0")->isReadOnly());
            QTest::keyClicks(Child<QLineEdit>(*window, "CardText_1"), "3 glow");
            checked = true;
            window->close();
        });
        EditCollectionCard(nullptr);
        QVERIFY(checked);
        QCOMPARE(St().CurrentCard.CostDesc, std::string("3 glow"));
        QVERIFY(seams_.dialogs.asked.empty());
        QCOMPARE(TheCardEditor(), static_cast<CardEditWindow*>(nullptr));
    }

  private:
    test::WindowSeams seams_;
    QTemporaryDir folder_;
    std::string setFile_;
};

}  // namespace dv::ui

int main(int argc, char** argv) {
    return dv::test::RunWindowTest<dv::ui::CardEditWindowTest>(argc, argv);
}

#include "card_edit_window_test.moc"
