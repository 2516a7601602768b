#pragma once
// A host that records everything the engine shows and answers questions from a script. Hooks
// let a test stand in for the windows: the steps a modal window would take when the engine
// calls it, and a look at each page as it is loaded.

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "engine/model/host.h"

namespace dv::test {

class RecordingHost : public Host {
  public:
    struct Page {
        std::string viewer;
        std::string location;
    };

    std::vector<std::string> messages;
    std::vector<Page> pages;
    std::vector<std::string> calls;  // "Name" or "Name:argument"
    std::vector<std::string> prompts;

    // Answers given in order; an input box with no scripted answer gets empty text (cancel),
    // a question with none gets no.
    std::deque<std::string> inputAnswers;
    std::deque<bool> yesNoAnswers;

    // Run after a window call is recorded: the profile chooser and the deck manager are modal,
    // so their steps (the choices a user would make) run before the engine goes on.
    std::map<WindowCall, std::function<void()>> onCall;
    // Run as a page is loaded, before it is recorded, while its file is as the engine wrote it.
    // A throw stands for a viewer that refuses the page, which is then not recorded.
    std::function<void(const std::string& viewer, const std::string& location)> onPageLoad;

    void MessageBox(const std::string& text, const std::string& title) override;
    std::string InputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;
    bool AskYesNo(const std::string& question, const std::string& title) override;
    void OpenURL(const std::string& viewer, const std::string& location) override;
    void Call(WindowCall call, const std::string& argument) override;

    int CountMessages(const std::string& text) const;
};

}  // namespace dv::test
