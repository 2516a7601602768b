#include "viewer/page_requests.h"

#include <QFileInfo>
#include <QWebEngineProfile>

namespace ulk {

bool RequestAllowed(const QString& scheme, QWebEngineUrlRequestInfo::ResourceType type,
                    bool programScheme) {
    using Info = QWebEngineUrlRequestInfo;
    if (scheme == u"file") {
        switch (type) {
            case Info::ResourceTypeMainFrame:
            case Info::ResourceTypeImage:
            case Info::ResourceTypeStylesheet:
            case Info::ResourceTypeFontResource:
            case Info::ResourceTypeMedia:
            case Info::ResourceTypeFavicon:
                return true;
            default:
                return false;
        }
    }
    if (scheme == u"data") return type == Info::ResourceTypeImage;
    return scheme == u"qrc" || programScheme;
}

bool RegularLocalFile(const QUrl& url) {
    return url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile();
}

RequestFilter::RequestFilter(const QWebEngineProfile* profile, QObject* parent)
    : QWebEngineUrlRequestInterceptor(parent), profile_(profile) {}

void RequestFilter::interceptRequest(QWebEngineUrlRequestInfo& info) {
    const QString scheme = info.requestUrl().scheme().toLower();
    const bool programScheme =
        !scheme.isEmpty() && profile_ && profile_->urlSchemeHandler(scheme.toUtf8()) != nullptr;
    if (!RequestAllowed(scheme, info.resourceType(), programScheme)) {
        info.block(true);
        return;
    }
    if (scheme == u"file" &&
        info.resourceType() != QWebEngineUrlRequestInfo::ResourceTypeMainFrame &&
        !RegularLocalFile(info.requestUrl()))
        info.block(true);
}

}  // namespace ulk
