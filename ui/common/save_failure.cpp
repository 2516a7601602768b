#include "ui/common/save_failure.h"

#include "ui/common/dialogs.h"

namespace dv::ui {

bool ShowSaveFailure(const SaveResult& result, const std::string& title) {
    if (!result.Saved() && (result.toShow || result.skipped))
        TheDialogs().Message(result.reason, title);
    return result.Saved();
}

}  // namespace dv::ui
