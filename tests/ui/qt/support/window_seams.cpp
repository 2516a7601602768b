#include "tests/ui/qt/support/window_seams.h"

#include "engine/model/state.h"
#include "ui/common/dialogs.h"

namespace dv::test {

void WindowSeams::Install(const std::filesystem::path& folder) {
    ResetState();
    if (!folder.empty()) St().ProgramFolder = St().CurrentFolder = folder;
    host = RecordingHost{};
    SetHost(&host);
    dialogs = ScriptedDialogs{};
    ui::SetDialogs(&dialogs);
}

void WindowSeams::Remove() {
    ui::SetDialogs(nullptr);
    SetHost(nullptr);
}

}  // namespace dv::test
