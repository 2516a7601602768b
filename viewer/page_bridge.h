#pragma once
// The control's object on the page's web channel, and the page that refuses link navigation
// when the control handles the click itself.

#include <QObject>
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
    // `followLinks` answers whether a clicked link may navigate.
    ulkWebPage(std::function<bool()> followLinks, QObject* parent);

  protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    // Messages of the pages' scripts are theirs; the control shows none.
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                  const QString&) override {}

  private:
    std::function<bool()> followLinks_;
};
