#include "tests/support/recording_host.h"

#include <algorithm>

namespace dv::test {

void RecordingHost::MessageBox(const std::string& text, const std::string&) {
    messages.push_back(text);
}

std::string RecordingHost::InputBox(const std::string& prompt, const std::string&,
                                    const std::string&) {
    prompts.push_back(prompt);
    if (inputAnswers.empty()) return {};
    std::string answer = inputAnswers.front();
    inputAnswers.pop_front();
    return answer;
}

bool RecordingHost::AskYesNo(const std::string& question, const std::string&) {
    prompts.push_back(question);
    if (yesNoAnswers.empty()) return false;
    bool answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
}

void RecordingHost::OpenURL(const std::string& viewer, const std::string& location) {
    if (onPageLoad) onPageLoad(viewer, location);
    pages.push_back({viewer, location});
}

void RecordingHost::Call(WindowCall call, const std::string& argument) {
    std::string line = WindowCallName(call);
    if (!argument.empty()) line += ":" + argument;
    calls.push_back(line);
    const auto found = onCall.find(call);
    if (found == onCall.end() || !found->second) return;
    // A copy: the steps may set new steps for the same call.
    const std::function<void()> steps = found->second;
    steps();
}

int RecordingHost::CountMessages(const std::string& text) const {
    return static_cast<int>(std::count(messages.begin(), messages.end(), text));
}

}  // namespace dv::test
