#include "game/card_test.h"

#include <filesystem>

#include "data/card_files.h"
#include "data/card_sets.h"
#include "engine/model/cards.h"
#include "engine/model/guard.h"
#include "engine/model/hands_and_decks.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "engine/model/trait_actions.h"
#include "engine/model/triggers.h"
#include "engine/rules/card_life.h"
#include "game/startup.h"
#include "game/turn.h"

namespace dv {
namespace {

constexpr int kTestLists = 4;

void DealHand(const List<Card>& source, List<Card>& hand) {
    hand = List<Card>(kStartHandSlots);
    for (int i = 1; i <= kStartHandSlots && i <= source.size(); ++i) {
        if (source[i].Name.empty()) continue;
        hand[i] = source[i];
        AddTraitEffects(hand[i], "");
    }
}

void PlaceInPlay(List<Card>& source, uint8_t owner) {
    for (Card& card : source) {
        card.Owner = owner;
        card.GID = 0;
        AddTraitEffects(card, "");
        if (card.Name.empty()) continue;
        card.AlreadyPlaced = 1;
        AddCard(card);
    }
}

}  // namespace

void BeginCardTest() {
    Guarded("BeginCardTest", [&] {
        State& st = St();
        if (!st.PlayerDataAside) {
            st.PlayerDataAside = PlayerFileData{st.Collection,        st.Decks,
                                                st.PlayerDecks,       st.CurrentDeck,
                                                st.Players[1].Tokens, st.Players[1].WonMissions};
        }
        st.Decks = List<DeckList>(kTestLists);
        for (int d = 1; d <= kTestLists; ++d)
            st.Decks[d] = DeckList{kTestListNames[d - 1], {0}, {0}};
    });
}

void EndCardTest() {
    Guarded("EndCardTest", [&] {
        State& st = St();
        if (st.DebugModeBeforeTest) {
            st.DebugMode = *st.DebugModeBeforeTest;
            st.DebugModeBeforeTest.reset();
            TheHost().Call(WindowCall::ShowDebugMode, "");
        }
        if (!st.PlayerDataAside) return;
        PlayerFileData kept = std::move(*st.PlayerDataAside);
        st.PlayerDataAside.reset();
        st.Collection = std::move(kept.Collection);
        st.Decks = std::move(kept.Decks);
        st.PlayerDecks = std::move(kept.PlayerDecks);
        st.CurrentDeck = kept.CurrentDeck;
        st.Players[1].Tokens = kept.Tokens;
        st.Players[1].WonMissions = std::move(kept.WonMissions);
    });
}

bool CardTestRunning() {
    return St().PlayerDataAside.has_value();
}

bool CardTestRulesFound() {
    const std::string& file = St().GameFile;
    return !file.empty() && !GetImagePath(file, 0, "").empty();
}

bool ReadCardTestRules(const std::string& path) {
    State& st = St();
    st.GameFile = std::filesystem::path(path).filename().string();
    Player scratchPlayer;
    InitPlayer(scratchPlayer, 0);
    List<Card> scratch;
    return ReadCards(scratch, path, scratchPlayer, 0, "", kReadReplace);
}

void StartCardTest() {
    Guarded("StartCardTest", [&] {
        State& st = St();
        if (!st.DebugModeBeforeTest) st.DebugModeBeforeTest = st.DebugMode;
        st.DebugMode = 1;
        MRPForTesting();

        // The board is cleared without any action running for the cards that leave it; the
        // players' own cards leave it through their deaths.
        for (Card& card : st.InPlay)
            if (!HasTrait(card, "PLAYER", 0)) card.Name.clear();
        const int slots = st.InPlay.size();
        for (int i = 1; i <= slots && st.InPlay.Has(i); ++i)
            KillCard(st.InPlay[i], 0);
        // The slot of the last game's player card is free now: the first test card placed there
        // would stand for the player. A side has a player card only when the author puts one in.
        for (int p = 1; p <= 2; ++p)
            st.Players[p].CardIndex = 0;

        RegistryWillChange();
        for (TriggerSlot& slot : st.TriggerRegistry)
            slot = TriggerSlot{};
        DealHand(st.TopCards[1], st.Players[1].Hand);
        DealHand(st.TopCards[2], st.Players[2].Hand);
        PlaceInPlay(st.TopCards[3], 1);
        PlaceInPlay(st.TopCards[4], 2);
        // No draw decks in a test.
        st.Players[1].Deck = List<Card>(1);
        st.Players[2].Deck = List<Card>(1);
        AddAllTraitEffects(1);

        st.EditorTest = 1;
        // The test is a game of its own: one that ended before it must not end the test at its
        // first "Take Turn".
        st.GameOver = 0;
        TheHost().Call(WindowCall::ShowMainWindow, "");
        PlayCards(kFirstTurn);
    });
}

}  // namespace dv
