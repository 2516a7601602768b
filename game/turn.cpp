#include "game/turn.h"

#include <exception>
#include <string>
#include <string_view>

#include "engine/interpreter/run_budget.h"
#include "engine/model/cards.h"
#include "engine/model/host.h"
#include "engine/model/state.h"
#include "engine/model/turn_log.h"
#include "engine/pages/card_pages.h"
#include "engine/pages/page_buffer.h"
#include "engine/rules/card_life.h"
#include "engine/rules/dispatch.h"
#include "engine/rules/rule_operations.h"
#include "game/computer_player.h"
#include "game/play_queue.h"

namespace dv {
namespace {

// The turn shows no message for a failing step: it skips the step and goes on with the next.
template <class Body>
void Step(Body&& body) {
    HoldScope hold;
    try {
        body();
    } catch (const std::exception&) {
    }
}

// Cells per row of a plays table.
constexpr int kCellsPerRow = 5;

// One phase of the turn. Its steps, in order: R runs the rules card's actions for the phase,
// B sends the phase's trigger to every card in play, S brings waiting side-board cards in.
struct Phase {
    const char* name;
    const char* colour;
    int trigger;
    std::string_view steps;
};

constexpr Phase kPhases[] = {
    {"TURNSTART", "FFFFFF", 16, "RBS"}, {"PHASE1", "FF0000", 1, "RSBS"},
    {"PHASE2", "FF9900", 2, "RSBS"},    {"PHASE3", "FFFF00", 3, "RSBS"},
    {"PHASE4", "00FF00", 4, "RSBS"},    {"PHASE5", "0000FF", 5, "RSBS"},
    {"PHASE6", "9900FF", 6, "RSBS"},    {"PHASE7", "FF0000", 7, "RSBS"},
    {"PHASE8", "FFAA00", 8, "RSBS"},    {"PHASE9", "FFFF00", 9, "RSBS"},
    {"PHASE10", "00FF00", 10, "SBS"},   {"TURNEND", "FFFFFF", 11, "SBSSRS"},
};

void RunRulesCard(const std::string& trigger) {
    RunActionsCall call;
    call.triggeringCard = -1;
    call.append = 1;
    RunActions(St().RulesCard, trigger, call);
}

void RunPhase(const Phase& phase) {
    State& st = St();
    if (st.DebugMode == 1) {
        AddToTurnLog(std::string("<table bgcolor=") + phase.colour +
                     "><tr><td><p><font color=000000>Starting " + phase.name +
                     "</font><p></td></tr></table>");
    }
    for (char step : phase.steps) {
        Step([&] {
            if (step == 'R') RunRulesCard(phase.name);
            if (step == 'B') RunListActions(Value(phase.trigger));
            if (step == 'S') CreateSideBoards();
        });
    }
}

// Adds one cell to a plays table, closing the row after every fifth.
void AddPlayCell(std::string& plays, int& cells, const std::string& link) {
    plays += "<td><center>" + link + "</td>";
    if (++cells == kCellsPerRow) {
        cells = 0;
        plays += "</tr><tr>";
    }
}

void DiscardCard(Card& card) {
    State& st = St();
    const int slot = AddCard(card);
    if (slot > 0 && st.InPlay.Has(slot)) {
        ActivateCard(st.InPlay[slot], 1);
        RunActionsCall call;
        call.triggeringCard = -1;
        call.append = 1;
        RunActions(st.InPlay[slot], "DISCARD", call);
        KillCard(st.InPlay[slot], 1);
    }
    card.Name.clear();
}

// The human player's queued plays and discards, slot by slot; the queue is empty afterwards.
void PlayQueue(std::string& plays) {
    State& st = St();
    int cells = 0;
    for (int s = 1; s <= kQueueSlots; ++s) {
        Step([&] {
            const int h = st.ActionCards[s];
            if (h == 0) return;
            // A target whose card has left play since it was chosen is no target any more.
            const int target = QueuedTarget(s);
            Card& card = st.Players[1].Hand[h];
            if (target == kDiscardTarget) {
                DiscardCard(card);
            } else {
                AddPlayCell(plays, cells, CLink(card, -1, 0));
                if (target > 0) card.PresetTarget = static_cast<int16_t>(target);
                AddCard(card);
                card.Name.clear();
            }
        });
        st.ActionCards[s] = 0;
        st.ActionTargets[s] = 0;
        st.ActionTargetGIDs[s] = 0;
    }
    st.ActionCards.fill(0);
    st.ActionTargets.fill(0);
    st.ActionTargetGIDs.fill(0);
}

void WriteReportPage() {
    State& st = St();
    if (st.AIGameRunning == 1) return;
    CreateHTML("Display.html", "#000000");
    CreateHTML("LastDiplayed.html", "#000000");
    HTMLDisplay("Display.html");
}

}  // namespace

void PlayCards(int turnKind) {
    State& st = St();
    const TurnBudget budget;
    Step([&] {
        // A computer game between deck files shows no notice: nobody watches its turns.
        if (st.AIGameRunning == 1) return;
        st.HTMLText = "<font color=#FFFFFF size=+2>Processing turn...</font>";
        CreateHTML("Display.html", "#000000");
        HTMLDisplay("Display.html");
    });
    Step([&] {
        KillCards();
        ClearEchos();
        ClearBonuses();
    });
    st.RulesCard.Active = 1;
    st.CostCard.Active = 1;
    if (turnKind == kFirstTurn) {
        // A new game begins: the log of computer-played turns holds this game's turns only.
        st.AIGameLog.clear();
        st.TurnsPlayed = 0;
        st.GameRunning = 1;
    }
    ++st.TurnsPlayed;

    std::string plays;
    if (turnKind != kFirstTurn) {
        // Remote plays would be played here; nothing in this program receives any.
        Step([&] {
            plays += "<table width=100%><tr><td colspan=80 ";
            plays += " bgcolor = #661100 ";
            plays += "><font color=#FFFF00>Enemy Card Plays</font></td></tr><tr><td ";
            plays += " bgcolor = #661100 ";
            plays += "><p align=right>";
            plays += AIPlayCards(2);
        });
        if (st.AITurn == 1) {
            Step([&] { plays += AIPlayCards(1); });
        } else {
            PlayQueue(plays);
        }
        plays += "</p></td></tr></table>";
    }

    for (const Phase& phase : kPhases)
        RunPhase(phase);

    Step([&] {
        // The parts are made first, in the same order, so that the page is joined in one room.
        std::string page = GenPlayerDesc(st.Players[1]);
        const std::string first = GenInPlay(st.Players[1]);
        const std::string second = GenInPlay(st.Players[2]);
        static constexpr std::string_view kEnd = "<br><br>";
        page.reserve(page.size() + first.size() + second.size() + plays.size() + st.TurnLog.size() +
                     kEnd.size());
        page += first;
        page += second;
        page += plays;
        page += st.TurnLog;
        page += kEnd;
        st.HTMLText = std::move(page);
    });
    if (st.AITurn == 1) st.AIGameLog += st.HTMLText;
    Step(WriteReportPage);
    Step([&] {
        TheHost().Call(WindowCall::RedrawHand, "");
        TheHost().Call(WindowCall::ShowMainWindow, "");
    });
    st.TurnLog.clear();
}

}  // namespace dv
