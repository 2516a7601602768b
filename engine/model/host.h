#pragma once
// The one way the engine reaches windows and dialogs. The program supplies a Qt host; tests
// supply a recording host that answers questions from a script, so nothing ever blocks.

#include <string>

namespace dv {

// Window calls the engine makes besides dialogs and pages. Each takes at most one text argument.
enum class WindowCall {
    SetEndTurnCaption,      // the end-turn button's caption
    HideHand,               // hides every hand picture and label of the main window
    EnableDeckManagerMenu,  // argument "1" enables, "0" disables
    ShowHelpWindow,         // shows the help window modeless and brings it to the front
    LoadCardPicture,        // loads the located picture (argument) into the card picture
    RedrawHand,             // redraws the hand of player 1
    ShowMainWindow,
    HideMainWindow,
    ShowProfileMenu,    // the profile chooser, modal: sets CurrentProfile and reads its player file
    ShowDeckManager,    // the deck manager, modal: sets CurrentDeck, or DeckRejected to 1
    StoreFullSizeTick,  // stores in FullSize whether the full-size menu item is ticked
    ShowDebugMode,      // ticks the debug-mode menu item exactly when DebugMode is 1
    EndProgram,         // closes every window without saving; the program ends, unless a
                        // window's unsaved work keeps it going: EndProgram is then 0 again
};

const char* WindowCallName(WindowCall call);

class Host {
  public:
    virtual ~Host() = default;
    virtual void MessageBox(const std::string& text, const std::string& title) = 0;
    // The typed text; empty when the user cancels.
    virtual std::string InputBox(const std::string& prompt, const std::string& title,
                                 const std::string& defaultText) = 0;
    virtual bool AskYesNo(const std::string& question, const std::string& title) = 0;
    // Shows a location (a file path or URL) in the named viewer; returns once it has loaded.
    virtual void OpenURL(const std::string& viewer, const std::string& location) = 0;
    virtual void Call(WindowCall call, const std::string& argument) = 0;
};

// A host for runs without windows: messages vanish, inputs are cancelled, questions answered no.
class SilentHost : public Host {
  public:
    void MessageBox(const std::string&, const std::string&) override {}
    std::string InputBox(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
    void OpenURL(const std::string&, const std::string&) override {}
    void Call(WindowCall, const std::string&) override {}
};

}  // namespace dv
