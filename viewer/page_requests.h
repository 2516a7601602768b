#pragma once
// What the pages the control shows may load. Page text comes from files other people wrote, so
// it is data: it may show pictures and style sheets from the local disk, and nothing it asks for
// may leave the machine or reach another program.

#include <QString>
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

// Refuses every request of the page that RequestAllowed does not allow.
class RequestFilter : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
  public:
    RequestFilter(const QWebEngineProfile* profile, QObject* parent);
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

  private:
    const QWebEngineProfile* profile_;
};

}  // namespace ulk
