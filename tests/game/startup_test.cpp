#include "game/startup.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "data/catalogue.h"
#include "data/games_page.h"
#include "engine/model/cards.h"
#include "engine/model/files.h"
#include "engine/model/state.h"
#include "game/play_queue.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/recording_host.h"

namespace dv {
namespace {

const char* const kGame = "#GAMERULES, Zeta, , #223344, zeta, zeta.html\r\n";

class StartupTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        SetHost(&flow);
        St().SeedOverride = 99;
        WriteFile("Zeta.gam", kGame);
        St().CurrentProfile.Name = "Guest";
    }

    // Where the call stands among the host's calls; -1 when it was not made.
    int CallAt(const std::string& call) const {
        auto it = std::find(flow.calls.begin(), flow.calls.end(), call);
        return it == flow.calls.end() ? -1 : static_cast<int>(it - flow.calls.begin());
    }

    std::string DisplayPage() const {
        return ReadWholeFile(Folder() / "Display.html").value_or("");
    }

    test::RecordingHost flow;
};

TEST_F(StartupTest, DebugModeFollowsTheMarkerFile) {
    struct Row {
        const char* marker;  // nullptr: no marker file
        uint8_t debug;
    };
    const Row rows[] = {{nullptr, 0}, {"Debug.on", 1}, {"debug.ON", 1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.marker ? r.marker : "no marker");
        St().DebugMode = 0;
        std::filesystem::remove(Folder() / "Debug.on");
        std::filesystem::remove(Folder() / "debug.ON");
        if (r.marker) WriteFile(r.marker, "");
        Main();
        EXPECT_EQ(St().DebugMode, r.debug);
    }
}

// A FIFO named "Pipe.gam" blocked start-up for ever; a link to /dev/zero ate memory.
TEST_F(StartupTest, FilesThatAreNoRegularDataFilesAreToldAndStartUpGoesOn) {
    namespace fs = std::filesystem;
    ASSERT_EQ(::mkfifo((Folder() / "Pipe.gam").c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", Folder() / "Zero.gam");
    fs::create_symlink("/dev/zero", Folder() / "Zero.txt");
    WriteFile("Huge.gam", "");
    fs::resize_file(Folder() / "Huge.gam", kMaxDataFileBytes + 1);

    Main();

    EXPECT_GE(CallAt("ShowMainWindow"), 0);
    ASSERT_EQ(St().Games.size(), 1);
    EXPECT_EQ(St().Games[1].Name, "Zeta");
    // The catalogue tells the files it leaves unread, or could not read, in one message.
    EXPECT_EQ(flow.CountMessages("Error in LoadGameFile: Huge.gam: larger than 256 MB\n"
                                 "Pipe.gam is not read: it is not a regular file.\n"
                                 "Zero.gam is not read: it is not a regular file.\n"
                                 "Zero.txt is not read: it is not a regular file."),
              1);
    EXPECT_EQ(flow.messages.size(), 1u);
}

TEST_F(StartupTest, NoProfileChosenEndsTheProgramBeforeAnyWindowShows) {
    St().CurrentProfile.Name.clear();

    Main();

    EXPECT_EQ(St().EndProgram, 1);
    EXPECT_GE(CallAt("ShowProfileMenu"), 0);
    EXPECT_GT(CallAt("EndProgram"), CallAt("ShowProfileMenu"));
    EXPECT_EQ(CallAt("ShowMainWindow"), -1);
    EXPECT_TRUE(flow.pages.empty());
    EXPECT_FALSE(std::filesystem::exists(Folder() / "Display.html"));
}

TEST_F(StartupTest, ProfileChosenInTheChooserGoesOnToTheGamesPage) {
    St().CurrentProfile.Name.clear();
    flow.onCall[WindowCall::ShowProfileMenu] = [] { St().CurrentProfile.Name = "Guest"; };

    Main();

    EXPECT_EQ(St().EndProgram, 0);
    EXPECT_LT(CallAt("ShowProfileMenu"), CallAt("ShowMainWindow"));
    ASSERT_EQ(flow.pages.size(), 1u);
    EXPECT_EQ(flow.pages[0].viewer, "ulkBrowser1");
    EXPECT_NE(DisplayPage().find(DisplayGames()), std::string::npos);
    EXPECT_NE(DisplayPage().find("Zeta"), std::string::npos);

    flow.calls.clear();
    QuickStart();
    EXPECT_EQ(CallAt("ShowProfileMenu"), -1) << "the chooser opens only while no profile is set";
}

TEST_F(StartupTest, SetUpResetsTheGameState) {
    State& st = St();
    st.PlayerDecks[2].Name = "My Swamp Deck";
    st.Collection = List<Card>(4);
    st.Collection[1].Name = "Kept";
    st.Collection[2].Name = "Dropped";
    st.Players[1].Hand = List<Card>(3);
    st.InPlay = StableList<Card>(70);
    st.InPlay[60].Name = "Leftover";
    st.GameOver = 1;
    st.DeckRejected = 1;
    st.SelectedCard = 7;
    st.Players[1].Hand = List<Card>(10);
    st.Players[1].Hand[4].Name = "Queued";
    AddAction(4, 0);

    QuickStart();

    EXPECT_EQ(st.GameOver, 0);
    EXPECT_EQ(st.DeckRejected, 0);
    EXPECT_EQ(st.SelectedCard, 0);
    EXPECT_EQ(st.ActionCards[1], 0) << "a queued play of the last game survived the new game";
    EXPECT_EQ(st.ChoiceSlot, 0);
    EXPECT_GE(CallAt("SetEndTurnCaption:Take Turn"), 0);
    EXPECT_GE(CallAt("StoreFullSizeTick"), 0);

    ASSERT_EQ(st.InPlay.size(), kStartInPlaySlots);
    const char* const names[] = {"Player 1", "Player 2"};
    const char* const thumbs[] = {"Player1thumb.bmp", "Player2thumb.bmp"};
    for (int p = 1; p <= 2; ++p) {
        SCOPED_TRACE(p);
        const Card& placeholder = st.InPlay[p];
        EXPECT_EQ(placeholder.Name, names[p - 1]);
        EXPECT_EQ(placeholder.Owner, p);
        EXPECT_EQ(placeholder.Thumbnail, thumbs[p - 1]);
        EXPECT_EQ(st.Players[p].CardIndex, p);
        ASSERT_GE(placeholder.Effects.size(), 1);
        EXPECT_EQ(placeholder.Effects[1].Trigger, "OTHERENTERSPLAY");
        EXPECT_EQ(placeholder.Effects[1].TargetType, 8);
        EXPECT_EQ(placeholder.Effects[1].Text, "REQALLY:REQTRAIT:PLAYER:DESTROYME");
    }
    for (int i = 3; i <= st.InPlay.size(); ++i)
        EXPECT_TRUE(st.InPlay[i].Name.empty()) << "slot " << i;

    EXPECT_EQ(st.Players[3].Colour, "#AAAAAA");
    ASSERT_EQ(st.Players[1].Hand.size(), kStartHandSlots);
    for (const Card& slot : st.Players[1].Hand) {
        EXPECT_TRUE(slot.Name.empty());
        EXPECT_EQ(slot.Owner, 1);
        EXPECT_EQ(slot.Initialised, 1);
    }
    ASSERT_EQ(st.Collection.size(), 1);
    EXPECT_EQ(st.Collection[1].Name, "Kept");
    EXPECT_EQ(st.PlayerDecks[1].Name, "Deck #1");
    EXPECT_EQ(st.PlayerDecks[2].Name, "My Swamp Deck");
    EXPECT_EQ(st.PlayerDecks[3].Name, "Deck #3");
    const int topSizes[] = {10, 10, 1, 1};
    for (int t = 1; t <= 4; ++t)
        EXPECT_EQ(st.TopCards[t].size(), topSizes[t - 1]);
    ASSERT_EQ(st.Decks.size(), 1);
    EXPECT_EQ(st.Decks[1].CardIds.size(), 1);
    EXPECT_EQ(st.RulesCard.Active, 1);
    EXPECT_EQ(st.RulesCard.Owner, 1);
}

TEST_F(StartupTest, RebuiltCatalogueKeepsTheGameBeingPlayed) {
    WriteFile("Mid.gam", "#GAMERULES, Mid, , #445566, mid, mid.html\r\n");
    QuickStart();
    St().CurrentGame = static_cast<int16_t>(GetNameNum("Mid"));
    // A game that sorts first moves Mid to another number in the rebuilt catalogue.
    WriteFile("Alpha.gam", "#GAMERULES, Alpha, , #112233, alpha, alpha.html\r\n");

    QuickStart();

    ASSERT_TRUE(St().Games.Has(St().CurrentGame));
    EXPECT_EQ(St().Games[St().CurrentGame].Name, "Mid");
}

TEST_F(StartupTest, SeedOverrideReplaysTheSetUp) {
    QuickStart();
    const int32_t first = St().InPlay[1].GID;
    const int32_t second = St().InPlay[2].GID;
    QuickStart();
    EXPECT_EQ(St().InPlay[1].GID, first);
    EXPECT_EQ(St().InPlay[2].GID, second);
}

}  // namespace
}  // namespace dv
