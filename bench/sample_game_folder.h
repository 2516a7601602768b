#pragma once
// A copy of the sample game in a program folder of its own, with its profile chosen and a fixed
// seed, for the timing programs. Nothing is shown: the silent host answers every window call.

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "data/card_files.h"
#include "engine/model/state.h"
#include "game/deck_evolution.h"
#include "game/startup.h"

namespace dv::bench {

namespace fs = std::filesystem;

class SampleGameFolder {
  public:
    explicit SampleGameFolder(double seed) {
        folder_ = fs::temp_directory_path() / ("duvenhall-bench-" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        fs::copy(fs::path(DV_SOURCE_DIR) / "content", folder_,
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        ResetState();
        State& st = St();
        st.ProgramFolder = folder_;
        st.CurrentFolder = folder_;
        st.SeedOverride = seed;
        LoadPlayerProfiles();
        st.CurrentProfile = st.PlayerProfiles[1];
    }
    ~SampleGameFolder() {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }
    SampleGameFolder(const SampleGameFolder&) = delete;
    SampleGameFolder& operator=(const SampleGameFolder&) = delete;

  private:
    fs::path folder_;
};

inline double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Peak resident memory of the process so far, in megabytes.
inline double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// The named cards in play; free slots aside.
inline int NamedInPlay() {
    int named = 0;
    for (const Card& card : St().InPlay.Cards())
        named += card.Name.empty() ? 0 : 1;
    return named;
}

// The command line of the crowded-board programs: [turns, default 3] [copies ...; default 8000
// 16000].
struct CrowdRuns {
    int turns = 3;
    std::vector<int> copies;
};

inline CrowdRuns ReadCrowdRuns(int argc, char** argv) {
    CrowdRuns runs;
    if (argc > 1) runs.turns = std::max(0, std::atoi(argv[1]));
    for (int a = 2; a < argc; ++a)
        runs.copies.push_back(std::max(1, std::atoi(argv[a])));
    if (runs.copies.empty()) runs.copies = {8000, 16000};
    return runs;
}

// Readies a computer game of the sample game's starter deck against an opponent deck file, as the
// computer games start one; StartGame(1) then starts it.
inline void ReadyComputerGame(const fs::path& deck) {
    QuickStart();
    State& st = St();
    List<Card> scratch;
    ReadCards(scratch, (st.ProgramFolder / "Mosslight" / "Lamplighter_Starter.txt").string(),
              st.Players[1], "#INDECK");
    ReadCards(scratch, deck.string(), st.Players[2], "#INDECK");
    st.AIGameRunning = 1;
    st.AITurn = 1;
}

}  // namespace dv::bench
