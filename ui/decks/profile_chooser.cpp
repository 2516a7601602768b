#include "ui/decks/profile_chooser.h"

#include <algorithm>

#include "data/card_files.h"
#include "engine/model/files.h"
#include "engine/model/state.h"
#include "ui/common/dialogs.h"

namespace dv::ui {
namespace {

// Profiles on the buttons besides "New Player" before the list scrolls.
constexpr int kProfilesWithoutScrolling = kProfileButtons - 1;
constexpr int kNewPlayerTokens = 500;

ProfileChooser::Choice Pick(const PlayerProfile& profile) {
    State& st = St();
    st.CurrentProfile = profile;
    const std::string& file = st.CurrentProfile.PlayerFile;
    if (!file.empty() && DataFileExists(st.ProgramFolder, file))
        ReadCards(st.Collection, ResolveDataPath(st.ProgramFolder, file).string(), st.Players[1]);
    SavePlayerProfiles();
    return ProfileChooser::Choice::Picked;
}

ProfileChooser::Choice Create() {
    const auto name = TheDialogs().Input("New Player Name?", "Choose a Player Profile", "");
    // A blank profile would be written into the list and picked at the next start.
    if (!name || name->empty()) return ProfileChooser::Choice::StaysOpen;
    if (!NewPlayerProfile(*name)) return ProfileChooser::Choice::StaysOpen;
    St().Players[1].Tokens = kNewPlayerTokens;
    return ProfileChooser::Choice::Created;
}

}  // namespace

void ProfileChooser::Load() {
    offset_ = 0;
    LoadPlayerProfiles();
}

std::array<std::string, kProfileButtons> ProfileChooser::Captions() const {
    const auto& profiles = St().PlayerProfiles;
    std::array<std::string, kProfileButtons> captions;
    for (int i = 0; i < kProfileButtons; ++i) {
        const int k = offset_ + i;
        if (k == 0)
            captions[i] = "New Player";
        else if (profiles.Has(k))
            captions[i] = profiles[k].Name;
    }
    return captions;
}

bool ProfileChooser::ScrollShown() const {
    return St().PlayerProfiles.size() > kProfilesWithoutScrolling;
}

int ProfileChooser::ScrollMaximum() const {
    return std::max(St().PlayerProfiles.size() - kProfilesWithoutScrolling, 0);
}

void ProfileChooser::Scroll(int offset) {
    offset_ = std::clamp(offset, 0, ScrollMaximum());
}

ProfileChooser::Choice ProfileChooser::Click(int button) {
    const int k = offset_ + button;
    const auto& profiles = St().PlayerProfiles;
    // The nameless record of an empty list is no profile: it asks for a name like "New Player".
    if (profiles.Has(k) && !profiles[k].Name.empty()) return Pick(profiles[k]);
    return Create();
}

}  // namespace dv::ui
