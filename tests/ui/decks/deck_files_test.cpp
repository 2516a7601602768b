// The deck manager's file menu and its save dialog: a player file saved under a name typed
// without ".plr" is asked about before it replaces a file of that name.

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/model/files.h"
#include "tests/ui/decks/deck_manager_fixture.h"

namespace dv {
namespace {

namespace fs = std::filesystem;

class DeckFilesTest : public test::DeckManagerTest {
  protected:
    void SetUp() override {
        DeckManagerTest::SetUp();
        PlayZetaAsGuest();
        SetCollection({Owned("Mage", 1, 0, {{"PLAYER", ""}}), Owned("Imp", 2)});
        SetDeck(1, "Red", {1, 2});
        Apply(logic.Open());
    }
};

// Save Player added ".plr" after its dialog had closed: "Backup" over an existing "Backup.plr"
// replaced it without the dialog's question.
TEST_F(DeckFilesTest, SavePlayerAsksBeforeItReplacesAFileTypedWithoutExtension) {
    struct Row {
        bool replace;
        bool written;
    };
    for (const Row& r : {Row{false, false}, Row{true, true}}) {
        SCOPED_TRACE(r.replace);
        WriteFile("Backup.plr", "the player's own");
        dialogs.asked.clear();
        dialogs.files = {(Folder() / "Backup").string()};
        dialogs.answers = {r.replace};
        Apply(logic.SavePlayerAs());
        EXPECT_EQ(dialogs.extensions.back(), "plr");
        EXPECT_EQ(dialogs.asked,
                  (std::vector<std::string>{
                      "Save Player", "Backup.plr already exists. Do you want to replace it?"}));
        const std::string text = ReadWholeFile(Folder() / "Backup.plr").value_or("");
        EXPECT_EQ(text != "the player's own", r.written) << text;
    }
}

}  // namespace
}  // namespace dv
