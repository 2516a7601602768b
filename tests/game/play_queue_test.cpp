#include "game/play_queue.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/model/files.h"
#include "engine/model/state.h"
#include "tests/support/engine_fixture.h"

namespace dv {
namespace {

using Queue = std::vector<std::pair<int, int>>;  // card and target of each queued slot

class PlayQueueTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        St().Players[1].Hand = List<Card>(12);
        for (int i = 1; i <= 12; ++i)
            St().Players[1].Hand[i].Name = "H" + std::to_string(i);
        for (int i = 1; i <= 4; ++i)
            PutInPlay("P" + std::to_string(i), 1000 + i);
    }

    static int PutInPlay(const std::string& name, int gid) {
        Card card;
        card.Name = name;
        card.GID = gid;
        return St().InPlay.PushBack(card);
    }

    static Queue Queued() {
        Queue q;
        for (int s = 1; s <= kQueueSlots; ++s) {
            if (St().ActionCards[s] == 0) {
                // Free slots follow the queued run and hold nothing.
                for (int t = s; t <= kQueueSlots; ++t) {
                    EXPECT_EQ(St().ActionCards[t], 0) << "slot " << t;
                    EXPECT_EQ(St().ActionTargets[t], 0) << "slot " << t;
                }
                break;
            }
            q.emplace_back(St().ActionCards[s], St().ActionTargets[s]);
        }
        return q;
    }

    // The body line of the page file the queued-plays page wrote.
    std::string PageBody() {
        const auto bytes = ReadWholeFile(Folder() / "Display.html");
        if (!bytes) return "<no page>";
        const std::size_t first = bytes->find("\r\n");
        const std::size_t second = bytes->find("\r\n", first + 2);
        const std::size_t end = bytes->rfind("\r\n</body></HTML>");
        if (end == second) return "";
        return bytes->substr(second + 2, end - second - 2);
    }
};

TEST_F(PlayQueueTest, ClicksToggleCardsAndCloseTheGaps) {
    struct Row {
        const char* name;
        std::vector<std::pair<int, int>> clicks;
        Queue queue;
        int choiceSlot;
    };
    const std::vector<std::pair<int, int>> ten = {{1, 1}, {2, 0},  {3, 0}, {4, 0}, {5, 0},
                                                  {6, 0}, {7, -1}, {8, 0}, {9, 2}, {10, 3}};
    auto plus = [&](std::vector<std::pair<int, int>> more) {
        auto all = ten;
        all.insert(all.end(), more.begin(), more.end());
        return all;
    };
    const Row rows[] = {
        {"middle card removed", {{1, 1}, {2, 2}, {3, -1}, {2, 4}}, {{1, 1}, {3, -1}}, 3},
        {"first card removed", {{1, 1}, {2, 2}, {3, 0}, {1, 0}}, {{2, 2}, {3, 0}}, 3},
        {"right click removes a queued play", {{5, 2}, {5, -1}}, {}, 1},
        {"queued again after removal", {{5, 2}, {5, -1}, {5, -1}}, {{5, -1}}, 1},
        {"ninth of ten removed",
         plus({{9, 0}}),
         {{1, 1}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, -1}, {8, 0}, {10, 3}},
         10},
        {"ninth queued again last",
         plus({{9, 0}, {9, 4}}),
         {{1, 1}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, -1}, {8, 0}, {10, 3}, {9, 4}},
         10},
        {"eleventh card ignored", plus({{11, 1}}), {ten.begin(), ten.end()}, 10},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ClearActions();
        for (auto [card, target] : r.clicks)
            AddAction(card, target);
        EXPECT_EQ(Queued(), r.queue);
        EXPECT_EQ(St().ChoiceSlot, r.choiceSlot);
    }
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(PlayQueueTest, QueuedCardCarriesItsTarget) {
    AddAction(4, 2);
    EXPECT_EQ(St().Players[1].Hand[4].PresetTarget, 2);
    EXPECT_EQ(St().Players[1].Hand[4].NextTarget, 2);
    SetActionTarget(1, 3);
    EXPECT_EQ(St().ActionTargets[1], 3);
    EXPECT_EQ(St().Players[1].Hand[4].PresetTarget, 3);
    EXPECT_EQ(QueuedTarget(1), 3);
    SetActionTarget(2, 3);  // a free slot takes no target
    EXPECT_EQ(St().ActionTargets[2], 0);
}

TEST_F(PlayQueueTest, TargetThatLeftPlayIsDropped) {
    AddAction(1, 2);   // P2 stays
    AddAction(2, 3);   // P3 dies
    AddAction(3, 4);   // P4 dies and another card takes its slot
    AddAction(4, -1);  // a discard has no target card
    St().InPlay[3].Name.clear();
    St().InPlay[4] = Card{};
    St().InPlay[4].Name = "Newcomer";
    St().InPlay[4].GID = 5555;

    EXPECT_EQ(QueuedTarget(1), 2);
    EXPECT_EQ(QueuedTarget(2), 0);
    EXPECT_EQ(QueuedTarget(3), 0);
    EXPECT_EQ(QueuedTarget(4), kDiscardTarget);

    DropStaleTargets();
    EXPECT_EQ(Queued(), (Queue{{1, 2}, {2, 0}, {3, 0}, {4, -1}}));
    EXPECT_EQ(St().Players[1].Hand[3].PresetTarget, 0);
    EXPECT_EQ(St().Players[1].Hand[3].NextTarget, 0);
    EXPECT_EQ(St().Players[1].Hand[1].PresetTarget, 2);
}

TEST_F(PlayQueueTest, TargetsMoveWithTheirPlaysWhenTheQueueCloses) {
    AddAction(1, 2);
    AddAction(2, 3);
    AddAction(1, 0);
    EXPECT_EQ(QueuedTarget(1), 3);
    St().InPlay[3].GID = 9;  // the card in slot 3 is now another card
    EXPECT_EQ(QueuedTarget(1), 0);
}

TEST_F(PlayQueueTest, HandIndexOutsideTheHandChangesNothing) {
    AddAction(1, 0);
    AddAction(40, 2);
    AddAction(300, 2);
    EXPECT_EQ(host.CountMessages("Error in AddAction"), 2);
    EXPECT_EQ(Queued(), (Queue{{1, 0}}));
    EXPECT_EQ(St().ChoiceSlot, 1);
}

TEST_F(PlayQueueTest, PageSaysWhatTheTurnWillDo) {
    struct Row {
        const char* name;
        void (*prepare)();
        const char* body;
    };
    const Row rows[] = {
        {"nothing queued", [] {}, ""},
        {"play on a card, play, discard",
         [] {
             AddAction(1, 2);
             AddAction(2, 0);
             AddAction(3, -1);
         },
         "Play <font color=#FFFFFF>H1</font> on <font color=#FFFFFF>P2</font><br>"
         "Play <font color=#FFFFFF>H2</font><br>Discard <font color=#FFFFFF>H3</font><br>"},
        {"target that left play",
         [] {
             AddAction(1, 2);
             St().InPlay[2].Name = "";
         },
         "Play <font color=#FFFFFF>H1</font><br>"},
        {"special actions of either side",
         [] {
             Card& own = St().InPlay[1];
             own.Colour = "#00FF00";
             own.Effects = List<Effect>(4);
             own.Effects[1].MenuState = MenuState::Chosen;
             own.Effects[1].MenuText = "Heal";
             own.Effects[2].MenuState = MenuState::Chosen;
             own.Effects[2].MenuText = "Zap";
             own.Effects[2].Target = 3;
             own.Effects[3].MenuState = MenuState::Offered;
             own.Effects[3].MenuText = "Not chosen";
             own.Effects[4].MenuState = MenuState::Chosen;
             own.Effects[4].MenuText = "Recall";
             own.Effects[4].TargetType = 10;
             Card& enemy = St().InPlay[4];
             enemy.Owner = 2;
             enemy.Effects = List<Effect>(2);
             enemy.Effects[1].MenuState = MenuState::Chosen;
             enemy.Effects[1].MenuText = "Roar";
             enemy.Effects[2].MenuState = MenuState::Chosen;
             enemy.Effects[2].MenuText = "Stomp";
         },
         "<font color=#00FF00>P1</font> uses special action \"Heal\"."
         "<font color=#00FF00>P1</font> uses special action \"Zap\" on \"P3\".<br>"
         "<font color=#00FF00>P1</font> uses special action \"Recall\" on one of the cards in "
         "their collection."
         "<font color=#FFFFFF>P4</font> uses special action \"Roar\"."
         "<font color=#FFFFFF>P4</font> uses special action \"Stomp\"."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ClearActions();
        for (Card& c : St().InPlay)
            c.Effects.Clear();
        St().InPlay[2].Name = "P2";
        r.prepare();
        host.pages.clear();
        DisplayActionList();
        EXPECT_EQ(PageBody(), r.body);
        ASSERT_EQ(host.pages.size(), 1u);
        EXPECT_EQ(host.pages[0].viewer, "InPlayulk");
        EXPECT_EQ(St().HTMLText, "");
    }
    EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace dv
