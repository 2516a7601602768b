// The card designer end to end in the real windows: "Card Editor" from the main menu, the sample
// set loaded, a new card made from a template, a trait and an action script edited, the error
// check clean, the cost calculated, the file saved under a new name and read back by the engine
// holding the card exactly; closing brings the main window back with a new game.

#include <QAction>
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
#include "tests/ui/qt/support/page_clicks.h"
#include "ui/designer/card_edit_window.h"
#include "ui/main/help_window.h"
#include "ui/main/main_window.h"
#include "ui/main/program.h"
#include "ui/main/qt_host.h"

namespace dv::ui {
namespace {

namespace fs = std::filesystem;

template <class W>
W* Child(QWidget& parent, const QString& name) {
    W* widget = parent.findChild<W*>(name);
    if (!widget) qFatal("no widget %s", qPrintable(name));
    return widget;
}

void Trigger(QWidget& window, const char* name) {
    QAction* action = window.findChild<QAction*>(name);
    if (!action) qFatal("no menu item %s", name);
    action->trigger();
}

void Click(QWidget& window, const QString& name) {
    QTest::mouseClick(Child<QPushButton>(window, name), Qt::LeftButton);
}

void Choose(QWidget& window, const QString& name, const QString& entry) {
    auto* combo = Child<QComboBox>(window, name);
    const int position = combo->findText(entry);
    if (position < 0) qFatal("%s offers no %s", qPrintable(name), qPrintable(entry));
    combo->setCurrentIndex(position);
    emit combo->activated(position);
}

void Retype(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

}  // namespace

class CardDesignerEndToEndTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY(folder_.isValid());
        fs::copy(fs::path(DV_SOURCE_DIR) / "content", folder_.path().toStdString(),
                 fs::copy_options::recursive);
        ResetState();
    }

    void aNewCardFromATemplateIsDesignedSavedAndReadBack() {
        const fs::path programFolder = folder_.path().toStdString();
        Program program(programFolder, &dialogs_);
        program.Host().SetAnswer(WindowCall::ShowProfileMenu, [](const std::string&) {
            St().CurrentProfile = {"Guest", "Mosslight_Guest.plr", "Mosslight.gam", {}};
        });
        QVERIFY(program.Start());
        MainWindow& main = program.Window();
        QVERIFY(main.isVisible());

        Trigger(main, "EditMen");
        CardEditWindow* designer = TheCardEditor();
        QVERIFY(designer);
        QVERIFY(designer->isVisible());
        QVERIFY(!main.isVisible());

        dialogs_.files = {(programFolder / "Mosslight" / "Mosslight_Set.txt").string()};
        Trigger(*designer, "loaddeckmen");
        Choose(*designer, "CardCombo", "Mossling");
        QCOMPARE(Child<QLineEdit>(*designer, "CardText_0")->text(), QString("Mossling"));
        Click(*designer, "Command5");  // "Save As Template"
        Choose(*designer, "TemplateCombo", "Mossling");
        Click(*designer, "Command2_2");  // "New Card from Template"
        QCOMPARE(Child<QLineEdit>(*designer, "CardText_0")->text(), QString("New Mossling"));
        QCOMPARE(Child<QComboBox>(*designer, "CardCombo")->currentText(), QString("New Mossling"));

        // The trait rows start CREATURE, POWER; the action rows COST, ENTERPLAY.
        QCOMPARE(Child<QLineEdit>(*designer, "TraitText_1")->text(), QString("POWER"));
        auto* power = Child<QPlainTextEdit>(*designer, "ValueText_1");
        power->selectAll();
        QTest::keyClicks(power, "3");
        Retype(Child<QLineEdit>(*designer, "EffText_1"), "ECHOMINOR:A new Mossling wakes.");
        Click(*designer, "Command6");  // "Save Card"

        dialogs_.messages.clear();
        Trigger(*designer, "errorcheckmen");
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
        Trigger(*designer, "savedeckasmen");
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
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    dv::ui::CardDesignerEndToEndTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "card_designer_e2e_test.moc"
