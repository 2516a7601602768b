#include "ui/main/link_router.h"

#include <algorithm>
#include <cctype>

#include "engine/model/cards.h"
#include "engine/model/case_fold.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "engine/pages/card_pages.h"
#include "engine/pages/page_buffer.h"
#include "engine/rules/dispatch.h"
#include "game/game_start.h"
#include "game/play_queue.h"
#include "ui/common/engine_guard.h"
#include "ui/main/main_commands.h"

namespace dv::ui {
namespace {

// Global identifiers are drawn from 1 to 100000000; a longer number names no card.
constexpr std::size_t kMaxIdentifierDigits = 10;
// Effect numbers are kept in a byte.
constexpr int kMaxActionNumber = 255;

// A whole positive number written in digits only, else 0.
long long PositiveNumber(const std::string& text, long long limit) {
    if (text.empty() || text.size() > kMaxIdentifierDigits) return 0;
    if (!std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); }))
        return 0;
    const long long number = std::stoll(text);
    return number <= limit ? number : 0;
}

// A link resolved against the page's folder comes back with folders in front; the page wrote
// only its last part. Game links are exempt: they carry a full path.
std::string LastPart(std::string text) {
    ReplaceAll(text, "//", "/");
    const std::size_t slash = text.rfind('/');
    if (slash != std::string::npos) text.erase(0, slash + 1);
    return ReplaceAll(text, "%20", " ");
}

// The card in play a card or menu-action link names, 0 when none.
int CardInPlay(int32_t gid) {
    return gid > 0 ? GetCardNum(Value(static_cast<double>(gid))) : 0;
}

bool OwnsAnyCard() {
    const auto& collection = St().Collection;
    return std::any_of(collection.begin(), collection.end(),
                       [](const Card& card) { return !card.Name.empty(); });
}

// Lets the player pick a card of the collection in the deck manager. A pick leaves the deck
// manager in its pick mode until the game ends; without one everything is as it was.
bool PickFromCollection() {
    State& st = St();
    const uint8_t mode = st.DeckManagerMode;
    const uint8_t picking = st.PickingCard;
    st.DeckManagerMode = 4;
    st.PickingCard = 1;
    st.PickMade = 0;
    TheHost().Call(WindowCall::ShowDeckManager, "");
    if (st.PickMade == 1) return true;
    st.DeckManagerMode = mode;
    st.PickingCard = picking;
    if (mode == 0) TheHost().Call(WindowCall::EnableDeckManagerMenu, "1");
    return false;
}

ClickOutcome CardLink(int n) {
    State& st = St();
    DisplayCard(st.InPlay[n], 1);
    if (st.ClickMode == 0) {
        const int slot = st.ChoiceSlot;
        st.ChoiceSlot = 0;
        if (slot < 1 || slot > kQueueSlots || st.ActionCards[slot] == 0)
            return ClickOutcome::CardShown;
        SetActionTarget(slot, n);
        DisplayActionList();
        return ClickOutcome::QueueTargetSet;
    }
    if (st.ClickMode == 1) {
        const int selected = st.SelectedCard;
        if (selected < 1 || !st.InPlay.Has(selected) || st.InPlay[selected].Name.empty())
            return ClickOutcome::CardShown;
        Card& source = st.InPlay[selected];
        if (!source.Effects.Has(st.MenuActionIndex)) return ClickOutcome::CardShown;
        Effect& effect = source.Effects[st.MenuActionIndex];
        effect.Target = n;
        effect.MenuState = MenuState::Chosen;
        st.ClickMode = 0;
        DisplayActionList();
        return ClickOutcome::MenuTargetSet;
    }
    return ClickOutcome::CardShown;
}

ClickOutcome MenuActionLink(const PageLink& link) {
    State& st = St();
    const int n = CardInPlay(link.gid);
    if (n == 0 || link.action == 0 || !st.InPlay[n].Effects.Has(link.action))
        return ClickOutcome::Ignored;
    st.MenuActionIndex = static_cast<uint8_t>(link.action);
    Effect& effect = st.InPlay[n].Effects[link.action];
    if (effect.MenuState == MenuState::Chosen) {
        effect.MenuState = MenuState::Offered;
        st.ClickMode = 0;
        DisplayActionList();
        return ClickOutcome::MenuUnchosen;
    }
    if (effect.MenuState != MenuState::Offered) return ClickOutcome::Ignored;

    if (effect.TargetType == kTargetCollection) {
        if (!OwnsAnyCard()) {
            TheHost().MessageBox("You don't own any cards to modify!", "Duvenhall");
            return ClickOutcome::CollectionEmpty;
        }
        if (!PickFromCollection()) return ClickOutcome::MenuPickCancelled;
        // Looked up again: the deck manager ran in between.
        Effect& picked = st.InPlay[n].Effects[link.action];
        picked.MenuState = MenuState::Chosen;
        st.SelectedCard = static_cast<int16_t>(st.PickedCard);
        picked.Target = st.PickedCard;
        picked.DeckSel = st.PickedDeck;
        DisplayActionList();
        return ClickOutcome::MenuCollectionPicked;
    }
    if (effect.TargetType == kTargetCard) {
        st.ClickMode = 1;
        st.SelectedCard = static_cast<int16_t>(n);
        DisplayActionList();
        return ClickOutcome::MenuTargetAwaited;
    }
    effect.MenuState = MenuState::Chosen;
    st.ClickMode = 0;
    DisplayActionList();
    return ClickOutcome::MenuChosen;
}

// A game link on the board of a game, running or over, ends that game as "Quit / New Game" does
// before it starts its own: the new game's cards would otherwise join the old ones. A link that
// starts nothing leaves the game as it is.
ClickOutcome GameLink(const std::string& link) {
    const State& st = St();
    if (st.GameRunning == 1 || st.GameOver == 1) {
        if (!GameLinkAccepted(link)) return ClickOutcome::GameNotStarted;
        QuitToNewGame();
    }
    return StartGameFromLink(link) ? ClickOutcome::GameStarted : ClickOutcome::GameNotStarted;
}

}  // namespace

PageLink ReadLink(const std::string& href) {
    PageLink link;
    if (UpperText(GetField(href, 1, ":")) == "GAME") {
        link.kind = LinkKind::Game;
        link.text = href;
        return link;
    }
    const std::string text = LastPart(href);
    const std::string kind = UpperText(GetField(text, 1, ":"));
    if (kind == "HELP") {
        link.kind = LinkKind::Help;
        link.text = GetField(text, 2, ":");
    } else if (kind == "MENUACTION") {
        link.gid = static_cast<int32_t>(PositiveNumber(GetField(text, 2, ":"), INT32_MAX));
        if (link.gid == 0) return {};
        link.kind = LinkKind::MenuAction;
        link.action = static_cast<int>(PositiveNumber(GetField(text, 3, ":"), kMaxActionNumber));
    } else if (text.rfind("CARD", 0) == 0 && text != "CARDRulesCard") {
        link.gid = static_cast<int32_t>(PositiveNumber(text.substr(4), INT32_MAX));
        if (link.gid != 0) link.kind = LinkKind::Card;
    }
    return link;
}

ClickOutcome BoardClick(const std::string& href) {
    ClickOutcome outcome = ClickOutcome::Ignored;
    RunCommand("ulkBrowser1_HTMLClick", [&] {
        EngineGuard guard;
        // Showing a page lets events run while it loads; a click meanwhile is lost.
        if (!guard || St().HtmlBusy) {
            outcome = ClickOutcome::Busy;
            return;
        }
        const PageLink link = ReadLink(href);
        switch (link.kind) {
            case LinkKind::Help:
                DisplayHelp(link.text);
                outcome = ClickOutcome::HelpShown;
                break;
            case LinkKind::Game:
                outcome = GameLink(link.text);
                break;
            case LinkKind::Card:
                if (const int n = CardInPlay(link.gid); n != 0) outcome = CardLink(n);
                break;
            default:
                break;
        }
    });
    return outcome;
}

ClickOutcome CardViewClick(const std::string& href) {
    ClickOutcome outcome = ClickOutcome::Ignored;
    RunCommand("CardDescULK_HTMLClick", [&] {
        EngineGuard guard;
        if (!guard) {
            outcome = ClickOutcome::Busy;
            return;
        }
        const PageLink link = ReadLink(href);
        if (link.kind == LinkKind::MenuAction) outcome = MenuActionLink(link);
    });
    return outcome;
}

void ViewerError(long number, const std::string& description) {
    TheHost().MessageBox("Error " + std::to_string(number) + " in HTML Viewer: " + description,
                         "Duvenhall");
}

}  // namespace dv::ui
