#include "game/computer_games.h"

#include <cmath>
#include <string>

#include "data/card_files.h"
#include "engine/model/card_lists.h"
#include "engine/model/cards.h"
#include "engine/model/guard.h"
#include "engine/model/hands_and_decks.h"
#include "engine/model/host.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "engine/model/trait_names.h"
#include "engine/pages/page_buffer.h"
#include "engine/rules/rule_operations.h"
#include "game/deck_evolution.h"
#include "game/game_start.h"
#include "game/startup.h"
#include "game/turn.h"

namespace dv {
namespace {

constexpr const char* kTitle = "Duvenhall";

// The opponents of the tournament, in the order that decides its pairings.
const char* const kTournamentDecks[] = {
    "Bogwarden_Enemy.txt", "Mirewitch_Enemy.txt",     "Reedmother_Enemy.txt", "Bogwarden_Enemy.txt",
    "Mirewitch_Enemy.txt", "Lamplighter_Starter.txt", "Reedmother_Enemy.txt", "Mirewitch_Enemy.txt",
};

// A computer game is no game of the player's: while one runs, the end of the game saves no
// player file and credits no mission, and afterwards the player's tokens and missions are what
// they were before it.
class PlayerRecordShield {
  public:
    PlayerRecordShield() {
        State& st = St();
        game_ = st.CurrentGame;
        mission_ = st.CurrentMission;
        tokens_ = st.Players[1].Tokens;
        won_ = st.Players[1].WonMissions;
        missions_ = st.Players[1].MissionNames;
        Hide();
    }
    // The new-game set-up reads the player file again; hide the game from the end of game anew.
    void Hide() {
        St().CurrentGame = 0;
        St().CurrentMission.clear();
    }
    ~PlayerRecordShield() {
        State& st = St();
        st.CurrentGame = game_;
        st.CurrentMission = mission_;
        st.Players[1].Tokens = tokens_;
        st.Players[1].WonMissions = won_;
        st.Players[1].MissionNames = missions_;
    }
    PlayerRecordShield(const PlayerRecordShield&) = delete;
    PlayerRecordShield& operator=(const PlayerRecordShield&) = delete;

  private:
    int16_t game_ = 0;
    std::string mission_;
    int32_t tokens_ = 0;
    List<std::string> won_;
    List<std::string> missions_;
};

// Clears AIGameRunning on every way out.
class QuietTurns {
  public:
    QuietTurns() { St().AIGameRunning = 1; }
    ~QuietTurns() { St().AIGameRunning = 0; }
    QuietTurns(const QuietTurns&) = delete;
    QuietTurns& operator=(const QuietTurns&) = delete;
};

// A game can go on while either side has a card to draw or to play, or a player card in play.
bool HasSomethingToPlay() {
    State& st = St();
    for (int p = 1; p <= 2; ++p)
        if (HasNamedCard(st.Players[p].Deck) || HasNamedCard(st.Players[p].Hand)) return true;
    for (Card& card : st.InPlay)
        if (!card.Name.empty() && HasTrait(card, "PLAYER")) return true;
    return false;
}

// The new-game set-up seeds from the time of day (or a fixed seed); games started within the
// same second would then all play alike. Each computer game moves on to a sequence of its own.
void SeedComputerGame() {
    State& st = St();
    ++st.AIGamesStarted;
    const double base = std::floor(st.Random.Draw() * 1e9);
    st.Random.Seed(base + st.AIGamesStarted);
}

// Ends a game that reached the turn limit as a draw, with a line in the log.
void EndAsDraw() {
    State& st = St();
    const std::string line = "<br><font color=#FFFF00>The game was stopped after " +
                             std::to_string(kMaxComputerTurns) +
                             " turns and ends in a draw.</font><br>";
    st.AIGameLog += line;
    st.HTMLText += line;
    uint8_t nobody = 0;
    EndGame(nobody);
    st.GameOver = 1;
    st.Winner = 0;
}

// Plays ordinary turns until the game is over or the turn limit ends it.
void PlayToEnd() {
    State& st = St();
    for (int turn = 0; st.GameOver == 0; ++turn) {
        if (turn >= kMaxComputerTurns) {
            EndAsDraw();
            break;
        }
        PlayCards(0);
    }
}

// Reads the deck of a file, or of a bred deck of that name, into the player's deck.
void LoadDeck(const std::string& deckFile, Player& player) {
    if (const List<Card>* bred = EvolvedDeck(deckFile)) {
        player.Deck = *bred;
        // A bred deck's cards were read in earlier games, whose trait numbering this game's
        // need not share.
        for (Card& card : player.Deck) {
            card.Owner = player.Id;
            RenumberTraitMasks(card);
        }
        MakeOrigDeck(player);
        return;
    }
    std::string path = GetImagePath(deckFile, 0, "");
    if (path.empty()) path = deckFile;  // the reader then says that it cannot be found
    List<Card> scratch;
    ReadCards(scratch, path, player, "#INDECK");
}

void ShowPage() {
    CreateHTML("Display.html", "#000000");
    CreateHTML("LastDiplayed.html", "#000000");
    HTMLDisplay("Display.html");
}

}  // namespace

void ShowLastComputerGame() {
    Guarded("ShowLastComputerGame", [&] { ShowPage(); });
}

void PlayFullAIGame() {
    Guarded("PlayFullAIGame", [&] {
        State& st = St();
        st.AITurn = 1;
        if (st.GameOver == 0 && !HasSomethingToPlay()) {
            TheHost().MessageBox("There is no game on the board to play.", kTitle);
            return;
        }
        {
            PlayerRecordShield shield;
            PlayToEnd();
        }
        st.HTMLText = st.AIGameLog;
        ShowPage();
        TheHost().MessageBox("Game over!", kTitle);
    });
}

std::string PlayAIGame(const std::string& deckFile1, const std::string& deckFile2,
                       std::string& loser) {
    loser = deckFile2;
    return Guarded("PlayAIGame", deckFile1, [&]() -> std::string {
        State& st = St();
        PlayerRecordShield shield;
        QuickStart();
        if (st.EndProgram == 1) return deckFile1;
        shield.Hide();
        SeedComputerGame();
        st.AIGameLog.clear();
        st.TurnsPlayed = 0;

        LoadDeck(deckFile1, st.Players[1]);
        LoadDeck(deckFile2, st.Players[2]);
        const bool first = HasNamedCard(st.Players[1].Deck);
        const bool second = HasNamedCard(st.Players[2].Deck);
        if (!first || !second) {
            if (!first)
                TheHost().MessageBox("The deck " + deckFile1 + " has no cards to play.", kTitle);
            if (!second)
                TheHost().MessageBox("The deck " + deckFile2 + " has no cards to play.", kTitle);
            // The side with nothing to play loses without a game; with neither, the first wins.
            if (!first && second) {
                loser = deckFile1;
                return deckFile2;
            }
            return deckFile1;
        }

        StartGame(1);
        st.AITurn = 1;
        {
            QuietTurns quiet;
            PlayToEnd();
        }
        if (st.Winner == 2) {
            loser = deckFile1;
            return deckFile2;
        }
        loser = deckFile2;
        return deckFile1;
    });
}

void RunTournament() {
    Guarded("RunTournament", [&] {
        List<std::string> decks(8);
        for (int i = 1; i <= 8; ++i)
            decks[i] = kTournamentDecks[i - 1];
        EvolveDecks(decks, 1);
    });
}

}  // namespace dv
