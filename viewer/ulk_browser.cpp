#include "viewer/ulk_browser.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QEventLoop>
#include <QFile>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QTimer>
#include <QWebChannel>
#include <QWebEngineLoadingInfo>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <memory>

#include "viewer/html_clipboard.h"
#include "viewer/page_bridge.h"
#include "viewer/page_location.h"
#include "viewer/page_requests.h"
#include "viewer/page_script.h"
#include "viewer/page_template.h"

namespace {

// While a control waits for a page, presses, keys and wheel turns aimed at it are dropped: they
// were aimed at the page on screen before and must not act on the page that comes. Input for
// every other widget goes on as usual; the host's own re-entry rules decide what it may do
// meanwhile. Releases and moves go through, so that neither a widget nor the browser is left
// thinking a button is still held down.
class InputDropper : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
            case QEvent::KeyPress:
            case QEvent::ShortcutOverride:
            case QEvent::Wheel:
            case QEvent::TouchBegin:
                return AimedAtWaiting(watched);
            default:
                return false;
        }
    }

    // The controls waiting now, innermost last; a control gone meanwhile is null.
    QList<QPointer<QWidget>> waiting;

  private:
    bool AimedAtWaiting(QObject* watched) const {
        // The window system's events pass through the top-level window first and reach the
        // widget aimed at next; they are judged there.
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget) return false;
        for (const QPointer<QWidget>& control : waiting)
            if (control && (control == widget || control->isAncestorOf(widget))) return true;
        return false;
    }
};

// Drops the input aimed at `control` while it waits.
class DroppingInput {
  public:
    explicit DroppingInput(QWidget* control) {
        if (!qApp) return;
        if (!dropper_) dropper_ = new InputDropper(qApp);
        if (dropper_->waiting.isEmpty()) qApp->installEventFilter(dropper_);
        dropper_->waiting.append(control);
        active_ = true;
    }
    ~DroppingInput() {
        if (!active_ || !dropper_) return;
        // Waits end in the reverse order they began: each runs in an event loop of its own.
        dropper_->waiting.removeLast();
        if (dropper_->waiting.isEmpty() && qApp) qApp->removeEventFilter(dropper_);
    }
    DroppingInput(const DroppingInput&) = delete;
    DroppingInput& operator=(const DroppingInput&) = delete;

  private:
    bool active_ = false;
    static inline QPointer<InputDropper> dropper_;
};

// The inner browser sits this far in from the control's left and top edges.
constexpr int kInnerOffset = 5;
constexpr int kLeftButtonAlone = 1;
// A load asked for while the browser engine still handles a press that may start a selection (a
// control that allows selection), and in some quick successions of loads, can be held back until
// it is stopped. One that has not started within this time is stopped and asked for again, at
// most this often.
constexpr int kLoadStartMs = 500;
constexpr int kMaxLoadRestarts = 3;
const QString kPageScriptName = QStringLiteral("ulkPageScript");
const QString kHtmlPrefix = QStringLiteral("<HTML><BODY>");
const QString kHtmlSuffix = QStringLiteral("</BODY></HTML>");

int NextInstanceNumber() {
    static int count = 0;
    return ++count;
}

}  // namespace

ulkBrowser::ulkBrowser(QWidget* parent)
    : QFrame(parent), savedCurrentElement_(QVariant::fromValue<qint16>(0)) {
    WebBrowser1_ = new QWebEngineView(this);
    WebBrowser1_->setObjectName("WebBrowser1");
    auto* page = new ulkWebPage([this] { return respondToEvents_; }, WebBrowser1_);
    page_ = page;
    // Page text is data: no script of its own, nothing remote, and of other files only what a
    // page shows (the request filter). Local file access stays on: without it the browser engine
    // shows no picture given by path.
    QWebEngineSettings* settings = page->settings();
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    page->setUrlRequestInterceptor(new ulk::RequestFilter(page->profile(), page));
    WebBrowser1_->setPage(page);
    WebBrowser1_->setContextMenuPolicy(Qt::PreventContextMenu);
    setFocusProxy(WebBrowser1_);

    bridge_ = new ulkPageBridge(this);
    channel_ = new QWebChannel(this);
    channel_->registerObject(ulk::kBridgeName, bridge_);
    page->setWebChannel(channel_, QWebEngineScript::ApplicationWorld);
    InstallPageScript();

    mnuClipboard_ = new QMenu(QStringLiteral("Clipboard"), this);
    mnuClipboard_->setObjectName("mnuClipboard");
    mnuCopyHTML_ = mnuClipboard_->addAction(QStringLiteral("Copy Selection as HTML"));
    mnuCopyHTML_->setObjectName("mnuCopyHTML");
    connect(mnuCopyHTML_, &QAction::triggered, this, [this] { CopySelectionAsHtml(); });
    mnuCopyText_ = mnuClipboard_->addAction(QStringLiteral("Copy Selection as Text"));
    mnuCopyText_->setObjectName("mnuCopyText");
    connect(mnuCopyText_, &QAction::triggered, this, [this] { CopySelectionAsText(); });

    const QString folder = ulk::PageFileFolder();
    if (!folder.isEmpty()) pageFile_ = folder + "/" + ulk::PageFileName(NextInstanceNumber());

    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        auto inside = [this](QWidget* w) { return w && (w == this || isAncestorOf(w)); };
        if (inside(now) && !inside(old)) emit Focus();
    });

    ApplyBorder();
    // Nothing waits in the constructor: the first page shown waits for itself.
    page->setUrl(QUrl(QStringLiteral("about:blank")));
}

ulkBrowser::~ulkBrowser() {
    if (!pageFile_.isEmpty()) QFile::remove(pageFile_);
}

void ulkBrowser::OpenURL(const QString& sURL) {
    const QUrl url = ulk::UrlOfLocation(sURL);
    if (url.isEmpty()) return;
    ShowPage(url);
}

bool ulkBrowser::ShowPage(const QUrl& url) {
    const WaitEnd end = NavigateAndWait(url);
    if (end == WaitEnd::Gone) return false;
    if (end == WaitEnd::Done) return true;
    WebBrowser1_->page()->triggerAction(QWebEnginePage::Stop);
    if (NavigateAndWait(QUrl(QStringLiteral("about:blank"))) == WaitEnd::Gone) return false;
    emit ViewerError(kPageTimeLimitError,
                     QStringLiteral("The page %1 did not load within %2 seconds and was stopped.")
                         .arg(url.toDisplayString())
                         .arg(loadTimeLimitMs_ / 1000.0));
    return true;
}

ulkBrowser::WaitEnd ulkBrowser::WaitFor(QEventLoop& loop, const bool& done) const {
    if (done) return WaitEnd::Done;
    QPointer<ulkBrowser> self(const_cast<ulkBrowser*>(this));
    QTimer limit;
    limit.setSingleShot(true);
    connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(self.data(), &QObject::destroyed, &loop, &QEventLoop::quit);
    limit.start(loadTimeLimitMs_);
    ++waiting_;
    {
        DroppingInput dropping(const_cast<ulkBrowser*>(this));
        loop.exec();
    }
    if (!self) return WaitEnd::Gone;
    --waiting_;
    return done ? WaitEnd::Done : WaitEnd::TimedOut;
}

ulkBrowser::WaitEnd ulkBrowser::NavigateAndWait(const QUrl& url) {
    QEventLoop loop;
    bool started = false;
    bool done = false;
    int restarts = 0;
    // Another load may still start or end meanwhile. A load that replaces a running one starts
    // no load of its own and ends with its own address; a redirect is refused, which ends the
    // load where it began. A load stopped here to be asked for again does not end the wait.
    connect(WebBrowser1_->page(), &QWebEnginePage::loadingChanged, &loop,
            [&](const QWebEngineLoadingInfo& info) {
                if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
                    started = started || ulk::SameLocation(info.url(), url);
                    return;
                }
                if (!started && !ulk::SameLocation(info.url(), url)) return;
                if (!started && restarts > 0 &&
                    info.status() == QWebEngineLoadingInfo::LoadStoppedStatus)
                    return;
                done = true;
                loop.quit();
            });
    page_->LoadOwn(url);
    QTimer restart;
    connect(&restart, &QTimer::timeout, &loop, [&] {
        if (started || done || ++restarts > kMaxLoadRestarts) {
            restart.stop();
            return;
        }
        page_->triggerAction(QWebEnginePage::Stop);
        page_->load(url);
    });
    restart.start(kLoadStartMs);
    QPointer<ulkWebPage> page(page_);
    const WaitEnd end = WaitFor(loop, done);
    if (page) page->Forget(url);
    return end;
}

ulkBrowser::WaitEnd ulkBrowser::RunScriptAndWait(const QString& script, QVariant* result) const {
    struct Answer {
        bool done = false;
        QVariant value;
    };
    auto answer = std::make_shared<Answer>();
    QEventLoop loop;
    QPointer<QEventLoop> waiting(&loop);
    WebBrowser1_->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                                        [answer, waiting](const QVariant& value) {
                                            answer->done = true;
                                            answer->value = value;
                                            if (waiting) waiting->quit();
                                        });
    const WaitEnd end = WaitFor(loop, answer->done);
    if (result) *result = answer->value;
    return end;
}

bool ulkBrowser::LoadPageTemplate() {
    if (pageFile_.isEmpty()) return true;
    QFile::remove(pageFile_);
    const ulk::PageTemplate page{documentTitle_, baseHREF_, cssHttp_, cssText_, bodyHTML_};
    if (!ulk::BuildPageTemplate(pageFile_, page)) return true;
    return ShowPage(QUrl::fromLocalFile(pageFile_));
}

void ulkBrowser::InstallPageScript() {
    QWebEngineScriptCollection& scripts = WebBrowser1_->page()->scripts();
    for (const QWebEngineScript& old : scripts.find(kPageScriptName))
        scripts.remove(old);
    QWebEngineScript script;
    script.setName(kPageScriptName);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setRunsOnSubFrames(false);
    script.setSourceCode(ulk::PageScriptSource(respondToEvents_, allowMouseSelect_));
    scripts.insert(script);
    WebBrowser1_->page()->runJavaScript(ulk::PageFlagsScript(respondToEvents_, allowMouseSelect_),
                                        QWebEngineScript::ApplicationWorld);
}

void ulkBrowser::setDocumentTitle(const QString& title) {
    documentTitle_ = title;
    LoadPageTemplate();
}

void ulkBrowser::setbodyHTML(const QString& html) {
    if (!LoadPageTemplate()) return;
    bodyHTML_ = html;
    emit PropertyChanged(QStringLiteral("bodyhtml"));
    RunScriptAndWait(ulk::SetBodyScript(bodyHTML_), nullptr);
}

void ulkBrowser::setCSSHttp(bool isAddress) {
    cssHttp_ = isAddress;
    emit PropertyChanged(QStringLiteral("CSSHttp"));
}

void ulkBrowser::setCSSText(const QString& text) {
    cssText_ = text;
    emit PropertyChanged(QStringLiteral("CSSText"));
    LoadPageTemplate();
}

bool ulkBrowser::setBaseHREF(const QString& address) {
    QPointer<ulkBrowser> self(this);
    baseHREF_ = address;
    emit PropertyChanged(QStringLiteral("BaseHREF"));
    if (!self) return false;
    QVariant changed;
    if (RunScriptAndWait(ulk::SetBaseAddressScript(address), &changed) != WaitEnd::Done)
        return false;
    if (!changed.toBool()) return false;
    return LoadPageTemplate();
}

QString ulkBrowser::allHTML() const {
    QVariant html;
    RunScriptAndWait(ulk::RootHtmlScript(), &html);
    return html.toString();
}

QWebEnginePage* ulkBrowser::Document() const {
    return WebBrowser1_->page();
}

WId ulkBrowser::Handle() {
    return winId();
}

void ulkBrowser::setBorderStyle(ControlBorderStyle style) {
    borderStyle_ = style;
    ApplyBorder();
    emit PropertyChanged(QStringLiteral("BorderStyle"));
}

void ulkBrowser::setAppearance(int appearance) {
    appearance_ = appearance;
    ApplyBorder();
}

void ulkBrowser::ApplyBorder() {
    if (borderStyle_ == vbNone)
        setFrameStyle(QFrame::NoFrame);
    else if (appearance_ == 0)
        setFrameStyle(QFrame::Box | QFrame::Plain);
    else
        setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setLineWidth(1);
    PlaceInnerBrowser();
}

void ulkBrowser::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    PlaceInnerBrowser();
}

void ulkBrowser::PlaceInnerBrowser() {
    const QRect area = contentsRect();
    const int width = area.width() - kInnerOffset;
    const int height = area.height() - kInnerOffset;
    if (width <= 0 || height <= 0) return;
    WebBrowser1_->setGeometry(area.x() + kInnerOffset, area.y() + kInnerOffset, width, height);
}

void ulkBrowser::setRespondToEvents(bool respond) {
    respondToEvents_ = respond;
    InstallPageScript();
    emit PropertyChanged(QStringLiteral("RespondToEvents"));
}

void ulkBrowser::setAllowMouseSelect(bool allow) {
    allowMouseSelect_ = allow;
    InstallPageScript();
    emit PropertyChanged(QStringLiteral("AllowMouseSelect"));
}

ulkElement ulkBrowser::CurrentElement() const {
    if (hasCurrentElement_) return currentElement_;
    ulkElement body;
    body.tagName = QStringLiteral("BODY");
    return body;
}

void ulkBrowser::setShowRightClickClipboardmenu(bool show) {
    showClipboardMenu_ = show;
    emit PropertyChanged(QStringLiteral("ShowRightClickClipboardmenu"));
}

void ulkBrowser::RaiseQueued(std::function<void()> raise) {
    QMetaObject::invokeMethod(this, std::move(raise), Qt::QueuedConnection);
}

void ulkBrowser::OnPress(const ulkElement& element, int buttons) {
    if (waiting_ > 0) return;
    RaiseQueued([this, element, buttons] {
        if (waiting_ > 0) return;
        currentElement_ = element;
        hasCurrentElement_ = true;
        if (buttons == kLeftButtonAlone)
            emit HTMLClick();
        else
            emit HTMLRightClick();
    });
}

void ulkBrowser::OnContextMenu(const QString& selectionHtml, const QString& selectionText) {
    RaiseQueued([this, selectionHtml, selectionText] {
        if (!allowMouseSelect_ || (!showClipboardMenu_ && menuItems_.isEmpty())) return;
        mnuCopyHTML_->setVisible(showClipboardMenu_);
        mnuCopyText_->setVisible(showClipboardMenu_);
        selectionText_ = selectionText;
        if (selectionHtml.isEmpty()) return;
        mnuClipboard_->popup(QCursor::pos());
    });
}

void ulkBrowser::CopySelectionAsHtml() {
    QPointer<ulkBrowser> self(this);
    emit ClipboardCopyBeforeBegin();
    if (!self) return;
    QVariant html;
    if (RunScriptAndWait(ulk::SelectionHtmlScript(), &html) == WaitEnd::Gone) return;
    ulk::CopyHtmlToClipboard(html.toString(), kHtmlPrefix, kHtmlSuffix);
    emit ClipboardCopyCompleted(BR_FORMAT_HTML);
}

void ulkBrowser::CopySelectionAsText() {
    QPointer<ulkBrowser> self(this);
    emit ClipboardCopyBeforeBegin();
    if (!self) return;
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        clipboard->clear();
        clipboard->setText(selectionText_);
    }
    if (RunScriptAndWait(ulk::ClearSelectionScript(), nullptr) == WaitEnd::Gone) return;
    selectionText_.clear();
    emit ClipboardCopyCompleted(BR_FORMAT_TEXT);
}

QString ulkBrowser::GetClipboardHTML() const {
    return ulk::GetHtmlFromClipboard();
}

qint16 ulkBrowser::MenuAdd(const QString& Name, const QString& MenuText, bool Enabled, bool Checked,
                           bool Visible) {
    menuItems_.append(clsContextMenu{Name, Enabled, MenuText, Checked, Visible});
    RebuildCustomMenu();
    return qint16(menuItems_.size());
}

bool ulkBrowser::MenuRemove(const QString& Name) {
    bool removed = false;
    for (qsizetype i = 0; i < menuItems_.size(); ++i) {
        if (menuItems_[i].MenuName.compare(Name, Qt::CaseInsensitive) != 0) continue;
        menuItems_.removeAt(i);
        removed = true;
        break;
    }
    RebuildCustomMenu();
    return removed;
}

void ulkBrowser::MenuChange(const QString& Name, bool Checked, bool Enabled, bool Visible) {
    for (clsContextMenu& item : menuItems_) {
        if (item.MenuName.compare(Name, Qt::CaseInsensitive) != 0) continue;
        item.MenuChecked = Checked;
        item.MenuEnabled = Enabled;
        item.MenuVisible = Visible;
        for (QAction* entry : mnuCustom_) {
            if (entry->text() != item.MenuText) continue;
            entry->setChecked(Checked);
            entry->setEnabled(Enabled);
            entry->setVisible(Visible);
        }
        return;
    }
}

void ulkBrowser::RebuildCustomMenu() {
    // An entry may be the one whose choice is being handled: it goes once that is over.
    for (QAction* entry : mnuCustom_) {
        mnuClipboard_->removeAction(entry);
        entry->setObjectName(QString());
        entry->deleteLater();
    }
    mnuCustom_.clear();
    for (qsizetype i = 0; i < menuItems_.size(); ++i) {
        const clsContextMenu& item = menuItems_[i];
        const int index = int(i) + 1;
        QAction* entry = mnuClipboard_->addAction(item.MenuText);
        entry->setObjectName("mnuCustom" + QString::number(index));
        entry->setCheckable(true);
        entry->setChecked(item.MenuChecked);
        entry->setEnabled(item.MenuEnabled);
        entry->setVisible(item.MenuVisible);
        connect(entry, &QAction::triggered, this, [this, entry, index](bool checked) {
            // Choosing an entry does not tick it; only the host does.
            entry->setChecked(!checked);
            ChooseCustomEntry(index);
        });
        mnuCustom_.append(entry);
    }
}

void ulkBrowser::ChooseCustomEntry(int index) {
    QPointer<ulkBrowser> self(this);
    emit CustomMenuBeforeClick();
    if (!self || index < 1 || index > menuItems_.size()) return;
    const clsContextMenu item = menuItems_[index - 1];
    emit CustomMenuClick(item.MenuName, qint16(index), item.MenuChecked, item.MenuEnabled);
}

void ulkBrowser::printDocument(bool DontShowDialog) {
    if (!DontShowDialog) {
        QPrintDialog dialog(&printer_, this);
        if (dialog.exec() != QDialog::Accepted) return;
    }
    PrintAndWait(&printer_);
}

void ulkBrowser::printPreviewDocument() {
    QPrintPreviewDialog preview(&printer_, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { PrintAndWait(printer); });
    preview.exec();
}

void ulkBrowser::pageSetupDocument() {
    if (!printer_.isValid()) {
        emit ViewerError(kPageSetupError, QStringLiteral("Can not initialise page setup"));
        return;
    }
    QPageSetupDialog dialog(&printer_, this);
    dialog.exec();
}

void ulkBrowser::PrintAndWait(QPrinter* printer) {
    QEventLoop loop;
    bool done = false;
    auto finish = [&] {
        done = true;
        loop.quit();
    };
    // A PDF file gets the browser's own PDF, whose text stays text; a printer gets the pages
    // as the browser paints them.
    if (printer->outputFormat() == QPrinter::PdfFormat && !printer->outputFileName().isEmpty()) {
        connect(WebBrowser1_->page(), &QWebEnginePage::pdfPrintingFinished, &loop, finish);
        WebBrowser1_->page()->printToPdf(printer->outputFileName(), printer->pageLayout(),
                                         printer->pageRanges());
    } else {
        connect(WebBrowser1_, &QWebEngineView::printFinished, &loop, finish);
        WebBrowser1_->print(printer);
    }
    WaitFor(loop, done);
}

void ulkBrowser::InitProperties() {
    bodyHTML_.clear();
    cssText_.clear();
    baseHREF_.clear();
    savedAllHTML_.clear();
    cssHttp_ = true;
    respondToEvents_ = false;
    allowMouseSelect_ = false;
    showClipboardMenu_ = false;
    savedCurrentElement_ = QVariant::fromValue<qint16>(0);
    InstallPageScript();
}

void ulkBrowser::ReadProperties(const QVariantMap& bag) {
    auto read = [&bag](const char* key, const QVariant& fallback) {
        const auto at = bag.constFind(QString::fromLatin1(key));
        return at == bag.constEnd() ? fallback : at.value();
    };
    bodyHTML_ = read("bodyHTML", QString()).toString();
    cssHttp_ = read("CSSHttp", QVariant::fromValue<qint16>(1)).toBool();
    cssText_ = read("CSSText", QString()).toString();
    baseHREF_ = read("BaseHREF", QString()).toString();
    savedAllHTML_ = read("allHTML", QString()).toString();
    respondToEvents_ = read("RespondToEvents", false).toBool();
    allowMouseSelect_ = read("AllowMouseSelect", QVariant::fromValue<qint16>(0)).toBool();
    savedCurrentElement_ = read("CurrentElement", QVariant::fromValue<qint16>(0));
    showClipboardMenu_ =
        read("ShowRightClickClipboardmenu", QVariant::fromValue<qint16>(0)).toBool();
    documentTitle_ = read("DocumentTitle", QString()).toString();
    InstallPageScript();
    if (!LoadPageTemplate()) return;
    appearance_ = read("Appearance", QVariant::fromValue<qint16>(0)).toInt();
    borderStyle_ =
        read("BorderStyle", QVariant::fromValue<qint16>(1)).toInt() == vbNone ? vbNone : vbSingle;
    ApplyBorder();
}

QVariantMap ulkBrowser::WriteProperties() const {
    QVariantMap bag;
    auto text = [&bag](const char* key, const QString& value) {
        if (!value.isEmpty()) bag.insert(QString::fromLatin1(key), value);
    };
    auto flag = [&bag](const char* key, bool value) {
        if (value) bag.insert(QString::fromLatin1(key), true);
    };
    text("bodyHTML", bodyHTML_);
    // Its default as written is a number, which no Boolean equals: it is always stored.
    bag.insert(QStringLiteral("CSSHttp"), cssHttp_);
    text("CSSText", cssText_);
    text("BaseHREF", baseHREF_);
    text("DocumentTitle", documentTitle_);
    text("allHTML", savedAllHTML_);
    flag("RespondToEvents", respondToEvents_);
    flag("AllowMouseSelect", allowMouseSelect_);
    if (savedCurrentElement_ != QVariant::fromValue<qint16>(0))
        bag.insert(QStringLiteral("CurrentElement"), savedCurrentElement_);
    flag("ShowRightClickClipboardmenu", showClipboardMenu_);
    if (appearance_ != 0) bag.insert(QStringLiteral("Appearance"), appearance_);
    if (borderStyle_ != vbSingle) bag.insert(QStringLiteral("BorderStyle"), int(borderStyle_));
    return bag;
}
