// The card picture end to end in the real windows: a click on the designer's card picture, an art
// file chosen in the picture picker and its two regions clicked on the enlarged picture, the card
// stored: "Card-<unique name>.jpg" and its "-mini" thumbnail are written beside the card file and
// decode at their sizes with the chosen regions in them, and the card test's game shows that
// picture for the card and that thumbnail in the hand.

#include <QApplication>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

#include "engine/model/state.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/ui/qt/support/designer_steps.h"
#include "tests/ui/qt/support/program_steps.h"
#include "tests/ui/qt/support/window_steps.h"
#include "tests/ui/qt/support/window_test_main.h"
#include "ui/designer/card_edit_window.h"
#include "ui/designer/pic_pick_dialog.h"
#include "ui/main/hand_picture_widget.h"
#include "ui/main/main_window.h"
#include "ui/main/program.h"

namespace dv::ui {
namespace {

namespace fs = std::filesystem;
using test::Child;

constexpr int kWaitMs = 30000;
// The art picture: four quadrants of 400 by 300 pixels, enlarged in the picker at 0.625, and
// regions inside each.
const QSize kArtSize(800, 600);
const QColor kRed(200, 20, 20);
const QColor kGreen(20, 200, 20);
const QColor kYellow(200, 200, 20);
const QColor kBlue(20, 20, 200);
const QRect kRedRegion(64, 64, 256, 176);
const QRect kGreenRegion(480, 40, 240, 200);
const QRect kYellowRegion(40, 340, 200, 200);
const QRect kBlueRegion(512, 352, 256, 224);

void MakeArt(const QString& path) {
    QImage art(kArtSize, QImage::Format_RGB32);
    QPainter painter(&art);
    painter.fillRect(0, 0, 400, 300, kRed);
    painter.fillRect(400, 0, 400, 300, kGreen);
    painter.fillRect(0, 300, 400, 300, kYellow);
    painter.fillRect(400, 300, 400, 300, kBlue);
    painter.end();
    if (!art.save(path)) qFatal("cannot write %s", qPrintable(path));
}

// Near enough after a JPEG round trip.
bool Near(QRgb pixel, const QColor& colour) {
    return std::abs(qRed(pixel) - colour.red()) < 40 &&
           std::abs(qGreen(pixel) - colour.green()) < 40 &&
           std::abs(qBlue(pixel) - colour.blue()) < 40;
}

QImage Decoded(const fs::path& file, QByteArray* format) {
    QImageReader reader(QString::fromStdString(file.string()));
    *format = reader.format();
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

}  // namespace

class CardPictureEndToEndTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QApplication::setQuitOnLastWindowClosed(false);
        QVERIFY(folder_.isValid());
        test::CopySampleGame(Folder());
        fs::create_directories(Folder() / "Art");
        MakeArt(QString::fromStdString((Folder() / "Art" / "marsh.bmp").string()));
    }
    void cleanup() { test::DropModalAnswers(); }

    void aClickedPictureIsStoredAndShownInTheGame();

  private:
    // A click on the card picture, the art chosen in the picker and the two regions clicked.
    void PickArt(CardEditWindow& designer, QRect cardRegion, QRect thumbRegion);
    // "Test Cards": the card, found in the pane by its thumbnail, into the test hand; DONE; the
    // game shows the thumbnail in the hand and the picture for the card; back to the designer.
    void TestTheCard(Program& program, CardEditWindow& designer, const fs::path& picture,
                     const QImage& thumbnail);

    fs::path Folder() const { return folder_.path().toStdString(); }

    QTemporaryDir folder_;
    test::ScriptedDialogs dialogs_;
};

void CardPictureEndToEndTest::aClickedPictureIsStoredAndShownInTheGame() {
    std::unique_ptr<Program> program;
    QVERIFY(test::StartAsGuest(program, Folder(), dialogs_, 18));
    MainWindow& main = program->Window();

    CardEditWindow* designer = test::NewCardFromTemplate(
        main, dialogs_, (Folder() / "Mosslight" / "Mosslight_Set.txt").string(), "Mossling");
    QVERIFY(designer);
    const QString unique = Child<QLineEdit>(*designer, "CardText_2")->text();
    QVERIFY(unique.startsWith("New Mossling"));

    // The template's card has a picture file: "make a new one?" is answered yes.
    dialogs_.answers = {true};
    PickArt(*designer, kRedRegion, kBlueRegion);
    QVERIFY(dialogs_.answers.empty());
    QVERIFY(Near(Child<QLabel>(*designer, "MainPic")->pixmap().toImage().pixel(150, 225), kRed));

    test::ClickButton(*designer, "Command6");  // "Save Card"
    std::string bare = "Card-" + unique.toStdString();
    std::erase(bare, ' ');
    const fs::path picture = Folder() / "Mosslight" / (bare + ".jpg");
    const fs::path thumbnail = Folder() / "Mosslight" / (bare + "-mini.jpg");
    QByteArray format;
    QImage stored = Decoded(picture, &format);
    QCOMPARE(format, QByteArray("jpeg"));
    QCOMPARE(stored.size(), QSize(300, 450));
    QVERIFY(Near(stored.pixel(150, 225), kRed));
    QImage storedMini = Decoded(thumbnail, &format);
    QCOMPARE(format, QByteArray("jpeg"));
    QCOMPARE(storedMini.size(), QSize(65, 65));
    QVERIFY(Near(storedMini.pixel(32, 32), kBlue));
    const Card& card = St().EditCards[St().EditIndex];
    QCOMPARE(card.Picture, bare + ".jpg");
    QCOMPARE(card.Thumbnail, bare + "-mini.jpg");

    TestTheCard(*program, *designer, picture, storedMini);
    if (QTest::currentTestFailed()) return;

    // A new picture for the stored card: the same two files, written anew, are what the card
    // test shows next.
    dialogs_.answers = {true};
    PickArt(*designer, kGreenRegion, kYellowRegion);
    test::ClickButton(*designer, "Command6");
    stored = Decoded(picture, &format);
    QVERIFY(Near(stored.pixel(150, 225), kGreen));
    storedMini = Decoded(thumbnail, &format);
    QVERIFY(Near(storedMini.pixel(32, 32), kYellow));
    TestTheCard(*program, *designer, picture, storedMini);
    if (QTest::currentTestFailed()) return;

    dialogs_.answers = {false};  // "Save cards now?"
    QVERIFY(designer->close());
    QVERIFY(main.isVisible());
    // Only the card test's "Choose the cards you would like to test...", once a test.
    QCOMPARE(dialogs_.messages.size(), std::size_t{2});
}

void CardPictureEndToEndTest::PickArt(CardEditWindow& designer, QRect cardRegion,
                                      QRect thumbRegion) {
    double zoom = 0;
    bool chosen = false;
    const test::Answered picked = test::AnswerModalOf<PicPickDialog>([&](QWidget* modal) {
        chosen = test::PickArtRegions(*static_cast<PicPickDialog*>(modal), "Art", "marsh.bmp",
                                      cardRegion, thumbRegion, &zoom);
    });
    QTest::mouseClick(Child<QLabel>(designer, "MainPic"), Qt::LeftButton);
    QVERIFY(*picked);
    QVERIFY(chosen);
    QCOMPARE(zoom, 0.625);
}

void CardPictureEndToEndTest::TestTheCard(Program& program, CardEditWindow& designer,
                                          const fs::path& picture, const QImage& thumbnail) {
    MainWindow& main = program.Window();
    QVERIFY(test::StartCardTest(designer, thumbnail));
    QTRY_VERIFY_WITH_TIMEOUT(main.isVisible(), kWaitMs);
    QCOMPARE(St().EditorTest, uint8_t{1});

    auto* inHand = Child<HandPictureWidget>(main, "Picture2_1");
    QVERIFY(inHand->isVisible());
    QCOMPARE(inHand->pixmap().toImage().convertToFormat(QImage::Format_RGB32), thumbnail);
    QTest::mouseMove(inHand, QPoint(20, 20));
    auto* shown = Child<QLabel>(main, "Picture1");
    const QImage expected =
        QPixmap(QString::fromStdString(picture.string()))
            .scaled(shown->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)
            .toImage();
    QTRY_COMPARE_WITH_TIMEOUT(shown->pixmap().toImage(), expected, kWaitMs);

    // Closing the test game goes back to the designer.
    QVERIFY(!main.close());
    QTRY_VERIFY_WITH_TIMEOUT(designer.isVisible() && !main.isVisible(), kWaitMs);
}

}  // namespace dv::ui

int main(int argc, char** argv) {
    return dv::test::RunWindowTest<dv::ui::CardPictureEndToEndTest>(argc, argv);
}

#include "card_picture_e2e_test.moc"
