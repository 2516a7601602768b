#pragma once
// The script the control puts into every page it shows, in a world of its own that the page's
// scripts cannot reach: it reports presses and context-menu requests over the web channel and
// holds back the clicks and selections the control's switches forbid.

#include <QString>

namespace ulk {

// The name of the control's object on the web channel.
inline constexpr const char* kBridgeName = "ulk";

QString PageScriptSource(bool respondToEvents, bool allowMouseSelect);
// Sets the switches of the page already shown.
QString PageFlagsScript(bool respondToEvents, bool allowMouseSelect);

// Each evaluates, in the control's world, to the text named.
QString SelectionHtmlScript();
QString ClearSelectionScript();
QString RootHtmlScript();
// True when the page had a base element whose address is now `address`.
QString SetBaseAddressScript(const QString& address);
QString SetBodyScript(const QString& html);

}  // namespace ulk
