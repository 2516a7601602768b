// The card designer end to end in the real windows: "Card Editor" from the main menu, the sample
// set loaded, a new card made from a template, a trait and an action script edited, the error
// check clean, the cost calculated, the file saved under a new name and read back by the engine
// holding the card exactly; closing brings the main window back with a new game. Every card set of
// the sample game loaded, shown card by card and saved under a new name holds what it held.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>
#include <utility>

#include "data/card_files.h"
#include "engine/model/cards.h"
#include "engine/model/state.h"
#include "tests/data/card_fields.h"
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

// What a card file holds as the reader reads it, by what holds each field: its cards by unique
// name, its layout, cost card, templates and tokens. The set stamp is aside: a save stamps the
// cards with the file written. Nothing of the game's state changes.
std::map<std::string, std::string> FileFields(const std::string& file) {
    State& s = St();
    const Card cost = std::exchange(s.CostCard, Card{});
    const List<CardTemplate> templates = std::exchange(s.Templates, List<CardTemplate>(1));
    const std::string gameFile = std::exchange(s.GameFile, std::string());
    Player reader;
    List<Card> cards(1);
    CardFileLayout layout;
    std::map<std::string, std::string> fields;
    if (!ReadCardFile(cards, file, reader, 0, kReadReplace, layout)) fields["read"] = "failed";
    for (Card card : cards) {
        if (card.Name.empty()) continue;
        card.SetFile.clear();
        fields["card " + card.UniqueName] += test::CardFields(card);
    }
    fields["layout"] = test::LayoutFields(layout);
    // The cost card's identifier is drawn at each read: it is not in the file.
    s.CostCard.GID = 0;
    fields["cost card"] = test::CardFields(s.CostCard);
    for (const CardTemplate& t : s.Templates)
        if (!t.card.Name.empty()) fields["template " + t.card.Name] += test::TemplateFields(t);
    fields["tokens"] = std::to_string(reader.Tokens);
    s.CostCard = cost;
    s.Templates = templates;
    s.GameFile = gameFile;
    return fields;
}

// The first field that differs, as "what: old line | new line"; empty when none does.
std::string FirstDifference(const std::map<std::string, std::string>& before,
                            const std::map<std::string, std::string>& after) {
    for (const auto& [what, old] : before) {
        const auto found = after.find(what);
        if (found == after.end()) return what + ": missing from the new file";
        std::istringstream a(old), b(found->second);
        std::string lineA, lineB;
        while (true) {
            const bool moreA = static_cast<bool>(std::getline(a, lineA));
            const bool moreB = static_cast<bool>(std::getline(b, lineB));
            if (!moreA && !moreB) break;
            if (!moreA) lineA = "(none)";
            if (!moreB) lineB = "(none)";
            if (lineA != lineB) return what + ": " + lineA + " | " + lineB;
        }
    }
    for (const auto& [what, text] : after)
        if (!before.contains(what)) return what + ": only in the new file";
    return {};
}

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

    void everyCardSetLoadedShownAndSavedAsHoldsWhatItHeld() {
        const fs::path programFolder = folder_.path().toStdString();
        QTemporaryDir outFolder;
        QVERIFY(outFolder.isValid());
        std::unique_ptr<Program> program;
        QVERIFY(test::StartAsGuest(program, programFolder, dialogs_));
        MainWindow& main = program->Window();
        test::ChooseMenuItem(main, "EditMen");
        CardEditWindow* designer = TheCardEditor();
        QVERIFY(designer && designer->isVisible());
        auto* combo = Child<QComboBox>(*designer, "CardCombo");

        std::vector<std::string> names;
        for (const auto& entry :
             fs::directory_iterator(fs::path(DV_SOURCE_DIR) / "content" / "Mosslight"))
            if (entry.path().extension() == ".txt") names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        std::vector<std::string> loaded;
        for (const std::string& name : names) {
            const std::string file = (programFolder / "Mosslight" / name).string();
            dialogs_.messages.clear();
            dialogs_.answers = {false};  // "Save cards now?" about the file loaded before
            dialogs_.files = {file};
            test::ChooseMenuItem(*designer, "loaddeckmen");
            dialogs_.answers.clear();
            // A deck or starter file holds no cards of a set: the designer loads nothing of it.
            if (St().CardSetFile != file) continue;
            loaded.push_back(name);
            QVERIFY2(combo->count() > 0, name.c_str());
            // The load shows the first card; the down arrow on the list shows each next one.
            combo->setFocus();
            for (int i = 0; i < combo->count(); ++i) {
                if (i > 0) QTest::keyClick(combo, Qt::Key_Down);
                QCOMPARE(combo->currentIndex(), i);
                QCOMPARE(Child<QLineEdit>(*designer, "CardText_0")->text(), combo->itemText(i));
            }
            const std::string out = (fs::path(outFolder.path().toStdString()) / name).string();
            dialogs_.files = {out};
            test::ChooseMenuItem(*designer, "savedeckasmen");
            QVERIFY2(fs::exists(out), out.c_str());
            std::string said;
            for (const std::string& message : dialogs_.messages)
                said += message + " / ";
            QVERIFY2(said.empty(), (name + ": " + said).c_str());
            const std::string difference = FirstDifference(FileFields(file), FileFields(out));
            QVERIFY2(difference.empty(), (name + ", " + difference).c_str());
        }
        QVERIFY(std::ranges::count(loaded, "Mosslight_Set.txt") == 1);
        QVERIFY(std::ranges::count(loaded, "Torvalune_StartingSet.txt") == 1);

        dialogs_.answers = {false};  // "Save cards now?"
        designer->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!TheCardEditor());
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
