#include "viewer/page_location.h"

#include <QDir>
#include <QFileInfo>

namespace ulk {
namespace {

QUrl FileLocation(const QString& location) {
    const QString scheme = QStringLiteral("file:");
    QString rest = location.mid(scheme.size());
    // "file://host/..." names another machine's file; leave it to the browser.
    if (rest.startsWith("//") && rest.size() > 2 && rest[2] != u'/') {
        const QString host = rest.mid(2).section(u'/', 0, 0);
        if (host.compare("localhost", Qt::CaseInsensitive) != 0) return QUrl(location);
        rest = rest.mid(2 + host.size());
    }
    while (rest.startsWith(u'/'))
        rest.remove(0, 1);
    QString path = "/" + rest;
    path.replace(u'|', u':');
    if (QFileInfo::exists(path)) return QUrl::fromLocalFile(path);
    // An escaped URL, or one with a query or an anchor.
    QString parsedText = location;
    parsedText.replace(u'|', u':');
    const QUrl parsed(parsedText);
    if (parsed.isLocalFile() && QFileInfo::exists(parsed.toLocalFile())) return parsed;
    return QUrl::fromLocalFile(path);
}

}  // namespace

QUrl UrlOfLocation(const QString& location) {
    if (location.isEmpty()) return {};
    if (location.startsWith("file:", Qt::CaseInsensitive)) return FileLocation(location);
    const QUrl url(location);
    // A one-letter scheme is a drive letter.
    if (url.isValid() && url.scheme().size() > 1) return url;
    return QUrl::fromLocalFile(QDir::cleanPath(QFileInfo(location).absoluteFilePath()));
}

bool SameLocation(const QUrl& a, const QUrl& b) {
    auto text = [](const QUrl& url) {
        return QUrl::fromPercentEncoding(
            url.adjusted(QUrl::StripTrailingSlash | QUrl::NormalizePathSegments).toEncoded());
    };
    return text(a).compare(text(b), Qt::CaseInsensitive) == 0;
}

}  // namespace ulk
