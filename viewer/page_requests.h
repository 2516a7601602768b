#pragma once
// What the pages the control shows may load. Page text comes from files other people wrote, so
// it is data: it may show pictures and style sheets from the local disk, and nothing it asks for
// may leave the machine or reach another program.

#include <QString>
#include <QUrl>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>

class QWebEngineProfile;

namespace ulk {

// "file:" for what a page shows (the page itself, pictures, style sheets, fonts, sound and
// video), never for a script or a read by script; "data:" for pictures; "qrc:" and a scheme the
// program itself serves (`programScheme`: the profile has a handler installed for it) for
// anything. Scheme in lower case.
bool RequestAllowed(const QString& scheme, QWebEngineUrlRequestInfo::ResourceType type,
                    bool programScheme);

// Whether a "file:" address names a regular file, links followed. Opening anything else that a
// page names (a FIFO, a device) can hold the browser's loading thread for good.
bool RegularLocalFile(const QUrl& url);

// Refuses every request of the page that RequestAllowed does not allow, and every "file:" part
// of a page (a picture, a style sheet) that is not a regular file. The page itself is the host's
// to choose.
class RequestFilter : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
  public:
    RequestFilter(const QWebEngineProfile* profile, QObject* parent);
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

  private:
    const QWebEngineProfile* profile_;
};

}  // namespace ulk
