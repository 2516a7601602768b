#pragma once
// The "HTML Format" clipboard block: a header of byte offsets, then the fragment between two
// markers inside a page prefix and suffix.

#include <QByteArray>
#include <QString>

namespace ulk {

// The clipboard type under which the block is kept; on Windows Qt hands it to the clipboard as
// the registered format "HTML Format".
QString RegisterHtmlFormat();

// The UTF-8 block for a fragment; the offsets count bytes.
QByteArray HtmlClipboardData(const QString& fragment, const QString& prefix, const QString& suffix);
// The fragment of a block; empty when the data is not a well-formed block.
QString FragmentOfHtmlClipboardData(const QByteArray& data);

// Puts the block on the clipboard, with the fragment as "text/html" for other programs.
void CopyHtmlToClipboard(const QString& fragment, const QString& prefix, const QString& suffix);
QString GetHtmlFromClipboard();

}  // namespace ulk
