#pragma once
// The program: its folder, its windows and host, the start-up set-up and the event loop.

#include <filesystem>
#include <memory>

#include "ui/main/folder_lock.h"

namespace dv::ui {

class Dialogs;
class HelpWindow;
class MainWindow;
class QtDialogs;
class QtHost;

class Program {
  public:
    // The program folder holds the games, the player files and the pages the game writes.
    // Without dialogs of its own the program uses Qt's.
    explicit Program(const std::filesystem::path& programFolder, Dialogs* dialogs = nullptr);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Main and QuickStart: the profile chooser when no profile is chosen, the games page in the
    // board view, the main window shown. False when no profile was chosen, or when another
    // program runs in the same folder (it says so): the program ends.
    bool Start();
    // Start, then the event loop; the exit code.
    int Run();

    QtHost& Host() { return *host_; }
    MainWindow& Window() { return *main_; }
    HelpWindow& Help() { return *help_; }

  private:
    // The windows of other parts of the program plug in here: the deck manager answers
    // WindowCall::ShowDeckManager through QtHost::SetAnswer, and the card designer opens from the
    // main window's "Card Editor" through MainWindow::SetCardEditorOpener.
    void PlugInWindows();

    std::filesystem::path folder_;
    FolderLock lock_;
    std::unique_ptr<QtDialogs> qtDialogs_;
    std::unique_ptr<QtHost> host_;
    std::unique_ptr<HelpWindow> help_;
    std::unique_ptr<MainWindow> main_;
};

}  // namespace dv::ui
