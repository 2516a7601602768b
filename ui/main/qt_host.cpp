#include "ui/main/qt_host.h"

#include <QApplication>

#include "engine/model/state.h"
#include "ui/common/dialogs.h"
#include "ui/common/engine_guard.h"
#include "ui/common/qt_dialogs.h"
#include "ui/decks/profile_dialog.h"
#include "ui/main/help_window.h"
#include "ui/main/main_window.h"
#include "viewer/ulk_browser.h"

namespace dv::ui {

void QtHost::SetMainWindow(MainWindow* window) {
    main_ = window;
}

void QtHost::SetHelpWindow(HelpWindow* window) {
    help_ = window;
}

void QtHost::AddViewer(const std::string& name, ulkBrowser* viewer) {
    viewers_[name] = viewer;
}

void QtHost::SetAnswer(WindowCall call, Answer answer) {
    answers_[call] = std::move(answer);
}

void QtHost::MessageBox(const std::string& text, const std::string& title) {
    if (!ending_) TheDialogs().Message(text, title);
}

std::string QtHost::InputBox(const std::string& prompt, const std::string& title,
                             const std::string& defaultText) {
    if (ending_) return {};
    return TheDialogs().Input(prompt, title, defaultText).value_or("");
}

bool QtHost::AskYesNo(const std::string& question, const std::string& title) {
    return !ending_ && TheDialogs().YesNo(question, title);
}

void QtHost::OpenURL(const std::string& viewer, const std::string& location) {
    if (ending_) return;
    const auto found = viewers_.find(viewer);
    if (found == viewers_.end() || !found->second) return;
    found->second->OpenURL(ToQt(location));
}

void QtHost::Call(WindowCall call, const std::string& argument) {
    if (ending_) return;
    const bool modal = call == WindowCall::ShowProfileMenu || call == WindowCall::ShowDeckManager;
    if (const auto answer = answers_.find(call); answer != answers_.end()) {
        if (modal) {
            ModalScope scope;
            answer->second(argument);
        } else {
            answer->second(argument);
        }
        // A deck manager that ended the program hands nothing back.
        if (call == WindowCall::ShowDeckManager && main_ && !ending_) main_->HandBack();
        return;
    }
    switch (call) {
        case WindowCall::ShowProfileMenu:
            ShowProfileMenu();
            return;
        case WindowCall::ShowDeckManager:
            return;
        case WindowCall::ShowHelpWindow:
            if (help_) help_->ShowInFront();
            return;
        case WindowCall::EndProgram:
            EndProgram();
            return;
        default:
            break;
    }
    if (!main_) return;
    switch (call) {
        case WindowCall::SetEndTurnCaption:
            main_->SetEndTurnCaption(argument);
            break;
        case WindowCall::HideHand:
            main_->HideHand();
            break;
        case WindowCall::EnableDeckManagerMenu:
            main_->EnableDeckManagerMenu(argument == "1");
            break;
        case WindowCall::LoadCardPicture:
            main_->LoadCardPicture(argument);
            break;
        case WindowCall::RedrawHand:
            main_->UpdateHand();
            break;
        case WindowCall::ShowMainWindow:
            main_->ShowFromEngine();
            break;
        case WindowCall::HideMainWindow:
            main_->hide();
            break;
        case WindowCall::StoreFullSizeTick:
            main_->StoreFullSizeTick();
            break;
        case WindowCall::ShowDebugMode:
            main_->ShowDebugMode();
            break;
        default:
            break;
    }
}

void QtHost::ShowProfileMenu() {
    ModalScope scope;
    ProfileDialog chooser(main_);
    chooser.exec();
}

void QtHost::EndProgram() {
    // Cards whose save did not happen keep the program going as it was before it was told to
    // end; the command that told it reads EndProgram cleared.
    if (!ProgramMayEnd()) {
        St().EndProgram = 0;
        return;
    }
    ending_ = true;
    if (main_) main_->CloseWithoutSaving();
    // Each window is closed even when one before it refuses (closeAllWindows stops there).
    QList<QPointer<QWidget>> windows;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && top->windowType() != Qt::Desktop) windows.append(top);
    for (const QPointer<QWidget>& window : windows)
        if (window && window->isVisible()) window->close();
    EndEventLoop();
}

namespace {

std::function<bool()>& EndQuestion() {
    static std::function<bool()> question;
    return question;
}

}  // namespace

void SetEndQuestion(std::function<bool()> mayEnd) {
    EndQuestion() = std::move(mayEnd);
}

bool ProgramMayEnd() {
    return !EndQuestion() || EndQuestion()();
}

void EndEventLoop() {
    // Closing the last window only posts the end of the loop, and any event loop entered after
    // that (a page wait of the main window's hand-back, a modal window) takes it back: the
    // process went on with no window. Quit ends every loop running, and none runs again.
    QCoreApplication::quit();
}

}  // namespace dv::ui
