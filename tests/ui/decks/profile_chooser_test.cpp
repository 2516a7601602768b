#include "ui/decks/profile_chooser.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "data/card_files.h"
#include "engine/model/cards.h"
#include "engine/model/files.h"
#include "engine/model/state.h"
#include "tests/support/dialogs_fixture.h"
#include "ui/common/dialogs.h"

namespace dv::ui {
namespace {

class ProfileChooserTest : public test::DialogsTest {
  protected:
    void WriteProfiles(int count) {
        std::string text;
        for (int i = 1; i <= count; ++i)
            text += "\"#PLAYERPROFILE\",\"P" + std::to_string(i) + "\",\"P" + std::to_string(i) +
                    ".plr:Mosslight.gam\",\"\",\"\",\"\"\r\n\r\n#UNLOCKED, #ENDUNLOCKED\r\n\r\n";
        WriteFile("PlayerProfiles.txt", text);
    }
    std::string ProfileFile() const {
        return ReadWholeFile(Folder() / "PlayerProfiles.txt").value_or("(none)");
    }

    ProfileChooser chooser;
};

TEST_F(ProfileChooserTest, ButtonsShowNewPlayerAndAWindowOfTheListThatScrolls) {
    using Captions = std::array<std::string, kProfileButtons>;
    struct Row {
        int profiles;
        int offset;
        bool scrollShown;
        int scrollMaximum;
        Captions captions;
    };
    const Row rows[] = {
        {10, 0, true, 3, {"New Player", "P1", "P2", "P3", "P4", "P5", "P6", "P7"}},
        {10, 3, true, 3, {"P3", "P4", "P5", "P6", "P7", "P8", "P9", "P10"}},
        {10, 9, true, 3, {"P3", "P4", "P5", "P6", "P7", "P8", "P9", "P10"}},
        {3, 0, false, 0, {"New Player", "P1", "P2", "P3", "", "", "", ""}},
        {7, 0, false, 0, {"New Player", "P1", "P2", "P3", "P4", "P5", "P6", "P7"}},
        {0, 0, false, 0, {"New Player", "", "", "", "", "", "", ""}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.profiles) + " at " + std::to_string(r.offset));
        WriteProfiles(r.profiles);
        chooser.Load();
        chooser.Scroll(r.offset);
        EXPECT_EQ(chooser.ScrollShown(), r.scrollShown);
        EXPECT_EQ(chooser.ScrollMaximum(), r.scrollMaximum);
        EXPECT_EQ(chooser.Captions(), r.captions);
    }
}

TEST_F(ProfileChooserTest, PickingAProfileMakesAnIndependentCopyCurrentAndReadsItsPlayerFile) {
    WriteProfiles(3);
    WriteFile("P2.plr",
              "#PLAYERDECK\r\n#TOKENS, 77\r\n#CARD, COLLECTION, \"Moss\", \"moss:1\", , , , "
              "#FFFFFF, \"\"\r\n");
    chooser.Load();
    EXPECT_EQ(chooser.Click(2), ProfileChooser::Choice::Picked);
    State& st = St();
    EXPECT_EQ(st.CurrentProfile.Name, "P2");
    EXPECT_EQ(st.CurrentProfile.PlayerFile, "P2.plr");
    EXPECT_EQ(st.CurrentProfile.GameFile, "Mosslight.gam");
    EXPECT_EQ(st.Players[1].Tokens, 77);
    ASSERT_GE(st.Collection.size(), 1);
    EXPECT_EQ(st.Collection[1].Name, "Moss");
    st.CurrentProfile.Name = "Changed";
    EXPECT_EQ(st.PlayerProfiles[2].Name, "P2");
    EXPECT_TRUE(dialogs.asked.empty());

    // A profile whose player file is missing is picked without reading anything.
    EXPECT_EQ(chooser.Click(3), ProfileChooser::Choice::Picked);
    EXPECT_EQ(st.CurrentProfile.Name, "P3");
    EXPECT_TRUE(host.messages.empty()) << host.messages.front();
}

// No blank profile is ever written: not for a cancelled name, not for an empty one; the nameless
// record of an empty list asks for a name rather than being picked.
TEST_F(ProfileChooserTest, NewPlayerNamesAreAskedForAndOnlyRealNamesAreSaved) {
    struct Row {
        const char* name;
        int profiles;
        int button;
        std::optional<std::string> answer;
        ProfileChooser::Choice choice;
        const char* current;
    };
    const Row rows[] = {
        {"new player", 2, 0, "Wren", ProfileChooser::Choice::Created, "Wren"},
        {"empty button", 2, 5, "Wren", ProfileChooser::Choice::Created, "Wren"},
        {"nameless record of an empty list", 0, 1, "Wren", ProfileChooser::Choice::Created, "Wren"},
        {"cancelled", 2, 0, std::nullopt, ProfileChooser::Choice::StaysOpen, ""},
        {"empty", 2, 0, "", ProfileChooser::Choice::StaysOpen, ""},
        {"leaves the folder", 2, 0, "../Wren", ProfileChooser::Choice::StaysOpen, ""},
        {"taken", 2, 0, "P1", ProfileChooser::Choice::StaysOpen, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        WriteProfiles(r.profiles);
        const std::string before = ProfileFile();
        St().CurrentProfile = {};
        St().Players[1].Tokens = 0;
        dialogs.asked.clear();
        dialogs.inputs = {r.answer};
        chooser.Load();
        EXPECT_EQ(chooser.Click(r.button), r.choice);
        EXPECT_EQ(dialogs.asked, std::vector<std::string>{"New Player Name?"});
        EXPECT_EQ(St().CurrentProfile.Name, r.current);
        if (r.choice == ProfileChooser::Choice::Created) {
            EXPECT_EQ(St().Players[1].Tokens, 500);
            EXPECT_NE(ProfileFile().find("\"Wren\""), std::string::npos);
            EXPECT_EQ(ProfileFile().find("\"\",\"\",\"\",\"\",\"\""), std::string::npos);
        } else {
            EXPECT_EQ(ProfileFile(), before);
        }
        host.messages.clear();
    }
}

// A name of some 234 letters was taken, and no save of its player file could ever succeed: the
// temporary file a save writes first has a name longer than the folder allows. The longest name
// taken is one whose player file is saved.
TEST_F(ProfileChooserTest, ANameWhosePlayerFileCouldNotBeSavedIsRefused) {
    std::filesystem::copy(std::filesystem::path(DV_SOURCE_DIR) / "content", Folder(),
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
    WriteProfiles(1);
    const std::size_t allowed =
        LongestSavedName(Folder()) - (PlayerFileName("Mosslight", "w").size() - 1);
    ASSERT_GT(allowed, 200u);
    Card moss;  // a collection of no card saves no file
    InitCard(moss, 1, 0);
    moss.Name = "Moss";
    St().Collection.PushBack(moss);
    struct Row {
        std::size_t letters;
        ProfileChooser::Choice choice;
    };
    for (const Row& r : {Row{allowed + 1, ProfileChooser::Choice::StaysOpen},
                         Row{240, ProfileChooser::Choice::StaysOpen},
                         Row{allowed, ProfileChooser::Choice::Created}}) {
        SCOPED_TRACE(r.letters);
        const std::string name(r.letters, 'w');
        const std::string before = ProfileFile();
        host.messages.clear();
        dialogs.inputs = {name};
        chooser.Load();
        EXPECT_EQ(chooser.Click(0), r.choice);
        const SaveResult saved = SavePlayerReason(PlayerFileName("Mosslight", name));
        if (r.choice == ProfileChooser::Choice::Created) {
            EXPECT_TRUE(saved.Saved()) << saved.reason;
            EXPECT_TRUE(host.messages.empty());
            continue;
        }
        EXPECT_FALSE(saved.Saved()) << "a name refused whose player file is saved";
        EXPECT_EQ(ProfileFile(), before);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].find("This profile name is too long: the player file for "
                                        "Mosslight would have a name of " +
                                        std::to_string(r.letters + 14) + " bytes"),
                  0u)
            << host.messages[0];
        EXPECT_NE(host.messages[0].find("Choose a name of at most " + std::to_string(allowed) +
                                        " bytes."),
                  std::string::npos);
    }
}

}  // namespace
}  // namespace dv::ui
