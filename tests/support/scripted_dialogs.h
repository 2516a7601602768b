#pragma once
// Dialogs answered from a script, recording what was asked: no real dialog ever opens in a test.
// A dialog with no scripted answer is cancelled (a question is answered no). A save dialog does
// what the program's does: it adds its default extension to an answer that has none, and asks
// whether an existing file may be replaced, the answer taken from `answers` (no: cancelled).

#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ui/common/dialogs.h"

namespace dv::test {

class ScriptedDialogs : public ui::Dialogs {
  public:
    std::vector<std::string> messages;
    std::vector<std::string> asked;       // prompts, questions and dialog titles, in order
    std::vector<std::string> filters;     // the file dialogs' filters, in order
    std::vector<std::string> extensions;  // the save dialogs' default extensions, in order

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
                                        const std::string&, const std::string& filter,
                                        const std::string& defaultExtension) override {
        asked.push_back(title);
        filters.push_back(filter);
        extensions.push_back(defaultExtension);
        std::optional<std::string> file = Next(files);
        if (!file || file->empty()) return file;
        namespace fs = std::filesystem;
        if (!defaultExtension.empty() && !fs::path(*file).has_extension())
            *file += "." + defaultExtension;
        // A folder of that name is opened by the dialog, not replaced: the save then fails.
        std::error_code ec;
        if (fs::exists(*file, ec) && !fs::is_directory(*file, ec) &&
            !YesNo(ReplaceQuestion(*file), title))
            return std::nullopt;
        return file;
    }
    // The question a save dialog asks about a file that exists.
    static std::string ReplaceQuestion(const std::string& file) {
        return std::filesystem::path(file).filename().string() +
               " already exists. Do you want to replace it?";
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
