// The effect picker's windows: a menu choice reaches the logic, "Done" hands the script back, and
// a "VALBOX:" question is answered in the value generator, counts asking the scope window.

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "engine/model/state.h"
#include "tests/ui/qt/support/window_seams.h"
#include "tests/ui/qt/support/window_steps.h"
#include "tests/ui/qt/support/window_test_main.h"
#include "ui/common/qt_dialogs.h"
#include "ui/designer/effect_picker_dialog.h"
#include "ui/designer/trait_scope_dialog.h"
#include "ui/designer/value_generator_dialog.h"

namespace dv::ui {
namespace {

// Menu positions (from 0) of the entries used here.
constexpr int kRequireAlly = 2;
constexpr int kRequireTraitMore = 6;
constexpr int kDestroy = 44;
constexpr int kAddToTrait = 46;

using test::Child;
using test::ClickButton;

// What the author does: picks an item of a row's list with the mouse; false when it did not take.
bool Pick(QWidget& picker, int row, int position) {
    return test::PickEntryAt(Child<QComboBox>(picker, QString("Combo1_%1").arg(row)), position);
}

}  // namespace

class EffectPickerWindowsTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { seams_.Install(); }
    void cleanup() {
        test::DropModalAnswers();
        seams_.Remove();
    }

    void aPickFillsItsRowAndDoneReturnsTheRowsInOrder() {
        EffectPickerDialog picker(nullptr);
        picker.show();
        picker.SetGeneratorWindow([](const std::string&) { return std::string("5"); });
        seams_.dialogs.inputs = {"HP"};
        QVERIFY(Pick(picker, 3, kRequireTraitMore));
        QCOMPARE(Child<QLabel>(picker, "Label1_3")->text(),
                 QString("Target must have a HP of 5 or more."));
        QVERIFY(Pick(picker, 0, kRequireAlly));
        QCOMPARE(picker.Value(), std::string());

        ClickButton(picker, "Command1");
        QCOMPARE(picker.result(), int(QDialog::Accepted));
        QCOMPARE(picker.Value(), std::string("REQALLY:REQTRAITMORE:HP:5:"));
    }

    void closingWithoutDoneGivesNothing() {
        EffectPickerDialog picker(nullptr);
        picker.show();
        QVERIFY(Pick(picker, 0, kDestroy));
        picker.close();
        QCOMPARE(picker.Value(), std::string());
    }

    void theValueGeneratorAnswersAQuestion() {
        EffectPickerDialog picker(nullptr);
        std::string asked;
        picker.SetGeneratorWindow([&](const std::string& question) {
            ValueGeneratorDialog generator(&picker, question);
            asked = FromQt(Child<QLabel>(generator, "Label1")->text());
            generator.SetScopeChooser([&] {
                TraitScopeDialog scope(&generator);
                ClickButton(scope, "Command1_2");
                return scope.Scope();
            });
            QTest::keyClicks(Child<QLineEdit>(generator, "Text1"), "1");
            ClickButton(generator, "Command1_10");
            ClickButton(generator, "Command1_0");
            ClickButton(generator, "Command5");
            return generator.Result();
        });
        // The trait first, then the dice and the count inside the generator.
        seams_.dialogs.inputs = {"HP", "2", "6", "HP", ""};
        picker.show();
        QVERIFY(Pick(picker, 0, kAddToTrait));
        QCOMPARE(asked, std::string("Amount to add to the trait? (This can be negative)"));
        ClickButton(picker, "Command1");
        QCOMPARE(picker.Value(), std::string("MODTRAIT:HP:1/R2Die6/TRAITTOTAL/HP//SRCENEMY:"));
    }

    void pickEffectHandsTheScriptToTheDesigner() {
        const test::Answered driven = test::AnswerModalOf<EffectPickerDialog>([](QWidget* picker) {
            QVERIFY(Pick(*picker, 0, kDestroy));
            ClickButton(*picker, "Command1");
        });
        QCOMPARE(PickEffect(nullptr), std::string("DESTROY:"));
        QVERIFY(*driven);
    }

  private:
    test::WindowSeams seams_;
};

}  // namespace dv::ui

int main(int argc, char** argv) {
    return dv::test::RunWindowTest<dv::ui::EffectPickerWindowsTest>(argc, argv);
}

#include "effect_picker_test.moc"
