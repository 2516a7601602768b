#include "game/startup.h"

#include <chrono>
#include <ctime>
#include <filesystem>

#include "data/card_files.h"
#include "data/catalogue.h"
#include "data/games_page.h"
#include "engine/model/cards.h"
#include "engine/model/files.h"
#include "engine/model/guard.h"
#include "engine/model/hands_and_decks.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "engine/model/triggers.h"
#include "engine/pages/page_buffer.h"
#include "engine/rules/card_life.h"
#include "game/card_test.h"
#include "game/play_queue.h"

namespace dv {
namespace {

// Stands for player p until a card with the trait "PLAYER" of that side enters play, which
// destroys it.
int PlacePlaceholder(Card& scratch, int p) {
    State& st = St();
    InitCard(scratch, p, 0);
    scratch.Name = p == 1 ? "Player 1" : "Player 2";
    AddEffect(scratch, "REQALLY:REQTRAIT:PLAYER:DESTROYME", 8, "OTHERENTERSPLAY", 0, "");
    scratch.Thumbnail = p == 1 ? "Player1thumb.bmp" : "Player2thumb.bmp";
    scratch.ThumbnailUrl = GetImagePath(scratch.Thumbnail, 0, "");
    const int slot = AddCard(scratch);
    st.Players[p].CardIndex = slot;
    return slot;
}

void ResetLists() {
    State& st = St();
    st.TopCards = List<List<Card>>(4);
    st.TopCards[1] = List<Card>(kStartHandSlots);
    st.TopCards[2] = List<Card>(kStartHandSlots);
    st.TopCards[3] = List<Card>(1);
    st.TopCards[4] = List<Card>(1);
    st.Decks = List<DeckList>(1);
    st.Decks[1].CardIds = List<int32_t>(1);
    st.Decks[1].Positions = List<float>(1);
    st.InPlay = StableList<Card>(kStartInPlaySlots);
    st.SideBoard = List<Card>(1);
    st.TraitActions = List<Card>(1);
    // The catalogue itself is rebuilt at the end of the set-up, keeping the game being played.
    st.TraitGraphs = List<TraitGraph>(1);
    st.TraitMaskNames = List<TraitMaskName>(1);
    st.ActivationQueue = List<int16_t>(1);
    st.CardsetCache = List<Player>(1);
    InitPlayer(st.CardsetCache[1], 1);
    // A change to a file a set includes shows in no stamp: such a set is read again each game.
    std::erase_if(st.KeptSetReads, [](const CardReadMemo& read) { return !read.StampedAlone; });
    st.RandomStringLists = List<RandomStringList>(1);
}

void ResetDecksAndPlayers() {
    State& st = St();
    static const char* const kDeckNames[] = {"Deck #1", "Deck #2", "Deck #3"};
    for (int d = 1; d <= 3; ++d)
        if (st.PlayerDecks[d].Name.empty()) st.PlayerDecks[d].Name = kDeckNames[d - 1];
    RegistryWillChange();
    for (TriggerSlot& slot : st.TriggerRegistry)
        slot = TriggerSlot{};
    for (int d = 1; d <= 3; ++d)
        st.PlayerDecks[d].Cards = List<Card>(1);
    for (int p = 1; p <= 3; ++p)
        InitPlayer(st.Players[p], static_cast<uint8_t>(p));
    InitPlayer(st.LoadPlayer, 4);
}

}  // namespace

void Main() {
    Guarded("Main", [&] {
        State& st = St();
        if (st.ProgramFolder.empty()) st.ProgramFolder = std::filesystem::current_path();
        st.CurrentFolder = st.ProgramFolder;
        if (DataFileExists(st.CurrentFolder, "Debug.on")) st.DebugMode = 1;
        QuickStart();
        if (st.EndProgram == 1) return;
        TheHost().Call(WindowCall::ShowMainWindow, "");
    });
}

void QuickStart() {
    Guarded("QuickStart", [&] {
        State& st = St();
        // A new game ends any card test: the player's own data comes back before it is read.
        EndCardTest();
        st.CurrentFolder = st.ProgramFolder;
        st.HTMLText.clear();
        st.DeckRejected = 0;
        st.GameOver = 0;
        st.GameRunning = 0;
        TheHost().Call(WindowCall::SetEndTurnCaption, "Take Turn");
        SeedFromClock();
        CreateBitLookup();
        TheHost().Call(WindowCall::StoreFullSizeTick, "");

        st.RulesCard.Active = 1;
        InitCard(st.RulesCard, 1, 1);
        SetActionMasks(st.RulesCard, 0);

        ResetLists();
        ResetDecksAndPlayers();
        // Plays queued in the last game would otherwise be played from the new game's hand.
        ClearActions();

        Card scratch;
        PlacePlaceholder(scratch, 1);
        PlacePlaceholder(scratch, 2);
        st.Players[3].Colour = "#AAAAAA";

        st.Players[1].Hand = List<Card>(kStartHandSlots);
        for (Card& slot : st.Players[1].Hand)
            InitCard(slot, 1, 0);
        st.Collection.Resize(1);
        st.SelectedCard = 0;

        if (st.CurrentProfile.Name.empty()) TheHost().Call(WindowCall::ShowProfileMenu, "");
        if (st.CurrentProfile.Name.empty()) {
            st.EndProgram = 1;
            TheHost().Call(WindowCall::EndProgram, "");
            return;
        }

        if (!st.CurrentProfile.GameFile.empty()) {
            List<Card> scratchCards;
            ReadCards(scratchCards, st.CurrentProfile.GameFile, st.LoadPlayer);
        }
        if (!st.CurrentProfile.PlayerFile.empty()) {
            st.Players[1].MissionNames = List<std::string>(1);
            ReadCards(st.Collection, st.CurrentProfile.PlayerFile, st.Players[1]);
        }

        RebuildCatalogue();
        AddHTML(DisplayGames());
        CreateHTML("Display.html", "#000000");
        HTMLDisplay("Display.html");
    });
}

}  // namespace dv
