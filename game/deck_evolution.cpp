#include "game/deck_evolution.h"

#include <array>
#include <cmath>
#include <string>

#include "data/card_files.h"
#include "engine/model/guard.h"
#include "engine/model/hands_and_decks.h"
#include "engine/model/host.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "engine/rules/card_life.h"
#include "game/computer_games.h"

namespace dv {
namespace {

constexpr int kDecks = 8;
// Cards of a set above this rarity are never drawn as replacements.
constexpr int kMaxDrawnRarity = 100;
// Draws allowed for one replacement card before RandomizeDeck gives up.
constexpr long long kMaxCandidateDraws = 1000000;
// Decks kept by the names evolution gave them; the oldest go first beyond this.
constexpr int kMaxBredDecks = 256;

using Names = std::array<std::string, kDecks + 1>;  // entries 1 to 8

struct Places {
    std::string first, second, third;
};

BredDeck* FindBred(const std::string& name) {
    for (BredDeck& deck : St().BredDecks)
        if (deck.Name == name) return &deck;
    return nullptr;
}

void StoreBred(const std::string& name, const List<Card>& cards) {
    List<BredDeck>& store = St().BredDecks;
    if (BredDeck* found = FindBred(name)) {
        found->Cards = cards;
        return;
    }
    if (store.size() >= kMaxBredDecks) {
        List<BredDeck> kept;
        for (int i = 2; i <= store.size(); ++i)
            kept.PushBack(std::move(store[i]));
        store = std::move(kept);
    }
    store.PushBack(BredDeck{name, cards});
}

// The cards of a deck: a bred one, else the file of that name (found on the picture path).
List<Card> ReadDeck(const std::string& name) {
    if (const List<Card>* bred = EvolvedDeck(name)) return *bred;
    Player reader;
    InitPlayer(reader, 1);
    std::string path = GetImagePath(name, 0, "");
    if (path.empty()) path = name;
    List<Card> scratch;
    ReadCards(scratch, path, reader, "INPLAYERDECK:1");
    // The override sends the file's cards to the list read into; a file may also fill the deck.
    List<Card> cards;
    for (const List<Card>* from : {&scratch, &reader.Deck})
        for (const Card& card : *from)
            if (!card.Name.empty()) cards.PushBack(card);
    if (cards.size() == 0) cards.Resize(1);
    return cards;
}

// Puts a deck into stored deck 1, mutates it by the given percent and keeps it under a name.
void Breed(const List<Card>& cards, double percent, const std::string& name) {
    State& st = St();
    st.PlayerDecks[1].Cards = cards;
    RandomizeDeck(kEvolutionCardSet, percent, 1);
    StoreBred(name, st.PlayerDecks[1].Cards);
}

// Gives the name a deck: the one already kept under `from`, else the file's.
void Alias(const std::string& from, const std::string& name) {
    if (from == name) return;
    StoreBred(name, ReadDeck(from));
}

// The thirteen games of one tournament.
Places PlayBracket(const Names& d) {
    std::string qw[5], ql[5], c[5], cw[3], sw[3], f[3];
    std::string scrap;
    Places places;
    qw[1] = PlayAIGame(d[1], d[2], ql[1]);
    qw[2] = PlayAIGame(d[3], d[4], ql[2]);
    qw[3] = PlayAIGame(d[5], d[6], ql[3]);
    qw[4] = PlayAIGame(d[7], d[8], ql[4]);
    sw[1] = PlayAIGame(qw[1], qw[2], c[1]);
    sw[2] = PlayAIGame(qw[3], qw[4], c[3]);
    c[2] = PlayAIGame(ql[1], ql[2], scrap);
    c[4] = PlayAIGame(ql[3], ql[4], scrap);
    cw[1] = PlayAIGame(c[1], c[2], scrap);
    cw[2] = PlayAIGame(c[3], c[4], scrap);
    f[2] = PlayAIGame(cw[1], cw[2], scrap);
    f[1] = PlayAIGame(sw[1], sw[2], places.third);
    places.first = PlayAIGame(f[1], f[2], places.second);
    return places;
}

std::string Numbered(int i, const std::string& name) {
    return std::to_string(i) + "_" + name;
}

}  // namespace

const List<Card>* EvolvedDeck(const std::string& name) {
    const BredDeck* found = FindBred(name);
    return found ? &found->Cards : nullptr;
}

void EvolveDecks(List<std::string>& deckNames, int generations) {
    Guarded("EvolveDecks", [&] {
        State& st = St();
        if (deckNames.size() < kDecks) deckNames.Resize(kDecks);

        if (deckNames[2].empty()) {
            for (int i = 2; i <= kDecks; ++i)
                deckNames[i] = deckNames[1];
            const List<Card> parent = ReadDeck(deckNames[1]);
            for (int i = 1; i <= kDecks; ++i) {
                deckNames[i] = Numbered(i, deckNames[i]);
                Breed(parent, 10.0 * (i - 1), deckNames[i]);
            }
        }

        Names playing;
        for (int i = 1; i <= kDecks; ++i) {
            playing[i] = deckNames[i];
            deckNames[i] = Numbered(i, deckNames[i]);
            // Every name handed back names a deck that can be played.
            Alias(playing[i], deckNames[i]);
        }

        Places places;
        for (int g = 1; g <= generations; ++g) {
            places = PlayBracket(playing);
            if (generations == 1) break;

            // All three places are read before any new deck takes a name they may carry.
            const List<Card> first = ReadDeck(places.first);
            const List<Card> second = ReadDeck(places.second);
            const List<Card> third = ReadDeck(places.third);
            st.CurrentDeck = 1;
            struct Child {
                const List<Card>* parent;
                double percent;
                const char* name;
            };
            const Child children[kDecks] = {
                {&first, 0, "FirstPlace.txt"},    {&second, 0, "SecondPlace.txt"},
                {&third, 10, "ThirdPlace.txt"},   {&first, 10, "FourthPlace.txt"},
                {&first, 30, "FifthPlace.txt"},   {&second, 15, "SixthPlace.txt"},
                {&first, 75, "SeventhPlace.txt"}, {&second, 75, "EighthPlace.txt"},
            };
            for (int i = 1; i <= kDecks; ++i) {
                const Child& child = children[i - 1];
                Breed(*child.parent, child.percent, child.name);
                deckNames[i] = child.name;
                // The next generation plays the decks this one bred.
                playing[i] = child.name;
            }
        }

        if (generations >= 1) ShowLastComputerGame();
        if (generations == 1) {
            TheHost().MessageBox("Winner: " + places.first + "\r\nSecond Place: " + places.second +
                                     "\r\nThird Place: " + places.third,
                                 "Duvenhall");
        }
    });
}

void RandomizeDeck(const std::string& cardSet, double percent, int deckNo) {
    Guarded("RandomizeDeck", [&] {
        State& st = St();
        List<Card>& deck = st.PlayerDecks[deckNo].Cards;
        const int slots = deck.size();
        long long replacements = static_cast<long long>(std::floor(slots * (percent / 100.0)));
        if (replacements <= 0) return;

        Player* set = nullptr;
        for (Player& entry : st.CardsetCache)
            if (entry.Name == cardSet) {
                set = &entry;
                break;
            }
        if (!set) {
            Player entry;
            InitPlayer(entry, 1);
            List<Card> scratch;
            ReadCards(scratch, cardSet, entry, "#INDECK");
            entry.Name = cardSet;
            set = &st.CardsetCache[st.CardsetCache.PushBack(std::move(entry))];
        }
        const List<Card>& cards = set->Deck;
        auto qualifies = [](const Card& card) {
            return !card.Name.empty() && card.Rarity <= kMaxDrawnRarity;
        };
        bool any = false;
        for (const Card& card : cards)
            any = any || qualifies(card);
        if (!any) return;

        const int choices = cards.size();
        for (; replacements > 0; --replacements) {
            const long long p = RandomNum(slots);
            long long draws = 0;
            const Card* candidate = nullptr;
            while (!candidate) {
                if (++draws > kMaxCandidateDraws) return;
                const long long c = RandomNum(choices);
                if (cards.Has(c) && qualifies(cards[c])) candidate = &cards[c];
            }
            if (deck.Has(p)) deck[p] = *candidate;
        }
    });
}

}  // namespace dv
