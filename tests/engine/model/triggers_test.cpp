#include "engine/model/triggers.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "engine/model/board_snapshot.h"
#include "tests/support/engine_fixture.h"

namespace dv {
namespace {

using Entry = std::pair<int32_t, int32_t>;  // card, effect

class TriggersTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        CreateBitLookup();
    }

    // Places a named card in play whose effects have the given triggers; returns its number.
    static int PlaceCard(const std::vector<std::string>& triggers,
                         const std::string& name = "Imp") {
        Card card;
        card.Name = name;
        for (const std::string& trigger : triggers) {
            Effect effect;
            effect.Trigger = trigger;
            effect.Text = "ECHO:hi";
            card.Effects.PushBack(effect);
        }
        return St().InPlay.PushBack(card);
    }

    static std::vector<Entry> Live(int trigger) {
        const TriggerSlot& slot = St().TriggerRegistry[trigger];
        std::vector<Entry> live;
        for (int k = 1; k <= slot.Cards.size(); ++k) {
            if (slot.Cards[k] != 0) live.emplace_back(slot.Cards[k], slot.Effects[k]);
        }
        return live;
    }

    static int Entries(int trigger) { return St().TriggerRegistry[trigger].Cards.size(); }

    static std::vector<Entry> LiveEverywhere() {
        std::vector<Entry> all;
        for (int t = 0; t <= 20; ++t) {
            for (const Entry& e : Live(t))
                all.push_back(e);
        }
        return all;
    }

    // Fills trigger slot `trigger` with `count` registrations of single-effect cards.
    static std::vector<int> Fill(const std::string& trigger, int count) {
        std::vector<int> cards;
        for (int i = 0; i < count; ++i) {
            cards.push_back(PlaceCard({trigger}));
            RegisterAction(cards.back(), 1, 0, 0);
        }
        return cards;
    }
};

TEST_F(TriggersTest, TriggerNamesAndNumbersConvertBothWays) {
    struct Row {
        const char* name;
        int number;
    };
    const Row rows[] = {{"PHASE1", 1},           {"phase3", 3},     {"PHASE10", 10},
                        {"TurnEnd", 11},         {"ONDEATH", 13},   {"ENTERPLAY", 14},
                        {"OTHERENTERSPLAY", 15}, {"TURNSTART", 16}, {"INTERCEPT", 17},
                        {"ENTERSPLAY", 0},       {"", 0},           {"COST", 0},
                        {"TRAITCHANGE:HP", 0},   {"PHASE11", 0},    {" PHASE1", 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(GetTriggerNum(r.name), r.number);
    }
    for (int n = 1; n <= 17; ++n) {
        if (n == 12) continue;
        EXPECT_EQ(GetTriggerNum(GetTriggerName(static_cast<uint8_t>(n))), n);
    }
    EXPECT_EQ(GetTriggerName(0), "");
    EXPECT_EQ(GetTriggerName(12), "");
    EXPECT_EQ(GetTriggerName(18), "");
    EXPECT_EQ(GetTriggerName(255), "");
}

TEST_F(TriggersTest, MaskPositionsAroundTheWordBoundaries) {
    struct Row {
        int position;
        int word;
        int32_t bit;
    };
    const Row rows[] = {
        {1, 1, 1},        {2, 1, 2},        {30, 1, 1 << 29}, {31, 2, 1 << 30},  {32, 2, 1},
        {61, 2, 1 << 29}, {62, 3, 1 << 30}, {63, 3, 1},       {217, 8, 1 << 30}, {240, 8, 1 << 22},
    };
    std::map<int, std::pair<int, int32_t>> got;
    for (int i = 1; i <= 240; ++i) {
        std::string name = "T" + std::to_string(i);
        int word = 0;
        int32_t bit = 0;
        gettraitmaskpos(name, word, bit);
        got[i] = {word, bit};
    }
    for (const Row& r : rows) {
        SCOPED_TRACE(r.position);
        EXPECT_EQ(got[r.position].first, r.word);
        EXPECT_EQ(got[r.position].second, r.bit);
    }
    std::set<std::pair<int, int32_t>> distinct;
    for (const auto& [i, pos] : got) {
        EXPECT_GE(pos.first, 1);
        EXPECT_LE(pos.first, 8);
        EXPECT_GT(pos.second, 0) << i;  // never the sign bit
        distinct.insert(pos);
    }
    EXPECT_EQ(distinct.size(), 240u);

    std::string full = "T241";
    int word = 0;
    int32_t bit = 77;
    gettraitmaskpos(full, word, bit);
    EXPECT_EQ(word, -1);
    EXPECT_EQ(bit, 77);
    EXPECT_EQ(St().TraitMaskNames.size(), 240);

    // Known names still find their place once the table is full.
    std::string known = "T31";
    gettraitmaskpos(known, word, bit);
    EXPECT_EQ(word, 2);
    EXPECT_EQ(bit, 1 << 30);
}

TEST_F(TriggersTest, MaskNamesKeyOnTheBaseNameWithExactCase) {
    auto position = [](std::string name) {
        int word = 0;
        int32_t bit = 0;
        gettraitmaskpos(name, word, bit);
        return std::make_pair(std::make_pair(word, bit), name);
    };
    const auto hp = position("HP");
    EXPECT_EQ(hp.first, std::make_pair(1, int32_t{1}));
    const auto withField = position("HP:extra");
    EXPECT_EQ(withField.second, "HP");  // cut in place
    EXPECT_EQ(withField.first, hp.first);
    EXPECT_NE(position("hp").first, hp.first);
    EXPECT_EQ(position("MANA").first, std::make_pair(1, int32_t{4}));

    // An empty name gets no position, so no later name can share one with it.
    const auto empty = position(":x");
    EXPECT_EQ(empty.first.first, -1);
    EXPECT_EQ(position("FLYING").first, std::make_pair(1, int32_t{8}));
}

TEST_F(TriggersTest, ActionMasksFollowTheRequirementHead) {
    auto bitOf = [](std::string name) {
        int word = 0;
        int32_t bit = 0;
        gettraitmaskpos(name, word, bit);
        return bit;
    };
    const int32_t hp = bitOf("HP");
    const int32_t mana = bitOf("MANA");
    const int32_t flying = bitOf("FLYING");

    struct Row {
        const char* script;
        int owner;
        int32_t targetHas, sourceHas, targetNot, sourceNot, traitBits, sideReq;
        int reqEffect;
    };
    const Row rows[] = {
        {"REQTRAIT:HP:MODTRAIT:HP:-1", 1, hp, 0, 0, 0, 0, 255, 0},
        {"REQMYTRAITMORE:MANA:3:REQNOTTRAIT:FLYING:DESTROY", 1, 0, mana, flying, 0, 0, 255, 0},
        {"CHANCE:50:REQTRAIT:HP:DESTROY", 1, hp, 0, 0, 0, 0, 255, 0},
        {"REQTRAITLESS:HP:5:REQTRAIT:MANA:DESTROY", 1, 0, 0, 0, 0, 0, 255, 0},
        {"REQMYNOTRAIT:HP:REQNOTRAIT:MANA", 1, 0, 0, mana, hp, 0, 255, 0},
        {"TRAIT:FLYING:1:REQTRAITIS:HP:3", 1, hp, 0, 0, 0, flying, 255, 0},
        {"REQALLY:REQTRAIT:HP", 1, hp, 0, 0, 0, 0, 1, 0},
        {"REQALLY", 2, 0, 0, 0, 0, 0, 2, 0},
        {"REQALLY", 0, 0, 0, 0, 0, 0, 255, 0},
        {"REQENEMY", 1, 0, 0, 0, 0, 0, 2, 0},
        {"REQENEMY", 2, 0, 0, 0, 0, 0, 1, 0},
        {"REQEFFECT:REQTRAIT:HP", 1, 0, 0, 0, 0, 0, 255, 1},
        {"AIREQTRAIT:HP", 1, 0, 0, 0, 0, 0, 255, 0},
        {"reqtrait:HP", 1, 0, 0, 0, 0, 0, 255, 0},
        {"", 1, 0, 0, 0, 0, 0, 255, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.script);
        Card card;
        card.Name = "Imp";
        card.Owner = static_cast<uint8_t>(r.owner);
        card.Effects.Resize(1);
        card.Effects[1].Text = r.script;
        SetActionMasks(card, 1);
        const Effect& e = card.Effects[1];
        EXPECT_EQ(e.ReqTargetHas[1], r.targetHas);
        EXPECT_EQ(e.ReqSourceHas[1], r.sourceHas);
        EXPECT_EQ(e.ReqTargetNot[1], r.targetNot);
        EXPECT_EQ(e.ReqSourceNot[1], r.sourceNot);
        EXPECT_EQ(e.TraitBits[1], r.traitBits);
        EXPECT_EQ(e.SideReq, r.sideReq);
        EXPECT_EQ(e.ReqEffect, r.reqEffect);
        EXPECT_EQ(card.SideMask, r.owner == 0 ? 4 : r.owner);
    }
}

TEST_F(TriggersTest, ReusedEffectSlotKeepsNoMaskOfItsFormerScript) {
    Card card;
    card.Name = "Imp";
    card.Owner = 1;
    card.Effects.Resize(1);
    card.Effects[1].Text = "REQEFFECT";
    SetActionMasks(card, 1);
    card.Effects[1].Text = "REQALLY:TRAIT:HP:1:REQTRAIT:MANA:REQMYTRAIT:FLYING:DESTROY";
    SetActionMasks(card, 1);
    ASSERT_NE(card.Effects[1].TraitBits[1], 0);
    ASSERT_EQ(card.Effects[1].SideReq, 1);
    EXPECT_EQ(card.Effects[1].ReqEffect, 0);

    card.Effects[1].Text = "DESTROY";
    SetActionMasks(card, 1);
    const Effect& e = card.Effects[1];
    EXPECT_EQ(e.TraitBits, MaskWords{});
    EXPECT_EQ(e.ReqTargetHas, MaskWords{});
    EXPECT_EQ(e.ReqSourceHas, MaskWords{});
    EXPECT_EQ(e.SideReq, 255);

    // A counter has no side requirement, whatever the slot held before.
    card.Effects[1].Text = "REQALLY:REQTRAIT:HP:CANCEL";
    SetActionMasks(card, 1);
    card.Effects[1].Trigger = "COUNTER";
    SetActionMasks(card, 1);
    EXPECT_EQ(card.Effects[1].ReqTargetHas, MaskWords{});
    EXPECT_EQ(card.Effects[1].SideReq, 0);
}

TEST_F(TriggersTest, EffectNumberZeroOnlyRefreshesTheSideMask) {
    Card card;
    card.Name = "Imp";
    card.Owner = 2;
    card.Effects.Resize(1);
    card.Effects[1].Text = "REQTRAIT:HP";
    card.Effects[1].SideReq = 9;
    SetActionMasks(card, 0);
    EXPECT_EQ(card.SideMask, 2);
    EXPECT_EQ(card.Effects[1].SideReq, 9);
    EXPECT_EQ(card.Effects[1].ReqTargetHas, MaskWords{});

    card.Owner = 7;
    SetActionMasks(card, 0);
    EXPECT_EQ(card.SideMask, 2);
    SetActionMasks(card, 4);  // no such effect
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(TriggersTest, ModActionMaskSetsTheChosenMask) {
    Card card;
    card.Name = "Imp";
    card.Effects.Resize(1);
    ModActionMask(card, 1, "HP", 0, 0);
    ModActionMask(card, 1, "MANA", 0, 1);
    ModActionMask(card, 1, "FLYING", 1, 0);
    ModActionMask(card, 1, "ARMOR:2", 1, 1);
    const Effect& e = card.Effects[1];
    EXPECT_EQ(e.ReqTargetHas[1], 1);
    EXPECT_EQ(e.ReqTargetNot[1], 2);
    EXPECT_EQ(e.ReqSourceHas[1], 4);
    EXPECT_EQ(e.ReqSourceNot[1], 8);
}

TEST_F(TriggersTest, RegistrationIsKeptOnceAndRemovalClearsEveryEntryOfTheCard) {
    const int a = PlaceCard({"PHASE1", "PHASE1", "ONDEATH"});
    const int b = PlaceCard({"PHASE1"});
    RegisterAction(a, 1, 0, 0);
    RegisterAction(a, 1, 0, 0);
    RegisterAction(a, 2, 0, 0);
    RegisterAction(b, 1, 0, 0);
    RegisterAction(a, 3, 0, 0);
    EXPECT_EQ(Live(1), (std::vector<Entry>{{a, 1}, {a, 2}, {b, 1}}));
    EXPECT_EQ(Live(13), (std::vector<Entry>{{a, 3}}));

    RegisterAction(a, 1, 1, 1);
    EXPECT_EQ(Live(1), (std::vector<Entry>{{b, 1}}));
    EXPECT_TRUE(Live(13).empty());

    // The holes are filled first, in order.
    const int c = PlaceCard({"PHASE1"});
    RegisterAction(c, 1, 0, 0);
    EXPECT_EQ(St().TriggerRegistry[1].Cards[1], c);

    // Replace without remove clears the card's other entries in that slot.
    RegisterAction(a, 1, 0, 0);
    RegisterAction(a, 2, 0, 0);
    RegisterAction(a, 2, 1, 0);
    EXPECT_EQ(Live(1), (std::vector<Entry>{{c, 1}, {a, 2}, {b, 1}}));

    // Nothing for card 0, effects past the end or an empty card slot.
    RegisterAction(0, 1, 0, 0);
    RegisterAction(b, 2, 0, 0);
    EXPECT_EQ(Live(1).size(), 3u);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(TriggersTest, NoRegistrationOutlivesItsCardOrEffect) {
    const int a = PlaceCard({"PHASE2", "INTERCEPT"});
    const int b = PlaceCard({"PHASE2"});
    RegisterAllActions();
    ASSERT_EQ(LiveEverywhere().size(), 3u);

    // The effect's slot is reused under another trigger.
    St().InPlay[a].Effects[1].Trigger = "TURNEND";
    RegisterAction(a, 1, 0, 0);
    EXPECT_EQ(Live(2), (std::vector<Entry>{{b, 1}}));
    EXPECT_EQ(Live(11), (std::vector<Entry>{{a, 1}}));

    // A deleted effect.
    St().InPlay[a].Effects[2].Text.clear();
    RegisterAllActions();
    EXPECT_TRUE(Live(17).empty());
    RegisterAction(a, 1, 0, 0);
    UnregisterAction(a, 1);
    EXPECT_TRUE(Live(11).empty());

    // A card renamed empty: registering it again, or any removal, takes it out.
    St().InPlay[a].Effects[2].Text = "ECHO:back";
    RegisterAllActions();
    St().InPlay[a].Name.clear();
    RegisterAction(a, 2, 1, 1);
    EXPECT_EQ(LiveEverywhere(), (std::vector<Entry>{{b, 1}}));

    // A card removed from play with no effect left to remove by.
    St().InPlay[b].Effects.Clear();
    UnregisterCard(b);
    EXPECT_TRUE(LiveEverywhere().empty());
    EXPECT_TRUE(host.messages.empty());
}

// Registering a card's effects whole must leave the registry as registering them one by one
// does, entry for entry, also when nearly all of them are in place already and also for a card
// with many effects: a card found in order must not keep a stray entry or miss one, and a new
// registration takes the hole it would have taken.
TEST_F(TriggersTest, RegisteringACardsEffectsMatchesRegisteringEachInTurn) {
    struct Case {
        const char* fault;
        void (*disturb)(int card, int other);
    };
    const Case cases[] = {
        {"a card already in order is changed", [](int, int) {}},
        {"an effect never registered is skipped", [](int a, int) { UnregisterAction(a, 2); }},
        {"an effect moved to another trigger stays under the old one too",
         [](int a, int) { St().InPlay[a].Effects[1].Trigger = "TURNEND"; }},
        {"a freed effect keeps its entry",
         [](int a, int) { St().InPlay[a].Effects[3].Text.clear(); }},
        {"a stray entry under an earlier trigger survives",
         [](int a, int) {
             St().TriggerRegistry[5].Cards.PushBack(a), St().TriggerRegistry[5].Effects.PushBack(2);
         }},
        {"a stray entry under a later trigger survives",
         [](int a, int) {
             St().TriggerRegistry[17].Cards.PushBack(a),
                 St().TriggerRegistry[17].Effects.PushBack(2);
         }},
        {"an unregistered card misses the hole another card left",
         [](int a, int other) {
             UnregisterCard(a);
             UnregisterCard(other);
         }},
    };
    // Effects past the third, so that a card with many of them is tried too.
    for (const int extra : {0, 40}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.fault) + ", extra effects " + std::to_string(extra));
            ResetState();
            const int other = PlaceCard({"PHASE2"});
            std::vector<std::string> triggers = {"PHASE2", "ONDEATH", "PHASE2"};
            for (int e = 0; e < extra; ++e)
                triggers.push_back(e % 3 == 0 ? "TURNEND" : e % 3 == 1 ? "" : "PHASE2");
            const int a = PlaceCard(triggers);
            St().InPlay[a].Index = a;
            RegisterAllActions();
            c.disturb(a, other);
            const Card card = St().InPlay[a];

            const auto before = St().TriggerRegistry;
            for (int e = 1; e <= card.Effects.size(); ++e)
                RegisterAction(a, e, 0, 0);
            const auto expected = St().TriggerRegistry;
            St().TriggerRegistry = before;

            RegisterEffects(card);
            for (int t = 0; t <= 20; ++t) {
                EXPECT_TRUE(St().TriggerRegistry[t].Cards == expected[t].Cards) << "slot " << t;
                EXPECT_TRUE(St().TriggerRegistry[t].Effects == expected[t].Effects) << "slot " << t;
            }
        }
    }
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(TriggersTest, GrowthPastTheReuseLimitLosesAndDoublesNothing) {
    std::vector<int> cards = Fill("PHASE5", 100);
    EXPECT_EQ(Entries(5), 100);  // the first filled the starting hole

    RegisterAction(cards[10], 1, 1, 1);
    RegisterAction(cards[20], 1, 1, 1);
    const int extra = PlaceCard({"PHASE5"});
    RegisterAction(extra, 1, 0, 0);
    EXPECT_EQ(Entries(5), 101);  // appended although there are holes
    EXPECT_EQ(St().TriggerRegistry[5].Cards[101], extra);

    // Registering again doubles nothing, even for entries past the limit.
    RegisterAction(extra, 1, 0, 0);
    RegisterAction(cards[99], 1, 0, 0);
    EXPECT_EQ(Entries(5), 101);

    std::multiset<int> expected(cards.begin(), cards.end());
    expected.erase(cards[10]);
    expected.erase(cards[20]);
    expected.insert(extra);
    std::multiset<int> live;
    for (const Entry& e : Live(5))
        live.insert(e.first);
    EXPECT_EQ(live, expected);

    // Removal reaches past the limit too.
    RegisterAction(extra, 1, 1, 1);
    for (const Entry& e : Live(5))
        EXPECT_NE(e.first, extra);
}

TEST_F(TriggersTest, ASlotAtItsCeilingPacksItsHolesKeepingTheOrder) {
    // Every other entry of a full slot is a hole left by a card that went out of play.
    TriggerSlot& slot = St().TriggerRegistry[6];
    slot.Cards.Resize(kMaxRegistryEntries);
    slot.Effects.Resize(kMaxRegistryEntries);
    std::vector<Entry> expected;
    for (int k = 1; k <= kMaxRegistryEntries; ++k) {
        const bool live = k % 2 == 0;
        slot.Cards[k] = live ? 1000 + k : 0;
        slot.Effects[k] = live ? 1 : 0;
        if (live) expected.emplace_back(1000 + k, 1);
    }
    const int extra = PlaceCard({"PHASE6"});
    RegisterAction(extra, 1, 0, 0);
    expected.emplace_back(extra, 1);
    EXPECT_EQ(Live(6), expected);
    EXPECT_EQ(Entries(6), kMaxRegistryEntries / 2 + 1);

    // A slot full of live entries refuses the next one cleanly.
    slot.Cards.Resize(kMaxRegistryEntries);
    slot.Effects.Resize(kMaxRegistryEntries);
    for (int k = 1; k <= kMaxRegistryEntries; ++k) {
        slot.Cards[k] = 5000 + k;
        slot.Effects[k] = 1;
    }
    const int late = PlaceCard({"PHASE6"});
    St().InPlay[late].Index = late;
    RegisterAction(late, 1, 0, 0);
    EXPECT_EQ(Entries(6), kMaxRegistryEntries);
    EXPECT_EQ(slot.Cards[kMaxRegistryEntries], 5000 + kMaxRegistryEntries);
    // Refused again, however it is asked, the slot stays untouched: packing it again for every
    // refusal once made each cost a walk and a copy of all its entries.
    const int32_t* const entries = std::as_const(slot.Cards).raw().data();
    BoardSnapshot snapshot;
    snapshot.Take();
    RegisterAction(late, 1, 0, 0);
    RegisterAction(late, 1, 1, 0);
    RegisterEffects(St().InPlay[late]);
    EXPECT_FALSE(St().RegistryKeeps[0].copied) << "a change of the registry was announced";
    snapshot.Release();
    EXPECT_EQ(std::as_const(slot.Cards).raw().data(), entries) << "the entries were rebuilt";
    EXPECT_EQ(Entries(6), kMaxRegistryEntries) << "refused again, whichever way it is asked";

    // A card leaving play opens a hole: the full slot takes a registration again.
    UnregisterCard(5000 + 7);
    RegisterAction(late, 1, 0, 0);
    EXPECT_EQ(Entries(6), kMaxRegistryEntries);
    EXPECT_EQ(slot.Cards[kMaxRegistryEntries], late);
    EXPECT_EQ(slot.Cards[7], 5000 + 8) << "packed, in order";
    const int later = PlaceCard({"PHASE6"});
    RegisterAction(later, 1, 0, 0);
    EXPECT_EQ(slot.Cards[kMaxRegistryEntries], late) << "full again";
    EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace dv
