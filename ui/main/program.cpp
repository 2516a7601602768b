#include "ui/main/program.h"

#include <QApplication>
#include <clocale>

#include "engine/model/state.h"
#include "game/startup.h"
#include "ui/common/dialogs.h"
#include "ui/common/qt_dialogs.h"
#include "ui/decks/deck_manager_window.h"
#include "ui/designer/card_edit_window.h"
#include "ui/main/help_window.h"
#include "ui/main/main_window.h"
#include "ui/main/qt_host.h"
#include "viewer/ulk_browser.h"

namespace dv::ui {

Program::Program(const std::filesystem::path& programFolder, Dialogs* dialogs)
    : folder_(programFolder),
      qtDialogs_(std::make_unique<QtDialogs>()),
      host_(std::make_unique<QtHost>()),
      help_(std::make_unique<HelpWindow>()),
      main_(std::make_unique<MainWindow>()) {
    // Qt takes the user's locale for the whole process; the engine reads "2.5" in card files
    // with the C library, which must keep the full stop as the decimal point.
    std::setlocale(LC_NUMERIC, "C");
    State& st = St();
    st.ProgramFolder = programFolder;
    st.CurrentFolder = programFolder;
    qtDialogs_->SetParent(main_.get());
    SetDialogs(dialogs ? dialogs : qtDialogs_.get());
    SetHost(host_.get());

    host_->SetMainWindow(main_.get());
    host_->SetHelpWindow(help_.get());
    main_->SetHelpWindow(help_.get());
    host_->AddViewer("ulkBrowser1", main_->BoardView());
    host_->AddViewer("InPlayulk", main_->QueueView());
    host_->AddViewer("CardDescULK", main_->CardView());
    host_->AddViewer("ChatWindow", main_->ChatView());
    host_->AddViewer("Helpulk", help_->Viewer());
    PlugInWindows();
}

Program::~Program() {
    SetHost(nullptr);
    SetDialogs(nullptr);
}

void Program::PlugInWindows() {
    host_->SetAnswer(WindowCall::ShowDeckManager,
                     [this](const std::string&) { RunDeckManager(main_.get()); });
    main_->SetCardEditorOpener([] { ShowCardEditor({}); });
    SetEndQuestion(CardEditorLetsProgramEnd);
    InstallDesignerLink();
}

bool Program::Start() {
    if (!lock_.Take(folder_)) {
        TheDialogs().Message(lock_.Refusal(), "Duvenhall");
        return false;
    }
    main_->Load();
    Main();
    return St().EndProgram == 0 && !host_->Ending();
}

int Program::Run() {
    if (!Start()) return 0;
    return QApplication::exec();
}

}  // namespace dv::ui
