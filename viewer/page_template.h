#pragma once
// The page the control composes from its own properties, and the file it is shown from.

#include <QString>

namespace ulk {

struct PageTemplate {
    QString DocumentTitle;
    QString BaseHREF;
    bool CSSHttp = true;
    QString CSSText;
    QString bodyHTML;
};

// The page's text, CR LF after every line and one more at the end.
QString PageTemplateText(const PageTemplate& page);
// Writes the page as UTF-8, replacing the file; false when it cannot be written.
bool BuildPageTemplate(const QString& path, const PageTemplate& page);

// The folder for page files: the user's cache folder, else the temporary folder; empty when
// neither can be had, and then no page file is written.
QString PageFileFolder();
// A name no other instance of this or another process shares.
QString PageFileName(int instanceNumber);

}  // namespace ulk
