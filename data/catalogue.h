#pragma once
// The catalogue of games, their opponents and their missions, built from the game files ("*.gam"),
// opponent files ("*.txt") and mission files ("*.mis") of the program folder and game folders.

#include <string>

#include "engine/model/data_state.h"

namespace dv {

// Fills Games from the program folder; expects Games to hold one empty record.
void LoadAllGames();
// Empties Games to one record and fills it again, keeping the game being played current.
void RebuildCatalogue();
// Makes game number the current game and remembers its name for later rebuilds.
void SetCurrentGame(int number);

void LoadGameFile(const std::string& file);
void CreateGame(const std::string& name, const std::string& picture, const std::string& headerText,
                const std::string& folder, const std::string& helpPage, const std::string& file);
// file: a path, or a name relative to the program folder; game: the game whose folder holds it
// (0 for the program folder).
void AddFileToGame(const std::string& file, int game);
void AddPlayerToGame(GameInfo& game, const std::string& name, const std::string& portrait,
                     const std::string& description, const std::string& file);
void LoadMissionFile(const std::string& file, int game, int mission);
int GetNameNum(const std::string& name);

// Whether the opponent or mission file a game link names lies, once links are followed, in the
// program folder or the game's folder: pages are written from shared files, so a link may name any
// path, and the catalogue lists only what a link may start. A file not found at all is left to
// the reader, which says so.
bool OpponentFileInsideFolders(const GameInfo& game, const std::string& file);

}  // namespace dv
