#pragma once
// A save's failure told in the window's own message box, rather than by the engine.

#include <string>

#include "data/save_result.h"

namespace dv::ui {

// Shows the reason of a failed save that is still to be shown; true when the file was saved.
bool ShowSaveFailure(const SaveResult& result, const std::string& title);

}  // namespace dv::ui
