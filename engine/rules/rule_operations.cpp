#include "engine/rules/rule_operations.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "engine/model/card_lists.h"
#include "engine/model/cards.h"
#include "engine/model/case_fold.h"
#include "engine/model/guard.h"
#include "engine/model/hands_and_decks.h"
#include "engine/model/host.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "engine/model/triggers.h"
#include "engine/model/turn_log.h"
#include "engine/pages/page_buffer.h"
#include "engine/rules/card_life.h"
#include "engine/rules/effect_runs.h"
#include "engine/rules/game_files.h"

namespace dv {
namespace {

// Mods applied per activation; a card's mod list is read once, before the first one runs.
constexpr int kMaxMods = 255;

void RecordWonMission() {
    auto& won = St().Players[1].WonMissions;
    const std::string& mission = St().CurrentMission;
    // No mission played, nothing won: an empty name is never recorded, gaps or not.
    if (mission.empty()) return;
    for (const std::string& entry : won)
        if (entry == mission) return;
    int pos = won.size() + 1;
    for (int i = 1; i <= won.size() && pos > won.size(); ++i)
        if (won[i].empty()) pos = i;
    // Missions listed after a gap are kept: the list only grows, to take the new one.
    if (pos > won.size()) won.Resize(pos);
    won[pos] = mission;
}

}  // namespace

void EndGame(uint8_t& winner) {
    Guarded("EndGame", [&] {
        St().GameOver = 1;
        St().GameRunning = 0;
        St().PickingCard = 0;
        St().DeckManagerMode = 0;
        St().LastTarget = 0;
        if (winner == 1) RecordWonMission();
        CollectionChanged();
        SaveCurrentPlayerFile();
        TheHost().Call(WindowCall::HideHand, "");
        TheHost().Call(WindowCall::SetEndTurnCaption, "End Game");
        HTMLDisplay2(kQueueViewer, "blank.htm");
        HTMLDisplay2(kCardViewer, "blank.htm");
        St().Winner = winner;
        TheHost().Call(WindowCall::EnableDeckManagerMenu, "1");
    });
}

void ClearBonuses() {
    Guarded("ClearBonuses", [&] {
        auto& inPlay = St().InPlay;
        int cards = inPlay.size();
        for (int i = 1; i <= cards && inPlay.Has(i); ++i) {
            Card& card = inPlay[i];
            if (card.Name.empty()) continue;
            int traits = card.TraitNames.size();
            for (int t = 1; t <= traits && card.TraitNames.Has(t); ++t) {
                // Read in place, without the field copies: a bonus starts with "BONUS" in any
                // case, or has "BONUS" as its second ":" field.
                const std::string_view text = std::as_const(card.TraitNames)[t];
                if (text.empty()) continue;
                const std::size_t colon = text.find(':');
                const std::string_view second =
                    colon == std::string_view::npos
                        ? std::string_view()
                        : text.substr(colon + 1, text.find(':', colon + 1) - (colon + 1));
                const bool bonusFirst = StartsWithNoCase(text, "BONUS");
                const bool bonusSecond = second == "BONUS";
                if (!bonusFirst && !bonusSecond) continue;
                // Copied: removing the trait changes the list the view is of.
                const std::string base(text.substr(0, colon));
                if (bonusFirst) RemoveTrait(card, base);
                if (bonusSecond) RemoveTrait(card, base);
            }
            for (int k = 1; k <= card.Effects.size(); ++k)
                FreeBonusAction(card, k);
        }
    });
}

void FreeBonusAction(Card& card, int effectNumber) {
    int32_t e = effectNumber;
    std::string word = "BONUSACTION";
    if (GetEffectTrait2(card, e, word) == "NONE") return;
    Effect& effect = card.Effects[effectNumber];
    effect.Text.clear();
    effect.Trigger.clear();
    effect.Compiled = 0;  // its old program must not keep naming the bonus
    DropRegistrations(card, effectNumber);
}

void CreateCard(const std::string& cardName, const std::string& setFile, int owner, int count) {
    Guarded("CreateCard", [&] {
        // The loader holds the set only while the card is taken: a later read into it would
        // otherwise copy and shuffle the set's cards again. It is set up as InitPlayer sets up a
        // player but for the hand, which no read fills: ten new cards at every card created
        // were a third of a turn that creates half a million.
        struct Loader {
            Player& load = St().LoadPlayer;
            Loader() { Reset(); }
            ~Loader() {
                Reset();
                load.OrigDeck = List<Card>();
            }
            void Reset() {
                load.Deck = List<Card>(1);
                load.WonMissions = List<std::string>(1);
                load.Id = 4;
            }
        } loader;
        // A card the queue will not take is not looked for: whether the set holds one is told.
        const bool queued = count > 0 && QueueTakesCards();
        std::optional<Card> found = CardOfSetFile(cardName, setFile, loader.load, "INDECK", queued);
        if (!found) {
            AddToTurnLog("<br>Card \"" + cardName + "\" not found in \"" + setFile + "\".<br>");
            return;
        }
        found->Owner = static_cast<uint8_t>(owner);
        // The queued copies carry the side they were made for.
        SetActionMasks(*found, 0);
        int copies = std::min(count, kMaxQueuedCards);
        for (int c = 1; c <= copies; ++c)
            QueueCard(*found);
    });
}

bool QueueTakesCards() {
    return St().CardQueueCount < kMaxQueuedCards &&
           St().RunBudget.TurnQueuedCards < kMaxTurnQueuedCards;
}

void QueueCard(Card& card) {
    Guarded("QueueCard", [&] {
        if (St().CardQueueCount >= kMaxQueuedCards) return;
        // The turn's cut is owed to its log, which the chain that queued it tells when it ends.
        RunBudgetCounts& turn = St().RunBudget;
        if (!QueueTakesCards()) {
            if (!turn.QueueCutNoted) turn.QueueCutOwed = true;
            turn.QueueCutNoted = true;
            return;
        }
        ++turn.TurnQueuedCards;
        int n = ++St().CardQueueCount;
        St().CardQueue.Resize(n);
        St().CardQueue[n] = card;
        St().CardQueue[n].AlreadyPlaced = 1;
    });
}

int16_t GetTokenCost(Card& card) {
    return Guarded("GetTokenCost", int16_t{0},
                   [&] { return static_cast<int16_t>(card.Rarity / 10 + 1); });
}

void ApplyMods(Card& card) {
    Guarded("ApplyMods", [&] {
        const std::string mods = card.Mods;
        for (int i = 1; i <= kMaxMods; ++i) {
            std::string mod = GetField(mods, i, "$|$");
            if (mod.empty()) return;
            // Mods apply while a card is being activated (and to cards outside play), before it
            // counts as active; a real run refuses inactive cards, so the card is marked active
            // for its mod run alone.
            const uint8_t wasActive = card.Active;
            card.Active = 1;
            RunMod(card, mod);
            card.Active = wasActive;
        }
    });
}

}  // namespace dv
