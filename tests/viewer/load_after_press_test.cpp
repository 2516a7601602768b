// A page the host shows from inside HTMLClick after a press on a picture or on plain text, with
// a second control on screen: the browser engine's own handling of the press (a drag or a
// selection starting) would hold such a load back; the control cancels that handling where
// selection is not allowed, and asks again for a load that still has not started.

#include <QApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "tests/ui/qt/support/page_clicks.h"
#include "tests/ui/qt/support/window_test_main.h"
#include "viewer/ulk_browser.h"

class LoadAfterPressTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY(root_.isValid());
        QVERIFY(QFile::copy(QString(DV_SOURCE_DIR) + "/content/Pictures/Card-bogwarden-mini.jpg",
                            root_.filePath("portrait.jpg")));
        Write("next.html", "<html><body>The next page</body></html>");
    }

    void pageShownFromThePressLoads_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("picture in a link")
            << QByteArray("<a href=\"GAME:1:/a folder/x.txt\"><img src=\"portrait.jpg\"></a>");
        QTest::newRow("plain text")
            << QByteArray("<span href=\"GAME:1:/a folder/x.txt\">text</span>");
    }
    void pageShownFromThePressLoads() {
        QFETCH(QByteArray, body);
        Write("pressed.html", "<html><body><p>" + body + "</p></body></html>");
        ulkBrowser browser;
        ulkBrowser other;
        browser.resize(400, 300);
        other.resize(300, 200);
        browser.show();
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&browser));
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        browser.OpenURL(root_.filePath("pressed.html"));
        QSignalSpy errors(&browser, &ulkBrowser::ViewerError);
        QString shown;
        bool handled = false;
        connect(&browser, &ulkBrowser::HTMLClick, this, [&] {
            browser.OpenURL(root_.filePath("next.html"));
            shown = dv::test::PageText(browser);
            handled = true;
        });
        QVERIFY(dv::test::PressLink(browser, "GAME:1:/a folder/x.txt"));
        QTRY_VERIFY_WITH_TIMEOUT(handled, 30000);
        QCOMPARE(errors.count(), 0);
        QCOMPARE(shown, QString("The next page"));
    }

  private:
    void Write(const QString& name, const QByteArray& bytes) {
        QFile file(root_.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir root_;
};

int main(int argc, char** argv) {
    return dv::test::RunWindowTest<LoadAfterPressTest>(argc, argv);
}

#include "load_after_press_test.moc"
