#include "tests/ui/qt/support/program_steps.h"

#include <functional>
#include <string>

#include "engine/model/state.h"
#include "tests/support/first_profile.h"
#include "ui/main/qt_host.h"

namespace dv::test {
namespace {

bool Start(std::unique_ptr<ui::Program>& program, const std::filesystem::path& folder,
           ScriptedDialogs& dialogs, std::optional<double> seed, std::function<void()> choose) {
    program.reset();
    ResetState();
    dialogs = ScriptedDialogs{};
    program = std::make_unique<ui::Program>(folder, &dialogs);
    if (seed) St().SeedOverride = *seed;
    program->Host().SetAnswer(WindowCall::ShowProfileMenu,
                              [choose](const std::string&) { choose(); });
    return program->Start();
}

}  // namespace

void CopySampleGame(const std::filesystem::path& folder) {
    std::filesystem::copy(std::filesystem::path(DV_SOURCE_DIR) / "content", folder,
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
}

bool StartAsGuest(std::unique_ptr<ui::Program>& program, const std::filesystem::path& folder,
                  ScriptedDialogs& dialogs, std::optional<double> seed) {
    return Start(program, folder, dialogs, seed, [] {
        St().CurrentProfile = {"Guest", "Mosslight_Guest.plr", "Mosslight.gam", {}};
    });
}

bool StartWithFirstProfile(std::unique_ptr<ui::Program>& program,
                           const std::filesystem::path& folder, ScriptedDialogs& dialogs,
                           std::optional<double> seed) {
    return Start(program, folder, dialogs, seed, ChooseFirstProfile);
}

}  // namespace dv::test
