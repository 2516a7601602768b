#include "viewer/page_bridge.h"

#include "viewer/page_location.h"
#include "viewer/ulk_browser.h"

ulkPageBridge::ulkPageBridge(ulkBrowser* browser) : QObject(browser), browser_(browser) {}

void ulkPageBridge::press(const QVariantMap& element, int buttons) {
    ulkElement clicked;
    clicked.tagName = element.value("tagName").toString();
    clicked.href = element.value("href").toString();
    clicked.id = element.value("id").toString();
    clicked.parentTagName = element.value("parentTagName").toString();
    clicked.parentHref = element.value("parentHref").toString();
    browser_->OnPress(clicked, buttons);
}

void ulkPageBridge::contextMenu(const QString& selectionHtml, const QString& selectionText) {
    browser_->OnContextMenu(selectionHtml, selectionText);
}

ulkWebPage::ulkWebPage(std::function<bool()> followLinks, QObject* parent)
    : QWebEnginePage(parent), followLinks_(std::move(followLinks)) {}

void ulkWebPage::LoadOwn(const QUrl& url) {
    own_.append(url);
    load(url);
}

void ulkWebPage::Forget(const QUrl& url) {
    own_.removeOne(url);
}

bool ulkWebPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    if (!isMainFrame || type == NavigationTypeRedirect) return false;
    if (url == QUrl(QStringLiteral("about:blank"))) return true;
    for (const QUrl& own : own_)
        if (ulk::SameLocation(url, own)) return true;
    // Page script is off, so a link is followed only after a press of the user's own.
    return type == NavigationTypeLinkClicked && followLinks_();
}
