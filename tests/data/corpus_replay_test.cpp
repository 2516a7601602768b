#include <gtest/gtest.h>

#include <chrono>
#include <string_view>
#include <vector>

#include "engine/interpreter/card_commands.h"
#include "engine/model/files.h"
#include "tests/fuzz/card_file_reader_input.h"
#include "tests/fuzz/effect_script_input.h"
#include "tests/support/engine_fixture.h"

namespace dv {
namespace {

using CorpusReplayTest = test::EngineTest;

// Every saved input of the reader's fuzz corpus reads without a crash, leaves no read running,
// and what it gives writes and reads back to the same bytes.
TEST_F(CorpusReplayTest, EverySavedInputReadsAndWritesBackTheSame) {
    const fs::path corpus = fs::path(DV_TEST_DATA) / "data" / "corpus";
    const auto entries = ListFolder(corpus);
    ASSERT_GE(entries.size(), 10u);
    for (const FolderEntry& entry : entries) {
        if (entry.isFolder) continue;
        SCOPED_TRACE(entry.name);
        const std::string bytes = *ReadWholeFile(corpus / entry.name);
        EXPECT_TRUE(fuzz::ReadCardFileInput(reinterpret_cast<const uint8_t*>(bytes.data()),
                                            bytes.size(), Folder()));
        EXPECT_EQ(St().IncludeList.Depth, 0);
        SetHost(&host);
    }
}

// Far above what any saved script takes (a few hundredths of a second, under two seconds with
// the sanitizers in a debug build), and far below the stalls it is there to catch.
#ifdef DV_SANITIZED
constexpr auto kStall = std::chrono::seconds(20);
#else
constexpr auto kStall = std::chrono::seconds(3);
#endif

// Booster commands a script names, nested ones included.
int BoosterWords(std::string_view script) {
    int count = 0;
    for (std::size_t at = script.find("BOOSTER"); at != std::string_view::npos;
         at = script.find("BOOSTER", at + 1))
        ++count;
    return count;
}

// Every saved input of the action-script fuzz corpus ends soon (the booster without requirements
// once ran itself again for every card; a booster in a booster's requirements once drew for
// every card of the other, a full trigger slot was packed again for every registration, and a
// repeated booster added its cards again for every repetition, its stamps piling up on the card),
// leaves no run behind, and (under the sanitizers) reads no card a booster moved away: the
// collection card an effect worked on once moved when the effect's booster grew the collection.
TEST_F(CorpusReplayTest, EverySavedActionScriptEndsSoonAndLeavesNoRunBehind) {
    const fs::path corpus = fs::path(DV_TEST_DATA) / "data" / "effect_corpus";
    const auto entries = ListFolder(corpus);
    ASSERT_GE(entries.size(), 26u);
    for (const FolderEntry& entry : entries) {
        if (entry.isFolder) continue;
        SCOPED_TRACE(entry.name);
        const std::string bytes = *ReadWholeFile(corpus / entry.name);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_TRUE(fuzz::RunEffectScriptInput(reinterpret_cast<const uint8_t*>(bytes.data()),
                                               bytes.size(), Folder()));
        EXPECT_LT(std::chrono::steady_clock::now() - start, kStall);
        // The script runs for real twice (once itself, once by its trigger), and each booster
        // adds at most the cards of one command, those of the boosters nested in it included.
        EXPECT_LE(St().Collection.size(), 1 + 2 * kMaxCardsPerCommand * BoosterWords(bytes))
            << "a booster adds the cards it asks for";
        SetHost(&host);
    }
}

}  // namespace
}  // namespace dv
