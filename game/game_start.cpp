#include "game/game_start.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "data/card_file_reader.h"
#include "data/card_files.h"
#include "data/card_sets.h"
#include "data/catalogue.h"
#include "engine/interpreter/run_budget.h"
#include "engine/model/card_lists.h"
#include "engine/model/cards.h"
#include "engine/model/case_fold.h"
#include "engine/model/files.h"
#include "engine/model/guard.h"
#include "engine/model/hands_and_decks.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "engine/model/trait_actions.h"
#include "engine/model/value.h"
#include "engine/pages/page_buffer.h"
#include "engine/rules/card_life.h"
#include "engine/rules/dispatch.h"
#include "game/startup.h"
#include "game/turn.h"

namespace dv {
namespace {

void ShowPage(const std::string& text) {
    St().HTMLText.clear();
    AddHTML(text);
    CreateHTML("Display.html", "#000000");
    HTMLDisplay("Display.html");
}

// The game a link names, or 0 when it names none.
int LinkedGame(const std::string& field) {
    const double number = ReadNumber(field);
    const auto& games = St().Games;
    if (number < 1 || number > games.size() || number != std::floor(number)) return 0;
    const int g = static_cast<int>(number);
    return games[g].Name.empty() ? 0 : g;
}

// The game a game link names, or 0 (with the reason shown or thrown) when it may not be started.
// A refused link leaves the page it is on as it is, so this comes before the page changes.
int AcceptedGame(const std::string& link) {
    if (!SameNoCase(GetField(link, 1, ":"), "game")) return 0;
    const int g = LinkedGame(GetField(link, 2, ":"));
    if (g == 0) throw RunFault("there is no game numbered " + GetField(link, 2, ":"));
    const std::string opponentFile = GetFieldsFrom(link, 3, ":");
    if (!OpponentFileInsideFolders(St().Games[g], opponentFile)) {
        TheHost().MessageBox("The game is not started: \"" + opponentFile +
                                 "\" lies outside the program folder and the game's folder.",
                             "Duvenhall");
        return 0;
    }
    return g;
}

constexpr const char* kNoDeckForGame =
    "You do not have a deck for this game!\nPlease choose a starter deck or a card store.";

// Whether the profile has a player file for game g: a game of the player's own deck needs one.
bool HasPlayerFileFor(int g) {
    const State& st = St();
    const std::string file = PlayerFileName(st.Games[g].Name, st.CurrentProfile.Name);
    return !file.empty() && DataFileExists(st.ProgramFolder, file);
}

// Whether the game file or the opponent file of a link to game g makes it a starter game, found
// as StartGameFromLink reads them: the game file from the program folder, the opponent's from
// the game's folder. Nothing when the opponent file cannot be read.
std::optional<bool> StarterGame(int g, const std::string& opponentFile,
                                const fs::path& gameFolder) {
    State& st = St();
    const fs::path folder = st.CurrentFolder;
    st.CurrentFolder = st.ProgramFolder;
    // The game start reads on past a game file that fails.
    std::optional<bool> starter = MarksStarterDeck(st.Games[g].GameFile).value_or(false);
    if (!*starter) {
        st.CurrentFolder = gameFolder;
        starter = MarksStarterDeck(opponentFile);
    }
    st.CurrentFolder = folder;
    return starter;
}

// The deck list chosen, made one that exists: 0 (none chosen) becomes the first, and so does a
// number left over from the deck lists before the last new-game set-up, which read the player's
// own lists afresh (a new player has only the one empty list).
DeckList& ChosenDeckList() {
    State& st = St();
    if (st.Decks.empty()) st.Decks.PushBack(DeckList{"", {0}, {0}});
    if (!st.Decks.Has(st.CurrentDeck)) st.CurrentDeck = 1;
    return st.Decks[st.CurrentDeck];
}

// Puts every deck card that starts in play (and the player's own card) into play, in deck order,
// freeing its deck slot.
void PlaceStartingCards(int p) {
    State& st = St();
    // Entering cards may draw from this deck; each slot is read afresh and the bound is the
    // deck as it stood.
    const int last = st.Players[p].Deck.size();
    for (int c = 1; c <= last; ++c) {
        List<Card>& deck = st.Players[p].Deck;
        if (!deck.Has(c) || deck[c].Name.empty()) continue;
        if (!HasTrait(deck[c], "STARTSINPLAY") && !HasTrait(deck[c], "PLAYER")) continue;
        const Card entering = deck[c];
        deck[c].Name.clear();
        AddCard(entering);
    }
}

}  // namespace

void StartGame(int keepFirstDeck) {
    const TurnBudget budget;
    Guarded("StartGame", [&] {
        State& st = St();
        DeckList& chosen = ChosenDeckList();
        if (keepFirstDeck != 1) CopyToDeck(chosen, st.Players[1].Deck);
        AddAllTraitEffects(1);
        for (int p = 1; p <= 2; ++p) {
            ShuffleDeck(st.Players[p]);
            PlaceStartingCards(p);
        }
        // Reading the game file set the rules card up afresh, inactive, and an inactive card
        // answers only its start time: without this its GAMESTART actions would never run.
        st.RulesCard.Active = 1;
        RunActionsCall call;
        call.triggeringCard = -1;
        call.append = 1;
        RunActions(st.RulesCard, "GAMESTART", call);
        // Then the cards in play: nothing else ever sends them the game start, so a starter
        // deck's card, which hands out its cards on it, would give nothing.
        RunListActions(Value("GAMESTART"));
    });
}

void CopyToDeck(DeckList& deck, List<Card>& cards) {
    Guarded("CopyToDeck", [&] {
        const List<Card>& collection = St().Collection;
        LinkDeck(deck, collection);
        cards = List<Card>(deck.Positions.size());
        for (int j = 1; j <= deck.Positions.size(); ++j) {
            const long long at = std::lround(deck.Positions[j]);
            if (at > 0 && collection.Has(at)) cards[j] = collection[at];
        }
    });
}

void MakeDeck(Player& player, int deckNum) {
    Guarded("MakeDeck", [&] {
        const DeckList& deck = St().Decks[deckNum];
        const List<Card>& collection = St().Collection;
        player.Deck = List<Card>(deck.CardIds.size());
        for (int i = 1; i <= deck.CardIds.size(); ++i)
            for (const Card& card : collection)
                if (card.GID == deck.CardIds[i]) player.Deck[i] = card;
    });
}

bool GameLinkAccepted(const std::string& link) {
    return GuardedFile("StartGameFromLink", link, false, [&] {
        const int g = AcceptedGame(link);
        if (g == 0) return false;
        const std::string opponentFile = GetFieldsFrom(link, 3, ":");
        const fs::path gameFolder = ResolveDataPath(St().ProgramFolder, St().Games[g].Folder);
        const std::string unreadable = UnreadableFileMessage(opponentFile, gameFolder);
        if (!unreadable.empty()) {
            TheHost().MessageBox(unreadable, "Duvenhall");
            return false;
        }
        if (HasPlayerFileFor(g)) return true;
        const std::optional<bool> starter = StarterGame(g, opponentFile, gameFolder);
        if (!starter) return false;  // the reader said why
        if (!*starter) TheHost().MessageBox(kNoDeckForGame, "Duvenhall");
        return *starter;
    });
}

bool StartGameFromLink(const std::string& link) {
    return GuardedFile("StartGameFromLink", link, false, [&] {
        State& st = St();
        const int g = AcceptedGame(link);
        if (g == 0) return false;
        const std::string opponentFile = GetFieldsFrom(link, 3, ":");
        ShowPage("<font size=+5>Loading...</font>");

        List<Card> scratch;
        st.CurrentFolder = st.ProgramFolder;
        // Only the files read here make this a starter game: a computer game that read a starter
        // deck left the flag set, and no player file would then be asked for.
        st.StarterDeck = 0;
        ReadCards(scratch, st.Games[g].GameFile, st.LoadPlayer);
        st.CurrentGameFile = st.Games[g].GameFile;
        st.CurrentProfile.GameFile = st.Games[g].GameFile;
        st.CurrentFolder = ResolveDataPath(st.ProgramFolder, st.Games[g].Folder);
        SetCurrentGame(g);
        if (!ReadCards(scratch, opponentFile, st.Players[2])) {
            // The reader said why; a game now would be one against an empty side.
            st.HTMLText.clear();
            QuickStart();
            return false;
        }
        st.CurrentMission = opponentFile;

        const bool havePlayerFile = HasPlayerFileFor(g);
        if (st.StarterDeck == 0) {
            st.CurrentFolder = st.ProgramFolder;
            if (!havePlayerFile) {
                TheHost().MessageBox(kNoDeckForGame, "Duvenhall");
                // A new game, not just the games page: the opponent read above would otherwise
                // stay in the opponent's deck, and the next game would read its own on top.
                st.HTMLText.clear();
                QuickStart();
                return false;
            }
            TheHost().Call(WindowCall::ShowDeckManager, "");
            // Quit in the deck manager: no game starts, and nothing is saved.
            if (st.EndProgram == 1) return false;
            if (st.DeckRejected == 1) {
                st.HTMLText.clear();
                QuickStart();
                return false;
            }
            // Checked before the deck is built rather than after: deck list 0 does not exist.
            ChosenDeckList();
            MakeDeck(st.Players[1], st.CurrentDeck);
        }
        st.CurrentFolder = st.ProgramFolder;
        if (st.StarterDeck == 1 && !havePlayerFile) st.Players[1].Tokens = 500;

        ShuffleDeck(st.Players[2]);
        // The human deck is copied before the refresh, so that the refreshed cards are the ones
        // played; the game then keeps this deck instead of copying the stale one again.
        CopyToDeck(ChosenDeckList(), st.Players[1].Deck);
        MRPCards(st.Players[1].Deck, st.Players[1]);
        MRPCards(st.Players[2].Deck, st.Players[2]);
        ShuffleDeck(st.Players[1]);
        st.GameStarted = 1;
        StartGame(1);
        PlayCards(kFirstTurn);
        st.StarterDeck = 0;
        return true;
    });
}

}  // namespace dv
