// The card picture and thumbnail composed on images: where the art goes, the frames' colours,
// black pixels left out, and inputs that once divided by zero or read outside the picture.

#include <QApplication>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include "tests/ui/qt/support/window_test_main.h"
#include "ui/designer/qt_card_picture.h"

namespace dv::ui {
namespace {

QImage Solid(int width, int height, QColor colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QColor At(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

bool Empty(const QImage& image, int x, int y) {
    return image.pixel(x, y) == kEmptyPictureColour;
}

// The first and last pixels of a row (or column) that the composition painted.
std::pair<int, int> PaintedSpan(const QImage& image, int fixed, bool row) {
    const int size = row ? image.width() : image.height();
    int first = -1, last = -1;
    for (int i = 0; i < size; ++i) {
        const bool painted = row ? !Empty(image, i, fixed) : !Empty(image, fixed, i);
        if (!painted) continue;
        if (first < 0) first = i;
        last = i;
    }
    return {first, last};
}

constexpr uint32_t kRust = 200 | (100 << 8) | (40 << 16);  // RGB(200, 100, 40), red low

}  // namespace

class CardPictureTest : public QObject {
    Q_OBJECT

  private slots:
    void largeArtShrinksIntoTheCardCentredOverTheBack() {
        CardPictureImages images;
        const QColor green(30, 160, 90);
        QVERIFY(ComposeCardPicture(Solid(300, 450, QColor(10, 10, 200)), Solid(1000, 1500, green),
                                   QImage(), {}, 0xFFFFFF, images));
        QCOMPARE(At(images.MainPic, 150, 225), green);
        QCOMPARE(At(images.MainPic, 5, 5), QColor(10, 10, 200));  // the back around the art
        // Shrunk to 270 wide in the 300 wide card, from pixel 15 to 285.
        CardPictureImages bare;
        ComposeCardPicture(QImage(), Solid(1000, 1500, green), QImage(), {}, 0xFFFFFF, bare);
        const auto [left, right] = PaintedSpan(bare.MainPic, 225, true);
        QCOMPARE(left, 15);
        QCOMPARE(right, 285);
        const auto [top, bottom] = PaintedSpan(bare.MainPic, 150, false);
        QVERIFY(std::abs(top + bottom - 450) <= 1);
        QVERIFY(std::abs(bottom - top - 405) <= 1);
    }

    void smallArtIsStretchedToTheSameFrame() {
        QImage art = Solid(20, 30, Qt::red);
        QPainter(&art).fillRect(10, 0, 10, 30, Qt::blue);
        CardPictureImages images;
        QVERIFY(ComposeCardPicture(QImage(), art, QImage(), {}, 0xFFFFFF, images));
        QCOMPARE(At(images.MainPic, 60, 225), QColor(Qt::red));
        QCOMPARE(At(images.MainPic, 240, 225), QColor(Qt::blue));
        const auto [left, right] = PaintedSpan(images.MainPic, 225, true);
        QVERIFY(std::abs(left - 15) <= 1);
        QVERIFY(std::abs(right - 285) <= 1);
        // A small thumbnail region is stretched over the whole thumbnail.
        QCOMPARE(At(images.MiniPic, 20, 32), QColor(Qt::red));
        QCOMPARE(At(images.MiniPic, 45, 32), QColor(Qt::blue));
    }

    void framesAreLightAndDarkInTheNameColour() {
        CardPictureImages images;
        ComposeCardPicture(QImage(), Solid(1000, 1500, QColor(100, 100, 100)), QImage(), {}, kRust,
                           images);
        // Four pixels into the frame: 0.4 of the picture, 0.6 of light (250, 125, 50) on the
        // left, of dark (100, 50, 20) on the right.
        QCOMPARE(At(images.MainPic, 19, 225), QColor(190, 115, 70));
        QCOMPARE(At(images.MainPic, 281, 225), QColor(100, 70, 52));
        QCOMPARE(At(images.MainPic, 150, 225), QColor(100, 100, 100));
        // The thumbnail's frame is the name colour itself on every side.
        QCOMPARE(At(images.MiniPic, 4, 32), QColor(160, 100, 64));
        QCOMPARE(At(images.MiniPic, 61, 32), QColor(160, 100, 64));
        QCOMPARE(At(images.MiniPic, 32, 61), QColor(160, 100, 64));
    }

    void blackPixelsAreLeftOutOfTheShrinkAndSeenThroughInTheBorder() {
        QImage striped = Solid(1000, 1500, Qt::black);
        {
            QPainter painter(&striped);
            for (int x = 0; x < 1000; x += 2)
                painter.fillRect(x, 0, 1, 1500, QColor(0, 200, 0));
        }
        CardPictureImages plain;
        ComposeCardPicture(QImage(), striped, QImage(), {}, 0xFFFFFF, plain);
        QCOMPARE(At(plain.MainPic, 150, 225), QColor(0, 200, 0));

        QImage border = Solid(66, 66, Qt::black);
        QPainter(&border).fillRect(30, 30, 6, 6, Qt::white);
        CardPictureImages bordered;
        ComposeCardPicture(QImage(), striped, border, {}, 0xFFFFFF, bordered);
        for (int x = 0; x < kThumbSize; ++x)
            for (int y = 0; y < kThumbSize; ++y) {
                const bool under = x >= 30 && x < 36 && y >= 30 && y < 36;
                QCOMPARE(bordered.MiniPic.pixel(x, y),
                         under ? QColor(Qt::white).rgb() : plain.MiniPic.pixel(x, y));
            }
    }

    void degenerateInputsEndWithoutFault() {
        struct Row {
            const char* what;
            QImage art;
            PicRegion region;
            QImage border;
        };
        const QImage some = Solid(400, 300, QColor(90, 90, 90));
        const Row rows[] = {
            {"very wide art", Solid(4000, 1, Qt::red), {}, {}},
            {"very tall art", Solid(1, 4000, Qt::red), {}, {}},
            {"a single pixel", Solid(1, 1, Qt::red), {}, {}},
            {"thumbnail left equal to right", some, {0, 0, 0, 0, 70, 70, 10, 40}, {}},
            {"main left equal to right", some, {50, 50, 10, 10, 0, 0, 0, 0}, {}},
            {"corners past the edge", some, {350, 5000, 200, 9000, 390, 6000, 290, 7000}, {}},
            {"negative corners", some, {-100, 50, -100, 50, -30, -10, -30, -10}, {}},
            {"reversed thumbnail corners", some, {0, 0, 0, 0, 300, 20, 200, 10}, {}},
            {"a border smaller than the thumbnail", some, {}, Solid(10, 10, Qt::white)},
            {"art of another pixel form", some.convertToFormat(QImage::Format_Indexed8), {}, {}},
        };
        for (const Row& r : rows) {
            CardPictureImages images;
            QVERIFY2(ComposeCardPicture(QImage(), r.art, r.border, r.region, kRust, images),
                     r.what);
            QCOMPARE(images.MainPic.size(), QSize(kCardWidth, kCardHeight));
            QCOMPARE(images.MiniPic.size(), QSize(kThumbSize, kThumbSize));
        }
        // A very wide picture still shows as a band across the card: its colour comes through
        // the frame that covers so thin a band.
        CardPictureImages red, blue;
        ComposeCardPicture(QImage(), Solid(4000, 40, Qt::red), QImage(), {}, kRust, red);
        ComposeCardPicture(QImage(), Solid(4000, 40, Qt::blue), QImage(), {}, kRust, blue);
        QVERIFY(red.MainPic.pixel(150, 225) != blue.MainPic.pixel(150, 225));
        QVERIFY(Empty(red.MainPic, 150, 215));

        // Without art the card shows the back alone and the thumbnail is blank.
        CardPictureImages none;
        none.MiniPic.fill(Qt::red);
        QVERIFY(!ComposeCardPicture(Solid(300, 450, Qt::blue), QImage(), Solid(66, 66, Qt::white),
                                    {}, kRust, none));
        QCOMPARE(At(none.MainPic, 150, 225), QColor(Qt::blue));
        QVERIFY(Empty(none.MiniPic, 32, 32));
        QVERIFY(!ComposeCardPicture(PictureSources{"", "/no/such/art.jpg", "", {}, kRust}, none)
                     .composed);
    }

    // An art picture that cannot be read once composed flat grey pictures that the designer
    // then wrote as the card's: the composition says it failed, and why.
    void artThatCannotBeReadIsNotComposedAndSaysWhy() {
        QTemporaryDir dir;
        const QString text = dir.filePath("art.jpg");
        QFile file(text);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a picture\n");
        file.close();
        const QString large = dir.filePath("large.png");
        QVERIFY(Solid(1200, 1200, Qt::green).save(large));
        struct Row {
            const char* what;
            QString art;
            int limitMb;  // the reader's allocation limit while composing
        };
        const Row rows[] = {{"a text file", text, QImageReader::allocationLimit()},
                            {"a picture too large to load", large, 1}};
        const int limit = QImageReader::allocationLimit();
        for (const Row& r : rows) {
            QImageReader::setAllocationLimit(r.limitMb);
            CardPictureImages images;
            const PictureCompose made =
                ComposeCardPicture(PictureSources{"", r.art.toStdString(), "", {}, kRust}, images);
            QImageReader::setAllocationLimit(limit);
            QVERIFY2(!made.composed, r.what);
            QVERIFY2(
                QString::fromStdString(made.reason).startsWith("\"" + r.art + "\" cannot be read"),
                made.reason.c_str());
        }
    }

    // A card of a back alone got no picture files; a saved picture that cannot be read left the
    // box showing the card shown before.
    void aBackAloneIsComposedAndAnUnreadablePictureShowsAnEmptyBox() {
        QTemporaryDir dir;
        const std::string back = dir.filePath("back.bmp").toStdString();
        QVERIFY(Solid(300, 450, Qt::blue).save(QString::fromStdString(back)));
        const std::string text = dir.filePath("notes.jpg").toStdString();
        QFile(QString::fromStdString(text)).open(QIODevice::WriteOnly);
        CardPictureImages images;
        QVERIFY(ComposeCardPicture(PictureSources{back, "", "", {}, kRust}, images).composed);
        QCOMPARE(At(images.MainPic, 150, 225), QColor(Qt::blue));
        QVERIFY(!ComposeCardPicture(PictureSources{text, "", "", {}, kRust}, images).composed);
        ShowSavedPictures(back, back, images);
        ShowSavedPictures(text, "", images);
        QVERIFY2(Empty(images.MainPic, 5, 5) && Empty(images.MiniPic, 5, 5), "a picture stayed");
    }
};

}  // namespace dv::ui

int main(int argc, char** argv) {
    return dv::test::RunWindowTest<dv::ui::CardPictureTest>(argc, argv);
}

#include "card_picture_test.moc"
