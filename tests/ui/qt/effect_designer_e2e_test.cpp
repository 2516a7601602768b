// The whole card designer end to end in the real windows: "Card Editor", a new card from a
// template, "Add Effect" on an empty action row with two rows of the effect picker, one amount
// built in the value generator from a dice roll and a trait total counted over the scope window's
// choice, the script in the action row, a clean error check, a picture composed in the picker,
// the card and its file saved, "Test Cards", the deck manager's card test, and the card played:
// its effect shows in the turn's echo on the board page.

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
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
#include "ui/designer/effect_picker_dialog.h"
#include "ui/designer/pic_pick_dialog.h"
#include "ui/designer/trait_scope_dialog.h"
#include "ui/designer/value_generator_dialog.h"
#include "ui/main/hand_picture_widget.h"
#include "ui/main/main_window.h"
#include "ui/main/program.h"
#include "viewer/ulk_browser.h"

namespace dv::ui {
namespace {

namespace fs = std::filesystem;
using test::Child;

constexpr int kWaitMs = 30000;
constexpr const char* kAddToMyTrait = "Effect: Add to a trait in me.";
constexpr const char* kEchoMinor =
    "Display: Display text on the screen with no card pictures or description overrides.";
constexpr const char* kEcho = "$MYNAME now has #MYTRAIT/POWER# POWER.";
const QString kScript =
    "MODMYTRAIT:POWER:R1Die6/TRAITTOTAL/POWER//SRCALLY:ECHOMINOR:$MYNAME now has "
    "#MYTRAIT/POWER# POWER.:";

}  // namespace

class EffectDesignerEndToEndTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QApplication::setQuitOnLastWindowClosed(false);
        QVERIFY(folder_.isValid());
        test::CopySampleGame(Folder());
        fs::create_directories(Folder() / "Art");
        QImage art(400, 300, QImage::Format_RGB32);
        art.fill(QColor(60, 140, 60));
        QPainter(&art).fillRect(200, 150, 200, 150, QColor(230, 200, 40));
        QVERIFY(art.save(QString::fromStdString((Folder() / "Art" / "sprout.bmp").string())));
    }
    void cleanup() { test::DropModalAnswers(); }

    void aCardWithAPickedEffectIsDesignedTestedAndPlayed();

  private:
    fs::path Folder() const { return folder_.path().toStdString(); }
    // "Add Effect" of the third action row, answered in the effect picker, the value generator
    // and the scope window.
    void AddEffect(CardEditWindow& designer);

    QTemporaryDir folder_;
    test::ScriptedDialogs dialogs_;
};

void EffectDesignerEndToEndTest::aCardWithAPickedEffectIsDesignedTestedAndPlayed() {
    std::unique_ptr<Program> program;
    QVERIFY(test::StartAsGuest(program, Folder(), dialogs_, 19));
    MainWindow& main = program->Window();

    const std::string setFile = (Folder() / "Mosslight" / "Mosslight_Set.txt").string();
    CardEditWindow* designer = test::NewCardFromTemplate(main, dialogs_, setFile, "Mossling");
    QVERIFY(designer);
    QCOMPARE(Child<QLineEdit>(*designer, "CardText_0")->text(), QString("New Mossling"));

    // The third action row is empty: an ENTERPLAY action on the card itself.
    QCOMPARE(Child<QLineEdit>(*designer, "EffText_2")->text(), QString());
    QVERIFY(test::PickEntry(Child<QComboBox>(*designer, "TriggerCombo_2"), "ENTERPLAY"));
    QVERIFY(test::PickEntry(Child<QComboBox>(*designer, "TargetCombo_2"), "SELF"));
    AddEffect(*designer);
    if (QTest::currentTestFailed()) return;
    QCOMPARE(Child<QLineEdit>(*designer, "EffText_2")->text(), kScript);
    const CardForm& form = designer->Logic().form;
    QCOMPARE(form.ActionRows[3], std::string("ENTERPLAY"));
    QCOMPARE(form.ActionRows[3 + kTableRows], std::string("SELF"));
    QCOMPARE(QString::fromStdString(form.ActionRows[3 + 2 * kTableRows]), kScript);

    dialogs_.messages.clear();
    test::ChooseMenuItem(*designer, "errorcheckmen");
    QCOMPARE(dialogs_.messages, std::vector<std::string>{"No errors found."});

    // A picture composed from a new art picture ("make a new one?" yes), the card saved: its
    // picture files are written, and the card file holds the card with its new action.
    dialogs_.answers = {true};
    double zoom = 0;
    bool chosen = false;
    const test::Answered picked = test::AnswerModalOf<PicPickDialog>([&](QWidget* modal) {
        chosen = test::PickArtRegions(*static_cast<PicPickDialog*>(modal), "Art", "sprout.bmp",
                                      QRect(10, 10, 180, 130), QRect(210, 160, 180, 130), &zoom);
    });
    test::ChooseMenuItem(*designer, "loadformen");  // "Load new Foreground Image"
    QVERIFY(*picked && chosen);
    test::ClickButton(*designer, "Command6");  // "Save Card"
    const Card designed = St().EditCards[St().EditIndex];
    QCOMPARE(designed.Name, std::string("New Mossling"));
    QVERIFY(fs::exists(Folder() / "Mosslight" / designed.Picture));
    QVERIFY(fs::exists(Folder() / "Mosslight" / designed.Thumbnail));
    test::ChooseMenuItem(*designer, "savedeckmen");  // "Save Cards"
    List<Card> saved;
    Player reader;
    ReadCards(saved, setFile, reader);
    bool savedWithScript = false;
    for (const Card& card : saved)
        for (const Effect& effect : card.Effects)
            savedWithScript |= card.UniqueName == designed.UniqueName &&
                               effect.Text == kScript.toStdString() &&
                               effect.Trigger == "ENTERPLAY";
    QVERIFY2(savedWithScript, "the card file holds the new action");

    // "Test Cards": the new card into the test hand, DONE.
    const QImage thumbnail(
        QString::fromStdString((Folder() / "Mosslight" / designed.Thumbnail).string()));
    QVERIFY(test::StartCardTest(*designer, thumbnail));
    QTRY_VERIFY_WITH_TIMEOUT(main.isVisible(), kWaitMs);
    QCOMPARE(St().EditorTest, uint8_t{1});

    // Played: queued from the hand, then the turn.
    auto* inHand = Child<HandPictureWidget>(main, "Picture2_1");
    QVERIFY(inHand->isVisible());
    QCOMPARE(St().Players[1].Hand[1].Name, std::string("New Mossling"));
    QTest::mouseClick(inHand, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    QCOMPARE(int(St().ActionCards[1]), 1);
    test::ClickButton(main, "Command1");  // "Take Turn"
    int played = 0;
    for (int i = 1; i <= St().InPlay.size(); ++i)
        if (St().InPlay[i].Name == "New Mossling") played = i;
    QVERIFY2(played != 0, "the new card is in play");
    const QString power = QString::fromStdString(GetTrait(St().InPlay[played], "POWER").Text());
    // Its POWER of 1 gained a dice roll of at least 1 and the POWER its side has in play.
    QVERIFY2(power.toInt() >= 3, qPrintable(power));
    const QString echo = "New Mossling now has " + power + " POWER.";
    QTRY_VERIFY2_WITH_TIMEOUT(test::PageText(*main.BoardView()).contains(echo), qPrintable(echo),
                              kWaitMs);
    // The board shows the card by its own picture files, not the template's, and they load.
    const QString images =
        test::RunScript(*main.BoardView(),
                        "Array.from(document.images).map(function (i) {"
                        " return i.getAttribute('src') + ' ' + i.naturalWidth; }).join('|')")
            .toString();
    const QString folder = QString::fromStdString((Folder() / "Mosslight").string()) + "/";
    QVERIFY2(images.split('|').contains(folder + QString::fromStdString(designed.Picture) + " 300"),
             qPrintable(images));
    QVERIFY2(
        images.split('|').contains(folder + QString::fromStdString(designed.Thumbnail) + " 65"),
        qPrintable(images));
    // Nothing went wrong on the way: "No errors found." and the card test's guide alone.
    QCOMPARE(dialogs_.messages.size(), std::size_t{2});

    QVERIFY(!main.close());  // the test game hands back to the designer
    QTRY_VERIFY_WITH_TIMEOUT(designer->isVisible(), kWaitMs);
    dialogs_.answers = {false};  // "Save cards now?"
    QVERIFY(designer->close());
    QVERIFY(main.isVisible());
}

void EffectDesignerEndToEndTest::AddEffect(CardEditWindow& designer) {
    // The trait of the first row, then the dice and the trait total inside the value generator,
    // then the text of the echo.
    dialogs_.inputs = {std::string("POWER"), std::string("1"), std::string("6"),
                       std::string("POWER"), std::string(""),  std::string(kEcho)};
    QString asked;
    test::Answered scoped;
    test::Answered generated;
    const test::Answered picked = test::AnswerModalOf<EffectPickerDialog>([&](QWidget* picker) {
        generated = test::AnswerModalOf<ValueGeneratorDialog>([&](QWidget* generator) {
            asked = Child<QLabel>(*generator, "Label1")->text();
            test::ClickButton(*generator, "Command1_10");  // "Roll Dice"
            scoped = test::AnswerModalOf<TraitScopeDialog>([](QWidget* scope) {
                test::ClickButton(*scope, "Command1_1");  // "Count only my allies"
            });
            test::ClickButton(*generator, "Command1_0");  // the trait total
            test::ClickButton(*generator, "Command5");    // "DONE"
        });
        QVERIFY(test::PickEntry(Child<QComboBox>(*picker, "Combo1_0"), kAddToMyTrait));
        QVERIFY(test::PickEntry(Child<QComboBox>(*picker, "Combo1_1"), kEchoMinor));
        test::ClickButton(*picker, "Command1");  // "Done"
    });
    test::ClickButton(designer, "EffButton_2");  // "Add Effect"
    QVERIFY(*picked);
    QVERIFY(generated && *generated);
    QVERIFY(scoped && *scoped);
    QCOMPARE(asked, QString("Amount to add to the trait? (This can be negative)"));
    QVERIFY(dialogs_.inputs.empty());
}

}  // namespace dv::ui

int main(int argc, char** argv) {
    return dv::test::RunWindowTest<dv::ui::EffectDesignerEndToEndTest>(argc, argv);
}

#include "effect_designer_e2e_test.moc"
