// The deck manager's handlers that move cards: clicks on the two panes (add, sell, pick, hand to
// the designer, copy into an opponent deck or a test list, take out), the sorts, "Clear Deck" and
// "Change Card Image".

#include "engine/model/card_lists.h"
#include "engine/model/deck_lists.h"
#include "engine/model/state.h"
#include "engine/rules/rule_operations.h"
#include "game/deck_rules.h"
#include "ui/common/dialogs.h"
#include "ui/common/engine_guard.h"
#include "ui/common/flag_scope.h"
#include "ui/decks/deck_manager_logic.h"
#include "ui/decks/deck_manager_texts.h"
#include "ui/decks/designer_link.h"

namespace dv::ui {
namespace {

bool ShowsCollectionCards(uint8_t mode) {
    return mode == kEditDecks || mode == kCardPick;
}

}  // namespace

DeckOutcome DeckManagerLogic::CollectionClick(int slot) {
    EngineGuard guard;
    if (!guard || slot < 0 || slot >= kPaneSlots) return {};
    State& st = St();
    const int32_t p = st.ColDisplay[slot + 1];
    DeckOutcome out;
    switch (st.DeckManagerMode) {
        case kEditDecks:
            if (!st.Collection.Has(p)) return out;
            st.PickedCard = p;
            if (st.PickingCard == 1) {
                st.PickedDeck = 0;
                st.PickMade = 1;
                out.close = true;
                return out;
            }
            if (editNextCard_) return EditInDesigner(p);
            if (st.SaleMode == 1) return Sell(p);
            return AddToCurrentDeck(p);
        case kOpponentDeck:
        case kCardTest:
            st.SaleMode = 0;
            if (!st.EditCards.Has(p)) return out;
            st.PickedCard = p;
            if (st.DeckManagerMode == kOpponentDeck) {
                AddCardToArray(st.EditCards[p], st.EnemyCards, 1);
            } else if (st.CurrentDeck >= 1 && st.CurrentDeck <= st.TopCards.size()) {
                AddCardToArray(st.EditCards[p], st.TopCards[st.CurrentDeck], 1);
            }
            CleanDecks();
            return Redrawn();
        case kCardView:
            if (!st.EditCards.Has(p)) return out;
            st.EditIndex = static_cast<int16_t>(p);
            return HandToDesigner(p);
        case kCardPick:
            if (!st.Collection.Has(p)) return out;
            st.PickedCard = p;
            st.PickMade = 1;
            out.close = true;
            return out;
        default:
            return out;
    }
}

DeckOutcome DeckManagerLogic::EditInDesigner(int position) {
    State& st = St();
    {
        // Until the designer hands back: its next opening is its own again.
        const StateFlagScope handedOver(&State::EditFromDeckManager, 1);
        st.CurrentCard = st.Collection[position];
        if (DesignerLink* designer = TheDesignerLink()) {
            ModalScope level;
            designer->EditCurrentCard();
        }
    }
    if (st.Collection.Has(position)) st.Collection[position] = st.CurrentCard;
    editNextCard_ = false;
    return Activation();
}

DeckOutcome DeckManagerLogic::Sell(int position) {
    State& st = St();
    Card& card = st.Collection[position];
    const int32_t gid = card.GID;
    if (gid != 0) {
        for (DeckList& deck : st.Decks) {
            for (int e = 1; e <= deck.CardIds.size(); ++e) {
                if (deck.CardIds[e] != gid) continue;
                deck.CardIds[e] = 0;
                if (deck.Positions.Has(e)) deck.Positions[e] = 0;
            }
        }
        // The stored decks hold copies that the player file writes as collection cards: a sold
        // card left there would come back with the next reading of the file.
        for (CardDeck& stored : st.PlayerDecks)
            for (Card& copy : stored.Cards)
                if (copy.GID == gid) copy.Name.clear();
    }
    st.Players[1].Tokens += GetTokenCost(card);
    card.Name.clear();
    const std::string page = ShowPage(kSold);
    CleanDecks();
    return Redrawn(page);
}

DeckOutcome DeckManagerLogic::AddToCurrentDeck(int position) {
    State& st = St();
    Card& card = st.Collection[position];
    // Cleared first, so that a check that fails to run shows no stale refusal.
    st.FailReason.clear();
    if (CheckTraitReqs(card, st.CurrentDeck, st.DeckRules, st.FailReason) == kDeckLimitExceeded) {
        if (!st.FailReason.empty()) TheDialogs().Message(st.FailReason, kTitle);
        return {};
    }
    AddToDeck(card, st.CurrentDeck, 0);
    CleanDecks();
    return Redrawn();
}

DeckOutcome DeckManagerLogic::DeckClick(int slot) {
    EngineGuard guard;
    if (!guard || slot < 0 || slot >= kPaneSlots) return {};
    State& st = St();
    const int k = deckScrollPos_ + slot;
    switch (st.DeckManagerMode) {
        case kOpponentDeck:
            if (!st.EnemyCards.Has(k)) return {};
            st.EnemyCards[k].Name.clear();
            SortCards(st.EnemyCards, "NAME", 0);
            return Redrawn();
        case kCardTest:
            if (st.CurrentDeck >= 1 && st.CurrentDeck <= st.TopCards.size()) {
                List<Card>& test = st.TopCards[st.CurrentDeck];
                if (!test.Has(k)) return {};
                // Freed whole: the test's start refreshes every entry of a designer's unique
                // name, and would bring back a card that kept its unique name.
                test[k] = Card{};
                SortCards(test, "BLANK", 0);
            }
            return Redrawn();
        case kCardView:
            // The pane shows a test list there, not the deck list a click would change.
            return {};
        default: {
            DeckList& deck = st.Decks[st.CurrentDeck];
            if (!deck.CardIds.Has(k)) return {};
            deck.CardIds[k] = 0;
            if (deck.Positions.Has(k)) deck.Positions[k] = 0;
            CleanDecks();
            return Redrawn();
        }
    }
}

DeckOutcome DeckManagerLogic::Sort(int button, const std::string& deckTrait,
                                   const std::string& collectionTrait) {
    EngineGuard guard;
    if (!guard) return {};
    State& st = St();
    if (ShowsCollectionCards(st.DeckManagerMode)) {
        DeckList& deck = st.Decks[st.CurrentDeck];
        switch (button) {
            case 0:
                SortDeck(deck, deckTrait);
                break;
            case 1:
                SortDeck(deck, "NAME");
                break;
            case 2:
            case 3:
            case 4:
                SortCards(st.Collection,
                          button == 2   ? std::string("NAME")
                          : button == 3 ? "TRAIT:" + collectionTrait
                                        : std::string("RARITY"),
                          0);
                // The collection's cards moved: the deck on show finds its cards again.
                LinkDeck(deck, st.Collection, 0);
                break;
            default:
                return {};
        }
    } else {
        switch (button) {
            case 0:
                break;
            case 1:
            case 2:
                SortCards(st.EditCards, "NAME", 0);
                break;
            case 3:
                SortCards(st.EditCards, collectionTrait, 0);
                break;
            case 4:
                SortCards(st.EditCards, "RARITY", 0);
                break;
            default:
                return {};
        }
    }
    return Redrawn();
}

DeckOutcome DeckManagerLogic::ClearDeck() {
    EngineGuard guard;
    if (!guard) return {};
    State& st = St();
    DeckList& deck = st.Decks[st.CurrentDeck];
    deck.CardIds = {0};
    deck.Positions = {0};
    LinkDeck(deck, st.Collection, 0);
    CleanDecks();
    return Redrawn();
}

DeckOutcome DeckManagerLogic::ChangeCardImage() {
    editNextCard_ = true;
    return {};
}

}  // namespace dv::ui
