// The effect picker's windows: a menu choice reaches the logic, "Done" hands the script back, and
// a "VALBOX:" question is answered in the value generator, counts asking the scope window.

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "engine/model/state.h"
#include "tests/support/recording_host.h"
#include "tests/support/scripted_dialogs.h"
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

template <class W>
W* Child(QWidget& parent, const char* name) {
    W* widget = parent.findChild<W*>(name);
    if (!widget) qFatal("no widget %s", name);
    return widget;
}

void Click(QWidget& parent, const char* name) {
    QTest::mouseClick(Child<QPushButton>(parent, name), Qt::LeftButton);
}

// What the author does: picks an item of a row's list.
void Pick(QWidget& picker, int row, int position) {
    QComboBox* list = Child<QComboBox>(picker, QString("Combo1_%1").arg(row).toUtf8().constData());
    list->setCurrentIndex(position);
    emit list->activated(position);
}

}  // namespace

class EffectPickerWindowsTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        ResetState();
        SetHost(&host_);
        dialogs_ = test::ScriptedDialogs{};
        SetDialogs(&dialogs_);
    }
    void cleanup() {
        SetDialogs(nullptr);
        SetHost(nullptr);
    }

    void aPickFillsItsRowAndDoneReturnsTheRowsInOrder() {
        EffectPickerDialog picker(nullptr);
        picker.SetGeneratorWindow([](const std::string&) { return std::string("5"); });
        dialogs_.inputs = {"HP"};
        Pick(picker, 3, kRequireTraitMore);
        QCOMPARE(Child<QLabel>(picker, "Label1_3")->text(),
                 QString("Target must have a HP of 5 or more."));
        Pick(picker, 0, kRequireAlly);
        QCOMPARE(picker.Value(), std::string());

        Click(picker, "Command1");
        QCOMPARE(picker.result(), int(QDialog::Accepted));
        QCOMPARE(picker.Value(), std::string("REQALLY:REQTRAITMORE:HP:5:"));
    }

    void closingWithoutDoneGivesNothing() {
        EffectPickerDialog picker(nullptr);
        Pick(picker, 0, kDestroy);
        picker.show();
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
                Click(scope, "Command1_2");
                return scope.Scope();
            });
            QTest::keyClicks(Child<QLineEdit>(generator, "Text1"), "1");
            Click(generator, "Command1_10");
            Click(generator, "Command1_0");
            Click(generator, "Command5");
            return generator.Result();
        });
        // The trait first, then the dice and the count inside the generator.
        dialogs_.inputs = {"HP", "2", "6", "HP", ""};
        Pick(picker, 0, kAddToTrait);
        QCOMPARE(asked, std::string("Amount to add to the trait? (This can be negative)"));
        Click(picker, "Command1");
        QCOMPARE(picker.Value(), std::string("MODTRAIT:HP:1/R2Die6/TRAITTOTAL/HP//SRCENEMY:"));
    }

    void pickEffectHandsTheScriptToTheDesigner() {
        bool driven = false;
        QTimer poll;
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* picker = qobject_cast<EffectPickerDialog*>(QApplication::activeModalWidget());
            if (!picker || driven) return;
            driven = true;
            Pick(*picker, 0, kDestroy);
            Click(*picker, "Command1");
        });
        poll.start();
        QCOMPARE(PickEffect(nullptr), std::string("DESTROY:"));
        QVERIFY(driven);
    }

  private:
    test::RecordingHost host_;
    test::ScriptedDialogs dialogs_;
};

}  // namespace dv::ui

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    dv::ui::EffectPickerWindowsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "effect_picker_test.moc"
