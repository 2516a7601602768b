#include "viewer/page_bridge.h"

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

bool ulkWebPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    if (type == NavigationTypeLinkClicked && !followLinks_()) return false;
    return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
}
