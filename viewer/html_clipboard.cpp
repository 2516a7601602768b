#include "viewer/html_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace ulk {
namespace {

constexpr int kOffsetDigits = 10;
const QByteArray kStartMarker = "<!--StartFragment -->";
const QByteArray kEndMarker = "<!--EndFragment -->";

QByteArray Offset(qsizetype value) {
    return QByteArray::number(value).rightJustified(kOffsetDigits, '0');
}

// The number in the ten characters after the first `label`; -1 when it is missing or not a
// number.
qsizetype OffsetAfter(const QByteArray& data, const QByteArray& label) {
    const qsizetype at = data.indexOf(label);
    if (at < 0) return -1;
    bool ok = false;
    const qlonglong value = data.mid(at + label.size(), kOffsetDigits).trimmed().toLongLong(&ok);
    return ok ? static_cast<qsizetype>(value) : -1;
}

}  // namespace

QString RegisterHtmlFormat() {
    return QStringLiteral("application/x-qt-windows-mime;value=\"HTML Format\"");
}

QByteArray HtmlClipboardData(const QString& fragment, const QString& prefix,
                             const QString& suffix) {
    const QByteArray header =
        "Version:1.0\r\nStartHTML:aaaaaaaaaa\r\nEndHTML:bbbbbbbbbb\r\n"
        "StartFragment:cccccccccc\r\nEndFragment:dddddddddd\r\n";
    const QByteArray before = prefix.toUtf8() + kStartMarker;
    const QByteArray body = fragment.toUtf8();
    const QByteArray after = kEndMarker + suffix.toUtf8();
    QByteArray data = header + before + body + after;
    const qsizetype startFragment = header.size() + before.size();
    data.replace("aaaaaaaaaa", Offset(header.size()));
    data.replace("bbbbbbbbbb", Offset(data.size()));
    data.replace("cccccccccc", Offset(startFragment));
    data.replace("dddddddddd", Offset(startFragment + body.size()));
    return data;
}

QString FragmentOfHtmlClipboardData(const QByteArray& raw) {
    const qsizetype zero = raw.indexOf('\0');
    const QByteArray data = zero < 0 ? raw : raw.left(zero);
    const qsizetype start = OffsetAfter(data, "StartFragment:");
    const qsizetype end = OffsetAfter(data, "EndFragment:");
    if (start <= 0 || end <= 0 || start > end || end > data.size()) return {};
    return QString::fromUtf8(data.mid(start, end - start));
}

void CopyHtmlToClipboard(const QString& fragment, const QString& prefix, const QString& suffix) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return;
    auto* mime = new QMimeData;
    mime->setData(RegisterHtmlFormat(), HtmlClipboardData(fragment, prefix, suffix));
    mime->setHtml(fragment);
    clipboard->setMimeData(mime);
}

QString GetHtmlFromClipboard() {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* mime = clipboard ? clipboard->mimeData() : nullptr;
    if (!mime || !mime->hasFormat(RegisterHtmlFormat())) return {};
    return FragmentOfHtmlClipboardData(mime->data(RegisterHtmlFormat()));
}

}  // namespace ulk
