#pragma once
// Dialogs answered from a script, recording what was asked: no real dialog ever opens in a test.
// A dialog with no scripted answer is cancelled (a question is answered no).

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ui/common/dialogs.h"

namespace dv::test {

class ScriptedDialogs : public ui::Dialogs {
  public:
    std::vector<std::string> messages;
    std::vector<std::string> asked;    // prompts, questions and dialog titles, in order
    std::vector<std::string> filters;  // the file dialogs' filters, in order

    std::deque<std::optional<std::string>> inputs;  // nullopt: cancel
    std::deque<bool> answers;
    std::deque<std::optional<std::string>> files;  // open and save dialogs alike
    std::deque<std::optional<uint32_t>> colours;

    void Message(const std::string& text, const std::string&) override { messages.push_back(text); }
    std::optional<std::string> Input(const std::string& prompt, const std::string&,
                                     const std::string&) override {
        asked.push_back(prompt);
        return Next(inputs);
    }
    bool YesNo(const std::string& question, const std::string&) override {
        asked.push_back(question);
        if (answers.empty()) return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<std::string> OpenFile(const std::string& title, const std::string&,
                                        const std::string& filter) override {
        asked.push_back(title);
        filters.push_back(filter);
        return Next(files);
    }
    std::optional<std::string> SaveFile(const std::string& title, const std::string&,
                                        const std::string&, const std::string& filter) override {
        asked.push_back(title);
        filters.push_back(filter);
        return Next(files);
    }
    std::optional<uint32_t> Colour(uint32_t) override {
        asked.push_back("colour");
        return Next(colours);
    }

  private:
    template <class T>
    static std::optional<T> Next(std::deque<std::optional<T>>& queue) {
        if (queue.empty()) return std::nullopt;
        std::optional<T> answer = queue.front();
        queue.pop_front();
        return answer;
    }
};

}  // namespace dv::test
