// A card author's files through the program's real windows, judged by the files on disk: a load
// that fails changes nothing, so the next Save Cards writes the file the author had; each load
// starts from no templates; a name typed without ".txt" over an existing file is asked about; and
// a card test whose deck manager sorted the cards leaves the designer's list and card as they were.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "engine/model/cards.h"
#include "engine/model/state.h"
#include "tests/support/scripted_dialogs.h"
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

std::string FileText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

}  // namespace

class CardAuthorFilesTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        test::CopySampleGame(Folder());
        fs::copy_file(Set("Mosslight_Set.txt"), Set("My_Set.txt"));
    }
    void cleanup() {
        test::DropModalAnswers();
        program_.reset();
        ResetState();
    }

    void aFailedLoadOrAReplacedNameLosesNoFile() {
        CardEditWindow* designer = OpenDesigner();
        QVERIFY(designer);
        Load(*designer, "My_Set.txt");
        test::ClickButton(*designer, "Command5");  // "Save As Template"
        test::ChooseMenuItem(*designer, "savedeckmen");
        const std::string mine = FileText(Set("My_Set.txt"));
        QCOMPARE(Count(mine, "\r\n#TEMPLATEDATA,"), 1);
        QCOMPARE(Count(mine, "\r\n#CARD, COLLECTION,"), 42);

        // A received file with one good card, then template data before any template.
        const std::string good =
            "#CARD, COLLECTION, \"Fen Newt\", \"fennewt:7001\", , , , "
            "#40A040, \"A newt.\"\r\n#TRAIT, \"HP:1\"\r\n";
        {
            std::ofstream(Set("Bad.txt"), std::ios::binary)
                << good << "#TEMPLATEDATA, b.bmp, , 0\r\n";
        }
        const std::string bad = FileText(Set("Bad.txt"));
        dialogs_.messages.clear();
        Load(*designer, "Bad.txt");
        QVERIFY(!dialogs_.messages.empty());
        QVERIFY2(dialogs_.messages.back().ends_with("; nothing was loaded"),
                 dialogs_.messages.back().c_str());
        test::ChooseMenuItem(*designer, "savedeckmen");
        QCOMPARE(FileText(Set("My_Set.txt")), mine);
        QCOMPARE(FileText(Set("Bad.txt")), bad);

        // Another file's templates are not written into a file that has none.
        { std::ofstream(Set("Small.txt"), std::ios::binary) << good; }
        Load(*designer, "Small.txt");
        test::ChooseMenuItem(*designer, "savedeckmen");
        const std::string small = FileText(Set("Small.txt"));
        QCOMPARE(Count(small, "#TEMPLATE"), 0);
        QCOMPARE(Count(small, "\r\n#CARD, COLLECTION,"), 1);

        // "My_Set" typed over the existing "My_Set.txt": asked, and No writes nothing.
        dialogs_.asked.clear();
        dialogs_.files = {(Folder() / "Mosslight" / "My_Set").string()};
        dialogs_.answers = {false};
        test::ChooseMenuItem(*designer, "savedeckasmen");
        QCOMPARE(dialogs_.asked.back(),
                 std::string("My_Set.txt already exists. Do you want to replace it?"));
        QCOMPARE(FileText(Set("My_Set.txt")), mine);
        CloseDesigner(*designer);
    }

    void aCardTestWithASortLeavesTheDesignersListAndCardAsTheyWere() {
        CardEditWindow* designer = OpenDesigner();
        QVERIFY(designer);
        Load(*designer, "My_Set.txt");
        const QString shown = Child<QLineEdit>(*designer, "CardText_0")->text();
        QCOMPARE(shown, QString("Lamplighter"));
        test::ChooseMenuItem(*designer, "testcardsmen");
        DeckManager* tester = designer->findChild<DeckManager*>();
        QVERIFY(tester && tester->isVisible());
        test::ClickButton(*tester, "Command1_2");  // "Sort Collection by Name"
        QTest::mouseClick(Child<HandPictureWidget>(*tester, "CollectPic_0"), Qt::LeftButton,
                          Qt::NoModifier, QPoint(5, 5));
        test::ClickButton(*tester, "Command2");  // DONE: the test game
        MainWindow& main = program_->Window();
        QTRY_VERIFY_WITH_TIMEOUT(main.isVisible() && !EngineGuard::Busy(), kWaitMs);
        QCOMPARE(St().EditorTest, uint8_t{1});
        for (int p = 1; p <= 2; ++p) {
            const Card* player = InPlayCard(St().Players[p].CardIndex);
            QVERIFY2(!player || player->Name.empty(), "a test card stands for a player");
        }

        test::ChooseMenuItem(main, "EditMen");  // back to the Card Editor
        QTRY_VERIFY_WITH_TIMEOUT(designer->isVisible(), kWaitMs);
        QCOMPARE(Child<QLineEdit>(*designer, "CardText_0")->text(), shown);
        QCOMPARE(Child<QComboBox>(*designer, "CardCombo")->currentText(), shown);
        test::ClickButton(*designer, "Command6");  // "Save Card"
        dialogs_.files = {(Folder() / "Mosslight" / "After_Test.txt").string()};
        test::ChooseMenuItem(*designer, "savedeckasmen");
        const std::string after = FileText(Set("After_Test.txt"));
        QCOMPARE(Count(after, "\r\n#CARD, COLLECTION,"), 42);
        QCOMPARE(Count(after, "\"Lamplighter\""), 1);
        QCOMPARE(Count(after, "\"Bog Hound\""), 1);
        CloseDesigner(*designer);
    }

  private:
    fs::path Folder() const { return folder_->path().toStdString(); }
    fs::path Set(const std::string& name) const { return Folder() / "Mosslight" / name; }

    CardEditWindow* OpenDesigner() {
        if (!test::StartWithFirstProfile(program_, Folder(), dialogs_, 2024)) return nullptr;
        test::ChooseMenuItem(program_->Window(), "EditMen");
        return TheCardEditor();
    }
    void Load(CardEditWindow& designer, const std::string& name) {
        dialogs_.files = {Set(name).string()};
        test::ChooseMenuItem(designer, "loaddeckmen");
    }
    void CloseDesigner(CardEditWindow& designer) {
        dialogs_.answers = {false};  // "Save cards now?"
        designer.close();
        QVERIFY(!designer.isVisible());
    }

    std::unique_ptr<QTemporaryDir> folder_;
    test::ScriptedDialogs dialogs_;
    std::unique_ptr<Program> program_;
};

}  // namespace dv::ui

int main(int argc, char** argv) {
    return dv::test::RunWindowTest<dv::ui::CardAuthorFilesTest>(argc, argv);
}

#include "card_author_files_e2e_test.moc"
