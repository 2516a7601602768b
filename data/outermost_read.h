#pragma once
// The outermost card file read and the reads it sets off (an included file is part of its read;
// the card set of a "#REF..." line, or one a card read into play creates a card from, is a read of
// its own): they share one tally (OutermostRead) that the bounds of a read hold for, and their
// faults are told when the outermost read ends, each kind once.

#include <optional>
#include <string>

#include "engine/model/host.h"
#include "engine/model/watched_host.h"

namespace dv {

// Adds a fault that many lines may have alike to those the outermost read tells when it ends:
// `text` when it comes once; else `head`, the count, `body` and the first lines' names.
void AddReadFault(const std::string& kind, const std::string& text, const std::string& head,
                  const std::string& body, const std::string& name);

// Stands in for the host while an outermost read runs: its messages wait for the end of the read,
// and each is told once, with the times it came (a file of 2,000 faulty lines opened 2,000 boxes
// in a row). Anything else the read asks of the host first hears the messages before it.
class FoldingHost : public MessageHoldingHost {
  public:
    using MessageHoldingHost::MessageHoldingHost;

    void MessageBox(const std::string& text, const std::string& title) override;
    // Tells the faults gathered so far.
    void Tell() override;
};

// Marks a read running: the outermost starts the tally that the reads it sets off share, and
// tells the faults of them all when it ends.
class ReadInTally {
  public:
    ReadInTally();
    ~ReadInTally();
    ReadInTally(const ReadInTally&) = delete;
    ReadInTally& operator=(const ReadInTally&) = delete;

  private:
    bool outermost_;
    std::optional<FoldingHost> folding_;
    std::optional<HostStandIn> standIn_;
};

}  // namespace dv
