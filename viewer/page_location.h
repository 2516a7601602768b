#pragma once
// What the control is asked to show, as the URL it loads.

#include <QString>
#include <QUrl>

namespace ulk {

// A "file:" location, with the "|" that stands for ":" in its path undone (a blank or other
// character is taken as written); any other URL; or a plain file path, relative to the working
// folder. Empty for an empty location.
QUrl UrlOfLocation(const QString& location);

// Equal but for what the browser may write differently: escapes, a closing "/", letter case.
bool SameLocation(const QUrl& a, const QUrl& b);

}  // namespace ulk
