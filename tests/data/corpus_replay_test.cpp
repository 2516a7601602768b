#include <gtest/gtest.h>

#include <vector>

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

// Every saved input of the action-script fuzz corpus ends (the booster without requirements once
// ran itself again for every card) and leaves no run behind.
TEST_F(CorpusReplayTest, EverySavedActionScriptEndsAndLeavesNoRunBehind) {
    const fs::path corpus = fs::path(DV_TEST_DATA) / "data" / "effect_corpus";
    const auto entries = ListFolder(corpus);
    ASSERT_GE(entries.size(), 20u);
    for (const FolderEntry& entry : entries) {
        if (entry.isFolder) continue;
        SCOPED_TRACE(entry.name);
        const std::string bytes = *ReadWholeFile(corpus / entry.name);
        EXPECT_TRUE(fuzz::RunEffectScriptInput(reinterpret_cast<const uint8_t*>(bytes.data()),
                                               bytes.size(), Folder()));
        EXPECT_LE(St().Collection.size(), 20) << "a booster adds the cards it asks for";
        SetHost(&host);
    }
}

}  // namespace
}  // namespace dv
