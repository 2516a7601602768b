#include "engine/model/card_lists.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "engine/model/cards.h"
#include "engine/model/guard.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "engine/model/value_expression.h"

namespace dv {
namespace {

const std::string kLastSort = "LASTSORT";
// The halves of a merge sort nest about log2 of the list's length deep; far more than any card
// list needs, so hitting it means something is wrong and that part stays unsorted.
constexpr int kMaxSortDepth = 64;
// A card given to the collection draws its identifier again while another card or a deck list
// has it, at most this often (the odds of even a second draw are tiny).
constexpr int kMaxIdentifierDraws = 1000;

// Field n of a ":"-separated key, without touching the shared tokeniser's resume cache.
std::string KeyField(const std::string& key, int n) {
    std::size_t start = 0;
    for (int i = 1; i < n; ++i) {
        std::size_t colon = key.find(':', start);
        if (colon == std::string::npos) return {};
        start = colon + 1;
    }
    return key.substr(start, key.find(':', start) - start);
}

bool IsLastSort(const Value& v) {
    return v.IsText() && v.Text() == kLastSort;
}

// Keys that read as a number above 0, and the text "0", compare as numbers; others unchanged.
Value MergeForm(const Value& v) {
    if (v.IsText() && v.Text() == "0") return 0;
    if (v.Num() > 0) return v.Num();
    return v;
}

Value SortKeyOf(Card& card, const std::string& key, const std::string& keyword,
                const std::string& argument) {
    if (keyword == "NAME") return card.Name.empty() ? Value(kLastSort) : Value(card.Name);
    if (keyword == "EMPTY") return card.Name.empty() ? 0 : 1;
    if (keyword == "RARITY") return static_cast<int>(card.Rarity);
    if (keyword == "TRAIT") {
        if (!HasTrait(card, argument)) return kLastSort;
        Value v = GetTrait(card, argument);
        return v.Num() > 0 ? Value(v.Num()) : Value(v.Text());
    }
    Value v = GetTrait(card, key);
    if (v.IsText() && (v.Text().empty() || v.Text() == "NONE")) return 0;
    Value worked = Transval(card, card, v, "");
    return worked.Num() > 0 ? worked : v;
}

// What a merge compares of a card: whether its key sorts it last, and the key's merge form.
struct MergeKey {
    bool last;
    Value form;
};

// Whether the card of key a goes before that of key b, as MSortMerge decides it.
bool TakeLeft(const MergeKey& a, const MergeKey& b, bool byName) {
    if (b.last) return true;
    if (a.last) return false;
    // Names run upwards: the comparison is turned round.
    return byName ? Compare(b.form, a.form) >= 0 : Compare(a.form, b.form) >= 0;
}

// The merge sort of SortRange, on the places of the cards rather than the cards: it halves,
// merges and compares exactly as sorting the cards themselves does.
void SortPlaces(std::vector<int>& order, std::vector<int>& merged,
                const std::vector<MergeKey>& keys, int first, int last, bool byName, int depth) {
    if (last <= first || depth > kMaxSortDepth) return;
    const int mid = (first + last) / 2;
    SortPlaces(order, merged, keys, first, mid, byName, depth + 1);
    SortPlaces(order, merged, keys, mid + 1, last, byName, depth + 1);
    merged.clear();
    int left = first;
    int right = mid + 1;
    while (left <= mid && right <= last)
        merged.push_back(TakeLeft(keys[order[left]], keys[order[right]], byName) ? order[left++]
                                                                                 : order[right++]);
    while (left <= mid)
        merged.push_back(order[left++]);
    while (right <= last)
        merged.push_back(order[right++]);
    std::copy(merged.begin(), merged.end(), order.begin() + first);
}

// Merges half by half through MSortMerge, each merge on its own; for a range outside the list,
// whose merges fail one by one.
void MergeRange(List<Card>& list, int first, int last, const std::string& key, int depth) {
    if (last <= first || depth > kMaxSortDepth) return;
    int mid = (first + last) / 2;
    MergeRange(list, first, mid, key, depth + 1);
    MergeRange(list, mid + 1, last, key, depth + 1);
    MSortMerge(list, first, last, key);
}

// Sorts list[first..last] by the cards' sort keys as merging them half by half would; a card
// already in its place stays, and the others move along the cycles of the new order.
void SortRange(List<Card>& list, int first, int last, const std::string& key) {
    if (last <= first) return;
    if (!list.Has(first) || !list.Has(last)) return MergeRange(list, first, last, key, 0);
    const int count = last - first + 1;
    std::vector<MergeKey> keys;
    keys.reserve(static_cast<std::size_t>(count));
    for (int i = first; i <= last; ++i) {
        const Value& sortKey = list[i].SortKey;
        keys.push_back({IsLastSort(sortKey), MergeForm(sortKey)});
    }
    std::vector<int> order(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k)
        order[k] = k;
    std::vector<int> merged;
    merged.reserve(static_cast<std::size_t>(count));
    SortPlaces(order, merged, keys, 0, count - 1, key == "NAME", 0);
    // Place k takes the card of place order[k].
    for (int k = 0; k < count; ++k) {
        if (order[k] == k || order[k] < 0) continue;
        Card held = std::move(list[first + k]);
        int at = k;
        while (order[at] != k) {
            const int from = order[at];
            list[first + at] = std::move(list[first + from]);
            order[at] = -1;
            at = from;
        }
        list[first + at] = std::move(held);
        order[at] = -1;
    }
}

bool IdentifierTaken(int32_t id) {
    for (const Card& card : St().Collection)
        if (card.GID == id) return true;
    for (const DeckList& deck : St().Decks)
        for (int32_t entry : deck.CardIds)
            if (entry == id) return true;
    return false;
}

int FirstFreeSlot(const List<Card>& list) {
    for (int i = 1; i <= list.size(); ++i)
        if (list[i].Name.empty()) return i;
    return 0;
}

}  // namespace

void AddCardToArray(Card& card, List<Card>& list, int newId) {
    Guarded("AddCardToArray", [&] {
        for (int i = 1; i <= list.size(); ++i) {
            if (card.GID >= 1 && newId == 0 && list[i].GID == card.GID) return;
            if (list[i].Name.empty()) {
                list[i] = Card(card);
                return;
            }
        }
        if (newId == 1) card.GID = static_cast<int32_t>(RandomNum(100000000));
        list.PushBack(card);
    });
}

void AddToDeck(Card& card, int deck, int force) {
    Guarded("AddToDeck", [&] {
        DeckList& d = St().Decks[deck];
        auto needsId = [&] { return force == 1 || (!card.Name.empty() && card.GID == 0); };
        bool stored = false;
        for (int i = 1; i <= d.CardIds.size() && !stored; ++i) {
            if (needsId()) card.GID = static_cast<int32_t>(RandomNum(20000000));
            if (d.CardIds[i] == 0) {
                d.CardIds[i] = card.GID;
                stored = true;
            } else if (d.CardIds[i] == card.GID && force > 0) {
                return;
            }
        }
        if (!stored) {
            // An empty deck list walks no entry; the card still needs an identifier of its own.
            if (d.CardIds.empty() && needsId())
                card.GID = static_cast<int32_t>(RandomNum(20000000));
            d.CardIds.PushBack(card.GID);
        }
        if (St().DeckManagerMode == 0) LinkDeck(d, St().Collection);
        if (St().DeckManagerMode == 2) LinkDeck(d, St().EditCards);
    });
}

void RemoveFromDeck(DeckList& list, int32_t gid) {
    Guarded("RemoveFromDeck", [&] {
        for (int i = 1; i <= list.CardIds.size(); ++i) {
            if (list.CardIds[i] != gid) continue;
            list.CardIds[i] = 0;
            if (list.Positions.Has(i)) list.Positions[i] = 0;
            return;
        }
    });
}

void AddEditTemplate(const Card& card, const std::string& back, const std::string& text,
                     int32_t colour) {
    Guarded("AddEditTemplate", [&] {
        auto& templates = St().Templates;
        int slot = 0;
        for (int i = 1; i <= templates.size() && slot == 0; ++i) {
            const std::string& name = templates[i].card.Name;
            if (name.empty() || name == card.Name) slot = i;
        }
        if (slot == 0) slot = templates.PushBack({});
        CardTemplate& t = templates[slot];
        t.card = card;
        t.BackPicture = back;
        t.Extra = text;
        t.Colour = colour;
    });
}

void RandomizeCards(List<Card>& list) {
    Guarded("RandomizeCards", [&] {
        int n = list.size();
        for (int i = 1; i <= n; ++i) {
            long long j = RandomNum(n);
            if (list.Has(j)) Swapcards(list[i], list[j]);
        }
    });
}

void Swapcards(Card& a, Card& b) {
    Guarded("Swapcards", [&] { std::swap(a, b); });
}

void TruncateCollection() {
    Guarded("TruncateCollection", [&] {
        List<Card> named;
        for (Card& c : St().Collection)
            if (!c.Name.empty()) named.PushBack(std::move(c));
        if (named.empty()) return;  // nothing was moved out: only named cards are moved
        St().Collection = std::move(named);
    });
}

void SortCards(List<Card>& list, const std::string& key, int trim) {
    St().ListBusy = 1;
    Guarded("SortCards", [&] {
        St().CurrentCard.Name.clear();
        std::string keyword = KeyField(key, 1);
        std::string argument = KeyField(key, 2);
        for (Card& card : list) {
            card.SortKey = 0;
            card.SortKey = SortKeyOf(card, key, keyword, argument);
        }
        MSortCards(list, 1, list.size(), key);
        if (trim == 1) {
            for (int i = list.size(); i > 1 && list[i].Name.empty(); --i)
                list.Resize(i - 1);
        }
    });
    // Cleared on every way out, so a failed sort never leaves the designer's list locked.
    St().ListBusy = 0;
}

void MSortCards(List<Card>& list, int first, int last, const std::string& key) {
    Guarded("MSortCards", [&] { SortRange(list, first, last, key); });
}

void MSortMerge(List<Card>& list, int first, int last, const std::string& key) {
    Guarded("MSortMerge", [&] {
        if (last - first + 1 < 2) return;
        // Checked before any card is moved out, so a bad range loses nothing.
        if (!list.Has(first) || !list.Has(last)) throw RunFault("merge outside the list");
        int mid = (first + last) / 2;
        std::vector<Card> merged;
        merged.reserve(static_cast<std::size_t>(last - first + 1));
        int left = first;
        int right = mid + 1;
        while (left <= mid && right <= last) {
            Value a = list[left].SortKey;
            Value b = list[right].SortKey;
            bool aLast = IsLastSort(a);
            bool bLast = IsLastSort(b);
            // Names run upwards: the comparison is turned round.
            if (key == "NAME" && !aLast && !bLast) std::swap(a, b);
            bool takeLeft = bLast || (!aLast && Compare(MergeForm(a), MergeForm(b)) >= 0);
            merged.push_back(std::move(list[takeLeft ? left++ : right++]));
        }
        while (left <= mid)
            merged.push_back(std::move(list[left++]));
        while (right <= last)
            merged.push_back(std::move(list[right++]));
        for (int i = first; i <= last; ++i)
            list[i] = std::move(merged[i - first]);
    });
}

void SortCollectionByName() {
    Guarded("SortCollectionByName", [&] {
        SortCards(St().Collection, "NAME", 0);
        TruncateCollection();
    });
}

bool HasNamedCard(const List<Card>& cards) {
    for (const Card& card : cards)
        if (!card.Name.empty()) return true;
    return false;
}

namespace {

void BuildCollectionIndex(CollectionIndex& index) {
    const State& st = St();
    index.Ids.clear();
    index.FreeSlots.clear();
    index.NextFree = 0;
    const List<Card>& collection = st.Collection;
    for (int i = 1; i <= collection.size(); ++i) {
        ++index.Ids[collection[i].GID];
        if (collection[i].Name.empty()) index.FreeSlots.push_back(i);
    }
    for (const DeckList& deck : st.Decks)
        for (int32_t entry : deck.CardIds)
            ++index.Ids[entry];
    index.Size = collection.size();
    index.Built = true;
}

// AddToCollection with the index kept; the same picks as the look through the lists.
void AddIndexed(Card& card, CollectionIndex& index) {
    auto& collection = St().Collection;
    if (!index.Built || index.Size != collection.size()) BuildCollectionIndex(index);
    // Looked up anew should this add fail half-way.
    index.Built = false;
    for (int draw = 0; draw < kMaxIdentifierDraws; ++draw) {
        card.GID = static_cast<int32_t>(RandomNum(200000000));
        if (!index.Ids.contains(card.GID)) break;
    }
    const std::vector<int>& free = index.FreeSlots;
    const List<Card>& seen = collection;
    while (index.NextFree < free.size() && !seen[free[index.NextFree]].Name.empty())
        ++index.NextFree;
    if (index.NextFree < free.size()) {
        const int slot = free[index.NextFree++];
        if (auto old = index.Ids.find(seen[slot].GID); old != index.Ids.end() && --old->second == 0)
            index.Ids.erase(old);
        collection[slot] = Card(card);
    } else {
        collection.PushBack(card);
    }
    ++index.Ids[card.GID];
    index.Size = collection.size();
    index.Built = true;
}

}  // namespace

void AddToCollection(Card& card) {
    Guarded("AddToCollection", [&] {
        CollectionIndex& index = St().CollectionAdded;
        if (index.Open > 0) {
            AddIndexed(card, index);
            return;
        }
        // A clash would make two bought cards one: the next clean-up drops all but one of them.
        for (int draw = 0; draw < kMaxIdentifierDraws; ++draw) {
            card.GID = static_cast<int32_t>(RandomNum(200000000));
            if (!IdentifierTaken(card.GID)) break;
        }
        auto& collection = St().Collection;
        if (int slot = FirstFreeSlot(collection))
            collection[slot] = Card(card);
        else
            collection.PushBack(card);
    });
}

CollectionAdditions::CollectionAdditions() {
    ++St().CollectionAdded.Open;
}

CollectionAdditions::~CollectionAdditions() {
    CollectionIndex& index = St().CollectionAdded;
    if (--index.Open > 0) return;
    index = CollectionIndex{};
}

void CollectionChanged() {
    St().CollectionAdded.Built = false;
}

void LinkDeck(DeckList& deck, const List<Card>& cards) {
    Guarded("LinkDeck", [&] {
        deck.Positions = List<float>(deck.CardIds.size());
        for (int j = 1; j <= deck.CardIds.size(); ++j) {
            if (deck.CardIds[j] == 0) continue;
            for (int i = 1; i <= cards.size(); ++i) {
                if (cards[i].GID != deck.CardIds[j]) continue;
                deck.Positions[j] = static_cast<float>(i);
                break;
            }
        }
    });
}

}  // namespace dv
