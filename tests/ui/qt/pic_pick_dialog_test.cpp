// The picture picker window: its pages of thumbnails, a plain choice, and the four corner clicks
// on the enlarged picture.

#include "ui/designer/pic_pick_dialog.h"

#include <sys/stat.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QToolButton>

#include "tests/ui/qt/support/window_test_main.h"
#include "ui/common/qt_dialogs.h"

namespace dv::ui {

class PicPickDialogTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;

    // "big.bmp" (1000 by 750) first, then p01.jpg to p24.jpg: 25 pictures.
    void MakePictures() {
        QImage big(1000, 750, QImage::Format_RGB32);
        big.fill(Qt::darkGreen);
        QVERIFY(big.save(dir_.filePath("big.bmp")));
        QImage small(40, 30, QImage::Format_RGB32);
        small.fill(Qt::yellow);
        for (int i = 1; i <= 24; ++i)
            QVERIFY(small.save(dir_.filePath(QString("p%1.jpg").arg(i, 2, 10, QChar('0')))));
    }

    template <class T>
    T* Find(PicPickDialog& dialog, const QString& name) {
        T* widget = dialog.findChild<T*>(name);
        if (!widget) qFatal("no widget %s", qPrintable(name));
        return widget;
    }

    QString NameShown(PicPickDialog& dialog, int index) {
        return Find<QLabel>(dialog, QString("PicNameLabel_%1").arg(index))->toolTip();
    }

  private slots:
    void initTestCase() { MakePictures(); }

    void folderShowsPagesOfTwentyAndScrollsToTheLast() {
        PicPickDialog dialog;
        dialog.ShowFolder(FromQt(dir_.path()));
        dialog.Prepare("Choose the main card pic.", false);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QString("Picture Viewer"));
        QCOMPARE(Find<QLabel>(dialog, "Label1")->text(), QString("Choose the main card pic."));
        QScrollBar* scroll = Find<QScrollBar>(dialog, "VScroll1");
        QCOMPARE(scroll->minimum(), 1);
        QCOMPARE(scroll->maximum(), 6);
        QCOMPARE(NameShown(dialog, 0), QString("big.bmp"));
        QCOMPARE(NameShown(dialog, 19), QString("p19.jpg"));
        scroll->setValue(6);
        QCOMPARE(NameShown(dialog, 0), QString("p05.jpg"));
        QCOMPARE(NameShown(dialog, 19), QString("p24.jpg"));
        QVERIFY(Find<QToolButton>(dialog, "Image1_19")->isVisible());
    }

    // A file name is data: one that looks like HTML shows as written, in its label and its tip.
    void aFileNameWithMarkupShowsAsWritten() {
        QTemporaryDir odd;
        const QString name = "<i>Bog&Co.jpg";
        QImage small(40, 30, QImage::Format_RGB32);
        small.fill(Qt::red);
        QVERIFY(small.save(odd.filePath(name), "JPG"));
        PicPickDialog dialog;
        dialog.ShowFolder(FromQt(odd.path()));
        dialog.Prepare("", false);
        dialog.show();
        auto* label = Find<QLabel>(dialog, "PicNameLabel_0");
        QCOMPARE(label->text(), name);
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QTextDocument tip;  // how the tip lays its text out
        tip.setHtml(label->toolTip());
        QVERIFY(Qt::mightBeRichText(label->toolTip()));
        QCOMPARE(tip.toPlainText(), name);
    }

    // A slot whose file could not be read kept the picture it showed before; a pipe named like a
    // picture held the window in its open() for good.
    void aFileThatCannotBeReadShowsNoPictureAndNoPipeIsListed() {
        PicPickDialog dialog;
        dialog.ShowFolder(FromQt(dir_.path()));
        QTemporaryDir odd;
        QFile(odd.filePath("a.jpg")).open(QIODevice::WriteOnly);
        QCOMPARE(::mkfifo(QFile::encodeName(odd.filePath("b.jpg")).constData(), 0600), 0);
        dialog.ShowFolder(FromQt(odd.path()));
        dialog.show();
        QCOMPARE(NameShown(dialog, 0), QString("a.jpg"));
        QVERIFY(Find<QToolButton>(dialog, "Image1_0")->icon().isNull());
        QVERIFY(!Find<QToolButton>(dialog, "Image1_1")->isVisible());
    }

    void aThumbnailClickChoosesItsFileAndCloses() {
        PicPickDialog dialog;
        dialog.ShowFolder(FromQt(dir_.path()));
        dialog.Prepare("", false);
        dialog.show();
        QTest::mouseClick(Find<QToolButton>(dialog, "Image1_3"), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        PicRegion region;
        const std::optional<std::string> chosen = dialog.Choice(region);
        QVERIFY(chosen.has_value());
        QCOMPARE(ToQt(*chosen), dir_.filePath("p03.jpg"));
        QCOMPARE(region, PicRegion{});
    }

    void fourClicksOnTheHalvedPictureSetTheRegionsInItsPixels() {
        PicPickDialog dialog;
        dialog.ShowFolder(FromQt(dir_.path()));
        dialog.Prepare("", true);
        dialog.show();
        QTest::mouseClick(Find<QToolButton>(dialog, "Image1_0"), Qt::LeftButton);
        QLabel* preview = Find<QLabel>(dialog, "Image2");
        QVERIFY(preview->isVisible());
        QCOMPARE(preview->size(), QSize(500, 375));
        QCOMPARE(dialog.Zoom(), 0.5);
        QLabel* prompt = Find<QLabel>(dialog, "Label1");
        QCOMPARE(prompt->text(), QString("Choose Upper Left Coordinates of Main Card Picture"));
        QTest::mouseClick(preview, Qt::LeftButton, {}, QPoint(100, 50));
        QCOMPARE(prompt->text(), QString("Choose Lower Right Coordinates of Main Card Picture"));
        QTest::mouseClick(preview, Qt::LeftButton, {}, QPoint(400, 300));
        QTest::mouseClick(preview, Qt::LeftButton, {}, QPoint(10, 20));
        QCOMPARE(prompt->text(), QString("Choose Lower Right Coordinates of Thumbnail Picture"));
        QVERIFY(dialog.isVisible());
        QTest::mouseClick(preview, Qt::LeftButton, {}, QPoint(60, 70));
        QVERIFY(!dialog.isVisible());
        PicRegion region;
        const std::optional<std::string> chosen = dialog.Choice(region);
        QVERIFY(chosen.has_value());
        QCOMPARE(ToQt(*chosen), dir_.filePath("big.bmp"));
        QCOMPARE(region, (PicRegion{200, 800, 100, 600, 20, 120, 40, 140}));
    }

    void closingBeforeTheLastCornerChoosesNothing() {
        PicPickDialog dialog;
        dialog.ShowFolder(FromQt(dir_.path()));
        dialog.Prepare("", true);
        dialog.show();
        QTest::mouseClick(Find<QToolButton>(dialog, "Image1_0"), Qt::LeftButton);
        QTest::mouseClick(Find<QLabel>(dialog, "Image2"), Qt::LeftButton, {}, QPoint(100, 50));
        dialog.close();
        PicRegion region;
        QVERIFY(!dialog.Choice(region).has_value());
        QCOMPARE(region, PicRegion{});
        // Shown again, it starts from the thumbnails.
        dialog.Prepare("", true);
        dialog.show();
        QVERIFY(!Find<QLabel>(dialog, "Image2")->isVisible());
        QVERIFY(Find<QToolButton>(dialog, "Image1_0")->isVisible());
    }
};

}  // namespace dv::ui

int main(int argc, char** argv) {
    return dv::test::RunWindowTest<dv::ui::PicPickDialogTest>(argc, argv);
}

#include "pic_pick_dialog_test.moc"
