#include "ui/main/main_commands.h"

#include "data/card_files.h"
#include "engine/model/files.h"
#include "engine/model/state.h"
#include "engine/pages/page_buffer.h"
#include "engine/rules/rule_operations.h"
#include "game/computer_games.h"
#include "game/deck_evolution.h"
#include "game/play_queue.h"
#include "game/startup.h"
#include "game/turn.h"
#include "ui/common/dialogs.h"
#include "ui/common/engine_guard.h"
#include "ui/common/flag_scope.h"
#include "ui/common/save_failure.h"

namespace dv::ui {
namespace {

// Deck files EvolveDecks takes; the window fills the first.
constexpr int kEvolvedDecks = 8;
constexpr int kEvolutionGenerations = 5;

// Runs a command unless another one or a page load is under way.
template <class Body>
bool Command(const char* name, Body&& body) {
    bool ran = false;
    RunCommand(name, [&] {
        EngineGuard guard;
        if (!guard || St().HtmlBusy) return;
        ran = true;
        body();
    });
    return ran;
}

void ShowBlankPages() {
    HTMLDisplay2(kQueueViewer, "blank.htm");
    HTMLDisplay2(kCardViewer, "blank.htm");
}

// The turn buttons start a new game once the game is over and play a turn while one runs; on the
// games page there is no board to play on.
bool TurnToPlay() {
    return St().GameOver == 1 || St().GameRunning == 1;
}

void PlayTurn() {
    State& st = St();
    if (!TurnToPlay()) return;
    if (st.GameOver == 1) {
        st.HTMLText.clear();
        QuickStart();
        return;
    }
    PlayCards(0);
    TheHost().Call(WindowCall::RedrawHand, "");
    st.SelectedCard = 0;
    DisplayActionList();
}

void SaveCurrentGamePlayer() {
    const std::string file = CurrentPlayerFile();
    if (St().GameStarted == 1 && !file.empty()) SavePlayer(file);
}

}  // namespace

std::string CurrentPlayerFile() {
    const State& st = St();
    if (!st.Games.Has(st.CurrentGame) || st.Games[st.CurrentGame].Name.empty()) return {};
    return PlayerFileName(st.Games[st.CurrentGame].Name, st.CurrentProfile.Name);
}

void MainCommands::Load() {
    RunCommand("Form_Load", [] {
        ShowBlankPages();
        TheHost().Call(WindowCall::HideHand, "");
    });
}

Activation MainCommands::Activate() {
    Activation activation;
    RunCommand("Form_Activate", [&] {
        State& st = St();
        activation.deckManagerEnabled = st.DeckManagerMode == 0;
        const std::string& file = st.CurrentProfile.PlayerFile;
        if (activation.deckManagerEnabled && !file.empty() &&
            DataFileExists(st.ProgramFolder, file))
            ReadCards(st.Collection, ResolveDataPath(st.ProgramFolder, file).string(),
                      st.Players[1]);
        ShowBlankPages();
        activation.raiseHelp = st.HelpRaise == 1;
        st.HelpRaise = 0;
    });
    return activation;
}

void HelpWindowClosed() {
    St().HelpRaise = 0;
}

bool MainCommands::TakeTurn() {
    return Command("Command1_Click", PlayTurn);
}

bool MainCommands::ComputerTurn() {
    return Command("AITurnButton_Click", [] {
        if (!TurnToPlay()) return;
        St().AITurn = 1;
        PlayTurn();
    });
}

bool MainCommands::ComputerGame() {
    return Command("AIGameButton_Click", PlayFullAIGame);
}

bool MainCommands::Tournament() {
    return Command("Command2_Click", RunTournament);
}

bool MainCommands::EvolveDeck() {
    return Command("Command3_Click", [] {
        const auto file =
            TheDialogs().OpenFile("Evolve a Deck", St().ProgramFolder.string(), "All files (*)");
        if (!file) return;
        List<std::string> decks(kEvolvedDecks);
        decks[1] = *file;
        EvolveDecks(decks, kEvolutionGenerations);
    });
}

bool MainCommands::BackToGame() {
    return Command("backbutton_Click", [] { HTMLDisplay("Display.html"); });
}

void QuitToNewGame() {
    uint8_t winner = 0;
    EndGame(winner);
    QuickStart();
}

bool MainCommands::NewGame() {
    return Command("newgamemen_Click", QuitToNewGame);
}

bool MainCommands::OpenDeckManager() {
    return Command("deckmanagermen_Click", [] {
        State& st = St();
        const StateFlagScope fromMenu(&State::DeckManagerFromMenu, 1);
        st.DeckManagerMode = 0;
        st.PickingCard = 0;
        TheHost().Call(WindowCall::ShowDeckManager, "");
    });
}

bool MainCommands::SaveCurrentPlayer() {
    return Command("saveplrmen_Click", [] {
        const State& st = St();
        // Without a game the name would be "_" and the profile's: a file of no game.
        if (!st.Games.Has(st.CurrentGame) || st.Games[st.CurrentGame].Name.empty()) {
            TheHost().MessageBox("Choose a game first: the player file belongs to a game.",
                                 "Duvenhall");
            return;
        }
        const std::string file = CurrentPlayerFile();
        if (!file.empty()) ShowSaveFailure(SavePlayerReason(file), "Duvenhall");
    });
}

void MainCommands::SetFullSize(bool checked) {
    St().FullSize = checked ? 1 : 0;
}

bool MainCommands::ToggleDebugMode() {
    State& st = St();
    st.DebugMode = st.DebugMode == 1 ? 0 : 1;
    return st.DebugMode == 1;
}

bool MainCommands::ShowHelp() {
    return Command("helpmen_Click", [] { DisplayHelp("MainHelp.html"); });
}

bool MainCommands::LeaveForDesigner() {
    return Command("EditMen_Click", [] {
        if (St().EditorTest == 0) SaveCurrentGamePlayer();
    });
}

CloseOutcome MainCommands::Close() {
    CloseOutcome outcome = CloseOutcome::Refused;
    Command("Form_QueryUnload", [&] {
        if (St().EditorTest != 0) {
            outcome = CloseOutcome::BackToDesigner;
            return;
        }
        SaveCurrentGamePlayer();
        outcome = CloseOutcome::Closed;
    });
    return outcome;
}

}  // namespace dv::ui
