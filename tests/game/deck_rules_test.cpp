#include "game/deck_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/model/cards.h"
#include "engine/model/state.h"
#include "engine/rules/trait_changes.h"
#include "tests/support/engine_fixture.h"

namespace dv {
namespace {

// A kind of card: name, unique name, traits written "NAME=value;NAME=value", copies in the deck.
struct Kind {
    std::string name;
    std::string unique;
    std::string traits;
    int copies = 1;
};

Card MakeCard(const Kind& kind) {
    Card card;
    card.Name = kind.name;
    InitCard(card, 1, 0);
    card.UniqueName = kind.unique;
    std::string rest = kind.traits;
    while (!rest.empty()) {
        const std::size_t cut = rest.find(';');
        const std::string pair = rest.substr(0, cut);
        rest = cut == std::string::npos ? "" : rest.substr(cut + 1);
        const std::size_t eq = pair.find('=');
        SetTrait(card, pair.substr(0, eq), eq == std::string::npos ? "" : pair.substr(eq + 1));
    }
    return card;
}

// Builds the collection and deck list 1 from the kinds, each card at its own collection index.
void BuildDeck(const std::vector<Kind>& kinds) {
    State& st = St();
    st.Collection = List<Card>(1);  // the first collection slot is free
    st.Decks = List<DeckList>(1);
    for (const Kind& kind : kinds) {
        for (int i = 0; i < kind.copies; ++i) {
            const int index = st.Collection.PushBack(MakeCard(kind));
            st.Decks[1].Positions.PushBack(static_cast<float>(index));
        }
    }
}

class DeckRulesTest : public test::EngineTest {};

TEST_F(DeckRulesTest, VerdictsAndMessagesForACardJoiningTheDeck) {
    struct Row {
        const char* name;
        std::vector<Kind> deck;
        Kind card;
        const char* rules;
        int verdict;
        const char* message;  // nullptr: left as it was
    };
    const Kind filler{"Filler", "filler", "POWER=1", 39};
    const Row rows[] = {
        {"LIMITED reached",
         {{"Dragon", "dragon", "LIMITED=2", 2}},
         {"Dragon", "dragon", "LIMITED=2"},
         "",
         0,
         "You cannot have more than 2 \"Dragon\" cards in your deck."},
        {"LIMITED not reached, rules walked",
         {{"Dragon", "dragon", "LIMITED=2", 1}},
         {"Dragon", "dragon", "LIMITED=2"},
         "TRAITLIMIT:#ANY#:1",
         0,
         "You can only have 1 cards in your deck."},
        {"card limit of 40 exceeded",
         {filler, {"Extra", "extra", "POWER=1"}},
         {"New", "new", "POWER=1"},
         "TRAITLIMIT:#ANY#:40",
         0,
         "You can only have 40 cards in your deck."},
        {"card limit of 40 reached",
         {filler},
         {"New", "new", "POWER=1"},
         "TRAITLIMIT:#ANY#:40",
         2,
         nullptr},
        {"trait limit exceeded",
         {{"Gob", "gob", "POWER=2", 2}},
         {"Orc", "orc", "POWER=2"},
         "TRAITLIMIT:power:5",
         0,
         "You can only have a total of 5 power in your deck."},
        {"copies limit",
         {{"Goblin", "gob", "POWER=1", 4}},
         {"Goblin", "gob", "POWER=1"},
         "SAMENAMELIMIT:#ANY#:4",
         0,
         "You can only have 4 \"Goblin\" cards in your deck."},
        {"same-name trait limit",
         {{"Goblin", "gob", "POWER=3", 1}, {"Other", "oth", "POWER=9"}},
         {"Goblin", "gob", "POWER=3"},
         "SAMENAMELIMIT:POWER:5",
         0,
         "You can only have a total of 5 POWER in your deck from \"Goblin\" cards."},
        {"LIMITED card exempt from the copies limit",
         {{"Dragon", "dragon", "LIMITED=5", 4}},
         {"Dragon", "dragon", "LIMITED=5"},
         "SAMENAMELIMIT:#ANY#:4",
         2,
         nullptr},
        {"missed minimum then exceeded limit",
         {{"Gob", "gob", "POWER=2", 3}},
         {"Orc", "orc", "POWER=2"},
         "TRAITMINIMUM:#ANY#:40:TRAITLIMIT:POWER:5",
         0,
         "You can only have a total of 5 POWER in your deck."},
        {"last missed minimum stands",
         {{"Gob", "gob", "POWER=2", 3}},
         {"Orc", "orc", "POWER=2"},
         "TRAITMINIMUM:MAGIC:3:TRAITMINIMUM:#ANY#:40:TRAITLIMIT:POWER:50",
         1,
         "You must have at least 40 cards in your play deck."},
        {"minimum of a trait",
         {{"Gob", "gob", "POWER=2", 3}},
         {"Orc", "orc", "POWER=2"},
         "TRAITMINIMUM:MAGIC:3",
         1,
         "You must have at least 3 cards in your deck with the MAGIC trait."},
        {"UNLIMITED card in a broken deck",
         {{"Gob", "gob", "POWER=2", 9}},
         {"Joker", "joker", "UNLIMITED"},
         "TRAITLIMIT:#ANY#:1:TRAITMINIMUM:#ANY#:60",
         -1,
         nullptr},
        {"words that are no rule are skipped",
         {{"Gob", "gob", "POWER=1", 2}},
         {"Orc", "orc", "POWER=1"},
         "COMMENT:NOTE:TRAITLIMIT:#ANY#:2",
         0,
         "You can only have 2 cards in your deck."},
        {"walk ends at an empty rule word",
         {{"Gob", "gob", "POWER=1", 2}},
         {"Orc", "orc", "POWER=1"},
         "::TRAITLIMIT:#ANY#:2",
         2,
         nullptr},
        {"limit shown as written",
         {{"Gob", "gob", "POWER=1", 2}},
         {"Orc", "orc", "POWER=1"},
         "TRAITLIMIT:#ANY#:2 cards",
         0,
         "You can only have 2 cards cards in your deck."},
        {"empty rules", {{"Gob", "gob", "POWER=1", 80}}, {"Orc", "orc", "POWER=1"}, "", 2, nullptr},
        // Copies of a card without a unique name are known by its name, not by every card.
        {"no unique name, other cards",
         {{"Gob", "", "POWER=1", 5}},
         {"Orc", "", "POWER=1"},
         "SAMENAMELIMIT:#ANY#:2",
         2,
         nullptr},
        {"no unique name, copies",
         {{"Orc", "", "POWER=1", 2}, {"Gob", "", "POWER=1", 5}},
         {"Orc", "", "POWER=1"},
         "SAMENAMELIMIT:#ANY#:2",
         0,
         "You can only have 2 \"Orc\" cards in your deck."},
        {"no unique name, LIMITED",
         {{"Gob", "", "POWER=1", 5}},
         {"Wyrm", "", "LIMITED=1"},
         "",
         2,
         nullptr},
        // A real card without traits was once taken for the whole-deck check and not counted.
        {"card without traits past the card limit",
         {{"Plain", "plain", "", 3}},
         {"Plain", "plain", ""},
         "TRAITLIMIT:#ANY#:3",
         0,
         "You can only have 3 cards in your deck."},
        {"card without traits past the copies limit",
         {{"Plain", "plain", "", 3}},
         {"Plain", "plain", ""},
         "SAMENAMELIMIT:#ANY#:3",
         0,
         "You can only have 3 \"Plain\" cards in your deck."},
        {"card without traits within the limits",
         {{"Plain", "plain", "", 2}},
         {"Plain", "plain", ""},
         "TRAITLIMIT:#ANY#:3:SAMENAMELIMIT:#ANY#:3",
         2,
         nullptr},
        {"card without traits reaching the minimum",
         {{"Plain", "plain", "", 3}},
         {"Plain", "plain", ""},
         "TRAITMINIMUM:#ANY#:4",
         2,
         nullptr},
        // A total past 32 bits once wrapped to -2147483648, which met any limit.
        {"trait total past 32 bits",
         {{"Titan", "titan", "POWER=3000000000"}},
         {"Orc", "orc", "POWER=1"},
         "TRAITLIMIT:POWER:60",
         0,
         "You can only have a total of 60 POWER in your deck."},
        {"card without traits adds nothing to a trait",
         {{"Gob", "gob", "POWER=2", 2}},
         {"Plain", "plain", ""},
         "TRAITLIMIT:POWER:4:TRAITMINIMUM:POWER:5",
         1,
         "You must have at least 5 cards in your deck with the POWER trait."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        BuildDeck(r.deck);
        std::string message = "old";
        EXPECT_EQ(CheckTraitReqs(MakeCard(r.card), 1, r.rules, message), r.verdict);
        EXPECT_EQ(message, r.message ? r.message : "old");
    }
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(DeckRulesTest, WholeDeckIsMeasuredAsItStands) {
    struct Row {
        const char* name;
        std::vector<Kind> deck;
        const char* rules;
        int verdict;
        const char* message;
    };
    const Row rows[] = {
        {"exactly the card limit", {{"F", "f", "POWER=1", 40}}, "TRAITLIMIT:#ANY#:40", 2, nullptr},
        {"one over the card limit",
         {{"F", "f", "POWER=1", 41}},
         "TRAITLIMIT:#ANY#:40",
         0,
         "You can only have 40 cards in your deck."},
        {"one short of the minimum",
         {{"F", "f", "POWER=1", 39}},
         "TRAITMINIMUM:#ANY#:40",
         1,
         "You must have at least 40 cards in your play deck."},
        {"exactly the minimum", {{"F", "f", "POWER=1", 40}}, "TRAITMINIMUM:#ANY#:40", 2, nullptr},
        {"trait total", {{"F", "f", "POWER=2", 3}}, "TRAITLIMIT:POWER:6", 2, nullptr},
        {"many different cards within the copies limit",
         {{"A", "a", "", 4}, {"B", "b", "", 4}, {"C", "", "", 4}},
         "SAMENAMELIMIT:#ANY#:4",
         2,
         nullptr},
        {"too many copies of one card",
         {{"A", "a", "", 4}, {"B", "b", "", 5}},
         "SAMENAMELIMIT:#ANY#:4",
         0,
         "You can only have 4 \"B\" cards in your deck."},
        {"LIMITED copies answer to their own limit",
         {{"D", "d", "LIMITED=6", 6}},
         "SAMENAMELIMIT:#ANY#:4",
         2,
         nullptr},
        {"a total past 32 bits",
         {{"T", "t", "POWER=3000000000"}},
         "TRAITLIMIT:POWER:60",
         0,
         "You can only have a total of 60 POWER in your deck."},
        {"a total below -2^31",
         {{"T", "t", "POWER=-3000000000"}},
         "TRAITMINIMUM:POWER:-60",
         1,
         "You must have at least -60 cards in your deck with the POWER trait."},
        {"copies' total past 32 bits",
         {{"T", "t", "POWER=1500000000", 2}},
         "SAMENAMELIMIT:POWER:60",
         0,
         "You can only have a total of 60 POWER in your deck from \"T\" cards."},
        {"LIMITED copies over their own limit",
         {{"D", "d", "LIMITED=2", 3}},
         "",
         0,
         "You cannot have more than 2 \"D\" cards in your deck."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        BuildDeck(r.deck);
        std::string message = "old";
        EXPECT_EQ(CheckDeckRules(1, r.rules, message), r.verdict);
        EXPECT_EQ(message, r.message ? r.message : "old");
    }
}

TEST_F(DeckRulesTest, CardTestAndViewModesAcceptEveryCard) {
    BuildDeck({{"F", "f", "POWER=1", 41}});
    for (uint8_t mode : {2, 3}) {
        St().DeckManagerMode = mode;
        std::string message;
        EXPECT_EQ(
            CheckTraitReqs(MakeCard({"J", "j", "UNLIMITED"}), 1, "TRAITLIMIT:#ANY#:1", message), 2);
        EXPECT_EQ(CheckDeckRules(1, "TRAITLIMIT:#ANY#:1", message), 2);
        EXPECT_EQ(message, "");
    }
}

TEST_F(DeckRulesTest, DeckTotalCountsOnlyRealCards) {
    BuildDeck({{"A", "a", "POWER=0.5"}, {"B", "b", "POWER=2"}, {"C", "c", "MAGIC=1"}});
    DeckList& deck = St().Decks[1];
    deck.Positions.PushBack(0);     // no card
    deck.Positions.PushBack(99);    // beyond the collection
    deck.Positions.PushBack(1);     // the free first slot
    deck.Positions.PushBack(2.4f);  // the nearest index, 2
    EXPECT_EQ(GetDeckTraitTotal("#ANY#", 1, ""), 4);
    EXPECT_EQ(GetDeckTraitTotal("POWER", 1, ""), 3);  // 0.5 + 2 + 0.5 = 3
    EXPECT_EQ(GetDeckTraitTotal("POWER", 1, "b"), 2);
    EXPECT_EQ(GetDeckTraitTotal("magic", 1, ""), 1);

    BuildDeck({{"A", "a", "POWER=0.5"}, {"B", "b", "POWER=2"}});
    EXPECT_EQ(GetDeckTraitTotal("POWER", 1, ""), 2);  // 2.5 rounds to the even 2
    BuildDeck({{"A", "a", "POWER=1.5"}, {"B", "b", "POWER=2"}});
    EXPECT_EQ(GetDeckTraitTotal("POWER", 1, ""), 4);  // 3.5 rounds to the even 4
    // Totals past 32 bits stand at the nearer end rather than wrap.
    BuildDeck({{"A", "a", "POWER=3000000000"}, {"B", "b", "POWER=99999999999999999999"}});
    EXPECT_EQ(GetDeckTraitTotal("POWER", 1, ""), 2147483647);
    BuildDeck({{"A", "a", "POWER=-3000000000"}});
    EXPECT_EQ(GetDeckTraitTotal("POWER", 1, ""), -2147483648LL);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(DeckRulesTest, CheckOfAMissingDeckRefuses) {
    BuildDeck({});
    std::string message = "old";
    EXPECT_EQ(CheckTraitReqs(MakeCard({"A", "a", "POWER=1"}), 5, "TRAITLIMIT:#ANY#:40", message),
              0);
    EXPECT_EQ(host.CountMessages("Error in CheckTraitReqs"), 1);
    EXPECT_EQ(CheckDeckRules(5, "TRAITLIMIT:#ANY#:40", message), 0);
    EXPECT_EQ(host.CountMessages("Error in CheckDeckRules"), 1);
}

}  // namespace
}  // namespace dv
