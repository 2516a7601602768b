#include "ui/decks/deck_manager_logic.h"

#include <cmath>

#include "data/card_files.h"
#include "engine/model/card_lists.h"
#include "engine/model/deck_lists.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "engine/pages/card_pages.h"
#include "engine/pages/page_buffer.h"
#include "engine/rules/rule_operations.h"
#include "game/card_test.h"
#include "game/deck_rules.h"
#include "ui/common/dialogs.h"
#include "ui/common/engine_guard.h"
#include "ui/common/flag_scope.h"
#include "ui/decks/deck_manager_texts.h"
#include "ui/decks/designer_link.h"

namespace dv::ui {
namespace {

// The pane rows below the first: a list of n cards scrolls until its last card shows at the
// bottom right.
constexpr int kScrollRows = kPaneSlots - 1;

SlotDraw Hidden() {
    return {SlotDraw::Change::Hide, std::nullopt};
}

SlotDraw Shown(const Card& card) {
    return {SlotDraw::Change::Show, card.ThumbnailUrl};
}

// A card of a list drawn by its name; a card without a thumbnail shows an empty box, not the
// picture the box showed for another card.
SlotDraw ListCard(const List<Card>& cards, long long k) {
    if (!cards.Has(k) || cards[k].Name.empty()) return Hidden();
    const Card& card = cards[k];
    return {SlotDraw::Change::Show, card.Thumbnail.empty() ? std::string() : card.ThumbnailUrl};
}

int ScrollMax(int last) {
    return std::max(1, last - kScrollRows);
}

long long PositionOf(const DeckList& deck, int entry) {
    return deck.Positions.Has(entry) ? std::lround(deck.Positions[entry]) : 0;
}

// The entries that name a card: a deck list read from a file starts with an empty entry.
int CardsListed(const DeckList& deck) {
    int count = 0;
    for (int32_t id : deck.CardIds)
        count += id != 0 ? 1 : 0;
    return count;
}

// The description of a card: a work copy with its pictures located and its mods applied.
std::string CardDescription(Card card, bool centred) {
    card.PictureUrl = GetImagePath(card.Picture, 2, "");
    card.ThumbnailUrl = GetImagePath(card.Thumbnail, 2, "");
    ApplyMods(card);
    DisplayCard2(card, 1);
    const std::string picture = "<img src=\"" + card.PictureUrl + "\"></img><br>";
    if (centred) return "<center>" + picture + St().HTMLText + "</center>";
    return picture + St().HTMLText;
}

}  // namespace

DeckOutcome DeckManagerLogic::Open() {
    EngineGuard guard;
    if (!guard) return {};
    State& st = St();
    // Every handler counts on a current deck list to show.
    if (st.Decks.empty()) st.Decks.PushBack(DeckList{"", {0}, {0}});
    shown_ = LoadControls();
    st.CurrentDeck = 1;
    deckScrollPos_ = 1;
    collectionScrollPos_ = 1;
    CleanDecks();
    UpdateDecks();
    if (st.DeckManagerMode == kCardTest) {
        BeginCardTest();
        SetColDisplay(collectionScrollPos_);
    }
    return Activation();
}

DeckOutcome DeckManagerLogic::Activate() {
    EngineGuard guard;
    if (!guard) return {};
    return Activation();
}

DeckOutcome DeckManagerLogic::Activation() {
    State& st = St();
    enemySaved_ = false;
    st.CurrentDeck = 1;
    collectionScrollPos_ = 1;
    deckScrollPos_ = 1;
    shown_ = ActivationControls(shown_);
    if (st.DeckManagerMode == kEditDecks) {
        // The draw deck of the game is left alone: a game start builds it afresh from the deck
        // chosen, and the menu's deck manager in mid-game must not refill it.
        CopyLinkedDeck(st.Decks[1], st.PlayerDecks[1].Cards);
        LinkDeck(st.Decks[1], st.Collection, 0);
        SortDeck(st.Decks[1], "NAME");
    }
    TruncateCollection();
    DeckOutcome out;
    out.controls = shown_;
    out.view = UpdateDecks();
    return out;
}

ShownControls DeckManagerLogic::LoadControls() const {
    const State& st = St();
    ShownControls shown = shown_;
    shown.done = shown.sell = !(st.PickingCard == 1 || st.DeckManagerMode == kOpponentDeck);
    return shown;
}

ShownControls DeckManagerLogic::ActivationControls(ShownControls shown) const {
    const bool editing = St().DeckManagerMode == kEditDecks;
    shown.loadOpponent = !editing;
    shown.changeImage = editing;
    shown.sell = editing;
    return shown;
}

DeckView DeckManagerLogic::UpdateDecks() {
    State& st = St();
    DeckView view;
    for (DeckList& deck : st.Decks) {
        if (deck.Name.empty()) deck.Name = "New Deck";
        view.deckNames.push_back(deck.Name);
    }
    view.chosenDeck = st.CurrentDeck - 1;
    DeckList& deck = st.Decks[st.CurrentDeck];
    // Choosing the entry links the deck on show, as a choice in the deck list does; so the
    // positions drawn below are those of the collection as it is now.
    LinkDeck(deck, st.Collection, 0);

    const uint8_t mode = st.DeckManagerMode;
    const bool testLists = mode == kCardTest || mode == kCardView;
    if (!testLists) {
        for (int e = 1; e <= deck.CardIds.size(); ++e) {
            const long long p = PositionOf(deck, e);
            if (p > 0 && st.Collection.Has(p)) st.Collection[p].DisplayFilter = 1;
        }
    }
    SetColDisplay(collectionScrollPos_);
    view.deckScroll = deckScrollPos_;
    view.collectionScroll = collectionScrollPos_;

    const std::string tokens = "Tokens: " + std::to_string(st.Players[1].Tokens);
    for (int i = 0; i < kPaneSlots; ++i) {
        const int k = deckScrollPos_ + i;
        const int c = st.ColDisplay[i + 1];
        switch (mode) {
            case kOpponentDeck:
                view.deck[i] = ListCard(st.EnemyCards, k);
                view.collection[i] = ListCard(st.EditCards, c);
                break;
            case kCardTest:
            case kCardView:
                if (st.CurrentDeck >= 1 && st.CurrentDeck <= st.TopCards.size()) {
                    const List<Card>& test = st.TopCards[st.CurrentDeck];
                    if (!test.Has(k)) {
                        view.deck[i] = Hidden();
                    } else {
                        const Card& card = test[k];
                        view.deck[i] = {
                            card.Name.empty() ? SlotDraw::Change::Hide : SlotDraw::Change::Show,
                            card.ThumbnailUrl};
                    }
                }
                view.collection[i] = ListCard(st.EditCards, collectionScrollPos_ + i);
                break;
            case kCardPick:
                view.deck[i] = Hidden();
                view.collection[i] = ListCard(st.Collection, collectionScrollPos_ + i);
                break;
            default: {
                const long long p = deck.CardIds.Has(k) ? PositionOf(deck, k) : 0;
                const bool shown = p > 0 && st.Collection.Has(p) && !st.Collection[p].Name.empty();
                view.deck[i] = shown ? Shown(st.Collection[p]) : Hidden();
                view.collection[i] = ListCard(st.Collection, c);
            }
        }
    }

    switch (mode) {
        case kOpponentDeck: {
            view.deckScrollMax = ScrollMax(st.EnemyCards.size());
            view.collectionScrollMax = ScrollMax(st.EditCards.size());
            view.tokens = tokens;
            const bool none = st.EnemyCards.size() == 1 && st.EnemyCards[1].Name.empty();
            view.cardCount = "Cards: " + std::to_string(none ? 0 : st.EnemyCards.size());
            break;
        }
        case kCardTest:
        case kCardView:
            view.deckScrollMax = ScrollMax(deck.CardIds.size());
            view.collectionScrollMax = ScrollMax(st.EditCards.size());
            view.cardCount = "Cards: " + std::to_string(deck.CardIds.size());
            break;
        case kCardPick:
            break;
        default:
            view.deckScrollMax = ScrollMax(deck.CardIds.size());
            view.collectionScrollMax = ScrollMax(st.Collection.size());
            view.tokens = tokens;
            view.cardCount = "Cards: " + std::to_string(CardsListed(deck));
    }
    return view;
}

std::string DeckManagerLogic::ShowPage(const std::string& html) {
    State& st = St();
    st.HTMLText = html;
    if (!CreateHTML("Display.html", "#000000")) return {};
    return (st.ProgramFolder / "Display.html").string();
}

// Runs with the guard held by the caller.
void DeckManagerLogic::WaitForPage(const std::string& location, const PageShow& show) {
    presses_.Wait([&] { show(location); });
}

void DeckManagerLogic::ShowOutcomePage(const std::string& location, const PageShow& show) {
    EngineGuard guard;
    if (guard) WaitForPage(location, show);
}

std::optional<std::string> DeckManagerLogic::DescribeCollectionCard(int slot,
                                                                    const PageShow& show) {
    EngineGuard guard;
    if (!guard || slot < 0 || slot >= kPaneSlots) return std::nullopt;
    State& st = St();
    const int32_t c = st.ColDisplay[slot + 1];
    if (c == lastShownCard_ || c == 0) return std::nullopt;
    const uint8_t mode = st.DeckManagerMode;
    List<Card>& cards = mode == kEditDecks || mode == kCardPick ? st.Collection : st.EditCards;
    if (!cards.Has(c)) return std::nullopt;
    lastShownCard_ = c;
    Card& card = cards[c];
    if (card.Name.empty()) return std::nullopt;

    std::string page;
    if (st.SaleMode == 1) {
        page = ShowPage("The ephemeral powers that be offer you <font color=#FFFF00>" +
                        std::to_string(GetTokenCost(card)) +
                        " Tokens</font> for this card.<br>Just click to make the sale...");
    } else {
        page = ShowPage(CardDescription(card, true));
    }
    st.PickedCard = c;
    st.PickedDeck = 0;
    if (page.empty()) return std::nullopt;
    WaitForPage(page, show);
    return page;
}

std::optional<std::string> DeckManagerLogic::DescribeDeckCard(int slot, const PageShow& show) {
    EngineGuard guard;
    if (!guard || slot < 0 || slot >= kPaneSlots) return std::nullopt;
    State& st = St();
    const uint8_t mode = st.DeckManagerMode;
    const int k = deckScrollPos_ + slot;
    Card card;
    if (mode == kCardTest) return std::nullopt;
    if (mode == kOpponentDeck) {
        if (k == lastShownDeckCard_ || !st.EnemyCards.Has(k)) return std::nullopt;
        lastShownDeckCard_ = k;
        card = st.EnemyCards[k];
    } else {
        const DeckList& deck = st.Decks[st.CurrentDeck];
        if (!deck.CardIds.Has(k)) return std::nullopt;
        const long long p = PositionOf(deck, k);
        if (p == lastShownDeckCard_) return std::nullopt;
        lastShownDeckCard_ = static_cast<int32_t>(p);
        if (!st.Collection.Has(p) || st.Collection[p].Name.empty()) return std::nullopt;
        // The pane shows no deck card of the collection in the card view or the pick.
        if (mode != kEditDecks) return std::nullopt;
        card = st.Collection[p];
    }
    if (card.Name.empty()) return std::nullopt;
    const std::string page =
        ShowPage(st.SaleMode == 1 ? std::string(kNoSaleFromDeck) : CardDescription(card, false));
    if (page.empty()) return std::nullopt;
    WaitForPage(page, show);
    return page;
}

DeckOutcome DeckManagerLogic::ChooseDeck(int entry) {
    EngineGuard guard;
    if (!guard) return {};
    State& st = St();
    // The deck being left is linked once more as it is left.
    LinkDeck(st.Decks[st.CurrentDeck], st.Collection, 0);
    if (entry >= 0 && entry < st.Decks.size() && entry < kMaxDecks)
        st.CurrentDeck = static_cast<uint8_t>(entry + 1);
    return Redrawn();
}

DeckOutcome DeckManagerLogic::Scroll(int bar, int value) {
    EngineGuard guard;
    if (!guard) return {};
    (bar == 0 ? deckScrollPos_ : collectionScrollPos_) = std::max(value, 1);
    return Redrawn();
}

DeckOutcome DeckManagerLogic::Redrawn(std::optional<std::string> page) {
    DeckOutcome out;
    if (page && !page->empty()) out.page = std::move(page);
    out.view = UpdateDecks();
    return out;
}

bool DeckManagerLogic::DeckMeetsRules() {
    State& st = St();
    return CheckDeckRules(st.CurrentDeck, st.DeckRules, st.FailReason) >= kDeckRulesMet;
}

DeckOutcome DeckManagerLogic::HandToDesigner(int index) {
    {
        const ListBusyScope busy;
        if (DesignerLink* designer = TheDesignerLink()) designer->ShowCard(index);
    }
    DeckOutcome out;
    out.close = true;
    return out;
}

bool DeckManagerLogic::StartCardTestWithRules() {
    if (!CardTestRulesFound()) {
        // Each round waits for the player's choice; a cancelled choice ends the attempt.
        for (;;) {
            TheDialogs().Message(kChooseRulesFile, kTitle);
            const std::optional<std::string> file =
                TheDialogs().OpenFile("Rules File", St().ProgramFolder.string(), kRulesFileFilter);
            if (!file) return false;
            if (ReadCardTestRules(*file)) break;
        }
    }
    StartCardTest();
    return true;
}

DeckOutcome DeckManagerLogic::Done() {
    EngineGuard guard;
    if (!guard) return {};
    return DoneByMode();
}

DeckOutcome DeckManagerLogic::DoneByMode() {
    State& st = St();
    DeckOutcome out;
    if (st.DeckManagerMode == kCardView) {
        for (int i = 1; i <= st.EditCards.size(); ++i) {
            if (st.EditCards[i].UniqueName != st.CurrentCard.UniqueName) continue;
            st.EditIndex = static_cast<int16_t>(i);
            break;
        }
        return HandToDesigner(st.EditIndex);
    }
    if (st.DeckManagerMode == kCardTest) {
        out.close = StartCardTestWithRules();
        return out;
    }
    if (st.DeckManagerMode == kOpponentDeck && !enemySaved_ &&
        TheDialogs().YesNo("You have not saved your new enemy!  Save enemy now?", kTitle))
        SaveOpponent();
    if (!DeckMeetsRules() && st.DeckManagerFromMenu == 0) {
        TheDialogs().Message(st.FailReason, kTitle);
        return out;
    }
    out.close = true;
    return out;
}

bool DeckManagerLogic::Closing(bool decided) {
    State& st = St();
    EngineGuard guard;
    // Asked while a command runs (a page loading, another window's turn): closing now would skip
    // the save or the hand-back to the designer, so the close is refused and can be asked again.
    if (!guard && !quitting_) return false;
    st.SaleMode = 0;
    if (quitting_) return true;
    const uint8_t mode = st.DeckManagerMode;
    if (mode == kEditDecks && st.PickingCard == 0) {
        if (st.Games.Has(st.CurrentGame)) {
            const std::string file =
                PlayerFileName(st.Games[st.CurrentGame].Name, st.CurrentProfile.Name);
            if (!file.empty()) SavePlayer(file);
        }
        if (decided) return true;
        // Closed otherwise than by DONE: a deck that breaks the rules is refused here, and the
        // game start reads the refusal.
        if (!DeckMeetsRules() && st.DeckManagerFromMenu == 0) {
            TheDialogs().Message(st.FailReason, kTitle);
            st.DeckRejected = 1;
        }
        return true;
    }
    // The card test and the card view close through DONE: it hands over to the test game or
    // the designer, or keeps the window open when the test's rules file was not chosen.
    if (!decided && (mode == kCardTest || mode == kCardView)) return DoneByMode().close;
    return true;
}

}  // namespace dv::ui
