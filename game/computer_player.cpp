#include "game/computer_player.h"

#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/interpreter/eff_card.h"
#include "engine/interpreter/run_budget.h"
#include "engine/model/board_snapshot.h"
#include "engine/model/card_lists.h"
#include "engine/model/cards.h"
#include "engine/model/guard.h"
#include "engine/model/scratch_card.h"
#include "engine/model/state.h"
#include "engine/pages/card_pages.h"
#include "engine/rules/card_life.h"
#include "engine/rules/costs.h"
#include "engine/rules/dispatch.h"
#include "engine/rules/trait_changes.h"

namespace dv {
namespace {

constexpr int kSelf = 7;
// Cells per row of the plays table.
constexpr int kCellsPerRow = 5;
constexpr const char* kPlaysShade = " bgcolor = #004400 ";

// The score of a card without a name, and of one whose cost cannot be paid.
constexpr int kNamelessSum = -100;
constexpr int kUnpaidSum = -10;

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

// Triggers at which an effect acts during the turn; the computer tries these out.
bool IsTurnTrigger(const std::string& trigger) {
    return StartsWith(trigger, "PHASE") || trigger == "TURNSTART" || trigger == "ENTERPLAY" ||
           trigger == "TURNEND";
}

// One trial run of effect i of the card against the target. The target is the caller's own
// copy, which the trial may spoil. The run copies both cards itself before it changes anything,
// unless it must first compile the effect or stop at a dead card: only then does the card need
// a copy here.
RunResult TrialRun(Card& card, Card& target, int i) {
    EffArgs args;
    args.effectIndex = i;
    args.runKind = RunKind::Ordinary;
    args.preview = 1;
    args.carried = 1;
    args.noCounters = 1;
    if (card.Effects.Has(i) && std::as_const(card.Effects)[i].Compiled == 1 && card.Dead == 0 &&
        target.Dead == 0)
        return EffCard(card, target, args);
    ScratchCard source(card);
    return EffCard(*source, target, args);
}

// What one effect slot adds to the sum and the count of a card's score.
void ScoreEffect(Card& card, int i, int& sum, int& count) {
    State& st = St();
    const std::string trigger = std::as_const(card.Effects)[i].Trigger;
    const int32_t type = std::as_const(card.Effects)[i].TargetType;
    if (trigger != "AIREQ") {
        if (trigger == "COSTMOD" || trigger == "OTHERENTERSPLAY") {
            ++sum;
            ++count;
            return;
        }
        if (trigger == "TARGETED" || trigger == "TRAITCHANGE" || trigger == "BEFORETRAITCHANGE" ||
            trigger == "ONDEATH" || trigger == "COST" || type == kSelf) {
            return;
        }
    }
    std::optional<ScratchCard> target;
    if (type == kSelf) {
        target.emplace(card);
    } else {
        int32_t pickType = type;
        RunResult outcome = RunResult::NothingApplied;
        const int index = PickTarget(card, i, pickType, "", outcome);
        if (!IsTurnTrigger(trigger)) {
            ++sum;
            ++count;
            return;
        }
        if (index == 0 || !st.InPlay.Has(index)) {
            --sum;
            return;
        }
        target.emplace(st.InPlay[index]);
    }
    const int weight = trigger == "AIREQ" ? 10 : 1;
    if (TrialRun(card, **target, i) == RunResult::Failed) {
        sum -= weight;
    } else {
        sum += 2 * weight;
    }
    ++count;
}

// The cards in play and what indexes them, taken before the computer works out which cards it
// can afford together and put back before the chosen cards enter play.
struct PlaySnapshot {
    BoardSnapshot board;
    std::string turnLog;
    std::string echoText;

    void Take() {
        board.Take();
        turnLog = St().TurnLog;
        echoText = St().EchoText;
    }
    void Restore() {
        board.Restore();
        St().TurnLog = turnLog;
        St().EchoText = echoText;
    }
};

// Pays a chosen card's cost against what the earlier chosen cards left, so that the next trial
// sees what remains. The card sits in a free slot of play meanwhile, inactive, as it will when
// it enters; nothing of this outlives the snapshot.
void PayAgainstBudget(const Card& card) {
    State& st = St();
    int slot = 0;
    for (int i = 1; i <= st.InPlay.size() && slot == 0; ++i)
        if (std::as_const(st.InPlay)[i].Name.empty()) slot = i;
    if (slot == 0) {
        if (st.InPlay.size() >= kMaxInPlay) return;
        slot = st.InPlay.PushBack(Card{});
    }
    Card payer = card;
    payer.Index = slot;
    payer.Active = 0;
    st.InPlay[slot] = payer;
    uint8_t real = 0;
    st.RealPayment = 1;
    try {
        PayCost(payer, real);
    } catch (...) {
        st.RealPayment = 0;
        throw;
    }
    st.RealPayment = 0;
}

// The menu actions of player 2's cards that a target can be found for now.
void ChooseNewMenus() {
    State& st = St();
    for (int i = 1; i <= st.InPlay.size(); ++i) {
        Card& card = st.InPlay[i];
        if (card.Owner != 2) continue;
        for (int j = 1; j <= card.Effects.size(); ++j) {
            if (std::as_const(card.Effects)[j].MenuState != MenuState::Offered) continue;
            int32_t type = std::as_const(card.Effects)[j].TargetType;
            RunResult outcome = RunResult::NothingApplied;
            const int index = PickTarget(card, j, type, "", outcome);
            if (index > 0 && outcome == RunResult::Applied && card.Effects.Has(j))
                card.Effects[j].MenuState = MenuState::Chosen;
        }
    }
}

}  // namespace

float GetAILove(Card& card) {
    return Guarded("GetAILove", 0.0f, [&]() -> float {
        int sum = 0;
        int count = 0;
        if (card.Name.empty()) {
            sum = kNamelessSum;
        } else {
            uint8_t trial = 1;
            if (!PayCost(card, trial)) {
                sum = kUnpaidSum;
            } else {
                card.Active = 1;
                if (card.Name.empty()) return static_cast<float>(kNamelessSum);
                const int slots = card.Effects.size();
                for (int i = 1; i <= slots && card.Effects.Has(i); ++i)
                    ScoreEffect(card, i, sum, count);
            }
        }
        if (count == 0) count = 1;
        const double score = std::floor(10.0 * sum / count);
        const double priority = GetTrait(card, "PRIORITY").Num();
        SetTrait(card, "AILOVE", Value(score + priority));
        card.Active = 0;
        return static_cast<float>(score);
    });
}

std::string AIPlayCards(int player) {
    return Guarded("AIPlayCards", std::string(), [&] {
        State& st = St();
        List<Card>& hand = st.Players[player].Hand;
        std::vector<int> chosen;
        {
            // Trying out plays runs effects, on a budget of their own.
            const TrialBudget trials;
            AISetMenus(2);
            for (int i = 1; i <= hand.size(); ++i) {
                if (hand[i].Name.empty()) InitCard(hand[i], 1, 0);
                GetAILove(hand[i]);
            }
            SortCards(hand, "AILOVE", 0);

            // Each card is tried against what the cards chosen before it have spent; the cost
            // itself is paid once, when the card is activated in play. A chosen card's cost is
            // taken from the budget only when another card is still to be tried after it.
            std::optional<PlaySnapshot> snapshot;
            std::size_t spent = 0;
            const int slots = hand.size();
            for (int i = 1; i <= slots && hand.Has(i); ++i) {
                Card& card = hand[i];
                if (card.Name.empty()) continue;
                if (GetTrait(card, "AILOVE").Num() < 0) continue;
                if (spent < chosen.size() && !snapshot) snapshot.emplace().Take();
                for (; spent < chosen.size(); ++spent)
                    PayAgainstBudget(hand[chosen[spent]]);
                uint8_t trial = 1;
                if (!PayCost(card, trial)) continue;
                chosen.push_back(i);
            }
            if (snapshot) snapshot->Restore();
        }

        std::string plays;
        int cells = 0;
        for (int i : chosen) {
            if (!hand.Has(i)) continue;
            // A copy: what the card does on entering play may change the hand.
            Card played = hand[i];
            plays += "<td><center>";
            plays += CLink(played, 1, 0);
            plays += "</td>";
            if (++cells == kCellsPerRow) {
                cells = 0;
                plays += "</tr><tr>";
            }
            hand[i].Name.clear();
            AddCard(played);
        }

        {
            const TrialBudget trials;
            ChooseNewMenus();
        }
        plays += "</p></td></tr></table>";
        plays += "<table width=100%><tr><td colspan=80 ";
        plays += kPlaysShade;
        plays += "><font color=#FFFF00>Your Card Plays</font></td></tr><tr><td ";
        plays += kPlaysShade;
        plays += "><p align=right>";
        return plays;
    });
}

void AISetMenus(int player) {
    Guarded("AISetMenus", [&] {
        State& st = St();
        for (int i = 1; i <= st.InPlay.size(); ++i) {
            Card& card = st.InPlay[i];
            if (card.Owner != player) continue;
            for (int j = 1; j <= card.Effects.size(); ++j) {
                if (std::as_const(card.Effects)[j].MenuState == MenuState::None) continue;
                int32_t type = std::as_const(card.Effects)[j].TargetType;
                RunResult outcome = RunResult::NothingApplied;
                PickTarget(card, j, type, "", outcome);
                if (card.Effects.Has(j))
                    card.Effects[j].MenuState =
                        outcome == RunResult::Applied ? MenuState::Chosen : MenuState::Offered;
            }
        }
    });
}

}  // namespace dv
