// The viewer control in real pages: the engine's games and board pages in a program folder whose
// path holds a blank, clicked with real presses on the view.

#include "viewer/ulk_browser.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>
#include <filesystem>
#include <memory>

#include "tests/ui/qt/support/window_test_main.h"
#include "tests/viewer/pdf_text.h"
#include "tests/viewer/sample_pages.h"
#include "viewer/html_clipboard.h"
#include "viewer/page_location.h"
#include "viewer/page_requests.h"
#include "viewer/page_template.h"

namespace {

constexpr int kScriptWaitMs = 10000;

QString Path(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

// The location as the game hands it over: "file:///", the full path, ":" written as "|".
QString GameLocation(const QString& path) {
    return "file:///" + QString(path).replace(':', '|');
}

QString Literal(const QString& text) {
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QVariant RunScript(ulkBrowser& browser, const QString& script) {
    auto result = std::make_shared<std::pair<bool, QVariant>>();
    browser.Document()->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                                      [result](const QVariant& value) {
                                          *result = {true, value};
                                      });
    QElapsedTimer clock;
    clock.start();
    while (!result->first && clock.elapsed() < kScriptWaitMs)
        QTest::qWait(5);
    return result->second;
}

QWidget* PressTarget(ulkBrowser& browser) {
    return browser.findChild<QWebEngineView*>("WebBrowser1")->focusProxy();
}

QPoint PointFromScript(ulkBrowser& browser, const QString& findElement) {
    const QString script = "(function () { var e = " + findElement +
                           "; if (!e) return null;"
                           " e.scrollIntoView({block: 'center'});"
                           " var r = e.getBoundingClientRect();"
                           " return [Math.round(r.left + Math.min(r.width / 2, 8)),"
                           "         Math.round(r.top + r.height / 2)]; })()";
    const QVariantList point = RunScript(browser, script).toList();
    if (point.size() != 2) return {-1, -1};
    return {point[0].toInt(), point[1].toInt()};
}

// A point inside the `which`-th element (from 0; -1 the last) whose href attribute is exactly
// `href`, or inside what `inner` finds in that element; scrolled into view.
QPoint PointOf(ulkBrowser& browser, const QString& href, int which = 0, const QString& inner = {}) {
    QString find =
        "(function () { var found = [];"
        " document.querySelectorAll('[href]').forEach(function (e) {"
        "   if (e.getAttribute('href') === %1) found.push(e); });"
        " var e = found[%2 < 0 ? found.length + %2 : %2];"
        " return e && %3.length ? e.querySelector(%3) : e; })()";
    return PointFromScript(browser, find.arg(Literal(href)).arg(which).arg(Literal(inner)));
}

QPoint PointOfSelector(ulkBrowser& browser, const QString& selector) {
    return PointFromScript(browser, "document.querySelector(" + Literal(selector) + ")");
}

void Press(ulkBrowser& browser, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mousePress(PressTarget(browser), button, Qt::NoModifier, at);
    QTest::mouseRelease(PressTarget(browser), button, Qt::NoModifier, at);
}

void Select(ulkBrowser& browser, const QString& id) {
    RunScript(browser,
              "(function () { var r = document.createRange();"
              " r.selectNodeContents(document.getElementById(" +
                  Literal(id) +
                  "));"
                  " var s = window.getSelection(); s.removeAllRanges(); s.addRange(r);"
                  " return s.toString(); })()");
}

// Pages the program itself serves, as slow as the test needs: "stall:/redirect" is sent on to
// "stall:/redirected", which is answered at once; any other is held until Answer.
const QByteArray kStallScheme = "stall";

class StallingPages : public QWebEngineUrlSchemeHandler {
  public:
    void requestStarted(QWebEngineUrlRequestJob* job) override {
        const QString path = job->requestUrl().path();
        if (path == "/redirect") {
            job->redirect(QUrl("stall:/redirected"));
        } else if (path == "/redirected") {
            Reply(job, "<html><head><title>redirected</title></head></html>");
        } else {
            held_.append(job);
        }
    }
    int Held() const { return int(held_.size()); }
    void Answer(const QByteArray& html) {
        for (const QPointer<QWebEngineUrlRequestJob>& job : held_)
            if (job) Reply(job, html);
        held_.clear();
    }

  private:
    static void Reply(QWebEngineUrlRequestJob* job, const QByteArray& html) {
        auto* body = new QBuffer(job);
        body->setData(html);
        body->open(QIODevice::ReadOnly);
        job->reply("text/html", body);
    }

    QList<QPointer<QWebEngineUrlRequestJob>> held_;
};

// Opens the writing end of a FIFO without waiting and closes it again, so that a reader held in
// opening it goes on, to read nothing; says whether one was held there.
bool ReleaseFifoReader(const QString& path) {
    const int end = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK);
    if (end < 0) return false;
    ::close(end);
    return true;
}

// As a host that lets pages run their own scripts would: what the control itself must still hold.
void RunPageScripts(ulkBrowser& browser) {
    browser.Document()->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, true);
}

}  // namespace

class ulkBrowserTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();

    void pageTemplateText_data();
    void pageTemplateText();
    void renderedPageFileIsPerInstanceAndGoesWithTheControl();
    void pageFileNeverGoesToARootFolder_data();
    void pageFileNeverGoesToARootFolder();
    void savedPropertiesRoundTripWithTheDefaultRule();
    void locationForms_data();
    void locationForms();
    void linkTextReachesTheHostExactly_data();
    void linkTextReachesTheHostExactly();
    void otherButtonsRaiseRightClickOnly_data();
    void otherButtonsRaiseRightClickOnly();
    void pressOnPlainTextGivesNoLink();
    void linkNavigatesOnlyWhenRespondingToEvents_data();
    void linkNavigatesOnlyWhenRespondingToEvents();
    void hostShowsAnotherPageFromInsideHTMLClick();
    void loadThatNeverFinishesStopsAtItsLimit();
    void aPressOnTheLoadingViewIsDroppedAndOneElsewhereTaken();
    void openWhileAnotherLoadRunsWaitsForItsOwnPage();
    void aRedirectIsRefusedAndEndsTheWait();
    void scriptInPageTextRunsNothing_data();
    void scriptInPageTextRunsNothing();
    void madeUpPressesRaiseNothing();
    void fileTextNeitherCoversNorStallsThePage();
    void pageReadsNoOtherFileAndReachesNothingOutside();
    void bodyUpdateShowsTheNewBody();
    void printsToAPdfFileWithThePageText();
    void clipboardBlockOffsetsCountBytes_data();
    void clipboardBlockOffsetsCountBytes();
    void malformedClipboardBlockGivesNoFragment_data();
    void malformedClipboardBlockGivesNoFragment();
    void copyAsHtmlReadsBackTheSelection_data();
    void copyAsHtmlReadsBackTheSelection();
    void draggingSelectsOnlyWhenAllowed_data();
    void draggingSelectsOnlyWhenAllowed();
    void contextMenuOffersEntriesOnlyOverASelection();
    void customEntriesFollowTheHostsItems();

  private:
    void Show(ulkBrowser& browser, const QString& page);

    std::unique_ptr<QTemporaryDir> root_;
    QString folder_;  // the program folder; its path holds a blank
    dv::test::RecordingHost host_;
    dv::test::SamplePages sample_;
    QString ownPage_;   // link forms the sample pages do not hold
    QString textPage_;  // plain text to select, print and copy
    StallingPages stalling_;
};

void ulkBrowserTest::initTestCase() {
    root_ = std::make_unique<QTemporaryDir>();
    QVERIFY(root_->isValid());
    folder_ = root_->path() + "/program folder";
    sample_ = dv::test::WriteSamplePages(std::filesystem::path(DV_SOURCE_DIR) / "content",
                                         folder_.toStdString(), host_);
    QVERIFY2(!sample_.board.empty(), "the sample game started");
    QVERIFY(sample_.opponentLink.find(' ') != std::string::npos);

    ownPage_ = folder_ + "/links.html";
    QVERIFY(WriteBytes(ownPage_,
                       "<html><body>"
                       "<p><a href=\"MENUACTION:1005:2\">act</a></p>"
                       "<p><a href=\"game:1:/a folder/Bogwarden_Enemy.txt\">lower</a></p>"
                       "<p><a href=CARD1234>bare</a></p>"
                       "<p><a href=\"other.html\">other</a></p>"
                       "<p id=plain>Nothing to follow here.</p>"
                       "</body></html>"));
    QVERIFY(WriteBytes(folder_ + "/other.html", "<html><body>Other page</body></html>"));
    textPage_ = folder_ + "/text.html";
    QVERIFY(WriteBytes(textPage_, QStringLiteral("<html><head><meta charset=utf-8></head><body>"
                                                 "<p id=abc>abc</p>"
                                                 "<p id=marsh>Lanterns <b>über</b> the marsh ☘</p>"
                                                 "</body></html>")
                                      .toUtf8()));
    QVERIFY(QFile::copy(QString(DV_SOURCE_DIR) + "/content/Pictures/Card-bogwarden-mini.jpg",
                        folder_ + "/portrait.jpg"));
    QVERIFY(WriteBytes(folder_ + "/secret.txt", "the player's secret"));
    QWebEngineProfile::defaultProfile()->installUrlSchemeHandler(kStallScheme, &stalling_);
}

void ulkBrowserTest::cleanupTestCase() {
    QWebEngineProfile::defaultProfile()->removeUrlSchemeHandler(&stalling_);
    dv::SetHost(nullptr);
    dv::ResetState();
}

void ulkBrowserTest::cleanup() {
    QGuiApplication::clipboard()->clear();
}

void ulkBrowserTest::Show(ulkBrowser& browser, const QString& page) {
    browser.resize(900, 700);
    browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&browser));
    browser.OpenURL(GameLocation(page));
    QCOMPARE(browser.Document()->url(), QUrl::fromLocalFile(page));
}

void ulkBrowserTest::pageTemplateText_data() {
    QTest::addColumn<bool>("cssHttp");
    QTest::addColumn<QString>("cssText");
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("styleLine");
    QTest::addColumn<QString>("bodyLine");
    QTest::newRow("empty body becomes an empty DIV, empty address still linked")
        << true << ""
        << ""
        << "<LINK REL=STYLESHEET HREF=\"\" TYPE=\"text/css\"></HEAD>"
        << "<DIV></DIV>";
    QTest::newRow("style sheet text inside a comment")
        << false << "b{color:red}"
        << "<b>x</b>"
        << "<STYLE TYPE=\"text/css\"><!--b{color:red}--></STYLE></HEAD>"
        << "<b>x</b>";
}

void ulkBrowserTest::pageTemplateText() {
    QFETCH(bool, cssHttp);
    QFETCH(QString, cssText);
    QFETCH(QString, body);
    QFETCH(QString, styleLine);
    QFETCH(QString, bodyLine);
    const QString expected =
        "<html>\r\n<head>\r\n<title></title>\r\n<BASE HREF=\"\">\r\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; "
        "charset=UTF-8\">\r\n" +
        styleLine + "\r\n<body>\r\n" + bodyLine + "\r\n</body>\r\n</html>\r\n\r\n";
    QCOMPARE(ulk::PageTemplateText({"", "", cssHttp, cssText, body}), expected);
}

void ulkBrowserTest::renderedPageFileIsPerInstanceAndGoesWithTheControl() {
    QString firstFile;
    {
        ulkBrowser first;
        ulkBrowser second;
        first.setCSSHttp(false);
        first.setbodyHTML("<p>Grün</p>");
        first.setDocumentTitle("Title");
        firstFile = first.PageFilePath();
        QVERIFY(!firstFile.isEmpty());
        QVERIFY(firstFile != second.PageFilePath());
        QVERIFY(!QFileInfo(firstFile).dir().isRoot());
        QCOMPARE(QString::fromUtf8(ReadBytes(firstFile)),
                 ulk::PageTemplateText({"Title", "", false, "", "<p>Grün</p>"}));
        QCOMPARE(first.Document()->url(), QUrl::fromLocalFile(firstFile));
        QVERIFY(first.allHTML().contains("<p>Grün</p>"));
    }
    QVERIFY2(!QFile::exists(firstFile), "the page file goes with its control");
}

void ulkBrowserTest::pageFileNeverGoesToARootFolder_data() {
    QTest::addColumn<QByteArray>("cache");
    QTest::addColumn<QByteArray>("temp");
    QTest::addColumn<QString>("folder");
    const QByteArray temp = root_->path().toUtf8();
    QTest::newRow("no cache folder: the temporary folder")
        << QByteArray("/proc/none") << temp << root_->path();
    QTest::newRow("neither: no page file")
        << QByteArray("/proc/none") << QByteArray("/") << QString();
}

void ulkBrowserTest::pageFileNeverGoesToARootFolder() {
    QFETCH(QByteArray, cache);
    QFETCH(QByteArray, temp);
    QFETCH(QString, folder);
    const QByteArray oldCache = qgetenv("XDG_CACHE_HOME");
    const QByteArray oldTemp = qgetenv("TMPDIR");
    qputenv("XDG_CACHE_HOME", cache);
    qputenv("TMPDIR", temp);
    const QString found = ulk::PageFileFolder();
    ulkBrowser browser;
    browser.setbodyHTML("<p>shown</p>");
    qputenv("XDG_CACHE_HOME", oldCache);
    qputenv("TMPDIR", oldTemp);
    QCOMPARE(found, folder);
    QCOMPARE(browser.PageFilePath().isEmpty(), folder.isEmpty());
    QVERIFY(browser.PageFilePath().startsWith(folder));
    QCOMPARE(browser.bodyHTML(), QString("<p>shown</p>"));
}

void ulkBrowserTest::savedPropertiesRoundTripWithTheDefaultRule() {
    ulkBrowser fresh;
    QCOMPARE(fresh.WriteProperties(), (QVariantMap{{"CSSHttp", true}}));

    ulkBrowser set;
    set.setbodyHTML("<i>body</i>");
    set.setCSSHttp(false);
    set.setCSSText("i{color:blue}");
    set.setDocumentTitle("Saved");
    set.setRespondToEvents(true);
    set.setShowRightClickClipboardmenu(true);
    set.setBorderStyle(ulkBrowser::vbNone);
    const QVariantMap bag = set.WriteProperties();
    QCOMPARE(bag.keys(),
             (QStringList{"BorderStyle", "CSSHttp", "CSSText", "DocumentTitle", "RespondToEvents",
                          "ShowRightClickClipboardmenu", "bodyHTML"}));

    // Through the host's settings file, where Booleans come back as text.
    const QString file = root_->path() + "/settings.ini";
    {
        QSettings settings(file, QSettings::IniFormat);
        for (auto at = bag.begin(); at != bag.end(); ++at)
            settings.setValue(at.key(), at.value());
    }
    QSettings settings(file, QSettings::IniFormat);
    QVariantMap stored;
    for (const QString& key : settings.allKeys())
        stored.insert(key, settings.value(key));
    ulkBrowser read;
    read.ReadProperties(stored);
    QCOMPARE(read.bodyHTML(), QString("<i>body</i>"));
    QCOMPARE(read.CSSHttp(), false);
    QCOMPARE(read.CSSText(), QString("i{color:blue}"));
    QCOMPARE(read.DocumentTitle(), QString("Saved"));
    QCOMPARE(read.RespondToEvents(), true);
    QCOMPARE(read.AllowMouseSelect(), false);
    QCOMPARE(read.ShowRightClickClipboardmenu(), true);
    QCOMPARE(read.BorderStyle(), ulkBrowser::vbNone);
    QVERIFY2(read.allHTML().contains("<i>body</i>"), "reading the bag renders the page");

    ulkBrowser empty;
    empty.ReadProperties({});
    QCOMPARE(empty.CSSHttp(), true);
    QCOMPARE(empty.BorderStyle(), ulkBrowser::vbSingle);
}

void ulkBrowserTest::locationForms_data() {
    QTest::addColumn<QString>("location");
    QTest::addColumn<QUrl>("url");
    const QString colon = folder_ + "/a:b";
    QVERIFY(QDir().mkpath(colon));
    QVERIFY(WriteBytes(colon + "/p.html", "x"));
    QTest::newRow("game form, \"|\" for \":\"")
        << GameLocation(colon + "/p.html") << QUrl::fromLocalFile(colon + "/p.html");
    QTest::newRow("game form, blank kept")
        << GameLocation(ownPage_) << QUrl::fromLocalFile(ownPage_);
    QTest::newRow("escaped file URL") << QUrl::fromLocalFile(ownPage_).toString(QUrl::FullyEncoded)
                                      << QUrl::fromLocalFile(ownPage_);
    QTest::newRow("plain path") << ownPage_ << QUrl::fromLocalFile(ownPage_);
    QTest::newRow("web address") << "http://127.0.0.1:9/x?y=1" << QUrl("http://127.0.0.1:9/x?y=1");
    QTest::newRow("nothing") << "" << QUrl();
}

void ulkBrowserTest::locationForms() {
    QFETCH(QString, location);
    QFETCH(QUrl, url);
    QCOMPARE(ulk::UrlOfLocation(location), url);
}

void ulkBrowserTest::linkTextReachesTheHostExactly_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("href");
    QTest::addColumn<int>("which");
    QTest::addColumn<QString>("tagName");
    QTest::addColumn<QString>("expected");  // href, or the parent's for a picture in a link
    const QString games = Path(sample_.games);
    const QString board = Path(sample_.board);
    const QString opponent = QString::fromStdString(sample_.opponentLink);
    const std::string boardText = dv::ReadWholeFile(sample_.board).value_or("");
    const std::size_t card = boardText.find("href=\"CARD");
    QVERIFY(card != std::string::npos);
    const QString cardLink = QString::fromStdString(
        boardText.substr(card + 6, boardText.find('"', card + 6) - card - 6));

    QTest::newRow("help link") << games << "HELP:MosslightHelp.html" << 0 << "A"
                               << "HELP:MosslightHelp.html";
    QTest::newRow("opponent link, upper case, blanks")
        << games << opponent << -1 << "A" << opponent;
    QTest::newRow("picture inside the opponent link")
        << games << opponent << 0 << "IMG" << opponent;
    QTest::newRow("picture inside a card link of the board")
        << board << cardLink << 0 << "IMG" << cardLink;
    QTest::newRow("menu action") << ownPage_ << "MENUACTION:1005:2" << 0 << "A"
                                 << "MENUACTION:1005:2";
    QTest::newRow("lower-case game link")
        << ownPage_ << "game:1:/a folder/Bogwarden_Enemy.txt" << 0 << "A"
        << "game:1:/a folder/Bogwarden_Enemy.txt";
    QTest::newRow("unquoted card link") << ownPage_ << "CARD1234" << 0 << "A"
                                        << "CARD1234";
}

void ulkBrowserTest::linkTextReachesTheHostExactly() {
    QFETCH(QString, page);
    QFETCH(QString, href);
    QFETCH(int, which);
    QFETCH(QString, tagName);
    QFETCH(QString, expected);
    ulkBrowser browser;
    Show(browser, page);
    QSignalSpy clicks(&browser, &ulkBrowser::HTMLClick);
    QSignalSpy rightClicks(&browser, &ulkBrowser::HTMLRightClick);
    QCOMPARE(browser.CurrentElement().tagName, QString("BODY"));
    // What keeps file text in its place changes nothing in these pages.
    QCOMPARE(RunScript(browser, "document.querySelectorAll('[style]').length").toInt(), 0);

    const QPoint at = PointOf(browser, href, which, tagName == "A" ? "" : tagName);
    QVERIFY(at.x() >= 0);
    Press(browser, at);
    QTRY_COMPARE(clicks.count(), 1);
    const ulkElement element = browser.CurrentElement();
    QCOMPARE(element.tagName, tagName);
    QCOMPARE(tagName == "A" ? element.href : element.parentHref, expected);
    QCOMPARE(rightClicks.count(), 0);
    QCOMPARE(browser.Document()->url(), QUrl::fromLocalFile(page));
}

void ulkBrowserTest::otherButtonsRaiseRightClickOnly_data() {
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

void ulkBrowserTest::otherButtonsRaiseRightClickOnly() {
    QFETCH(Qt::MouseButton, button);
    ulkBrowser browser;
    Show(browser, ownPage_);
    QSignalSpy clicks(&browser, &ulkBrowser::HTMLClick);
    QSignalSpy rightClicks(&browser, &ulkBrowser::HTMLRightClick);
    Press(browser, PointOf(browser, "MENUACTION:1005:2"), button);
    QTRY_COMPARE(rightClicks.count(), 1);
    QCOMPARE(browser.CurrentElement().href, QString("MENUACTION:1005:2"));
    QTest::qWait(200);
    QCOMPARE(clicks.count(), 0);
}

void ulkBrowserTest::pressOnPlainTextGivesNoLink() {
    ulkBrowser browser;
    Show(browser, ownPage_);
    QSignalSpy clicks(&browser, &ulkBrowser::HTMLClick);
    Press(browser, PointOfSelector(browser, "#plain"));
    QTRY_COMPARE(clicks.count(), 1);
    QCOMPARE(browser.CurrentElement().tagName, QString("P"));
    QCOMPARE(browser.CurrentElement().href, QString());
    QCOMPARE(browser.CurrentElement().parentHref, QString());
}

void ulkBrowserTest::linkNavigatesOnlyWhenRespondingToEvents_data() {
    QTest::addColumn<bool>("respond");
    QTest::newRow("the control handles the click") << false;
    QTest::newRow("the page follows its link") << true;
}

void ulkBrowserTest::linkNavigatesOnlyWhenRespondingToEvents() {
    QFETCH(bool, respond);
    ulkBrowser browser;
    browser.setRespondToEvents(respond);
    Show(browser, ownPage_);
    QSignalSpy clicks(&browser, &ulkBrowser::HTMLClick);
    Press(browser, PointOf(browser, "other.html"));
    QTRY_COMPARE(clicks.count(), 1);
    const QUrl other = QUrl::fromLocalFile(folder_ + "/other.html");
    if (respond) {
        QTRY_COMPARE(browser.Document()->url(), other);
    } else {
        QTest::qWait(500);
        QCOMPARE(browser.Document()->url(), QUrl::fromLocalFile(ownPage_));
    }
}

void ulkBrowserTest::hostShowsAnotherPageFromInsideHTMLClick() {
    ulkBrowser browser;
    Show(browser, Path(sample_.games));
    QString clicked;
    bool boardShown = false;
    bool handled = false;
    connect(&browser, &ulkBrowser::HTMLClick, this, [&] {
        clicked = browser.CurrentElement().href;
        browser.OpenURL(GameLocation(Path(sample_.board)));
        boardShown = browser.allHTML().contains("Lamplighter");
        handled = true;
    });
    Press(browser, PointOf(browser, "HELP:MosslightHelp.html"));
    QTRY_VERIFY(handled);
    QCOMPARE(clicked, QString("HELP:MosslightHelp.html"));
    QVERIFY2(boardShown, "OpenURL returned with the new page loaded");
    QCOMPARE(browser.Document()->url(), QUrl::fromLocalFile(Path(sample_.board)));

    // The new page reports its presses as well.
    QSignalSpy clicks(&browser, &ulkBrowser::HTMLClick);
    browser.disconnect(this);
    const std::string boardText = dv::ReadWholeFile(sample_.board).value_or("");
    const std::size_t card = boardText.find("href=\"CARD");
    const QString cardLink = QString::fromStdString(
        boardText.substr(card + 6, boardText.find('"', card + 6) - card - 6));
    Press(browser, PointOf(browser, cardLink, 0, "IMG"));
    QTRY_COMPARE(clicks.count(), 1);
    QCOMPARE(browser.CurrentElement().parentHref, cardLink);
}

void ulkBrowserTest::loadThatNeverFinishesStopsAtItsLimit() {
    ulkBrowser browser;
    browser.setLoadTimeLimit(1500);
    QSignalSpy errors(&browser, &ulkBrowser::ViewerError);
    QElapsedTimer clock;
    clock.start();
    browser.OpenURL("stall:/never");
    QVERIFY2(clock.elapsed() < 1500 + 5000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(errors.count(), 1);
    QCOMPARE(errors[0][0].toInt(), ulkBrowser::kPageTimeLimitError);
    QVERIFY(errors[0][1].toString().contains("/never"));
    QCOMPARE(browser.Document()->url(), QUrl("about:blank"));
    stalling_.Answer({});
}

void ulkBrowserTest::aPressOnTheLoadingViewIsDroppedAndOneElsewhereTaken() {
    ulkBrowser loading;
    ulkBrowser other;
    Show(loading, ownPage_);
    Show(other, ownPage_);
    QPushButton button("elsewhere");
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    // Were the press let through, the page still on screen would follow its link.
    loading.setRespondToEvents(true);
    const QPoint onLoading = PointOf(loading, "other.html");
    const QPoint onOther = PointOf(other, "CARD1234");
    QSignalSpy loadingClicks(&loading, &ulkBrowser::HTMLClick);
    QSignalSpy buttonClicks(&button, &QPushButton::clicked);
    QString otherClicked;
    connect(&other, &ulkBrowser::HTMLClick, this, [&] {
        if (stalling_.Held() == 0) return;  // only a press taken while the page loads counts
        otherClicked = other.CurrentElement().href;
        stalling_.Answer("<html><head><title>loaded</title></head></html>");
    });
    QTimer::singleShot(200, this, [&] {
        Press(loading, onLoading);
        QTest::mouseClick(&button, Qt::LeftButton);
        Press(other, onOther);
    });
    loading.setLoadTimeLimit(10000);
    QSignalSpy errors(&loading, &ulkBrowser::ViewerError);
    loading.OpenURL("stall:/slow");
    QCOMPARE(errors.count(), 0);
    QCOMPARE(loading.Document()->title(), QString("loaded"));
    QCOMPARE(loading.Document()->url(), QUrl("stall:/slow"));
    QCOMPARE(otherClicked, QString("CARD1234"));
    QCOMPARE(buttonClicks.count(), 1);
    QTest::qWait(300);
    QCOMPARE(loadingClicks.count(), 0);
}

void ulkBrowserTest::openWhileAnotherLoadRunsWaitsForItsOwnPage() {
    ulkBrowser browser;
    browser.setLoadTimeLimit(5000);
    QSignalSpy errors(&browser, &ulkBrowser::ViewerError);
    browser.setRespondToEvents(true);
    const QString page = folder_ + "/follow.html";
    QVERIFY(WriteBytes(page, "<html><body><a href=\"stall:/slow\">slow</a></body></html>"));
    Show(browser, page);
    // A followed link: a load the control does not wait for, still running.
    QSignalSpy started(browser.Document(), &QWebEnginePage::loadStarted);
    Press(browser, PointOf(browser, "stall:/slow"));
    QTRY_COMPARE(started.count(), 1);
    QTRY_COMPARE(stalling_.Held(), 1);
    QElapsedTimer clock;
    clock.start();
    browser.OpenURL(textPage_);
    QVERIFY2(clock.elapsed() < 4000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(errors.count(), 0);
    QCOMPARE(browser.Document()->url(), QUrl::fromLocalFile(textPage_));
    QVERIFY(browser.allHTML().contains("Lanterns"));
    stalling_.Answer({});
}

void ulkBrowserTest::aRedirectIsRefusedAndEndsTheWait() {
    ulkBrowser browser;
    browser.setLoadTimeLimit(5000);
    Show(browser, ownPage_);
    QSignalSpy errors(&browser, &ulkBrowser::ViewerError);
    QElapsedTimer clock;
    clock.start();
    browser.OpenURL("stall:/redirect");
    QVERIFY2(clock.elapsed() < 4000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(errors.count(), 0);
    QTest::qWait(300);
    QVERIFY(browser.Document()->title() != "redirected");
    QCOMPARE(browser.Document()->url(), QUrl::fromLocalFile(ownPage_));
}

void ulkBrowserTest::scriptInPageTextRunsNothing_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("press");  // the href of a link to press, if any
    QTest::newRow("script element") << QByteArray("<script>document.title = 'ran';</script>") << "";
    QTest::newRow("error handler of a picture")
        << QByteArray("<img src=\"missing.png\" onerror=\"document.title = 'ran'\">") << "";
    QTest::newRow("refresh to another page")
        << QByteArray("<meta http-equiv=\"refresh\" content=\"0;url=other.html\">") << "";
    QTest::newRow("script link pressed")
        << QByteArray("<p><a href=\"javascript:document.title = 'ran'\">go</a></p>")
        << "javascript:document.title = 'ran'";
    QTest::newRow("frame of another page")
        << QByteArray("<iframe id=frame src=\"other.html\"></iframe>") << "";
}

void ulkBrowserTest::scriptInPageTextRunsNothing() {
    QFETCH(QByteArray, text);
    QFETCH(QString, press);
    const QString page = folder_ + "/hostile.html";
    QVERIFY(WriteBytes(page, "<html><head><title>unset</title></head><body>" + text +
                                 "<p>Card text</p></body></html>"));
    ulkBrowser browser;
    browser.setRespondToEvents(true);  // a link the user presses would even be followed
    Show(browser, page);
    if (!press.isEmpty()) {
        QSignalSpy clicks(&browser, &ulkBrowser::HTMLClick);
        Press(browser, PointOf(browser, press));
        QTRY_COMPARE(clicks.count(), 1);
        QCOMPARE(browser.CurrentElement().href, press);
    }
    QTest::qWait(500);
    QCOMPARE(browser.Document()->title(), QString("unset"));
    QCOMPARE(browser.Document()->url(), QUrl::fromLocalFile(page));
    // A frame left empty is the page's own; one that loaded another page is not.
    QCOMPARE(RunScript(browser,
                       "(function () { var f = document.getElementById('frame');"
                       " if (!f) return ''; try { return f.contentDocument.body.innerText;"
                       " } catch (e) { return 'loaded'; } })()")
                 .toString(),
             QString());
}

void ulkBrowserTest::madeUpPressesRaiseNothing() {
    const QString page = folder_ + "/made-up.html";
    QVERIFY(WriteBytes(
        page,
        "<html><head><title>unset</title></head><body style=\"margin: 0\">"
        "<p style=\"margin-top: 300px\"><a href=\"CARD1234\">real</a></p><script>"
        "var a = document.createElement('a'); a.href = 'GAME:1:x'; a.textContent = 'start';"
        "a.style = 'position: fixed; left: 0; top: 0; width: 200px; height: 100px';"
        "document.body.appendChild(a); getSelection().selectAllChildren(document.body);"
        "['mousedown', 'contextmenu'].forEach(function (type) {"
        "  a.dispatchEvent(new MouseEvent(type, {bubbles: true, clientX: 10, clientY: 10,"
        "                                        button: 0, buttons: 1})); });"
        "document.title = 'dispatched';</script></body></html>"));
    ulkBrowser browser;
    RunPageScripts(browser);
    browser.setAllowMouseSelect(true);
    browser.setShowRightClickClipboardmenu(true);
    QSignalSpy clicks(&browser, &ulkBrowser::HTMLClick);
    QSignalSpy rightClicks(&browser, &ulkBrowser::HTMLRightClick);
    Show(browser, page);
    QTRY_COMPARE(browser.Document()->title(), QString("dispatched"));
    QTest::qWait(300);
    QCOMPARE(clicks.count(), 0);
    QCOMPARE(rightClicks.count(), 0);
    QVERIFY2(!browser.findChild<QMenu*>("mnuClipboard")->isVisible(), "a made-up menu request");
    // The user's own press on the page still counts.
    Press(browser, PointOf(browser, "CARD1234"));
    QTRY_COMPARE(clicks.count(), 1);
    QCOMPARE(browser.CurrentElement().href, QString("CARD1234"));
}

// A card name from an opponent file laid a link over the whole board: the player's next press
// anywhere pressed it instead of the card under the pointer. A picture naming a FIFO held the
// page for the whole time limit, and a thread for good: should a picture's load open the FIFO,
// the test says so at once and lets the thread go, so that the program can end.
void ulkBrowserTest::fileTextNeitherCoversNorStallsThePage() {
    const QString pipe = folder_ + "/pipe.jpg";
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    struct Release {
        QString pipe;
        ~Release() { ReleaseFifoReader(pipe); }
    } release{pipe};
    QVERIFY(QFile::link("/dev/zero", folder_ + "/zero.jpg"));
    QVERIFY(QFile::link(folder_ + "/portrait.jpg", folder_ + "/linked.jpg"));
    QVERIFY(ulk::RegularLocalFile(QUrl::fromLocalFile(folder_ + "/linked.jpg")));
    QVERIFY(!ulk::RegularLocalFile(QUrl::fromLocalFile(folder_ + "/zero.jpg")));
    const QByteArray cover = "left:0;top:0;width:100%;height:100%;display:block'></a>";
    const QByteArray kCentred =
        "display:inline-block;width:4000px;height:4000px;margin:-2000px -2000px -2000px -2000px";
    // The page loads at once when it opens no FIFO.
    constexpr int kFifoWaitMs = 5000;
    const QString page = folder_ + "/hostile.html";
    QVERIFY(WriteBytes(
        page,
        "<table><tr><td><a href=CARD1234>Lamplighter</a></td><td>"
        "<a href='GAME:1:Mirewitch_Enemy.txt' style='position:fixed;" +
            cover +
            "<style>#w{position:absolute!important;inset:0}</style><a id=w href=G></a>"
            "<span><template shadowroot=closed><a href=G style='position:fixed;" +
            cover + "</template></span><img src=pipe.jpg><img src=zero.jpg></td></tr></table>" +
            // Negative margins that centre a large box on its place, from an attribute and
            // from a style sheet; each box alone would cover the page.
            "<div style='height:0'><a href=G style='" + kCentred + "'></a></div><style>.m{" +
            kCentred + "}</style><div style='height:0'><a class=m href=G></a></div>"));
    ulkBrowser browser;
    browser.setLoadTimeLimit(kFifoWaitMs);
    QSignalSpy errors(&browser, &ulkBrowser::ViewerError);
    Show(browser, page);
    QVERIFY2(!ReleaseFifoReader(pipe), "the page opened a picture that is a FIFO");
    QCOMPARE(errors.count(), 0);
    QSignalSpy clicks(&browser, &ulkBrowser::HTMLClick);
    Press(browser, PointOf(browser, "CARD1234"));
    QTRY_COMPARE(clicks.count(), 1);
    QCOMPARE(browser.CurrentElement().href, QString("CARD1234"));
}

void ulkBrowserTest::pageReadsNoOtherFileAndReachesNothingOutside() {
    QTcpServer outside;
    QVERIFY(outside.listen(QHostAddress::LocalHost));
    const QString port = QString::number(outside.serverPort());
    const QString page = folder_ + "/reader.html";
    QVERIFY(WriteBytes(
        page, ("<html><head><title>unset</title></head><body><img id=pic src=\"portrait.jpg\">"
               "<img src=\"http://127.0.0.1:" +
               port +
               "/x.png\"><script>"
               "var seen = 'refused';"
               "try { var r = new XMLHttpRequest(); r.open('GET', 'secret.txt', false); r.send();"
               "      seen = 'read ' + r.responseText; } catch (e) {}"
               "try { new WebSocket('ws://127.0.0.1:" +
               port +
               "/'); } catch (e) {}"
               "fetch('http://127.0.0.1:" +
               port +
               "/f').catch(function () {});"
               "document.title = seen;</script></body></html>")
                  .toUtf8()));
    ulkBrowser browser;
    RunPageScripts(browser);
    Show(browser, page);
    QTRY_VERIFY(browser.Document()->title() != "unset");
    QCOMPARE(browser.Document()->title(), QString("refused"));
    QVERIFY2(RunScript(browser, "document.getElementById('pic').naturalWidth").toInt() > 0,
             "a picture given by path shows");
    // Nor may the host's own call open a page from outside.
    QElapsedTimer clock;
    clock.start();
    browser.OpenURL("http://127.0.0.1:" + port + "/page");
    QVERIFY2(clock.elapsed() < 4000, qPrintable(QString::number(clock.elapsed())));
    QTest::qWait(500);
    QVERIFY(!outside.hasPendingConnections());
}

void ulkBrowserTest::bodyUpdateShowsTheNewBody() {
    ulkBrowser browser;
    QSignalSpy changes(&browser, &ulkBrowser::PropertyChanged);
    browser.setbodyHTML("<p id=first>first</p>");
    browser.setbodyHTML("<p id=second>second</p>");
    QCOMPARE(browser.bodyHTML(), QString("<p id=second>second</p>"));
    QVERIFY(browser.allHTML().contains("<p id=\"second\">second</p>"));
    QCOMPARE(changes.count(), 2);
    QCOMPARE(changes[0][0].toString(), QString("bodyhtml"));

    // A page opened by address leaves the stored body alone; it has no base element to change.
    browser.OpenURL(ownPage_);
    QCOMPARE(browser.bodyHTML(), QString("<p id=second>second</p>"));
    QVERIFY(!browser.setBaseHREF("http://example.invalid/"));
    QCOMPARE(browser.BaseHREF(), QString("http://example.invalid/"));
    QCOMPARE(browser.Document()->url(), QUrl::fromLocalFile(ownPage_));
}

void ulkBrowserTest::printsToAPdfFileWithThePageText() {
    ulkBrowser browser;
    Show(browser, textPage_);
    const QString pdf = root_->path() + "/printed.pdf";
    browser.Printer().setOutputFormat(QPrinter::PdfFormat);
    browser.Printer().setOutputFileName(pdf);
    browser.printDocument(true);
    const QByteArray bytes = ReadBytes(pdf);
    QVERIFY(bytes.startsWith("%PDF"));
    const QString text = dv::test::PdfText(bytes);
    QVERIFY2(text.contains("Lanterns"), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("über")), qPrintable(text));
}

void ulkBrowserTest::clipboardBlockOffsetsCountBytes_data() {
    QTest::addColumn<QString>("fragment");
    QTest::addColumn<QList<int>>("offsets");  // StartHTML, EndHTML, StartFragment, EndFragment
    QTest::newRow("abc") << "abc" << QList<int>{105, 174, 138, 141};
    QTest::newRow("two-byte and three-byte characters")
        << QStringLiteral("ü☘") << QList<int>{105, 176, 138, 143};
}

void ulkBrowserTest::clipboardBlockOffsetsCountBytes() {
    QFETCH(QString, fragment);
    QFETCH(QList<int>, offsets);
    const QByteArray data = ulk::HtmlClipboardData(fragment, "<HTML><BODY>", "</BODY></HTML>");
    const QByteArray header = QString(
                                  "Version:1.0\r\nStartHTML:%1\r\nEndHTML:%2\r\n"
                                  "StartFragment:%3\r\nEndFragment:%4\r\n")
                                  .arg(offsets[0], 10, 10, QChar('0'))
                                  .arg(offsets[1], 10, 10, QChar('0'))
                                  .arg(offsets[2], 10, 10, QChar('0'))
                                  .arg(offsets[3], 10, 10, QChar('0'))
                                  .toLatin1();
    QVERIFY(data.startsWith(header));
    QCOMPARE(data.size(), offsets[1]);
    QCOMPARE(data.mid(offsets[2], offsets[3] - offsets[2]), fragment.toUtf8());
    QCOMPARE(ulk::FragmentOfHtmlClipboardData(data), fragment);
}

void ulkBrowserTest::malformedClipboardBlockGivesNoFragment_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("no offsets") << QByteArray("<b>foreign</b>");
    QTest::newRow("offsets not numbers")
        << QByteArray("StartFragment:abcdefghij\r\nEndFragment:0000000040\r\n");
    QTest::newRow("short numbers followed by text")
        << QByteArray("StartFragment:10\r\nEndFragment:20\r\nxxxxxxxxxxxxxxxxxxxx");
    QTest::newRow("end past the data")
        << QByteArray("StartFragment:0000000010\r\nEndFragment:0000099999\r\n");
    QTest::newRow("start after end")
        << QByteArray("StartFragment:0000000040\r\nEndFragment:0000000010\r\nxxxxxxxxxxxxxx");
    QTest::newRow("zero start") << QByteArray(
        "StartFragment:0000000000\r\nEndFragment:0000000010\r\n");
}

void ulkBrowserTest::malformedClipboardBlockGivesNoFragment() {
    QFETCH(QByteArray, data);
    QCOMPARE(ulk::FragmentOfHtmlClipboardData(data), QString());
    auto* mime = new QMimeData;
    mime->setData(ulk::RegisterHtmlFormat(), data);
    QGuiApplication::clipboard()->setMimeData(mime);
    QCOMPARE(ulkBrowser().GetClipboardHTML(), QString());
}

void ulkBrowserTest::copyAsHtmlReadsBackTheSelection_data() {
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("fragment");
    QTest::newRow("plain") << "abc"
                           << "abc";
    QTest::newRow("markup and non-ASCII")
        << "marsh" << QStringLiteral("Lanterns <b>über</b> the marsh ☘");
}

void ulkBrowserTest::copyAsHtmlReadsBackTheSelection() {
    QFETCH(QString, id);
    QFETCH(QString, fragment);
    ulkBrowser browser;
    Show(browser, textPage_);
    QGuiApplication::clipboard()->setText("before");
    QCOMPARE(browser.GetClipboardHTML(), QString());
    QSignalSpy before(&browser, &ulkBrowser::ClipboardCopyBeforeBegin);
    QSignalSpy completed(&browser, &ulkBrowser::ClipboardCopyCompleted);
    Select(browser, id);
    browser.findChild<QAction*>("mnuCopyHTML")->trigger();
    QCOMPARE(before.count(), 1);
    QCOMPARE(completed.count(), 1);
    QCOMPARE(completed[0][0].value<ulkBrowser::br_Format>(), ulkBrowser::BR_FORMAT_HTML);
    QCOMPARE(browser.GetClipboardHTML(), fragment);
    QCOMPARE(QGuiApplication::clipboard()->mimeData()->html(), fragment);
}

void ulkBrowserTest::draggingSelectsOnlyWhenAllowed_data() {
    QTest::addColumn<bool>("allow");
    QTest::newRow("not allowed") << false;
    QTest::newRow("allowed") << true;
}

void ulkBrowserTest::draggingSelectsOnlyWhenAllowed() {
    QFETCH(bool, allow);
    ulkBrowser browser;
    browser.setAllowMouseSelect(allow);
    Show(browser, textPage_);
    const QPoint from = PointOfSelector(browser, "#marsh");
    const QPoint to = from + QPoint(200, 0);
    QWidget* target = PressTarget(browser);
    QTest::mousePress(target, Qt::LeftButton, Qt::NoModifier, from);
    for (int step = 1; step <= 10; ++step)
        QTest::mouseMove(target, from + (to - from) * step / 10, 10);
    QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, to);
    QTest::qWait(200);
    const QString selected = RunScript(browser, "window.getSelection().toString()").toString();
    QCOMPARE(!selected.isEmpty(), allow);
}

void ulkBrowserTest::contextMenuOffersEntriesOnlyOverASelection() {
    ulkBrowser browser;
    browser.setAllowMouseSelect(true);
    browser.setShowRightClickClipboardmenu(true);
    Show(browser, textPage_);
    auto* menu = browser.findChild<QMenu*>("mnuClipboard");
    auto* copyText = browser.findChild<QAction*>("mnuCopyText");
    const QPoint onText = PointOfSelector(browser, "#abc");

    Press(browser, onText, Qt::RightButton);
    QTest::qWait(300);
    QVERIFY2(!menu->isVisible(), "nothing selected, no menu");

    Select(browser, "abc");
    QSignalSpy completed(&browser, &ulkBrowser::ClipboardCopyCompleted);
    Press(browser, onText, Qt::RightButton);
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(copyText->isVisible());
    copyText->trigger();
    menu->hide();
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("abc"));
    QCOMPARE(completed.count(), 1);
    QCOMPARE(completed[0][0].value<ulkBrowser::br_Format>(), ulkBrowser::BR_FORMAT_TEXT);
    QCOMPARE(RunScript(browser, "window.getSelection().toString()").toString(), QString());

    // Without the copy entries, a custom entry alone is offered.
    browser.setShowRightClickClipboardmenu(false);
    browser.MenuAdd("mine", "Mine");
    Select(browser, "abc");
    Press(browser, onText, Qt::RightButton);
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(!copyText->isVisible());
    QVERIFY(browser.findChild<QAction*>("mnuCustom1")->isVisible());
    menu->hide();
}

void ulkBrowserTest::customEntriesFollowTheHostsItems() {
    ulkBrowser browser;
    QCOMPARE(browser.MenuAdd("dup", "First"), qint16(1));
    QCOMPARE(browser.MenuAdd("DUP", "Second", true, true), qint16(2));
    QCOMPARE(browser.MenuAdd("other", "Second", false), qint16(3));

    QSignalSpy before(&browser, &ulkBrowser::CustomMenuBeforeClick);
    QSignalSpy chosen(&browser, &ulkBrowser::CustomMenuClick);
    QAction* second = browser.findChild<QAction*>("mnuCustom2");
    second->trigger();
    QCOMPARE(before.count(), 1);
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(chosen[0][0].toString(), QString("DUP"));
    QCOMPARE(chosen[0][1].toInt(), 2);
    QCOMPARE(chosen[0][2].toBool(), true);
    QCOMPARE(chosen[0][3].toBool(), true);
    QVERIFY2(second->isChecked(), "choosing an entry leaves its tick to the host");

    // Every entry showing the item's caption follows a change, even another item's.
    browser.MenuChange("other", true, true, false);
    QVERIFY(!browser.findChild<QAction*>("mnuCustom2")->isVisible());
    QVERIFY(!browser.findChild<QAction*>("mnuCustom3")->isVisible());
    QVERIFY(browser.findChild<QAction*>("mnuCustom1")->isVisible());

    QVERIFY(browser.MenuRemove("dup"));
    QCOMPARE(browser.MenuItems().size(), 2);
    QCOMPARE(browser.MenuItems()[0].MenuText, QString("Second"));
    QVERIFY(!browser.MenuRemove("nobody"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(browser.findChildren<QAction*>(QRegularExpression("^mnuCustom")).size(), 2);
    QCOMPARE(browser.findChild<QAction*>("mnuCustom1")->text(), QString("Second"));
}

int main(int argc, char** argv) {
    QWebEngineUrlScheme stall(kStallScheme);
    stall.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    QWebEngineUrlScheme::registerScheme(stall);
    return dv::test::RunWindowTest<ulkBrowserTest>(argc, argv);
}

#include "ulk_browser_test.moc"
