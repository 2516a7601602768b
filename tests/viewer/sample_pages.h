#pragma once
// The engine's real pages of the sample game, written into a program folder: the games page at
// start-up and the board page after the first turn against the Bogwarden.

#include <filesystem>
#include <string>

#include "data/card_files.h"
#include "engine/model/files.h"
#include "engine/model/state.h"
#include "game/game_start.h"
#include "game/startup.h"
#include "tests/support/recording_host.h"

namespace dv::test {

struct SamplePages {
    std::filesystem::path games;
    std::filesystem::path board;
    std::string opponentLink;  // the "GAME:" link of the Bogwarden's portrait, as written
};

// Copies the sample game from `content` into `folder`, starts up with the first profile and its
// starter deck and starts the game from the games page. `host` must outlive the engine's use.
// Empty paths when a step failed.
inline SamplePages WriteSamplePages(const std::filesystem::path& content,
                                    const std::filesystem::path& folder, RecordingHost& host) {
    namespace fs = std::filesystem;
    SamplePages pages;
    fs::create_directories(folder);
    fs::copy(content, folder, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    ResetState();
    SetHost(&host);
    State& st = St();
    st.ProgramFolder = folder;
    st.CurrentFolder = folder;
    st.SeedOverride = 2024;
    host.onCall[WindowCall::ShowProfileMenu] = [] {
        State& state = St();
        LoadPlayerProfiles();
        state.CurrentProfile = state.PlayerProfiles[1];
        if (DataFileExists(state.CurrentFolder, state.CurrentProfile.PlayerFile))
            ReadCards(state.Collection, state.CurrentProfile.PlayerFile, state.Players[1]);
    };
    host.onCall[WindowCall::ShowDeckManager] = [] { St().CurrentDeck = 1; };

    Main();
    const std::string games = ReadWholeFile(folder / "Display.html").value_or("");
    const std::string target = "Bogwarden_Enemy.txt\"";
    const std::size_t end = games.find(target);
    if (end == std::string::npos) return pages;
    const std::size_t start = games.rfind("\"GAME:", end);
    pages.opponentLink = games.substr(start + 1, end + target.size() - 2 - start);
    fs::copy_file(folder / "Display.html", folder / "games.html",
                  fs::copy_options::overwrite_existing);
    pages.games = folder / "games.html";

    if (!StartGameFromLink(pages.opponentLink)) return pages;
    fs::copy_file(folder / "Display.html", folder / "board.html",
                  fs::copy_options::overwrite_existing);
    pages.board = folder / "board.html";
    return pages;
}

}  // namespace dv::test
