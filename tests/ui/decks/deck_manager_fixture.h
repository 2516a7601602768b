#pragma once
// The deck manager's logic in a program folder of its own, with scripted dialogs: a collection and
// deck lists in a line or two, and the window's part (closing after a handler closed it) played
// by the fixture.

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "engine/model/cards.h"
#include "engine/model/state.h"
#include "engine/rules/trait_changes.h"
#include "tests/support/dialogs_fixture.h"
#include "ui/common/dialogs.h"
#include "ui/decks/deck_manager_logic.h"

namespace dv::test {

class DeckManagerTest : public DialogsTest {
  protected:
    void SetUp() override {
        DialogsTest::SetUp();
        St().FixedNow = "2024-05-01 10:00:00";
        St().Players[1].Id = 1;
    }

    // A card keyed by its name; its thumbnail location names it, so that a pane shows which card
    // it draws.
    static Card Owned(const std::string& name, int32_t gid, int rarity = 0,
                      std::initializer_list<std::pair<const char*, const char*>> traits = {}) {
        Card card;
        InitCard(card, 1, 0);
        card.Name = name;
        card.UniqueName = name;
        card.GID = gid;
        card.Rarity = static_cast<uint8_t>(rarity);
        card.Thumbnail = name + "-mini.jpg";
        card.ThumbnailUrl = "thumb:" + name;
        for (const auto& [trait, value] : traits)
            SetTrait(card, trait, value, 1);
        return card;
    }
    // Cards "c1" to "cn" carrying the identifiers 1 to n.
    static std::vector<Card> Numbered(int n) {
        std::vector<Card> cards;
        for (int i = 1; i <= n; ++i)
            cards.push_back(Owned("c" + std::to_string(i), i));
        return cards;
    }
    static List<Card> ListOf(const std::vector<Card>& cards) {
        List<Card> list;
        for (const Card& card : cards)
            list.PushBack(card);
        return list;
    }
    void SetCollection(const std::vector<Card>& cards) { St().Collection = ListOf(cards); }
    // Deck list n (the lists before it are made empty when missing).
    void SetDeck(int n, const std::string& name, std::vector<int32_t> ids) {
        auto& decks = St().Decks;
        while (decks.size() < n)
            decks.PushBack(DeckList{"", {0}, {0}});
        if (ids.empty()) ids.push_back(0);
        decks[n] = DeckList{name, {}, {}};
        for (int32_t id : ids) {
            decks[n].CardIds.PushBack(id);
            decks[n].Positions.PushBack(0);
        }
    }
    std::vector<int32_t> DeckIds(int n) const {
        const auto& ids = St().Decks[n].CardIds;
        return {ids.begin(), ids.end()};
    }

    // The names a pane shows, in slot order; a kept slot shows as "=".
    static std::vector<std::string> Shown(const std::array<ui::SlotDraw, kPaneSlots>& pane) {
        std::vector<std::string> names;
        for (const ui::SlotDraw& slot : pane) {
            if (slot.change == ui::SlotDraw::Change::Keep) names.push_back("=");
            if (slot.change != ui::SlotDraw::Change::Show) continue;
            const std::string picture = slot.picture.value_or("(kept)");
            names.push_back(picture.rfind("thumb:", 0) == 0 ? picture.substr(6) : picture);
        }
        return names;
    }

    // The game "Zeta" (in `folder`, when given) chosen by the profile "Guest": its player file
    // is "Zeta_Guest.plr".
    static void PlayZetaAsGuest(const std::string& folder = "") {
        State& st = St();
        st.Games = List<GameInfo>(1);
        st.Games[1].Name = "Zeta";
        st.Games[1].Folder = folder;
        st.CurrentGame = 1;
        st.CurrentProfile.Name = "Guest";
    }

    // Plays the window's part: a handler's outcome is applied, and a close runs the closing
    // the handler decided.
    ui::DeckOutcome Apply(ui::DeckOutcome out) {
        if (out.view) view = *out.view;
        if (out.page) pages.push_back(*out.page);
        if (out.close) closed = logic.Closing(true);
        return out;
    }
    // The close box.
    bool CloseBox() {
        closed = logic.Closing(false);
        return closed;
    }

    ui::DeckManagerLogic logic;
    ui::DeckView view;
    std::vector<std::string> pages;
    // The description viewer: a page shown loads at once.
    const ui::PageShow viewer = [this](const std::string& location) { pages.push_back(location); };
    bool closed = false;
};

}  // namespace dv::test
