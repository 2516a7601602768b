// The card picture and thumbnail written as files: JPEG at qualities 100 and 85 (read back from
// the files' quantisation tables), other formats by extension, and names that write nothing.

#include <QApplication>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <vector>

#include "tests/ui/qt/support/window_test_main.h"
#include "ui/common/qt_dialogs.h"
#include "ui/designer/qt_image_export.h"

namespace dv::ui {
namespace {

QByteArray Bytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

// The 64 values of the first quantisation table (the luminance one) of a JPEG file.
std::vector<int> FirstQuantisationTable(const QByteArray& jpeg) {
    int at = 2;  // past the start-of-image marker
    while (at + 4 <= jpeg.size() && static_cast<uchar>(jpeg[at]) == 0xFF) {
        const uchar marker = static_cast<uchar>(jpeg[at + 1]);
        const int length =
            (static_cast<uchar>(jpeg[at + 2]) << 8) | static_cast<uchar>(jpeg[at + 3]);
        if (marker == 0xDB) {
            const uchar precisionAndId = static_cast<uchar>(jpeg[at + 4]);
            if ((precisionAndId >> 4) != 0 || at + 5 + 64 > jpeg.size()) return {};
            std::vector<int> table;
            for (int i = 0; i < 64; ++i)
                table.push_back(static_cast<uchar>(jpeg[at + 5 + i]));
            return table;
        }
        at += 2 + length;
    }
    return {};
}

// The standard luminance table scaled as JPEG encoders scale it for a quality, sorted (the file
// holds it in zig-zag order).
std::vector<int> ExpectedTable(int quality) {
    static const int kLuminance[64] = {
        16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
        14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
        18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
        49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
    const int scale = quality < 50 ? 5000 / quality : 200 - 2 * quality;
    std::vector<int> table;
    for (int base : kLuminance)
        table.push_back(std::clamp((base * scale + 50) / 100, 1, 255));
    std::sort(table.begin(), table.end());
    return table;
}

std::vector<int> Sorted(std::vector<int> values) {
    std::sort(values.begin(), values.end());
    return values;
}

CardPictureImages Composed() {
    CardPictureImages images;
    QImage art(800, 1200, QImage::Format_RGB32);
    art.fill(QColor(120, 80, 40));
    ComposeCardPicture(QImage(), art, QImage(), {}, 0x2864C8, images);
    return images;
}

}  // namespace

class ImageExportTest : public QObject {
    Q_OBJECT

  private slots:
    void cardPictureAndThumbnailAreJpegsAtTheirSizesAndQualities() {
        QTemporaryDir dir;
        const CardPictureImages images = Composed();
        const QString picture = dir.filePath("Card-Dragon12.jpg");
        const QString thumbnail = dir.filePath("Card-Dragon12-mini.JPEG");
        QVERIFY(SaveImage(images, FromQt(picture)).written);
        QVERIFY(SaveMini(images, FromQt(thumbnail)).written);

        struct Row {
            QString file;
            QSize size;
            int quality;
        };
        for (const Row& r : {Row{picture, {kCardWidth, kCardHeight}, 100},
                             Row{thumbnail, {kThumbSize, kThumbSize}, 85}}) {
            QImageReader reader(r.file);
            QCOMPARE(reader.format(), QByteArray("jpeg"));
            QCOMPARE(reader.read().size(), r.size);
            const std::vector<int> table = FirstQuantisationTable(Bytes(r.file));
            QCOMPARE(table.size(), std::size_t(64));
            QVERIFY(Sorted(table) == ExpectedTable(r.quality));
        }
        // Quality 100 quantises nothing; 85 divides the first coefficient by 5.
        QCOMPARE(FirstQuantisationTable(Bytes(picture)).front(), 1);
        QCOMPARE(FirstQuantisationTable(Bytes(thumbnail)).front(), 5);
    }

    void otherExtensionsChooseTheirFormat() {
        QTemporaryDir dir;
        const CardPictureImages images = Composed();
        const QString bitmap = dir.filePath("card.bmp");
        QVERIFY(SaveImage(images, FromQt(bitmap)).written);
        QVERIFY(Bytes(bitmap).startsWith("BM"));
        QCOMPARE(QImage(bitmap).size(), QSize(kCardWidth, kCardHeight));
        const QString png = dir.filePath("card.PNG");
        QVERIFY(SaveMini(images, FromQt(png)).written);
        QVERIFY(Bytes(png).startsWith("\x89PNG"));
    }

    void namesWithoutAWritableFormatWriteNothingAndSayWhy() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("my.pictures"));
        const CardPictureImages images = Composed();
        struct Row {
            QString name;
            const char* says;
        };
        const Row rows[] = {
            {"Dragon", "no extension"}, {"my.pictures/Dragon", "no extension"},
            {"Dragon.gif", "\".gif\""}, {"Dragon.GIF", "\".GIF\""},
            {"Dragon.txt", "\".txt\""}, {"missing folder/Dragon.jpg", "cannot"},
        };
        for (const Row& r : rows) {
            const QString path = dir.filePath(r.name);
            const PictureSave result = SaveImage(images, FromQt(path));
            QVERIFY2(!result.written, qPrintable(r.name));
            QVERIFY2(result.reason.find(r.says) != std::string::npos, result.reason.c_str());
            QVERIFY2(!QFile::exists(path), qPrintable(r.name));
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 0);
        QCOMPARE(QDir(dir.filePath("my.pictures")).entryList(QDir::Files).size(), 0);
    }
};

}  // namespace dv::ui

int main(int argc, char** argv) {
    return dv::test::RunWindowTest<dv::ui::ImageExportTest>(argc, argv);
}

#include "image_export_test.moc"
