#include "viewer/page_script.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>

namespace ulk {
namespace {

QString Flags(bool respondToEvents, bool allowMouseSelect) {
    return QStringLiteral("{respond: %1, select: %2}")
        .arg(respondToEvents ? "true" : "false", allowMouseSelect ? "true" : "false");
}

// A text as a script literal.
QString Literal(const QString& text) {
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

const char* const kPageScript = R"(
(function () {
  'use strict';
  if (window.ulkInstalled) return;
  window.ulkInstalled = true;
  var bridge = null;
  var pending = [];
  function post(name, args) {
    if (bridge) bridge[name].apply(bridge, args); else pending.push([name, args]);
  }
  function describe(el) {
    var info = {tagName: '', href: '', id: '', parentTagName: '', parentHref: ''};
    if (!el || !el.tagName) return info;
    info.tagName = el.tagName;
    info.href = el.getAttribute('href') || '';
    info.id = el.id || '';
    var parent = el.parentElement;
    if (parent) {
      info.parentTagName = parent.tagName;
      info.parentHref = parent.getAttribute('href') || '';
    }
    return info;
  }
  // The pressed buttons as a mask, 1 left, 2 right, 4 middle.
  function buttonsOf(e) {
    if (e.buttons) return e.buttons;
    return [1, 4, 2][e.button] || 0;
  }
  window.ulkSelectionHtml = function () {
    var sel = window.getSelection();
    if (!sel || sel.rangeCount === 0 || sel.isCollapsed) return '';
    var holder = document.createElement('div');
    for (var i = 0; i < sel.rangeCount; ++i) holder.appendChild(sel.getRangeAt(i).cloneContents());
    return holder.innerHTML;
  };
  // Only the user's own presses count: a page's script could make up one on a link of its own.
  window.addEventListener('mousedown', function (e) {
    if (!e.isTrusted) return;
    var el = document.elementFromPoint(e.clientX, e.clientY) || document.body;
    post('press', [describe(el), buttonsOf(e)]);
    // The browser's own handling of a press (starting a drag or a selection) holds back a page
    // the host loads before the press ends; without selection there is nothing it is needed for.
    if (!window.ulkFlags.select) e.preventDefault();
  }, true);
  document.addEventListener('mousedown', function (e) {
    if (!window.ulkFlags.respond) e.stopPropagation();
  }, false);
  window.addEventListener('click', function (e) {
    if (!window.ulkFlags.respond) e.preventDefault();
  }, true);
  window.addEventListener('selectstart', function (e) {
    if (!window.ulkFlags.select) e.preventDefault();
  }, true);
  window.addEventListener('contextmenu', function (e) {
    e.preventDefault();
    if (!e.isTrusted) return;
    var sel = window.getSelection();
    post('contextMenu', [window.ulkSelectionHtml(), sel ? sel.toString() : '']);
  }, true);
  function connect() {
    new QWebChannel(qt.webChannelTransport, function (channel) {
      bridge = channel.objects.%1;
      pending.forEach(function (p) { bridge[p[0]].apply(bridge, p[1]); });
      pending = [];
    });
  }
  if (typeof qt !== 'undefined' && qt.webChannelTransport) connect();
  else document.addEventListener('DOMContentLoaded', connect);
})();
)";

QString WebChannelLibrary() {
    QFile file(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

}  // namespace

QString PageScriptSource(bool respondToEvents, bool allowMouseSelect) {
    static const QString library = WebChannelLibrary();
    return library + "\nwindow.ulkFlags = " + Flags(respondToEvents, allowMouseSelect) + ";\n" +
           QString::fromUtf8(kPageScript).arg(kBridgeName);
}

QString PageFlagsScript(bool respondToEvents, bool allowMouseSelect) {
    return "window.ulkFlags = " + Flags(respondToEvents, allowMouseSelect) + ";";
}

QString SelectionHtmlScript() {
    return QStringLiteral("window.ulkSelectionHtml ? window.ulkSelectionHtml() : ''");
}

QString ClearSelectionScript() {
    return QStringLiteral("window.getSelection() && window.getSelection().removeAllRanges(); ''");
}

QString RootHtmlScript() {
    return QStringLiteral("document.documentElement ? document.documentElement.innerHTML : ''");
}

QString SetBaseAddressScript(const QString& address) {
    return "(function () { var base = document.getElementsByTagName('base')[0];"
           " if (!base) return false; base.setAttribute('href', " +
           Literal(address) + "); return true; })()";
}

QString SetBodyScript(const QString& html) {
    return "(function () { if (!document.body) return false; document.body.innerHTML = " +
           Literal(html) + "; return true; })()";
}

}  // namespace ulk
