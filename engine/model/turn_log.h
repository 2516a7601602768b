#pragma once
// The turn log: what the effects of one turn tell the player, shown under the board when the
// turn ends. Chains of effects from shared files can make it grow without end, so it is bounded.

#include <cstddef>
#include <string>
#include <string_view>

namespace dv {

// The turn log of one turn holds at most this many bytes, and the lines that say what was cut. The
// sample game's fullest turn log, the starter game's, holds 35,670 bytes.
inline constexpr std::size_t kMaxTurnLogBytes = std::size_t{2} << 20;

// Appends text to the turn log, within its bound.
void AddToTurnLog(std::string_view text);
// Appends more to a text on its way to the turn log (the echo of a chain of effects), unless the
// text would then hold more than the log may: what could never reach the log is not kept.
void AppendForTurnLog(std::string& text, std::string_view more);
// Appends a line that says what a bound cut to the turn log, even to a log that has passed its
// own bound: such a line comes before the one that says the log was cut.
void AddCutLineToTurnLog(std::string_view line);
// Holds the turn log to its bound after text was appended to it directly since it held `before`
// bytes: a log that passed the bound drops what was appended and ends with the line that says
// so, and a log that ends with that line takes nothing more.
void KeepTurnLogBound(std::size_t before);

}  // namespace dv
