#include "engine/model/play_index.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "engine/model/case_fold.h"

namespace dv {
namespace {

constexpr int kWordBits = 64;

int Words(std::size_t slots) {
    return static_cast<int>((slots + kWordBits - 1) / kWordBits);
}

}  // namespace

void HoldScope::Released() {
    int from = -1;
    for (const auto& index : PlayIndex::Live()) {
        index->Release(depth_);
        if (!index->held_.empty()) from = std::max(from, index->held_.back().depth);
    }
    heldFrom_ = from;
}

std::vector<std::unique_ptr<PlayIndex>>& PlayIndex::Live() {
    static auto* live = new std::vector<std::unique_ptr<PlayIndex>>();
    return *live;
}

PlayIndex* PlayIndex::Of(const void* owner) {
    for (const auto& index : Live())
        if (index->owner_ == owner) return index.get();
    return nullptr;
}

void PlayIndex::Make(const void* owner, const std::vector<Card*>& slots) {
    Drop(owner);
    Live().push_back(std::make_unique<PlayIndex>(owner, slots));
}

void PlayIndex::Drop(const void* owner) {
    std::erase_if(Live(), [owner](const auto& index) { return index->owner_ == owner; });
    HoldScope::Released();
}

PlayIndex::PlayIndex(const void* owner, const std::vector<Card*>& slots)
    : owner_(owner), slots_(slots) {
    const std::size_t n = slots_.size();
    signs_.assign(n, 0);
    for (auto& bits : bits_)
        bits.assign(Words(n), 0);
    heldBits_.assign(Words(n), 0);
    isChanged_.assign(n, 0);
    const int outermost = std::min(HoldScope::depth_, 1);
    for (int s = 1; s <= static_cast<int>(n); ++s) {
        Resign(s);
        List(s, outermost);
    }
}

PlayIndex::~PlayIndex() = default;

// Bit 0 active, bit 1 a run under way or a target to take up, then the lengths of triggers, then
// a bit of its own for each trigger the rules send, then the other triggers spread over the last
// bits. Names are read without regard to case, as start times are.
namespace {

constexpr uint64_t kPending = 2;
constexpr int kFirstLength = 2;
constexpr int kLengths = 20;
constexpr std::array<std::string_view, 20> kRulesTriggers = {
    "PHASE1",    "PHASE2",  "PHASE3",  "PHASE4",    "PHASE5",          "PHASE6",  "PHASE7",
    "PHASE8",    "PHASE9",  "PHASE10", "TURNSTART", "TURNEND",         "ONDEATH", "ENTERPLAY",
    "INTERCEPT", "COSTMOD", "COST",    "GAMESTART", "OTHERENTERSPLAY", "DISCARD"};
constexpr int kFirstRulesTrigger = kFirstLength + kLengths;
constexpr int kFirstOtherTrigger = kFirstRulesTrigger + static_cast<int>(kRulesTriggers.size());
static_assert(kFirstOtherTrigger < 64);

uint64_t LengthSign(std::size_t length) {
    if (length == 0) return 0;
    return uint64_t{1} << (kFirstLength + std::min<std::size_t>(length - 1, kLengths - 1));
}

uint64_t NameSign(const std::string& trigger) {
    if (trigger.empty()) return 0;
    for (std::size_t k = 0; k < kRulesTriggers.size(); ++k)
        if (SameNoCase(trigger, kRulesTriggers[k])) return uint64_t{1} << (kFirstRulesTrigger + k);
    uint32_t hash = 2166136261u;
    for (unsigned char c : trigger) {
        if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
        hash = (hash ^ c) * 16777619u;
    }
    return uint64_t{1} << (kFirstOtherTrigger + hash % (64 - kFirstOtherTrigger));
}

}  // namespace

uint64_t PlayIndex::Answering(const std::string& trigger) {
    return NameSign(trigger) | kPending;
}

uint64_t PlayIndex::OfLength(std::size_t length) {
    return LengthSign(length);
}

uint64_t PlayIndex::Sign(const Card& card) {
    if (card.Name.empty()) return 0;
    uint64_t sign = card.Active != 0 ? kActive : 0;
    sign |= NameSign(card.StartTime);
    card.Effects.AnyHeld([&](const Effect& effect) {
        sign |= NameSign(effect.Trigger) | LengthSign(effect.Trigger.size());
        return false;
    });
    const bool running = card.RunFlags.AnyHeld(
        [](const EffectRunFlags& flags) { return flags.Running != 0 || flags.DispatchWork != 0; });
    if (running || (card.NextTarget > 0 && card.PresetTarget != card.NextTarget)) sign |= kPending;
    return sign;
}

void PlayIndex::Resign(int slot) {
    ++signs_taken_;
    const std::size_t at = static_cast<std::size_t>(slot - 1);
    const uint64_t sign = Sign(*slots_[at]);
    uint64_t flipped = sign ^ signs_[at];
    signs_[at] = sign;
    const uint64_t mask = uint64_t{1} << (at % kWordBits);
    while (flipped != 0) {
        const int b = std::countr_zero(flipped);
        flipped &= flipped - 1;
        bits_[b][at / kWordBits] ^= mask;
    }
}

bool PlayIndex::IsHeld(int slot) const {
    const std::size_t at = static_cast<std::size_t>(slot - 1);
    return (heldBits_[at / kWordBits] >> (at % kWordBits) & 1) != 0;
}

void PlayIndex::List(int slot, int depth) {
    const std::size_t at = static_cast<std::size_t>(slot - 1);
    heldBits_[at / kWordBits] |= uint64_t{1} << (at % kWordBits);
    held_.push_back({slot, depth});
    HoldScope::heldFrom_ = std::max(HoldScope::heldFrom_, depth);
}

void PlayIndex::HandedOut(int slot) {
    // A slot already held is held by a procedure that outlasts this one.
    if (!IsHeld(slot)) List(slot, HoldScope::depth_);
}

void PlayIndex::HandedOutAll() {
    for (int s = 1; s <= static_cast<int>(slots_.size()); ++s)
        HandedOut(s);
}

void PlayIndex::Replaced(int slot) {
    if (IsHeld(slot) || isChanged_[slot - 1]) return;
    isChanged_[slot - 1] = 1;
    changed_.push_back(slot);
}

void PlayIndex::Added() {
    const std::size_t n = slots_.size();
    signs_.resize(n, 0);
    isChanged_.resize(n, 0);
    heldBits_.resize(Words(n), 0);
    for (auto& bits : bits_)
        bits.resize(Words(n), 0);
    Replaced(static_cast<int>(n));
}

void PlayIndex::Release(int depth) {
    // The procedure has ended, but the last change it made is not signed yet.
    while (!held_.empty() && held_.back().depth > depth) {
        const int slot = held_.back().slot;
        held_.pop_back();
        const std::size_t at = static_cast<std::size_t>(slot - 1);
        heldBits_[at / kWordBits] &= ~(uint64_t{1} << (at % kWordBits));
        Replaced(slot);
    }
}

void PlayIndex::Refresh() {
    for (int slot : changed_) {
        isChanged_[slot - 1] = 0;
        Resign(slot);
    }
    changed_.clear();
}

int PlayIndex::Next(uint64_t signs, int from, int last) {
    last = std::min(last, static_cast<int>(slots_.size()));
    if (from < 1) from = 1;
    if (from > last) return 0;
    Refresh();
    std::array<const uint64_t*, kBits> asked{};
    int count = 0;
    for (uint64_t left = signs; left != 0; left &= left - 1)
        asked[count++] = bits_[std::countr_zero(left)].data();
    // A held card may have changed since it was signed: each one on the way is looked at.
    auto wordAt = [&](std::size_t word) {
        uint64_t w = heldBits_[word];
        for (int k = 0; k < count; ++k)
            w |= asked[k][word];
        return w;
    };
    std::size_t word = static_cast<std::size_t>(from - 1) / kWordBits;
    uint64_t w = wordAt(word) & (~uint64_t{0} << ((from - 1) % kWordBits));
    const std::size_t lastWord = static_cast<std::size_t>(last - 1) / kWordBits;
    for (;;) {
        while (w == 0) {
            if (++word > lastWord) return Checked(from, 0, last);
            w = wordAt(word);
        }
        const int slot = static_cast<int>(word * kWordBits) + std::countr_zero(w) + 1;
        if (slot > last) return Checked(from, 0, last);
        w &= w - 1;
        if (!IsHeld(slot)) return Checked(from, slot, last);
        Resign(slot);
        if ((signs_[slot - 1] & signs) != 0) return Checked(from, slot, last);
    }
}

int PlayIndex::Checked(int from, int found, int last) const {
    // Larger boards would make the tests' walks quadratic.
    constexpr std::size_t kCheckedSlots = 1024;
    if (!checking_ || slots_.size() > kCheckedSlots) return found;
    for (int s = from; s <= (found == 0 ? last : found - 1); ++s) {
        if (signs_[s - 1] == Sign(*slots_[s - 1])) continue;
        std::fprintf(stderr, "play index: slot %d changed unseen\n", s);
        std::abort();
    }
    return found;
}

}  // namespace dv
