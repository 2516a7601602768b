#include "engine/rules/card_life.h"

#include <algorithm>
#include <utility>

#include "engine/model/cards.h"
#include "engine/model/guard.h"
#include "engine/model/hands_and_decks.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "engine/model/trait_actions.h"
#include "engine/model/triggers.h"
#include "engine/model/turn_log.h"
#include "engine/pages/card_pages.h"
#include "engine/rules/costs.h"
#include "engine/rules/dispatch.h"
#include "engine/rules/rule_operations.h"

namespace dv {
namespace {

constexpr long long kGidRange = 200000000;
// Draws tried for an identifier no other slot holds before falling back to a counted one.
constexpr int kMaxGidDraws = 64;
constexpr int kOtherEntersPlayTrigger = 15;

bool GidTaken(int32_t gid, int slot) {
    const PlayList& inPlay = St().InPlay;
    for (int i = 1; i <= inPlay.size(); ++i)
        if (i != slot && inPlay[i].GID == gid) return true;
    return false;
}

// A fresh identifier that no other slot of play holds.
int32_t UniqueGid(int slot) {
    for (int draw = 0; draw < kMaxGidDraws; ++draw) {
        auto gid = static_cast<int32_t>(RandomNum(kGidRange));
        if (gid >= 1 && !GidTaken(gid, slot)) return gid;
    }
    // The draws kept clashing: count upwards from the highest identifier in play instead.
    int32_t highest = 0;
    for (const Card& c : std::as_const(St().InPlay))
        highest = std::max(highest, c.GID);
    int32_t gid = highest >= kGidRange ? 1 : highest + 1;
    while (GidTaken(gid, slot))
        ++gid;  // ends: play holds fewer than kMaxInPlay identifiers
    return gid;
}

}  // namespace

Player* OwnerRecord(const Card& card) {
    auto& players = St().Players;
    return players.Has(card.Owner) ? &players[card.Owner] : nullptr;
}

int TakeFreeSlot(const Card& card) {
    auto& inPlay = St().InPlay;
    const PlayList& seen = inPlay;
    for (int i = 1; i <= seen.size(); ++i) {
        if (seen[i].Name.empty()) {
            // Copied into the free slot's own room (the trials place cards often). Member-wise
            // assignment is safe when card is an element of InPlay, even this one; a copy that
            // fails half-way leaves the slot free again rather than a part-card in play.
            try {
                inPlay[i] = card;
            } catch (...) {
                inPlay[i] = Card{};
                throw;
            }
            return i;
        }
    }
    if (inPlay.size() >= kMaxInPlay) return 0;
    return inPlay.PushBack(card);
}

int AddCard(const Card& card) {
    HoldScope hold;
    return Guarded("AddCard", 0, [&] {
        if (card.Name.empty()) return 0;
        auto& inPlay = St().InPlay;
        const int n = TakeFreeSlot(card);
        if (n == 0) return 0;
        St().NewestCard = n;
        St().LastCard = n;
        Card& placed = inPlay[n];
        placed.Index = n;
        // A clash is drawn again until the identifier is unique, not just once.
        if (placed.GID == 0 || GidTaken(placed.GID, n)) placed.GID = UniqueGid(n);
        if (placed.Owner == 0) placed.SideMask = 4;
        if (placed.Owner == 1) placed.SideMask = 1;
        if (placed.Owner == 2) placed.SideMask = 2;
        if (placed.StartTime.empty()) placed.StartTime = "TURNSTART";
        placed.Active = 0;
        for (int e = 1; e <= placed.Effects.size(); ++e)
            if (RunFlagsOf(placed, e).Running != 0) ChangeRunFlags(placed, e).Running = 0;
        if (HasTrait(placed, "PLAYER") || placed.StartTime == "GAMESTART") ActivateCard(placed, 0);
        return n;
    });
}

void ActivateCard(Card& card, int quiet) {
    HoldScope hold;
    Guarded("ActivateCard", [&] {
        if (card.Name.empty()) return;
        Card* subject = &card;
        if (card.Index == 0) {
            int n = AddCard(card);
            card.Index = n;
            if (n == 0) return;
            // From here the placed copy is the card: AddCard may have activated it already,
            // and activating the caller's record as well would pay and announce it twice.
            subject = &St().InPlay[n];
        }
        Card& c = *subject;
        auto& inPlay = St().InPlay;
        if (!inPlay.Has(c.Index) || inPlay[c.Index].Name.empty() || c.Active == 1) return;

        uint8_t check = 1;
        if (!PayCost(c, check) && !St().FailReason.empty()) {
            Player* owner = OwnerRecord(c);
            std::string ownerText;
            if (owner && inPlay.Has(owner->CardIndex) && !inPlay[owner->CardIndex].Name.empty())
                ownerText = DCard(inPlay[owner->CardIndex]);
            AddToTurnLog("<br>" + ownerText + " cannot play " + DCard(c) + ": " + St().FailReason +
                         "<br>");
            // A neutral card has no hand to go back to; it only leaves play.
            if (owner) AddCardToHand(*owner, c, 0);
            KillCard(c, 1);
            return;
        }
        uint8_t pay = 0;
        PayCost(c, pay);
        AddTraitEffects(c, "");
        ApplyMods(c);
        RegisterEffects(c);
        c.Active = 1;
        if (quiet == 0) {
            RunActionsCall call;
            call.triggeringCard = -1;
            call.sourceCard = c.Index;
            RunActions(St().RulesCard, "OTHERENTERSPLAY", call);
        }
        if (HasTrait(c, "PLAYER")) {
            if (Player* owner = OwnerRecord(c)) {
                owner->CardIndex = c.Index;
                owner->Colour = c.Colour;
            }
        }
        if (quiet == 0) {
            RunListActions(kOtherEntersPlayTrigger);
            RunActionsCall call;
            call.triggeringCard = -1;
            call.sourceCard = -1;
            RunActions(c, "ENTERPLAY", call);
        }
        RegisterEffects(c);
    });
}

void CreateSideBoards() {
    Guarded("CreateSideBoards", [&] {
        if (St().CardQueueCount == 0) return;
        // The queue is taken whole before placing: cards queued while these enter play (by their
        // mods, say) wait in the fresh queue for the next call instead of being wiped with it.
        List<Card> waiting = std::move(St().CardQueue);
        St().CardQueue = List<Card>(1);
        St().CardQueueCount = 0;
        for (int i = 1; i <= waiting.size(); ++i) {
            if (waiting[i].Name.empty()) continue;
            HoldScope hold;
            int n = AddCard(waiting[i]);
            if (n > 0) ActivateCard(St().InPlay[n], 1);
        }
    });
}

void KillCard(Card& card, int flag) {
    Guarded("KillCard", [&] {
        if (card.Name.empty()) return;
        if (flag == 0) {
            RunActionsCall call;
            call.triggeringCard = -1;
            call.sourceCard = -1;
            RunActions(card, "ONDEATH", call);
        }
        // Taking out one effect takes out every registration of the card: once is enough.
        if (card.Effects.size() >= 1) RegisterAction(card.Index, 1, 1, 1);
        if (flag == 1)
            card.Name.clear();
        else
            card.Dead = 1;
    });
}

void KillCards() {
    Guarded("KillCards", [&] {
        for (Card& c : St().InPlay) {
            if (c.Dead != 1) continue;
            c.Name.clear();
            c.Active = 0;
            c.GID = 0;
        }
    });
}

}  // namespace dv
