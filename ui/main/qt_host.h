#pragma once
// The program's host: the engine's messages, questions and input go through the dialog seam,
// its pages to the viewer it names, and each window call to the window that answers it.

#include <QPointer>
#include <functional>
#include <map>
#include <string>

#include "engine/model/host.h"

class ulkBrowser;

namespace dv::ui {

class HelpWindow;
class MainWindow;

class QtHost : public Host {
  public:
    using Answer = std::function<void(const std::string& argument)>;

    void SetMainWindow(MainWindow* window);
    void SetHelpWindow(HelpWindow* window);
    // The viewers pages are shown in, by the name the engine gives them ("ulkBrowser1",
    // "InPlayulk", "CardDescULK", "ChatWindow", "Helpulk", "Deckulk").
    void AddViewer(const std::string& name, ulkBrowser* viewer);

    // A window that answers a window call of its own. The deck manager answers
    // WindowCall::ShowDeckManager here; until one does, that call does nothing. An answer given
    // here takes the place of the host's own (tests script the profile chooser this way).
    void SetAnswer(WindowCall call, Answer answer);

    void MessageBox(const std::string& text, const std::string& title) override;
    std::string InputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;
    bool AskYesNo(const std::string& question, const std::string& title) override;
    void OpenURL(const std::string& viewer, const std::string& location) override;
    void Call(WindowCall call, const std::string& argument) override;

    // Whether the program was told to end: it then shows, asks and opens nothing more.
    bool Ending() const { return ending_; }

  private:
    void ShowProfileMenu();
    void EndProgram();

    bool ending_ = false;
    QPointer<MainWindow> main_;
    QPointer<HelpWindow> help_;
    std::map<std::string, QPointer<ulkBrowser>> viewers_;
    std::map<WindowCall, Answer> answers_;
};

// The question every way the program ends asks before it closes anything: a window holding work
// of the author's (the designer's cards) answers it, and false keeps the program going. Unset, the
// program may end.
void SetEndQuestion(std::function<bool()> mayEnd);
bool ProgramMayEnd();

// Ends the program's event loop from wherever it is called: every modal window and page wait
// running returns, and none waits again. Before the loop runs (the start-up, a window test) it
// does nothing.
void EndEventLoop();

}  // namespace dv::ui
