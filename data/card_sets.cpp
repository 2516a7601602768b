#include "data/card_sets.h"

#include <algorithm>
#include <ctime>
#include <vector>

#include "data/card_file_items.h"
#include "data/card_file_reader.h"
#include "data/card_files.h"
#include "engine/model/cards.h"
#include "engine/model/case_fold.h"
#include "engine/model/files.h"
#include "engine/model/guard.h"
#include "engine/model/hands_and_decks.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "engine/rules/card_life.h"

namespace dv {
namespace {

// The refresh table starts at this size and doubles whenever it would become more than half
// full, so a probe always finds its key or a free slot.
constexpr int kRefreshTableSize = 2000;
// Random draws of one probe before it walks the table slot by slot from the last draw.
constexpr int kMaxRandomProbes = 1000;
constexpr int kTestHandSlots = 10;
// Card sets kept at once; past this they are all let go and read anew.
constexpr int kMaxKeptSets = 100;

Card FirstNamed(const Player& entry, const std::string& name) {
    for (const Card& card : entry.Deck)
        if (card.Name == name) return card;
    return Card{};
}

// The date stamp a set file carries after "#LASTMODIFIED"; empty (the zero date) when none.
std::string SetFileDate(const fs::path& location, const std::string& name) {
    const auto bytes = ReadWholeFile(location);
    if (!bytes) return {};
    ItemReader in(*bytes, name);
    try {
        while (!in.AtEnd())
            if (in.Next("") == "#LASTMODIFIED") return in.NextOr("");
    } catch (const CardFileFault&) {
    }
    return {};
}

// Puts the refresh table back to one empty record however the refresh ends, and re-seeds the
// generator that the probes left keyed to the last card.
struct RefreshTable {
    RefreshTable() { St().MRPTable = List<Card>(kRefreshTableSize); }
    ~RefreshTable() {
        St().MRPTable = List<Card>(1);
        SeedFromClock();
    }
    RefreshTable(const RefreshTable&) = delete;
    RefreshTable& operator=(const RefreshTable&) = delete;

    void Store(const Card& card) {
        List<Card>& table = St().MRPTable;
        if ((used_ + 1) * 2 > table.size()) Grow();
        const int slot = GetMRPHash(card.UniqueName);
        if (slot == 0) return;
        if (table[slot].UniqueName.empty()) ++used_;
        table[slot] = card;
    }

  private:
    void Grow() {
        List<Card> old = std::move(St().MRPTable);
        St().MRPTable = List<Card>(old.size() * 2);
        for (Card& card : old)
            if (!card.UniqueName.empty())
                St().MRPTable[GetMRPHash(card.UniqueName)] = std::move(card);
    }
    int used_ = 0;
};

// The entry of the cache that keeps the set read from that file; 0 for none.
int KeptSetSlot(const List<Player>& cache, const std::string& key) {
    for (int i = 1; i <= cache.size(); ++i)
        if (cache[i].Name == key) return i;
    return 0;
}

}  // namespace

Card GetCardsetCard(const std::string& cardName, const std::string& setFile) {
    return GetCardsetCard(cardName, FindNamedFile(setFile));
}

Card GetCardsetCard(const std::string& cardName, const NamedFile& set) {
    return Guarded("GetCardsetCard", Card{}, [&] {
        if (set.location.empty() || !set.refusal.empty()) return Card{};
        // Kept by the file found: "S.txt", "./S.txt" and "././S.txt" are one set, read once.
        const std::string& key = set.real;
        List<Player>& cache = St().CardsetCache;
        if (cache.empty()) {
            cache.Resize(1);
            InitPlayer(cache[1], 1);
            cache[1].Id = 1;
        }
        int slot = 0;
        if (!cache[1].Name.empty()) {
            slot = KeptSetSlot(cache, key);
            if (slot != 0) return FirstNamed(cache[slot], cardName);
            if (cache.size() >= kMaxKeptSets) {
                cache = List<Player>(1);
                slot = 1;
            } else {
                slot = cache.PushBack(Player{});
            }
            InitPlayer(cache[slot], static_cast<uint8_t>(std::min(slot, 255)));
            cache[slot].Id = static_cast<uint8_t>(std::min(slot, 255));
        } else {
            slot = 1;
        }
        // Claimed before the read, so a set that refers to its own cards finds this entry
        // rather than reading itself again.
        cache[slot].Name = key;
        Player loaded = cache[slot];
        List<Card> scratch;
        if (!ReadCardsIn(ReadScope::SetOnly, scratch, set.name, loaded, 1, "#INDECK", kReadAppend))
            loaded.Deck = List<Card>(1);
        // The read may have added entries to the cache, or let them all go: the entry is found
        // again by its file.
        List<Player>& after = St().CardsetCache;
        slot = KeptSetSlot(after, key);
        if (slot == 0) slot = after.PushBack(Player{});
        after[slot] = std::move(loaded);
        return FirstNamed(after[slot], cardName);
    });
}

int GetMRPHash(const std::string& uniqueName) {
    return Guarded("GetMRPHash", 0, [&] {
        List<Card>& table = St().MRPTable;
        if (table.empty()) table.Resize(1);
        const int size = table.size();
        auto fits = [&](int slot) {
            return table[slot].UniqueName == uniqueName || table[slot].UniqueName.empty();
        };
        SeedRandom(uniqueName, 0);
        int slot = 1;
        for (int probe = 0; probe < kMaxRandomProbes; ++probe) {
            slot = static_cast<int>(std::clamp<long long>(RandomNum(size), 1, size));
            if (fits(slot)) return slot;
        }
        for (int step = 1; step <= size; ++step) {
            const int next = (slot - 1 + step) % size + 1;
            if (fits(next)) return next;
        }
        throw RunFault("the refresh table is full");
    });
}

void MRPCards(List<Card>& cards, Player& player) {
    Guarded("MRPCards", [&] {
        std::vector<std::string> sets;
        for (const Card& card : cards)
            if (!card.SetFile.empty() &&
                std::find(sets.begin(), sets.end(), card.SetFile) == sets.end())
                sets.push_back(card.SetFile);
        if (sets.empty()) return;

        Player scratch;
        InitPlayer(scratch, 5);
        scratch.Id = 5;
        RefreshTable table;
        for (const std::string& set : sets) {
            // The set is named by the card, in a shared file.
            const NamedFile found = FindNamedFile(set);
            if (found.location.empty() || !found.refusal.empty()) continue;
            if (StampEarlier(SetFileDate(found.location, found.name), player.LastModified))
                continue;
            List<Card> setCards;
            if (!ReadCardsIn(ReadScope::SetOnly, setCards, found.name, scratch, 1, "COLLECTION",
                             kReadReplace))
                continue;
            for (const Card& card : setCards)
                if (!card.Name.empty() && !card.UniqueName.empty()) table.Store(card);
        }

        for (Card& card : cards) {
            if (card.Name.empty() || card.UniqueName.empty()) continue;
            const int slot = GetMRPHash(card.UniqueName);
            if (slot == 0) continue;
            const Card& newer = St().MRPTable[slot];
            if (newer.UniqueName != card.UniqueName || !SameNoCase(newer.SetFile, card.SetFile) ||
                HasTrait(card, "NOMRP", 0))
                continue;
            Card refreshed = newer;
            refreshed.Name = card.Name;
            refreshed.Picture = card.Picture;
            refreshed.Thumbnail = card.Thumbnail;
            refreshed.Owner = card.Owner;
            refreshed.SideMask = card.SideMask;
            refreshed.GID = card.GID;
            refreshed.Colour = card.Colour;
            refreshed.TraitEffectsValid = 0;
            card = std::move(refreshed);
        }
    });
}

void SetColFileName(const std::string& fileName, int mode) {
    Guarded("SetColFileName", [&] {
        std::string file = fileName;
        FileNameOf(file);
        List<Card>& collection = St().Collection;
        for (int i = 1; i <= collection.size(); ++i) {
            Card& card = collection[i];
            if (card.Name.empty()) continue;
            if (card.UniqueName.empty()) card.UniqueName = card.Name + std::to_string(i);
            if (mode != 0 || card.SetFile.empty()) card.SetFile = file;
        }
    });
}

void MRPForTesting() {
    Guarded("MRPForTesting", [&] {
        State& s = St();
        for (const Card& edited : s.EditCards) {
            // A card without a unique name would match every free test slot.
            if (edited.UniqueName.empty()) continue;
            for (int list = 1; list <= s.TopCards.size() && list <= 4; ++list) {
                List<Card>& cards = s.TopCards[list];
                const int last = list <= 2 ? std::min(kTestHandSlots, cards.size()) : cards.size();
                for (int i = 1; i <= last; ++i)
                    if (cards[i].UniqueName == edited.UniqueName) cards[i] = edited;
            }
        }
    });
}

}  // namespace dv
