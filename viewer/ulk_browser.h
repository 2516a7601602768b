#pragma once
// The HTML viewer control: shows a page in an embedded browser, reports presses in the page to
// its host, offers a context menu that copies the selection, prints, and keeps its settings in a
// property bag the host stores.

#include <QFrame>
#include <QList>
#include <QPrinter>
#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <QWebEnginePage>
#include <functional>

class QEventLoop;
class QMenu;
class QAction;
class QWebChannel;
class QWebEngineView;
class ulkPageBridge;
class ulkWebPage;

// The element under the pointer at a press, as the page holds it. Texts are the attributes
// exactly as written in the page, never resolved against the page's address.
struct ulkElement {
    Q_GADGET
    Q_PROPERTY(QString tagName MEMBER tagName)
    Q_PROPERTY(QString href MEMBER href)
    Q_PROPERTY(QString id MEMBER id)
    Q_PROPERTY(QString parentTagName MEMBER parentTagName)
    Q_PROPERTY(QString parentHref MEMBER parentHref)
  public:
    QString tagName;  // upper case, as the page's document gives it: "A", "IMG", "BODY"
    QString href;     // the element's href attribute; empty when it has none
    QString id;
    QString parentTagName;  // of the enclosing element; empty at the root
    QString parentHref;
    bool isNull() const { return tagName.isEmpty(); }
};

// One custom entry of the context menu.
struct clsContextMenu {
    QString MenuName;  // the host's key for the entry, compared without regard to case
    bool MenuEnabled = true;
    QString MenuText;  // the entry's caption
    bool MenuChecked = false;
    bool MenuVisible = true;
};

class ulkBrowser : public QFrame {
    Q_OBJECT
    Q_PROPERTY(QString DocumentTitle READ DocumentTitle WRITE setDocumentTitle)
    Q_PROPERTY(QWebEnginePage* Document READ Document)
    Q_PROPERTY(QString bodyHTML READ bodyHTML WRITE setbodyHTML)
    Q_PROPERTY(WId Handle READ Handle)
    Q_PROPERTY(bool CSSHttp READ CSSHttp WRITE setCSSHttp)
    Q_PROPERTY(QString CSSText READ CSSText WRITE setCSSText)
    Q_PROPERTY(QString BaseHREF READ BaseHREF WRITE setBaseHREF)
    Q_PROPERTY(QString allHTML READ allHTML)
    Q_PROPERTY(bool RespondToEvents READ RespondToEvents WRITE setRespondToEvents)
    Q_PROPERTY(bool AllowMouseSelect READ AllowMouseSelect WRITE setAllowMouseSelect)
    Q_PROPERTY(ulkElement CurrentElement READ CurrentElement)
    Q_PROPERTY(bool ShowRightClickClipboardmenu READ ShowRightClickClipboardmenu WRITE
                   setShowRightClickClipboardmenu)
    Q_PROPERTY(ControlBorderStyle BorderStyle READ BorderStyle WRITE setBorderStyle)
    Q_PROPERTY(int Appearance READ Appearance WRITE setAppearance)

  public:
    enum br_Format { BR_FORMAT_HTML = 1, BR_FORMAT_TEXT = 0 };
    Q_ENUM(br_Format)
    enum ControlBorderStyle { vbSingle = 1, vbNone = 0 };
    Q_ENUM(ControlBorderStyle)

    // The errNo values of ViewerError.
    static constexpr int kPageSetupError = 1000;
    static constexpr int kPageTimeLimitError = 1001;
    // How long a page load, render or body update may take before it is stopped.
    static constexpr int kDefaultLoadTimeLimitMs = 10000;

    explicit ulkBrowser(QWidget* parent = nullptr);
    ~ulkBrowser() override;

    // Shows a "file:" URL (the "|" that stands for ":" in its path is undone), any other URL (one
    // the page rules refuse, such as a remote address, fails at once; page_requests.h), or a plain
    // file path, and returns once the page has loaded or the time limit has passed.
    // Presses, keys and wheel turns aimed at the control are dropped meanwhile; the rest of the
    // program takes its input as usual.
    void OpenURL(const QString& sURL);

    QString DocumentTitle() const { return documentTitle_; }
    void setDocumentTitle(const QString& title);
    // The body last set, not the live page.
    QString bodyHTML() const { return bodyHTML_; }
    void setbodyHTML(const QString& html);
    bool CSSHttp() const { return cssHttp_; }
    void setCSSHttp(bool isAddress);
    QString CSSText() const { return cssText_; }
    void setCSSText(const QString& text);
    QString BaseHREF() const { return baseHREF_; }
    // False, with the text kept and the page left as it is, when the shown page has no base
    // element.
    bool setBaseHREF(const QString& address);
    // The inner HTML of the shown page's root element; empty when there is no page.
    QString allHTML() const;
    QWebEnginePage* Document() const;
    WId Handle();
    ControlBorderStyle BorderStyle() const { return borderStyle_; }
    void setBorderStyle(ControlBorderStyle style);
    int Appearance() const { return appearance_; }
    void setAppearance(int appearance);

    bool RespondToEvents() const { return respondToEvents_; }
    void setRespondToEvents(bool respond);
    bool AllowMouseSelect() const { return allowMouseSelect_; }
    void setAllowMouseSelect(bool allow);
    // The element under the pointer at the last press in a page; the body before any press.
    ulkElement CurrentElement() const;
    bool ShowRightClickClipboardmenu() const { return showClipboardMenu_; }
    void setShowRightClickClipboardmenu(bool show);

    void printDocument(bool DontShowDialog = false);
    void printPreviewDocument();
    void pageSetupDocument();
    // The printer that printing uses and page setup changes.
    QPrinter& Printer() { return printer_; }

    qint16 MenuAdd(const QString& Name, const QString& MenuText, bool Enabled = true,
                   bool Checked = false, bool Visible = true);
    bool MenuRemove(const QString& Name);
    void MenuChange(const QString& Name, bool Checked, bool Enabled, bool Visible);
    const QList<clsContextMenu>& MenuItems() const { return menuItems_; }
    // The fragment of the "HTML Format" data on the clipboard; empty when there is none or the
    // data is not well formed.
    QString GetClipboardHTML() const;

    // The property bag: the defaults of a new instance, reading saved settings (which renders
    // the page), and writing them with the values equal to their defaults left out.
    void InitProperties();
    void ReadProperties(const QVariantMap& bag);
    QVariantMap WriteProperties() const;

    // The page file that renders the control's own properties.
    QString PageFilePath() const { return pageFile_; }
    int LoadTimeLimit() const { return loadTimeLimitMs_; }
    void setLoadTimeLimit(int milliseconds) { loadTimeLimitMs_ = milliseconds; }

  signals:
    void HTMLClick();
    void HTMLRightClick();
    void CustomMenuClick(const QString& Name, qint16 Index, bool Checked, bool Enabled);
    void CustomMenuBeforeClick();
    void ClipboardCopyCompleted(ulkBrowser::br_Format Clip_Format);
    void ClipboardCopyBeforeBegin();
    void ViewerError(int errNo, const QString& errDesc);
    void Focus();
    // A saved setting changed: the host may store the property bag again.
    void PropertyChanged(const QString& PropertyName);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    friend class ulkPageBridge;

    enum class WaitEnd { Done, TimedOut, Gone };

    // Runs window events, input aimed at this control dropped, until `done` or the time limit.
    WaitEnd WaitFor(QEventLoop& loop, const bool& done) const;
    WaitEnd NavigateAndWait(const QUrl& url);
    WaitEnd RunScriptAndWait(const QString& script, QVariant* result) const;
    // Each returns false when the control went away while it waited.
    bool ShowPage(const QUrl& url);
    bool LoadPageTemplate();
    void PrintAndWait(QPrinter* printer);
    void InstallPageScript();
    void PlaceInnerBrowser();
    void ApplyBorder();
    void RebuildCustomMenu();
    void CopySelectionAsHtml();
    void CopySelectionAsText();
    void ChooseCustomEntry(int index);
    void OnPress(const ulkElement& element, int buttons);
    void OnContextMenu(const QString& selectionHtml, const QString& selectionText);
    void RaiseQueued(std::function<void()> raise);

    QWebEngineView* WebBrowser1_ = nullptr;
    ulkWebPage* page_ = nullptr;
    QWebChannel* channel_ = nullptr;
    ulkPageBridge* bridge_ = nullptr;
    QMenu* mnuClipboard_ = nullptr;
    QAction* mnuCopyHTML_ = nullptr;
    QAction* mnuCopyText_ = nullptr;
    QList<QAction*> mnuCustom_;  // entries 1 to n; entry 0 is never shown, so it is not kept

    QString documentTitle_;
    QString bodyHTML_;
    bool cssHttp_ = true;
    QString cssText_;
    QString baseHREF_;
    QString savedAllHTML_;
    QVariant savedCurrentElement_;
    bool respondToEvents_ = false;
    bool allowMouseSelect_ = false;
    bool showClipboardMenu_ = false;
    ControlBorderStyle borderStyle_ = vbSingle;
    int appearance_ = 0;

    bool hasCurrentElement_ = false;
    ulkElement currentElement_;
    QString selectionText_;  // the selection stored when the context menu opened
    QList<clsContextMenu> menuItems_;

    QPrinter printer_;
    QString pageFile_;
    int loadTimeLimitMs_ = kDefaultLoadTimeLimitMs;
    mutable int waiting_ = 0;  // waits of this control on the stack; presses meanwhile are dropped
};
