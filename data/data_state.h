#pragma once

#include <cstdint>
#include <string>

#include "engine/model/list.h"
#include "engine/model/records.h"

namespace dv {

struct GameInfo {
    std::string Name;
    std::string HeaderText;
    std::string GameFile;
    List<Card> Opponents;
    List<std::string> MissionTexts;
    List<std::string> MissionFiles;
    List<std::string> MissionTitles;
    List<std::string> OpponentFiles;
    std::string Folder;
    std::string Picture;
    std::string HelpPage;
};

struct PlayerProfile {
    std::string Name;
    std::string PlayerFile;
    std::string GameFile;
    List<std::string> Unlocked;
};

struct DataState {
    List<GameInfo> Games;
    int16_t CurrentGame = 0;
    PlayerProfile CurrentProfile;
    List<PlayerProfile> PlayerProfiles;
    std::string CurrentMission;

    // Game catalogue: the name of the game being played, so that a rebuilt catalogue finds it
    // again by name rather than by its old number.
    std::string CurrentGameName;
};

}  // namespace dv
