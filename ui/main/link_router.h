#pragma once
// What a click on a link in the board view or the card view does. The link text arrives exactly
// as the page holds it ("CARD1234", "MENUACTION:77:2", "HELP:MosslightHelp.html",
// "GAME:1:/folder with blanks/Bogwarden_Enemy.txt", "game:1:..."), never as a resolved URL.

#include <cstdint>
#include <string>

namespace dv::ui {

enum class LinkKind { None, Help, Game, Card, MenuAction };

struct PageLink {
    LinkKind kind = LinkKind::None;
    std::string text;  // Game: the whole link; Help: the page's name
    int32_t gid = 0;   // Card and MenuAction: the card's global identifier
    int action = 0;    // MenuAction: the effect's number
};

// The link a text names; kind None for anything that is not one of the link forms.
PageLink ReadLink(const std::string& href);

enum class ClickOutcome {
    Ignored,            // not a link form this view answers, or it names nothing
    Busy,               // a page load or another window command is under way
    HelpShown,          // a help page
    GameStarted,        // a game link started its game, the one on the board ended first
    GameNotStarted,     // a game link whose start stopped (no deck, a refused deck, a bad link,
                        // an opponent file that cannot be read)
    CardShown,          // a card link showed the card
    QueueTargetSet,     // ... and became the target of the queued play waiting for one
    MenuTargetSet,      // ... and became the target of the menu action waiting for one
    MenuUnchosen,       // a chosen menu action is offered again
    MenuChosen,         // an offered menu action that needs no target is chosen
    MenuTargetAwaited,  // an offered menu action waits for a card link in the board view
    MenuCollectionPicked,
    MenuPickCancelled,  // the deck manager closed without a pick: nothing changed
    CollectionEmpty,    // a collection target with no card to pick
};

// ulkBrowser1_HTMLClick: the board view.
ClickOutcome BoardClick(const std::string& href);
// CardDescULK_HTMLClick: the card view.
ClickOutcome CardViewClick(const std::string& href);
// ulkBrowser1_ViewerError.
void ViewerError(long number, const std::string& description);

}  // namespace dv::ui
