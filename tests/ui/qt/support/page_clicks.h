#pragma once
// Real clicks in the pages a viewer shows, for the window tests: find a link by its exact href,
// press the mouse on it through the view's focus proxy, and read what the page shows.

#include <QPoint>
#include <QString>
#include <QVariant>

class ulkBrowser;

namespace dv::test {

// Runs a script in the page, in the world of the control's own script (the page's own runs none),
// and waits for its value (an invalid value after the time limit).
QVariant RunScript(ulkBrowser& view, const QString& script);
// The page's visible text.
QString PageText(ulkBrowser& view);
// A point inside the `which`-th element (from 0) whose href attribute is exactly `href`,
// scrolled into view; (-1, -1) when there is none.
QPoint PointOfLink(ulkBrowser& view, const QString& href, int which = 0);
// Presses and releases a mouse button at that point of the page.
void PressAt(ulkBrowser& view, QPoint at, Qt::MouseButton button = Qt::LeftButton);
// Presses the link; false when the page holds no such link.
bool PressLink(ulkBrowser& view, const QString& href, int which = 0);
// The first href in the page that starts with `start`, as written.
QString FirstHrefStartingWith(ulkBrowser& view, const QString& start);

}  // namespace dv::test
