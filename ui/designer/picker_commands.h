#pragma once
// The effect picker's menu: 84 commands of the card language with their questions, as one table,
// and the filling of a command template with the author's answers.

#include <functional>
#include <string>
#include <vector>

#include "engine/model/records.h"

namespace dv::ui {

inline constexpr int kPickerEntries = 84;

// Asks a "VALBOX:" question in the value generator: its text, or "" unless it closed with DONE.
using ValboxAsk = std::function<std::string(const std::string& question)>;

// The entries in menu order (entry n at position n - 1), their answers empty.
const std::vector<PickerCommand>& PickerCommands();
// The menu text of every entry in the same order; an entry's label may repeat.
const std::vector<std::string>& PickerLabels();

// Copies the entry into the target record. With `valbox` the entry's questions are asked in
// order, "VALBOX:" ones through it and the others in an input box (a cancelled box answers ""),
// and the answers fill the description's "$AMT" marks and the command's "$AMT" and "AMT" marks.
// Without it only the texts are copied and the answers are left empty.
void FillCommand(PickerCommand& target, const PickerCommand& entry, const ValboxAsk* valbox);

// Replaces the marks of `text` with the answers in one pass, so an answer that itself holds a mark
// stays as typed. `plainMarks` adds "AMT1" and "AMT2" to "$AMT1" and "$AMT2".
std::string ReplaceAnswerMarks(const std::string& text, const std::string& amt1,
                               const std::string& amt2, bool plainMarks);

}  // namespace dv::ui
