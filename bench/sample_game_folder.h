#pragma once
// A copy of the sample game in a program folder of its own, with its profile chosen and a fixed
// seed, for the timing programs. Nothing is shown: the silent host answers every window call.

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "data/card_files.h"
#include "engine/model/state.h"
#include "game/deck_evolution.h"

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

}  // namespace dv::bench
