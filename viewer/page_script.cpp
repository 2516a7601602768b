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
  // Text from files may not lay anything over the page. What moves a box away from its place in
  // the text (positioning, transforms, a motion path, negative margins or indent) is taken out of
  // the page's style sheets, and overridden, whatever its weight, where else it can come from: a
  // style attribute, or the browser's own rule for an open dialog. A drawing is kept inside its
  // own box.
  var kMoves = /^(position|transform|translate|rotate|scale|offset-path)$/;
  var kShifts = /^(margin|text-indent)/;
  function stripDeclarations(style) {
    for (var i = style.length - 1; i >= 0; --i) {
      var name = style[i];
      var shifts = kShifts.test(name) && style.getPropertyValue(name).indexOf('-') >= 0;
      if (kMoves.test(name) || shifts) style.removeProperty(name);
    }
  }
  function stripRules(rules) {
    for (var i = 0; i < rules.length; ++i) {
      if (rules[i].style) stripDeclarations(rules[i].style);
      if (rules[i].cssRules) stripRules(rules[i].cssRules);
      if (rules[i].styleSheet) stripSheet(rules[i].styleSheet);
    }
  }
  function stripSheet(sheet) {
    // A sheet whose rules cannot be read cannot be made safe.
    try { stripRules(sheet.cssRules); } catch (e) { sheet.disabled = true; }
  }
  function pinElement(el) {
    var style = getComputedStyle(el);
    if (style.position !== 'static') el.style.setProperty('position', 'static', 'important');
    ['transform', 'translate', 'rotate', 'scale', 'offset-path'].forEach(function (name) {
      var value = style.getPropertyValue(name);
      if (value && value !== 'none') el.style.setProperty(name, 'none', 'important');
    });
    ['margin-top', 'margin-right', 'margin-bottom', 'margin-left', 'text-indent'].forEach(
      function (name) {
        if (parseFloat(style.getPropertyValue(name)) < 0)
          el.style.setProperty(name, '0', 'important');
      });
    if (el.tagName.toLowerCase() === 'svg' && style.overflow !== 'hidden')
      el.style.setProperty('overflow', 'hidden', 'important');
  }
  window.ulkPin = function () {
    if (!document.documentElement) return;
    for (var i = 0; i < document.styleSheets.length; ++i) stripSheet(document.styleSheets[i]);
    document.querySelectorAll('[style], dialog, svg').forEach(function (el) {
      // Inside a drawing, transforms are the drawing's own; an element of no known kind has no
      // style of its own.
      if (el.style && !el.ownerSVGElement) pinElement(el);
    });
  };
  // Style sheets may arrive after the text; the load of a page ends after theirs.
  window.addEventListener('load', function (e) {
    var tag = e.target && e.target.tagName;
    if (e.target === window || e.target === document || tag === 'LINK' || tag === 'STYLE')
      window.ulkPin();
  }, true);
  // A press counts on the topmost element whose own box is under the pointer: what is drawn
  // there from elsewhere and out of reach above (a shadow tree, whose rules and attributes are
  // its own) does not take it.
  function standsAt(el, x, y) {
    if (el === document.documentElement || el.tagName === 'AREA') return true;
    var rects = el.getClientRects();
    for (var i = 0; i < rects.length; ++i) {
      var r = rects[i];
      if (x >= r.left && x <= r.right && y >= r.top && y <= r.bottom) return true;
    }
    return false;
  }
  function elementAt(x, y) {
    var all = document.elementsFromPoint(x, y);
    for (var i = 0; i < all.length; ++i)
      if (standsAt(all[i], x, y)) return all[i];
    return document.body;
  }
  var pressStood = true;
  // Only the user's own presses count: a page's script could make up one on a link of its own.
  window.addEventListener('mousedown', function (e) {
    if (!e.isTrusted) return;
    var el = elementAt(e.clientX, e.clientY);
    pressStood = el === document.elementFromPoint(e.clientX, e.clientY);
    post('press', [describe(el), buttonsOf(e)]);
    // The browser's own handling of a press (starting a drag or a selection) holds back a page
    // the host loads before the press ends; without selection there is nothing it is needed for.
    if (!window.ulkFlags.select) e.preventDefault();
  }, true);
  document.addEventListener('mousedown', function (e) {
    if (!window.ulkFlags.respond) e.stopPropagation();
  }, false);
  window.addEventListener('click', function (e) {
    if (!window.ulkFlags.respond || !pressStood) e.preventDefault();
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
           Literal(html) + "; if (window.ulkPin) window.ulkPin(); return true; })()";
}

}  // namespace ulk
