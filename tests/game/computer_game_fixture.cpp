#include "tests/game/computer_game_fixture.h"

#include "data/card_files.h"
#include "engine/model/files.h"
#include "game/deck_evolution.h"

namespace dv::test {

namespace fs = std::filesystem;

void SampleGameTest::SetUp() {
    EngineTest::SetUp();
    fs::copy(fs::path(DV_SOURCE_DIR) / "content", Folder(),
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    State& st = St();
    st.SeedOverride = 2024;
    LoadPlayerProfiles();
    st.CurrentProfile = st.PlayerProfiles[1];
}

std::string SampleGameTest::File(const std::string& name) const {
    return ReadWholeFile(Folder() / name).value_or("");
}

int SampleGameTest::Named(const List<Card>& cards) {
    int n = 0;
    for (const Card& card : cards)
        if (!card.Name.empty()) ++n;
    return n;
}

}  // namespace dv::test
