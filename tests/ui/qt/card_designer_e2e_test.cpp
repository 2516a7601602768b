// The card designer end to end in the real windows: "Card Editor" from the main menu, the sample
// set loaded, a new card made from a template, a trait and an action script edited, the error
// check clean, the cost calculated, the file saved under a new name and read back by the engine
// holding the card exactly; closing brings the main window back with a new game.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>

#include "data/card_files.h"
#include "engine/model/cards.h"
#include "engine/model/state.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/ui/qt/support/designer_steps.h"
#include "tests/ui/qt/support/page_clicks.h"
#include "tests/ui/qt/support/program_steps.h"
#include "tests/ui/qt/support/window_steps.h"
#include "tests/ui/qt/support/window_test_main.h"
#include "ui/designer/card_edit_window.h"
#include "ui/main/help_window.h"
#include "ui/main/main_window.h"
#include "ui/main/program.h"

namespace dv::ui {
namespace {

namespace fs = std::filesystem;

using test::Child;

}  // namespace

class CardDesignerEndToEndTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY(folder_.isValid());
        test::CopySampleGame(folder_.path().toStdString());
        ResetState();
    }

    void aNewCardFromATemplateIsDesignedSavedAndReadBack() {
        const fs::path programFolder = folder_.path().toStdString();
        std::unique_ptr<Program> program;
        QVERIFY(test::StartAsGuest(program, programFolder, dialogs_));
        MainWindow& main = program->Window();
        QVERIFY(main.isVisible());

        CardEditWindow* designer = test::NewCardFromTemplate(
            main, dialogs_, (programFolder / "Mosslight" / "Mosslight_Set.txt").string(),
            "Mossling");
        QVERIFY(designer);
        QVERIFY(!main.isVisible());
        QCOMPARE(Child<QLineEdit>(*designer, "CardText_0")->text(), QString("New Mossling"));
        QCOMPARE(Child<QComboBox>(*designer, "CardCombo")->currentText(), QString("New Mossling"));

        // The trait rows start CREATURE, POWER; the action rows COST, ENTERPLAY.
        QCOMPARE(Child<QLineEdit>(*designer, "TraitText_1")->text(), QString("POWER"));
        test::Retype(Child<QPlainTextEdit>(*designer, "ValueText_1"), "3");
        test::Retype(Child<QLineEdit>(*designer, "EffText_1"), "ECHOMINOR:A new Mossling wakes.");
        test::ClickButton(*designer, "Command6");  // "Save Card"

        dialogs_.messages.clear();
        test::ChooseMenuItem(*designer, "errorcheckmen");
        QCOMPARE(dialogs_.messages, std::vector<std::string>{"No errors found."});

        auto* cost = Child<QPushButton>(*designer, "CostButton");
        QVERIFY(cost->isVisible());
        QTest::mouseClick(cost, Qt::LeftButton);
        const Card& designed = St().EditCards[St().EditIndex];
        QCOMPARE(designed.Name, std::string("New Mossling"));
        const int glowCost = GetTraitNum(designed, "GLOWCOST");
        QVERIFY(glowCost != 0);
        // The cost card prices a creature of POWER 3 and HP 2 at 2 glow (the Mossling it came
        // from, of POWER 1, at 1).
        QCOMPARE(designed.TraitValues[glowCost], std::string("2"));
        QCOMPARE(Child<QPlainTextEdit>(*designer, "ValueText_1")->toPlainText(), QString("3"));

        const std::string saved = (programFolder / "Mosslight" / "Designed_Set.txt").string();
        dialogs_.files = {saved};
        test::ChooseMenuItem(*designer, "savedeckasmen");
        Card expected = designed;
        List<Card> read;
        ReadCards(read, saved, St().LoadPlayer);
        int found = 0;
        for (int i = 1; i <= read.size(); ++i)
            if (read[i].Name == "New Mossling") found = i;
        QVERIFY(found != 0);
        Card& back = read[found];
        QCOMPARE(CardFileText(back, "COLLECTION"), CardFileText(expected, "COLLECTION"));
        QCOMPARE(back.TraitValues[GetTraitNum(back, "POWER")], std::string("3"));
        QCOMPARE(back.Effects[2].Text, std::string("ECHOMINOR:A new Mossling wakes."));
        QCOMPARE(back.UniqueName, expected.UniqueName);

        dialogs_.answers = {false};  // "Save cards now?"
        designer->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!TheCardEditor());
        QVERIFY(main.isVisible());
        QCOMPARE(St().EditorTest, uint8_t{0});
        QCOMPARE(St().DesignerActive, uint8_t{0});
        QVERIFY(St().Collection.size() > 1);
        QVERIFY(test::PageText(*main.BoardView()).contains("Mosslight"));
    }

  private:
    QTemporaryDir folder_;
    test::ScriptedDialogs dialogs_;
};

}  // namespace dv::ui

int main(int argc, char** argv) {
    return dv::test::RunWindowTest<dv::ui::CardDesignerEndToEndTest>(argc, argv);
}

#include "card_designer_e2e_test.moc"
