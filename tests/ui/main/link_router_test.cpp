#include "ui/main/link_router.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "data/card_files.h"
#include "engine/model/files.h"
#include "engine/model/text_utils.h"
#include "engine/pages/page_buffer.h"
#include "engine/rules/rule_operations.h"
#include "game/play_queue.h"
#include "game/startup.h"
#include "tests/ui/main/main_fixture.h"
#include "ui/common/engine_guard.h"
#include "ui/main/hand_strip.h"

namespace dv::ui {
namespace {

namespace fs = std::filesystem;

using LinkRouterTest = test::MainWindowLogicTest;

// Each link form as a page holds it, and what the router must take from it. A router that cut
// at the last "/" would lose the game links' folders; one that compared case would lose "game".
TEST(ReadLinkTest, EveryLinkFormIsReadFromItsExactText) {
    struct Row {
        const char* href;
        LinkKind kind;
        const char* text;
        int32_t gid;
        int action;
    };
    const Row rows[] = {
        {"CARD1234", LinkKind::Card, "", 1234, 0},
        {"file:///tmp/a b/CARD1234", LinkKind::Card, "", 1234, 0},
        {"CARD0", LinkKind::None, "", 0, 0},
        {"CARDRulesCard", LinkKind::None, "", 0, 0},
        {"CARD12x", LinkKind::None, "", 0, 0},
        {"CARD-5", LinkKind::None, "", 0, 0},
        {"CARD99999999999", LinkKind::None, "", 0, 0},
        {"card1234", LinkKind::None, "", 0, 0},
        {"MENUACTION:1005:2", LinkKind::MenuAction, "", 1005, 2},
        {"menuaction:1005:2", LinkKind::MenuAction, "", 1005, 2},
        {"MENUACTION:1005:two", LinkKind::MenuAction, "", 1005, 0},
        {"MENUACTION:1005:256", LinkKind::MenuAction, "", 1005, 0},
        {"MENUACTION:x:1", LinkKind::None, "", 0, 0},
        {"HELP:MosslightHelp.html", LinkKind::Help, "MosslightHelp.html", 0, 0},
        {"help:MosslightHelp.html", LinkKind::Help, "MosslightHelp.html", 0, 0},
        {"HeLp:My%20Help.html", LinkKind::Help, "My Help.html", 0, 0},
        {"GAME:1:/tmp/folder with blanks/Mosslight/Bogwarden_Enemy.txt", LinkKind::Game,
         "GAME:1:/tmp/folder with blanks/Mosslight/Bogwarden_Enemy.txt", 0, 0},
        {"game:1:/tmp/a:b c/Mosslight/FirstLight.mis", LinkKind::Game,
         "game:1:/tmp/a:b c/Mosslight/FirstLight.mis", 0, 0},
        {"Game:2://server/share/x.txt", LinkKind::Game, "Game:2://server/share/x.txt", 0, 0},
        {"", LinkKind::None, "", 0, 0},
        {"http://example.com/page", LinkKind::None, "", 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.href);
        const PageLink link = ReadLink(r.href);
        EXPECT_EQ(link.kind, r.kind);
        EXPECT_EQ(link.text, r.text);
        EXPECT_EQ(link.gid, r.gid);
        EXPECT_EQ(link.action, r.action);
    }
}

TEST_F(LinkRouterTest, CardLinksShowOnlyCardsInPlayAndNothingWhileBusy) {
    struct Row {
        std::string href;
        bool pageLoading;
        bool commandRunning;
        ClickOutcome outcome;
    };
    const Row rows[] = {
        {"CARD" + Gid(foe), false, false, ClickOutcome::CardShown},
        {"CARD" + Gid(foe), true, false, ClickOutcome::Busy},
        {"CARD" + Gid(foe), false, true, ClickOutcome::Busy},
        {"CARD777", false, false, ClickOutcome::Ignored},
        {"CARD0", false, false, ClickOutcome::Ignored},
        {"CARDRulesCard", false, false, ClickOutcome::Ignored},
        {"MENUACTION:" + Gid(foe) + ":1", false, false, ClickOutcome::Ignored},
        {"", false, false, ClickOutcome::Ignored},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.href);
        flow.pages.clear();
        St().HtmlBusy = r.pageLoading ? 1 : 0;
        ClickOutcome outcome;
        if (r.commandRunning) {
            EngineGuard running;
            outcome = BoardClick(r.href);
        } else {
            outcome = BoardClick(r.href);
        }
        EXPECT_EQ(outcome, r.outcome);
        EXPECT_EQ(Shown(kCardViewer), r.outcome == ClickOutcome::CardShown ? 1 : 0);
        EXPECT_EQ(St().SelectedCard, 0) << "showing a card does not select it";
    }
    EXPECT_TRUE(flow.messages.empty());
}

// A hand card queued waits for its target: the next card link answers it, the one after only
// shows its card.
TEST_F(LinkRouterTest, TheCardLinkAfterAQueuedPlayBecomesItsTargetOnce) {
    struct Row {
        const char* name;
        bool discard;
        int16_t targetAfterQueueing;
    };
    const Row rows[] = {{"play", false, 0}, {"discard becomes a play", true, kDiscardTarget}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ClearActions();
        Card& spark = InHand(3, "Spark");
        HandStrip hand;
        ASSERT_TRUE(hand.Release(3, r.discard));
        EXPECT_EQ(St().ActionCards[1], 3);
        EXPECT_EQ(St().ActionTargets[1], r.targetAfterQueueing);
        EXPECT_EQ(St().ChoiceSlot, 1);

        EXPECT_EQ(BoardClick("CARD" + Gid(foe)), ClickOutcome::QueueTargetSet);
        EXPECT_EQ(St().ActionTargets[1], foe);
        EXPECT_EQ(spark.PresetTarget, foe);
        EXPECT_EQ(spark.NextTarget, foe);
        EXPECT_EQ(St().ChoiceSlot, 0);

        EXPECT_EQ(BoardClick("CARD" + Gid(hero)), ClickOutcome::CardShown);
        EXPECT_EQ(St().ActionTargets[1], foe);
    }
}

TEST_F(LinkRouterTest, AWaitingSlotThatHoldsNoPlayOnlyShowsTheCardAndIsCleared) {
    St().ChoiceSlot = 4;
    EXPECT_EQ(BoardClick("CARD" + Gid(foe)), ClickOutcome::CardShown);
    EXPECT_EQ(St().ChoiceSlot, 0);
    EXPECT_EQ(St().ActionTargets[4], 0);
}

// The card view's menu actions: offered (1) and chosen (2), with a target taken from a card
// link, from a pick in the collection, or none.
TEST_F(LinkRouterTest, MenuActionLinksMoveTheActionBetweenOfferedAndChosen) {
    struct Row {
        const char* name;
        int targetType;
        MenuState stateBefore;
        bool ownsCards;
        int pick;            // deck manager: 0 closes without a pick, else the collection position
        const char* action;  // the link's third field; "" takes the effect's own number
        ClickOutcome outcome;
        MenuState stateAfter;
        uint8_t clickModeAfter;
        int targetAfter;
        uint8_t deckManagerModeAfter;
    };
    const Row rows[] = {
        {"no target needed", 5, MenuState::Offered, true, 0, "", ClickOutcome::MenuChosen,
         MenuState::Chosen, 0, 0, 0},
        {"chosen is offered again", 5, MenuState::Chosen, true, 0, "", ClickOutcome::MenuUnchosen,
         MenuState::Offered, 0, 0, 0},
        {"a card in play", 0, MenuState::Offered, true, 0, "", ClickOutcome::MenuTargetAwaited,
         MenuState::Offered, 1, 0, 0},
        {"collection pick", 10, MenuState::Offered, true, 3, "", ClickOutcome::MenuCollectionPicked,
         MenuState::Chosen, 0, 3, 4},
        {"pick closed without a pick", 10, MenuState::Offered, true, 0, "",
         ClickOutcome::MenuPickCancelled, MenuState::Offered, 0, 0, 0},
        {"nothing to pick from", 10, MenuState::Offered, false, 3, "",
         ClickOutcome::CollectionEmpty, MenuState::Offered, 0, 0, 0},
        {"neither offered nor chosen", 5, MenuState::None, true, 0, "", ClickOutcome::Ignored,
         MenuState::None, 0, 0, 0},
        {"past the card's effects", 5, MenuState::Offered, true, 0, "9", ClickOutcome::Ignored,
         MenuState::Offered, 0, 0, 0},
        {"not a number", 5, MenuState::Offered, true, 0, "first", ClickOutcome::Ignored,
         MenuState::Offered, 0, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        State& st = St();
        const int lamp = Place("Lamp", 1);
        const int e =
            AddEffect(C(lamp), "MODTRAIT:HP:1", r.targetType, "MENU:PHASE1:Brighten", 0, "");
        C(lamp).Effects[e].MenuState = r.stateBefore;
        st.ClickMode = 0;
        st.SelectedCard = 0;
        st.MenuActionIndex = 0;
        st.DeckManagerMode = 0;
        st.PickingCard = 0;
        st.Collection = List<Card>(3);
        if (r.ownsCards) st.Collection[3].Name = "Moss";
        flow.calls.clear();
        flow.onCall[WindowCall::ShowDeckManager] = [&] {
            EXPECT_EQ(St().DeckManagerMode, 4);
            EXPECT_EQ(St().PickingCard, 1);
            St().PickedCard = 2;  // the card last described under the pointer
            if (r.pick != 0) {
                St().PickedCard = r.pick;
                St().PickMade = 1;
            }
        };

        const std::string action = *r.action ? r.action : std::to_string(e);
        EXPECT_EQ(CardViewClick("MENUACTION:" + Gid(lamp) + ":" + action), r.outcome);
        const Effect& effect = C(lamp).Effects[e];
        EXPECT_EQ(effect.MenuState, r.stateAfter);
        EXPECT_EQ(st.ClickMode, r.clickModeAfter);
        EXPECT_EQ(effect.Target, r.targetAfter);
        EXPECT_EQ(st.DeckManagerMode, r.deckManagerModeAfter);
        // A link naming no effect of the card leaves the remembered action alone.
        EXPECT_EQ(st.MenuActionIndex, *r.action ? 0 : e);
        if (r.outcome == ClickOutcome::MenuTargetAwaited) {
            EXPECT_EQ(st.SelectedCard, lamp);
        }
        if (r.outcome == ClickOutcome::MenuCollectionPicked) {
            EXPECT_EQ(st.SelectedCard, 3);
        }
        if (r.outcome == ClickOutcome::MenuPickCancelled) {
            EXPECT_EQ(st.PickingCard, 0);
            EXPECT_EQ(flow.calls.back(), "EnableDeckManagerMenu:1");
        }
        EXPECT_EQ(flow.CountMessages("You don't own any cards to modify!"),
                  r.outcome == ClickOutcome::CollectionEmpty ? 1 : 0);
        flow.messages.clear();
        C(lamp).Name.clear();
    }
}

TEST_F(LinkRouterTest, AnActionWaitingForACardTakesTheNextCardLinkAndReturnsToRest) {
    State& st = St();
    const int lamp = Place("Lamp", 1);
    const int e = AddEffect(C(lamp), "MODTRAIT:HP:1", 0, "MENU:PHASE1:Brighten", 0, "");
    ASSERT_EQ(CardViewClick("MENUACTION:" + Gid(lamp) + ":" + std::to_string(e)),
              ClickOutcome::MenuTargetAwaited);

    EXPECT_EQ(BoardClick("CARD" + Gid(foe)), ClickOutcome::MenuTargetSet);
    EXPECT_EQ(C(lamp).Effects[e].Target, foe);
    EXPECT_EQ(C(lamp).Effects[e].MenuState, MenuState::Chosen);
    EXPECT_EQ(st.ClickMode, 0);
    EXPECT_EQ(BoardClick("CARD" + Gid(hero)), ClickOutcome::CardShown);
    EXPECT_EQ(C(lamp).Effects[e].Target, foe);

    // Clicking the chosen action again un-chooses it.
    EXPECT_EQ(CardViewClick("MENUACTION:" + Gid(lamp) + ":" + std::to_string(e)),
              ClickOutcome::MenuUnchosen);
    EXPECT_EQ(C(lamp).Effects[e].MenuState, MenuState::Offered);
}

TEST_F(LinkRouterTest, ACardViewClickDuringAnotherCommandDoesNothing) {
    const int lamp = Place("Lamp", 1);
    const int e = AddEffect(C(lamp), "MODTRAIT:HP:1", 5, "MENU:PHASE1:Brighten", 0, "");
    EngineGuard turnRunning;
    EXPECT_EQ(CardViewClick("MENUACTION:" + Gid(lamp) + ":" + std::to_string(e)),
              ClickOutcome::Busy);
    EXPECT_EQ(C(lamp).Effects[e].MenuState, MenuState::Offered);
}

TEST_F(LinkRouterTest, ViewerErrorsAreShownWithTheirNumber) {
    ViewerError(1000, "Can not initialise page setup");
    EXPECT_EQ(flow.CountMessages("Error 1000 in HTML Viewer: Can not initialise page setup"), 1);
}

// The sample game in a program folder whose path holds blanks and a colon: the games page's
// links, taken as the page writes them, start the game and open help.
class GamesPageLinkTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        SetHost(&flow);
        program = Folder() / "program folder: one";
        fs::create_directories(program);
        fs::copy(fs::path(DV_SOURCE_DIR) / "content", program, fs::copy_options::recursive);
        St().ProgramFolder = program;
        St().SeedOverride = 7;
        flow.onCall[WindowCall::ShowProfileMenu] = [] {
            LoadPlayerProfiles();
            St().CurrentProfile = St().PlayerProfiles[1];
        };
        flow.onCall[WindowCall::ShowDeckManager] = [] { St().CurrentDeck = 1; };
    }

    // The href of the first link of the games page that starts with `start`.
    std::string PageLink(const std::string& start) const {
        const std::string page = ReadWholeFile(program / "Display.html").value_or("");
        const std::size_t at = page.find("href=\"" + start);
        if (at == std::string::npos) return {};
        return page.substr(at + 6, page.find('"', at + 6) - at - 6);
    }

    test::RecordingHost flow;
    fs::path program;
};

TEST_F(GamesPageLinkTest, GamesPageLinksStartTheGameWithTheirWholePath) {
    Main();
    const std::string opponent = PageLink("GAME:");
    const std::string mission = PageLink("game:");
    const std::string help = PageLink("HELP:");
    ASSERT_EQ(opponent, "GAME:1:" + (program / "Mosslight" / "Bogwarden_Enemy.txt").string());
    ASSERT_EQ(mission, "game:1:" + (program / "Mosslight" / "FirstLight.mis").string());

    EXPECT_EQ(BoardClick(help), ClickOutcome::HelpShown);
    EXPECT_EQ(flow.pages.back().viewer, kHelpViewer);

    EXPECT_EQ(BoardClick(opponent), ClickOutcome::GameStarted);
    EXPECT_EQ(St().CurrentMission, GetFieldsFrom(opponent, 3, ":"));
    EXPECT_EQ(St().GameStarted, 1);

    EXPECT_EQ(BoardClick(mission), ClickOutcome::GameStarted);
    EXPECT_EQ(St().CurrentMission, GetFieldsFrom(mission, 3, ":"));
    EXPECT_TRUE(flow.messages.empty()) << flow.messages.front();
}

// A card name from an opponent file can carry a game link onto the board. Pressed there, it
// started its game on top of the one there, whose opponent stayed and whose player card came
// twice. A link that can start nothing leaves that game as it is.
TEST_F(GamesPageLinkTest, AGameLinkOnTheBoardEndsTheGameThereFirst) {
    struct Row {
        bool gameOver;
        const char* opponent;  // the file the link names
        const char* opponentAfter;
    };
    const Row rows[] = {{false, "Mirewitch_Enemy.txt", "Mirewitch"},
                        {true, "Mirewitch_Enemy.txt", "Mirewitch"},
                        {false, "Gone_Enemy.txt", "Bogwarden"}};
    Main();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.opponent);
        QuickStart();
        ASSERT_EQ(BoardClick(PageLink("GAME:")), ClickOutcome::GameStarted);
        uint8_t winner = 2;
        if (r.gameOver) EndGame(winner);
        BoardClick(std::string("GAME:1:") + r.opponent);
        std::vector<std::string> playerCards[3];
        for (Card& card : St().InPlay)
            if (!card.Name.empty() && HasTrait(card, "PLAYER") && card.Owner <= 2)
                playerCards[card.Owner].push_back(card.Name);
        EXPECT_EQ(playerCards[1].size(), 1u);
        EXPECT_EQ(playerCards[2], std::vector<std::string>{r.opponentAfter});
    }
}

// A game link on the board ended the running game before the start found no player file of the
// profile for the linked game: the game was lost to a link that started nothing.
TEST_F(GamesPageLinkTest, AGameLinkTheProfileHasNoDeckForLeavesTheGameOnTheBoard) {
    auto opponent = [] {
        for (Card& card : St().InPlay)
            if (!card.Name.empty() && HasTrait(card, "PLAYER") && card.Owner == 2) return card.Name;
        return std::string();
    };
    Main();
    ASSERT_EQ(BoardClick(PageLink("GAME:")), ClickOutcome::GameStarted);
    fs::rename(program / "Mosslight_Guest.plr", program / "Kept.plr");
    const uint64_t draws = St().Random.Draws();
    const int inPlay = St().InPlay.size();
    flow.messages.clear();
    EXPECT_EQ(BoardClick("GAME:1:Mirewitch_Enemy.txt"), ClickOutcome::GameNotStarted);
    EXPECT_EQ(flow.messages, std::vector<std::string>{"You do not have a deck for this game!\n"
                                                      "Please choose a starter deck or a card "
                                                      "store."});
    EXPECT_EQ(St().GameRunning, 1);
    EXPECT_EQ(opponent(), "Bogwarden");
    EXPECT_EQ(St().InPlay.size(), inPlay);
    EXPECT_EQ(St().Random.Draws(), draws)
        << "the look at the linked files changed the game's draws";

    // A starter deck needs no player file: its link ends the game and starts its own.
    flow.messages.clear();
    EXPECT_EQ(BoardClick("GAME:1:Lamplighter_StarterDeck.txt"), ClickOutcome::GameStarted);
    EXPECT_TRUE(flow.messages.empty()) << flow.messages.front();
}

// Links are page text, and pages come from shared files: "GAME:1:/etc/passwd" started a game
// against a file that is no opponent, and a help link to no page opened an empty help window.
TEST_F(GamesPageLinkTest, LinksToFilesOutsideTheFoldersAreRefusedWithTheirReason) {
    Main();
    fs::create_directories(Folder() / "elsewhere");
    const std::string enemy = "#ENEMYDECK, Imp, imp, , , , #FF0000, , An imp.\r\n";
    ASSERT_EQ(AtomicSave(Folder() / "elsewhere" / "Imp_Enemy.txt", enemy), "");
    ASSERT_EQ(AtomicSave(Folder() / "elsewhere" / "Away.html", "<p>away</p>"), "");
    fs::create_symlink(Folder() / "elsewhere" / "Imp_Enemy.txt",
                       program / "Mosslight" / "Linked_Enemy.txt");
    const std::string outside = "\" lies outside the program folder and the game's folder.";
    struct Row {
        std::string link;
        std::string message;
    };
    const Row rows[] = {
        {"GAME:1:/etc/passwd", "The game is not started: \"/etc/passwd" + outside},
        {"GAME:1:../../elsewhere/Imp_Enemy.txt",
         "The game is not started: \"../../elsewhere/Imp_Enemy.txt" + outside},
        {"game:1:" + (program / "Mosslight" / "Linked_Enemy.txt").string(),
         "The game is not started: \"" + (program / "Mosslight" / "Linked_Enemy.txt").string() +
             outside},
        {"GAME:9:Bogwarden_Enemy.txt",
         "Error in StartGameFromLink: GAME:9:Bogwarden_Enemy.txt: there is no game numbered 9"},
        {"HELP:Missing.html", "The help page \"Missing.html\" was not found."},
        {"HELP:..\\..\\elsewhere\\Away.html",
         "The help page \"..\\..\\elsewhere\\Away.html\" was not found."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.link);
        flow.messages.clear();
        flow.calls.clear();
        const std::size_t pages = flow.pages.size();
        BoardClick(r.link);
        EXPECT_EQ(flow.messages, std::vector<std::string>{r.message});
        EXPECT_EQ(flow.pages.size(), pages) << "the games page stays as it was";
        EXPECT_TRUE(flow.calls.empty()) << flow.calls.front();
        EXPECT_EQ(St().GameStarted, 0);
    }
}

}  // namespace
}  // namespace dv::ui
