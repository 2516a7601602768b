#pragma once
// The control's object on the page's web channel, and the page that accepts only the navigations
// the control starts.

#include <QList>
#include <QObject>
#include <QUrl>
#include <QVariantMap>
#include <QWebEnginePage>
#include <functional>

class ulkBrowser;

class ulkPageBridge : public QObject {
    Q_OBJECT
  public:
    explicit ulkPageBridge(ulkBrowser* browser);

    // Called by the page's script; each only hands over to the control, which raises its
    // events later, never from inside the channel's delivery.
    Q_INVOKABLE void press(const QVariantMap& element, int buttons);
    Q_INVOKABLE void contextMenu(const QString& selectionHtml, const QString& selectionText);

  private:
    ulkBrowser* browser_;
};

class ulkWebPage : public QWebEnginePage {
    Q_OBJECT
  public:
    // `followLinks` answers whether a link the user clicks may navigate.
    ulkWebPage(std::function<bool()> followLinks, QObject* parent);

    // Loads `url` as a navigation of the control's own; it stays accepted until Forget.
    void LoadOwn(const QUrl& url);
    void Forget(const QUrl& url);

  protected:
    // A page navigates only where the control sends it: no redirect, refresh, frame or load a
    // page starts by itself. "about:blank" is always accepted.
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    // Messages of the pages' scripts are theirs; the control shows none.
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                  const QString&) override {}

  private:
    std::function<bool()> followLinks_;
    QList<QUrl> own_;  // one entry per load asked for and not yet forgotten
};
