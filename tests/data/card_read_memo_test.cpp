// Reads of card files are kept and done again from memory. A repeated read must leave the game
// exactly as reading the file afresh does, and a file changed on disk must be read anew.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "data/card_files.h"
#include "engine/interpreter/run_budget.h"
#include "engine/model/board_snapshot.h"
#include "engine/model/files.h"
#include "engine/model/hands_and_decks.h"
#include "engine/model/state.h"
#include "engine/model/triggers.h"
#include "tests/support/engine_fixture.h"

namespace dv {
namespace {

const char* const kDeck =
    "#GAMEFILE, Some.gam\r\n#DECKRULES, rules\r\n#TOKENS, 40\r\n"
    "#CARD, INDECK, \"Imp\", \"imp:5\", , imp.jpg, imp-mini.jpg, #FF0000, \"An imp.\"\r\n"
    "#TRAIT, \"HP:3\", #TRAIT, \"FIRE:\", \r\n"
    "#EFFECT, OWNER, COST, \"REQTRAITMORE:GLOW:1:MODTRAIT:GLOW:-1\"\r\n"
    "#EFFECT, ALL, PHASE1, \"REQTRAIT:WATER:REQNOTTRAIT:FIRE:TRAIT:ELEMENT:AIR:ECHO:$MYNAME\"\r\n"
    "#EXTRADATA, 5, TURNSTART, , %%%0%0%0%0%0%0%0%0, \r\n"
    "#CARD, COLLECTION, \"Elf\", \"elf:6\", , elf.jpg:http://x/elf.jpg, , , \"An elf.\"\r\n"
    "#TRAIT, \"WATER:2\", \r\n"
    "#DECK, Mine\r\n5\r\n6\r\n#ENDOFDECK\r\n";

class CardReadMemoTest : public test::EngineTest {
  protected:
    // What a read leaves that a repeated one must give alike.
    struct Outcome {
        List<Card> cards;
        List<Card> deck;
        List<DeckList> decks;
        std::vector<std::string> maskNames;
        double nextDraw = 0;
        int tokens = 0;
        std::string gameFile;
        uint8_t traitChanged = 0;
    };

    // Reads the deck file with the trait mask table holding the names given before it.
    // The side and zone override are the reader's.
    Outcome Read(const std::vector<std::string>& namesBefore = {}, int side = 1,
                 const std::string& zone = "") {
        State& st = St();
        Player& player = st.Players[side];
        player.Id = static_cast<uint8_t>(side);
        player.Deck = List<Card>(1);
        st.TraitMaskNames = List<TraitMaskName>(1);
        for (const std::string& name : namesBefore) {
            std::string cut = name;
            int word = 0;
            int32_t bit = 0;
            gettraitmaskpos(cut, word, bit);
        }
        st.TraitChanged = 0;
        st.Random.Seed(7);
        List<Card> cards;
        EXPECT_TRUE(ReadCards(cards, "deck.txt", player, zone));
        Outcome o{cards,         player.Deck, st.Decks,       {}, st.Random.Draw(),
                  player.Tokens, st.GameFile, st.TraitChanged};
        for (const TraitMaskName& name : st.TraitMaskNames)
            o.maskNames.push_back(name.Name);
        return o;
    }

    // The deck card of that name; the read shuffles the deck.
    static const Card& InDeck(const Outcome& o, const std::string& name) {
        for (const Card& card : o.deck)
            if (card.Name == name) return card;
        static const Card none;
        return none;
    }

    static void ExpectSame(const Outcome& a, const Outcome& b) {
        ASSERT_EQ(a.cards.size(), b.cards.size());
        for (int i = 1; i <= a.cards.size(); ++i)
            EXPECT_TRUE(IdenticalCards(a.cards[i], b.cards[i])) << "card " << i;
        ASSERT_EQ(a.deck.size(), b.deck.size());
        for (int i = 1; i <= a.deck.size(); ++i)
            EXPECT_TRUE(IdenticalCards(a.deck[i], b.deck[i])) << "deck card " << i;
        EXPECT_TRUE(a.decks.size() == b.decks.size() && a.decks[1].CardIds == b.decks[1].CardIds);
        EXPECT_EQ(a.maskNames, b.maskNames);
        EXPECT_EQ(a.nextDraw, b.nextDraw) << "the generator moved on otherwise";
        EXPECT_EQ(a.tokens, b.tokens);
        EXPECT_EQ(a.gameFile, b.gameFile);
        EXPECT_EQ(a.traitChanged, b.traitChanged);
    }
};

TEST_F(CardReadMemoTest, ARepeatedReadLeavesTheGameAsAFreshOne) {
    WriteFile("deck.txt", kDeck);
    const Outcome fresh = Read();
    ASSERT_EQ(St().CardReadMemos.size(), 1u) << "the read was kept";
    EXPECT_EQ(InDeck(fresh, "Imp").GID, 5);
    EXPECT_EQ(fresh.cards[1].Name, "Elf");
    EXPECT_EQ(fresh.traitChanged, 1);
    ExpectSame(Read(), fresh);
}

// Each spelling of one file's name was a read and a memo of its own.
TEST_F(CardReadMemoTest, AReadIsKeptByTheFileFoundHoweverItsNameIsSpelt) {
    WriteFile("deck.txt", kDeck);
    Player& player = St().Players[1];
    player.Id = 1;
    for (const char* spelling : {"deck.txt", "./deck.txt", "././deck.txt", ".//deck.txt"}) {
        SCOPED_TRACE(spelling);
        List<Card> cards;
        player.Deck = List<Card>(1);
        EXPECT_TRUE(ReadCards(cards, spelling, player));
        EXPECT_EQ(St().CardReadMemos.size(), 1u);
    }
}

TEST_F(CardReadMemoTest, AFileChangedOnDiskIsReadAnew) {
    WriteFile("deck.txt", kDeck);
    Read();
    std::string changed = kDeck;
    changed.replace(changed.find("An imp."), 7, "A newt.");
    WriteFile("deck.txt", changed);
    const Outcome again = Read();
    EXPECT_EQ(InDeck(again, "Imp").Description, "A newt.");
    St().CardReadMemos.clear();
    ExpectSame(again, Read());
}

// The trait mask positions a read hands out depend on the names handed out before it; a repeat
// under other names must give the cards the bits a fresh read would.
TEST_F(CardReadMemoTest, OtherMaskNamesBeforeTheReadGiveTheBitsAFreshReadGives) {
    const std::vector<std::vector<std::string>> befores = {
        {}, {"EARTH"}, {"FIRE", "EARTH", "WATER"}, {"WATER", "HP", "GLOW"}};
    WriteFile("deck.txt", kDeck);
    for (const auto& kept : befores) {
        for (const auto& now : befores) {
            St().CardReadMemos.clear();
            Read(kept);
            // A repeat moves the bits of what it builds only.
            MaskWords untouched;
            untouched.fill(-1);
            St().RulesCard.TraitMask = untouched;
            St().CostCard.TraitMask = untouched;
            const Outcome repeated = Read(now);
            EXPECT_EQ(St().RulesCard.TraitMask, untouched);
            EXPECT_EQ(St().CostCard.TraitMask, untouched);
            ASSERT_EQ(St().CardReadMemos.size(), 1u);
            St().CardReadMemos.clear();
            const Outcome fresh = Read(now);
            ExpectSame(repeated, fresh);
            EXPECT_NE(InDeck(fresh, "Imp").TraitMask, MaskWords{});
        }
    }
}

// A deck file is read for either side and with or without a zone override; a repeat under other
// ones must give what a fresh read gives, the side requirements of "REQALLY" included.
TEST_F(CardReadMemoTest, ARepeatForTheOtherSideOrZoneGivesWhatAFreshReadGives) {
    const std::string sided = std::string(kDeck) +
                              "#CARD, INDECK, \"Orc\", \"orc:7\", , , , , \"\"\r\n" +
                              "#EFFECT, ALL, PHASE1, \"REQALLY:REQTRAIT:FIRE:ECHO:$MYNAME\"\r\n" +
                              "#CARD, #PLAYERCARD, \"Hero\", \"hero:9\", , , , , \"\"\r\n";
    const std::string withUnknownZone =
        sided + "#CARD, SIDEBOARD, \"Bat\", \"bat:8\", , , , , \"\"\r\n";
    const std::vector<std::pair<int, std::string>> reads = {
        {1, ""}, {2, ""}, {1, "#INDECK"}, {2, "#INDECK"}, {1, "INPLAYERDECK:1"}};
    for (const std::string& text : {sided, withUnknownZone}) {
        WriteFile("deck.txt", text);
        for (const auto& [keptSide, keptZone] : reads) {
            for (const auto& [side, zone] : reads) {
                SCOPED_TRACE(keptZone + " " + std::to_string(keptSide) + " then " + zone + " " +
                             std::to_string(side));
                St().CardReadMemos.clear();
                Read({}, keptSide, keptZone);
                const Outcome repeated = Read({}, side, zone);
                St().CardReadMemos.clear();
                const Outcome fresh = Read({}, side, zone);
                ExpectSame(repeated, fresh);
            }
        }
    }
    WriteFile("deck.txt", sided);
    St().CardReadMemos.clear();
    Read({}, 1, "INPLAYERDECK:1");
    const Outcome other = Read({}, 2, "#INDECK");
    EXPECT_EQ(St().CardReadMemos.size(), 1u) << "the other side's read was done from memory";
    EXPECT_EQ(InDeck(other, "Orc").Effects[1].SideReq, 2);
    EXPECT_EQ(InDeck(other, "Orc").Owner, 2);
}

// A game file sets up the rules and cost cards afresh, adds trait actions and random texts; a
// repeat must leave them as a fresh read does, identifiers drawn included.
TEST_F(CardReadMemoTest, ARepeatedGameFileSetsUpWhatAFreshReadSetsUp) {
    WriteFile("game.gam",
              "#RULESCARD\r\n#EFFECT, SELF, GAMESTART, \"REQTRAIT:FIRE:ECHOMINOR:hello\"\r\n"
              "#TRAIT, \"HP:5\", \r\n"
              "#CUSTOMSTRING, Names, Ann\r\n#CUSTOMSTRING, Names, Bob\r\n"
              "#TRAITACTION, FIRE\r\n#EFFECT, SELF, TURNSTART, \"TRAIT:HEAT:1:ECHO:x\"\r\n"
              "#COSTCARD\r\n#EFFECT, SELF, COST, \"ECHO:pay\"\r\n"
              "#TRAITACTION, ICE\r\n#EFFECT, SELF, TURNSTART, \"ECHO:y\"\r\n");
    struct Outcome {
        Card rules, cost;
        List<Card> actions;
        List<RandomStringList> strings;
        double nextDraw;
    };
    auto read = [&](int seed) {
        State& st = St();
        st.TraitActions = List<Card>(1);
        st.RandomStringLists = List<RandomStringList>(1);
        st.TraitMaskNames = List<TraitMaskName>(1);
        st.RulesCard = Card{};
        st.CostCard = Card{};
        st.Random.Seed(seed);
        List<Card> cards;
        EXPECT_TRUE(ReadCards(cards, "game.gam", st.LoadPlayer));
        return Outcome{st.RulesCard, st.CostCard, st.TraitActions, st.RandomStringLists,
                       st.Random.Draw()};
    };
    St().CardReadMemos.clear();
    read(3);
    ASSERT_EQ(St().CardReadMemos.size(), 1u) << "the read was kept";
    const Outcome repeated = read(11);
    St().CardReadMemos.clear();
    const Outcome fresh = read(11);
    EXPECT_TRUE(repeated.rules == fresh.rules);
    EXPECT_TRUE(repeated.cost == fresh.cost);
    EXPECT_TRUE(repeated.actions == fresh.actions);
    EXPECT_EQ(repeated.strings[1].Strings, fresh.strings[1].Strings);
    EXPECT_EQ(repeated.nextDraw, fresh.nextDraw);
    EXPECT_NE(fresh.rules.GID, fresh.cost.GID);

    // A rules card changed since is set up from what it holds now: the file is read again.
    St().RulesCard.Dead = 1;
    St().CardReadMemos.clear();
    read(3);
    St().RulesCard.Mods = "changed";
    List<Card> cards;
    const std::size_t kept = St().CardReadMemos.size();
    ReadCards(cards, "game.gam", St().LoadPlayer);
    EXPECT_EQ(St().RulesCard.Mods, "changed") << "setting up keeps the card's mods";
    EXPECT_EQ(St().CardReadMemos.size(), kept + 1) << "read again, not repeated";
}

// Reads that place cards in play, draw identifiers or say something are never kept.
TEST_F(CardReadMemoTest, ReadsAMemoCannotRepeatAreNotKept) {
    const char* const files[] = {
        "#CARD, INPLAY, \"Imp\", \"imp:5\", , , , , \"\"\r\n",
        "#CARD, INDECK, \"Imp\", \"imp\", , , , , \"\"\r\n",
        "#CARD, INDECK, \"Imp\", \"imp:5\", , , , , \"\"\r\n#TRAITACTIONDESC, NOPE, x\r\n",
        "#CARD, INDECK, \"Imp\", \"imp:5\", , , , , \"\"\r\n#DUPLICATE, 2\r\n",
        "#RULESCARD\r\n#TRAIT, \"TRAITGRAPHIC:a:b:c\"\r\n",
    };
    for (const char* text : files) {
        SCOPED_TRACE(text);
        WriteFile("deck.txt", text);
        List<Card> cards;
        ReadCards(cards, "deck.txt", St().Players[1]);
        EXPECT_TRUE(St().CardReadMemos.empty());
    }
}

// CREATECARD did the whole kept read of its set again for each card it made, every card of the
// set copied and the deck shuffled: a turn that made a hundred cards from a set of 20,000 took
// seconds. The card taken is placed alone, and is the one, with the same draws, that the whole
// read gives: the first of its name in the deck as shuffled, whatever the deck held before.
TEST_F(CardReadMemoTest, ACardTakenFromAKeptSetIsTheOneTheWholeReadGivesAndIsPlacedAlone) {
    constexpr int kSetCards = 300;
    const char* const names[] = {"Orc", "Elf", "Imp", "Gnoll"};
    std::string set = "#GAMEFILE, Set.gam\r\n";
    for (int c = 1; c <= kSetCards; ++c) {
        // Every other card draws its identifier.
        const std::string unique = c % 2 == 0 ? "u" + std::to_string(c) : "";
        set += "#CARD, INDECK, \"" + std::string(names[c % 4]) + "\", \"" + unique +
               "\", , , , , \"\"\r\n#TRAIT, \"HP:" + std::to_string(c) + "\", #TRAIT, \"KIN" +
               std::to_string(c % 7) + ":\", \r\n";
    }
    set += "#CARD, INDECK, \"Ogre\", \"\", , , , , \"\"\r\n";
    WriteFile("set.txt", set);
    struct Row {
        const char* name;
        bool inDeckBefore;  // the player's deck holds a card of that name before the read
    };
    const Row rows[] = {
        {"Orc", false}, {"Ogre", false}, {"u10", false}, {"Troll", false}, {"Orc", true}};
    auto start = [](Player& player, bool inDeckBefore) {
        InitPlayer(player, 4);
        if (inDeckBefore) player.Deck[player.Deck.PushBack(Card{})].Name = "Orc";
    };
    for (const Row& r : rows) {
        for (int seed = 1; seed <= 20; ++seed) {
            SCOPED_TRACE(std::string(r.name) + " under seed " + std::to_string(seed));
            State& st = St();
            st.KeptSetReads.clear();
            st.GameFile.clear();
            st.Random.Seed(seed);
            // Seeding keeps the count of draws: each read's are counted from its start.
            uint64_t first = st.Random.Draws();
            Player whole;
            start(whole, r.inDeckBefore);
            List<Card> cards;
            ASSERT_TRUE(ReadCardSet(cards, "set.txt", whole, "INDECK"));
            std::optional<Card> wanted;
            for (const Card& card : whole.Deck)
                if (!wanted && !card.Name.empty() &&
                    (card.Name == r.name || card.UniqueName == r.name))
                    wanted = card;
            const uint64_t drawnWhole = st.Random.Draws() - first;
            const double nextWhole = st.Random.Draw();
            ASSERT_EQ(st.KeptSetReads.size(), 1u);

            st.GameFile.clear();
            st.Random.Seed(seed);
            first = st.Random.Draws();
            Player alone;
            start(alone, r.inDeckBefore);
            EXPECT_EQ(CardOfSet(r.name, "set.txt", alone, "INDECK", true), wanted);
            EXPECT_EQ(st.Random.Draws() - first, drawnWhole);
            EXPECT_EQ(st.Random.Draw(), nextWhole) << "the same draws";
            EXPECT_EQ(st.GameFile, "Set.gam");
            EXPECT_LE(alone.Deck.size(), whole.Deck.size() - kSetCards)
                << "one card placed at most";

            // Past the queue's bounds the card is only looked for, with the same draws.
            st.Random.Seed(seed);
            first = st.Random.Draws();
            Player looked;
            start(looked, r.inDeckBefore);
            EXPECT_EQ(CardOfSet(r.name, "set.txt", looked, "INDECK", false).has_value(),
                      wanted.has_value());
            EXPECT_EQ(st.Random.Draws() - first, drawnWhole);
        }
    }
}

// CREATECARD found, stamped and made canonical its set's file at every card it made: 18 us each,
// 9 s of a turn that creates half a million cards. The file is found once a turn, and anew in the
// next turn and after the program writes a file; a set changed then gives its new cards.
TEST_F(CardReadMemoTest, ASetFileIsFoundOnceATurnAndAnewAfterItOrAWrite) {
    const std::string imp = "#CARD, INDECK, \"Imp\", \"\", , , , , \"An imp.\"\r\n";
    const std::string newt = "#CARD, INDECK, \"Imp\", \"\", , , , , \"A larger newt.\"\r\n";
    struct Row {
        const char* what;
        bool turn;
        const char* written;  // within the turn, halfway: "" nothing, else the file saved
        long long lookups;
    };
    const Row rows[] = {
        {"in a turn", true, "", 1},
        {"no turn open", false, "", 40},
        {"another file saved", true, "other.txt", 2},
        {"the set saved", true, "set.txt", 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        WriteFile("set.txt", imp);
        const std::filesystem::path written = Folder() / r.written;
        const long long before = St().SetFilesThisTurn.Lookups;
        std::string description = "An imp.";
        {
            std::optional<TurnBudget> turn;
            if (r.turn) turn.emplace();
            for (int c = 1; c <= 40; ++c) {
                if (c == 21 && *r.written) {
                    ASSERT_EQ(AtomicSave(written, newt), "");
                    if (written.filename() == "set.txt") description = "A larger newt.";
                }
                Player player;
                const std::optional<Card> card = CardOfSet("Imp", "set.txt", player, "", true);
                ASSERT_TRUE(card.has_value());
                EXPECT_EQ(card->Description, description) << "card " << c;
            }
        }
        EXPECT_EQ(St().SetFilesThisTurn.Lookups - before, r.lookups);
        EXPECT_FALSE(St().SetFilesThisTurn.Open);

        // Changed between turns, behind the program's back.
        WriteFile("set.txt", description == std::string("An imp.") ? newt : imp);
        const TurnBudget next;
        Player player;
        const std::optional<Card> card = CardOfSet("Imp", "set.txt", player, "", true);
        ASSERT_TRUE(card.has_value());
        EXPECT_NE(card->Description, description) << "read anew";
    }
}

}  // namespace
}  // namespace dv
