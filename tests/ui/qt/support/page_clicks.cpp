#include "tests/ui/qt/support/page_clicks.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <memory>

#include "viewer/ulk_browser.h"

namespace dv::test {
namespace {

constexpr int kScriptWaitMs = 10000;

QString Literal(const QString& text) {
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

QWidget* PressTarget(ulkBrowser& view) {
    return view.findChild<QWebEngineView*>("WebBrowser1")->focusProxy();
}

}  // namespace

QVariant RunScript(ulkBrowser& view, const QString& script) {
    auto result = std::make_shared<std::pair<bool, QVariant>>();
    view.Document()->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                                   [result](const QVariant& value) {
                                       *result = {true, value};
                                   });
    QElapsedTimer clock;
    clock.start();
    while (!result->first && clock.elapsed() < kScriptWaitMs)
        QTest::qWait(5);
    return result->second;
}

QString PageText(ulkBrowser& view) {
    return RunScript(view, "document.body ? document.body.innerText : ''").toString();
}

QPoint PointOfLink(ulkBrowser& view, const QString& href, int which) {
    const QString script = QString(
                               "(function () { var found = [];"
                               " document.querySelectorAll('[href]').forEach(function (e) {"
                               "   if (e.getAttribute('href') === %1) found.push(e); });"
                               " var e = found[%2]; if (!e) return null;"
                               " e.scrollIntoView({block: 'center'});"
                               " var r = e.getClientRects()[0] || e.getBoundingClientRect();"
                               " return [Math.round(r.left + Math.min(r.width / 2, 8)),"
                               "         Math.round(r.top + r.height / 2)]; })()")
                               .arg(Literal(href))
                               .arg(which);
    const QVariantList point = RunScript(view, script).toList();
    if (point.size() != 2) return {-1, -1};
    return {point[0].toInt(), point[1].toInt()};
}

void PressAt(ulkBrowser& view, QPoint at, Qt::MouseButton button) {
    QTest::mousePress(PressTarget(view), button, Qt::NoModifier, at);
    QTest::mouseRelease(PressTarget(view), button, Qt::NoModifier, at);
}

bool PressLink(ulkBrowser& view, const QString& href, int which) {
    const QPoint at = PointOfLink(view, href, which);
    if (at.x() < 0) return false;
    PressAt(view, at);
    return true;
}

QString FirstHrefStartingWith(ulkBrowser& view, const QString& start) {
    const QString script = QString(
                               "(function () { var all = document.querySelectorAll('[href]');"
                               " for (var i = 0; i < all.length; ++i) {"
                               "   var h = all[i].getAttribute('href');"
                               "   if (h.indexOf(%1) === 0) return h; }"
                               " return ''; })()")
                               .arg(Literal(start));
    return RunScript(view, script).toString();
}

}  // namespace dv::test
