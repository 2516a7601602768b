#include "viewer/page_template.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace ulk {
namespace {

const QString kLineEnd = QStringLiteral("\r\n");
const QString kQuote = QStringLiteral("\"");

// A usable folder is one that exists (or can be made) and is not the root of a drive.
QString UsableFolder(const QString& folder) {
    if (folder.isEmpty()) return {};
    const QString absolute = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    if (QDir(absolute).isRoot()) return {};
    if (!QDir().mkpath(absolute)) return {};
    const QFileInfo info(absolute);
    if (!info.isDir() || !info.isWritable()) return {};
    return absolute;
}

}  // namespace

QString PageTemplateText(const PageTemplate& page) {
    QString css;
    if (page.CSSHttp)
        css = "<LINK REL=STYLESHEET HREF=" + kQuote + page.CSSText + kQuote + " TYPE=" + kQuote +
              "text/css" + kQuote + ">";
    else
        css =
            "<STYLE TYPE=" + kQuote + "text/css" + kQuote + "><!--" + page.CSSText + "--></STYLE>";
    const QStringList lines = {
        "<html>",
        "<head>",
        "<title>" + page.DocumentTitle + "</title>",
        "<BASE HREF=" + kQuote + page.BaseHREF + kQuote + ">",
        "<meta http-equiv=" + kQuote + "Content-Type" + kQuote + " content=" + kQuote +
            "text/html; charset=UTF-8" + kQuote + ">",
        css + "</HEAD>",
        "<body>",
        page.bodyHTML.isEmpty() ? QStringLiteral("<DIV></DIV>") : page.bodyHTML,
        "</body>",
        "</html>",
    };
    return lines.join(kLineEnd) + kLineEnd + kLineEnd;
}

bool BuildPageTemplate(const QString& path, const PageTemplate& page) {
    if (path.isEmpty()) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(PageTemplateText(page).toUtf8());
    return file.commit();
}

QString PageFileFolder() {
    QString folder = UsableFolder(QStandardPaths::writableLocation(QStandardPaths::CacheLocation));
    if (folder.isEmpty()) folder = UsableFolder(QDir::tempPath());
    return folder;
}

QString PageFileName(int instanceNumber) {
    return QString::number(QCoreApplication::applicationPid()) + "-" +
           QString::number(instanceNumber) + "ulkPage.html";
}

}  // namespace ulk
