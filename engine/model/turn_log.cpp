#include "engine/model/turn_log.h"

#include <algorithm>
#include <string>

#include "engine/model/state.h"

namespace dv {
namespace {

const std::string& CutLine() {
    static const std::string line = "<br>The rest of this turn's log is left out: it has passed " +
                                    std::to_string(kMaxTurnLogBytes >> 20) + " MB.<br>";
    return line;
}

// Whether the log was cut and still holds the line where the cut left it: a log cleared at the
// end of a turn, or put back as it was before a trial, may take text again.
bool CutAlready(const std::string& log) {
    const std::string& line = CutLine();
    const std::size_t end = St().TurnLogCutAt;
    return end >= line.size() && log.size() >= end &&
           log.compare(end - line.size(), line.size(), line) == 0;
}

}  // namespace

void AddToTurnLog(std::string_view text) {
    std::string& log = St().TurnLog;
    const std::size_t before = log.size();
    if (CutAlready(log)) return;
    log.append(text);
    KeepTurnLogBound(before);
}

void AppendForTurnLog(std::string& text, std::string_view more) {
    if (text.size() + more.size() <= kMaxTurnLogBytes) text.append(more);
}

void AddCutLineToTurnLog(std::string_view line) {
    State& st = St();
    std::string& log = st.TurnLog;
    if (!CutAlready(log)) {
        log.append(line);
        return;
    }
    log.resize(st.TurnLogCutAt - CutLine().size());
    log.append(line);
    log += CutLine();
    st.TurnLogCutAt = log.size();
}

void KeepTurnLogBound(std::size_t before) {
    State& st = St();
    std::string& log = st.TurnLog;
    if (CutAlready(log)) {
        log.resize(st.TurnLogCutAt);
        return;
    }
    if (log.size() <= kMaxTurnLogBytes) return;
    log.resize(std::min(before, log.size()));
    log += CutLine();
    st.TurnLogCutAt = log.size();
}

}  // namespace dv
