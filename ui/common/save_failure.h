#pragma once
// A save's failure told in the window's own message box, rather than by the engine.

#include <string>

#include "data/save_result.h"

namespace dv::ui {

// Shows the reason of a save the player asked for that failed or was skipped on purpose, unless it
// was shown already; true when the file was saved.
bool ShowSaveFailure(const SaveResult& result, const std::string& title);

}  // namespace dv::ui
