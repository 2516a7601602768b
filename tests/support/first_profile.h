#pragma once
// The profile chooser answered as a returning player answers it, for tests that stand in for it.

#include "data/card_files.h"
#include "engine/model/files.h"
#include "engine/model/state.h"

namespace dv::test {

// The first profile of the program folder's list chosen, and its player file read when there is
// one.
inline void ChooseFirstProfile() {
    State& st = St();
    LoadPlayerProfiles();
    st.CurrentProfile = st.PlayerProfiles[1];
    if (DataFileExists(st.CurrentFolder, st.CurrentProfile.PlayerFile))
        ReadCards(st.Collection, st.CurrentProfile.PlayerFile, st.Players[1]);
}

}  // namespace dv::test
