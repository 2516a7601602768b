#pragma once
// The whole program started for a window test, in a program folder that holds the sample game,
// with the profile chooser answered as a returning player would answer it.

#include <filesystem>
#include <memory>
#include <optional>

#include "tests/support/scripted_dialogs.h"
#include "ui/main/program.h"

namespace dv::test {

// Copies the sample game of content/ into `folder`, a program folder to be.
void CopySampleGame(const std::filesystem::path& folder);

// A fresh run of the program in `folder`, put into `program`, on a fresh state and a fresh script
// in `dialogs`, its generator seeded with `seed` when one is given; false when it did not start.
// The profile "Guest" of the sample game, chosen without its player file being read.
bool StartAsGuest(std::unique_ptr<ui::Program>& program, const std::filesystem::path& folder,
                  ScriptedDialogs& dialogs, std::optional<double> seed = std::nullopt);
// The first profile of the folder's list, chosen and its player file read (ChooseFirstProfile).
bool StartWithFirstProfile(std::unique_ptr<ui::Program>& program,
                           const std::filesystem::path& folder, ScriptedDialogs& dialogs,
                           std::optional<double> seed = std::nullopt);

}  // namespace dv::test
