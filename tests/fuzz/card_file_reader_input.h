#pragma once
// One input read as a card data file, as the fuzz target and the corpus replay test both do it:
// read it into the running game and as a card set, then check that once written, what was read
// reads back and writes again to the same bytes.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "data/card_file_reader.h"
#include "data/card_files.h"
#include "engine/model/files.h"
#include "engine/model/state.h"

namespace dv::fuzz {

inline constexpr const char* kInputName = "input.txt";

// Gives false when the written form of what was read does not read back the same.
inline bool ReadCardFileInput(const uint8_t* data, std::size_t size,
                              const std::filesystem::path& folder) {
    ResetState();
    State& s = St();
    s.ProgramFolder = folder;
    s.CurrentFolder = folder;
    s.FixedNow = "2024-05-01 10:00:00";
    s.Players[1].Id = 1;
    std::ofstream(folder / kInputName, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    List<Card> set;
    Player setPlayer;
    ReadCardsIn(ReadScope::SetOnly, set, kInputName, setPlayer, 1, "COLLECTION", kReadReplace);
    if (!ReadCards(s.Collection, kInputName, s.Players[1], 0, "", kReadReplace)) return true;
    if (s.IncludeDepth != 0) return false;

    // The first write settles what the format itself normalises (an empty colour of a "#CARD"
    // line reads as white); from then on a write and a read must change nothing.
    if (!SaveCollection(s.Collection, "first.txt", "COLLECTION", "", 0)) return true;
    if (!ReadCards(s.Collection, "first.txt", s.Players[1], 0, "", kReadReplace)) return false;
    if (!SaveCollection(s.Collection, "second.txt", "COLLECTION", "", 0)) return true;
    if (!ReadCards(s.Collection, "second.txt", s.Players[1], 0, "", kReadReplace)) return false;
    if (!SaveCollection(s.Collection, "third.txt", "COLLECTION", "", 0)) return true;
    return ReadWholeFile(folder / "second.txt") == ReadWholeFile(folder / "third.txt");
}

}  // namespace dv::fuzz
