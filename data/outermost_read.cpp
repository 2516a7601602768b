#include "data/outermost_read.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "engine/model/state.h"

namespace dv {
namespace {

// Of a kind of fault that many lines have alike, the names told.
constexpr std::size_t kFirstNamesTold = 5;
// Faults told at the end of one read: the others are counted in one more message.
constexpr std::size_t kMaxFaultsTold = 20;
// Faults of one read kept apart, each with its count: the others are only counted.
constexpr std::size_t kMaxFaultsKept = 1000;

}  // namespace

void AddReadFault(const std::string& kind, const std::string& text, const std::string& head,
                  const std::string& body, const std::string& name) {
    std::vector<ReadFault>& faults = St().CardRead.Faults;
    auto fault = std::find_if(faults.begin(), faults.end(),
                              [&](const ReadFault& f) { return f.Kind == kind; });
    if (fault == faults.end()) {
        if (faults.size() >= kMaxFaultsKept) {
            ++St().CardRead.UntoldFaults;
            return;
        }
        faults.push_back({kind, "Duvenhall", text, head, body, 0, {}});
        fault = faults.end() - 1;
    }
    ++fault->Count;
    if (!name.empty() && fault->FirstNames.size() < kFirstNamesTold)
        fault->FirstNames.push_back(name);
}

namespace {

// What the faults of a read gathered so far say, in the order they first came; they are let go.
std::vector<std::pair<std::string, std::string>> ToldFaults() {
    OutermostRead& read = St().CardRead;
    std::vector<ReadFault> faults = std::move(read.Faults);
    read.Faults.clear();
    long long untold = std::exchange(read.UntoldFaults, 0);
    std::vector<std::pair<std::string, std::string>> told;
    for (ReadFault& f : faults) {
        if (told.size() >= kMaxFaultsTold) {
            untold += f.Count;
            continue;
        }
        std::string text = std::move(f.Text);
        if (f.Count > 1 && f.Head.empty()) {
            text += " (" + std::to_string(f.Count) + " times)";
        } else if (f.Count > 1) {
            text = f.Head + std::to_string(f.Count) + f.Body;
            for (std::size_t i = 0; i < f.FirstNames.size(); ++i)
                text += (i == 0 ? "" : ", ") + f.FirstNames[i];
            const int more = f.Count - static_cast<int>(f.FirstNames.size());
            if (more > 0) text += ", and " + std::to_string(more) + " more";
            text += ".";
        }
        told.emplace_back(std::move(text), std::move(f.Title));
    }
    if (untold > 0)
        told.emplace_back("Error in reading cards: " + std::to_string(untold) +
                              " more messages of this read are not shown.",
                          "Duvenhall");
    return told;
}

}  // namespace

void FoldingHost::MessageBox(const std::string& text, const std::string& title) {
    std::vector<ReadFault>& faults = St().CardRead.Faults;
    const auto same = std::find_if(faults.begin(), faults.end(), [&](const ReadFault& f) {
        return f.Head.empty() && f.Kind == text && f.Title == title;
    });
    if (same != faults.end()) {
        ++same->Count;
    } else if (faults.size() >= kMaxFaultsKept) {
        ++St().CardRead.UntoldFaults;
    } else {
        faults.push_back({text, title, text, "", "", 1, {}});
    }
}

void FoldingHost::Tell() {
    for (const auto& [text, title] : ToldFaults())
        inner_.MessageBox(text, title);
}

ReadInTally::ReadInTally() : outermost_(St().CardRead.Running == 0) {
    if (outermost_) {
        St().CardRead = OutermostRead{};
        folding_.emplace(TheHost());
        standIn_.emplace(*folding_);
    }
    ++St().CardRead.Running;
}

ReadInTally::~ReadInTally() {
    --St().CardRead.Running;
    if (!outermost_) return;
    standIn_.reset();
    folding_->Tell();
    St().CardRead.LookedUp.clear();
}

}  // namespace dv
