#include "engine/model/state.h"

#include "engine/model/guard.h"

namespace dv {
namespace {

std::unique_ptr<State>& Instance() {
    static std::unique_ptr<State> instance = std::make_unique<State>();
    return instance;
}

SilentHost silentHost;
Host* currentHost = &silentHost;

}  // namespace

State* detail::currentState = nullptr;

State& detail::MakeState() {
    currentState = Instance().get();
    return *currentState;
}

void ResetState() {
    // The new instance is current before the old one goes, as the replaced pointer has it.
    std::unique_ptr<State> fresh = std::make_unique<State>();
    detail::currentState = fresh.get();
    Instance() = std::move(fresh);
}

Host& TheHost() {
    return *currentHost;
}

void SetHost(Host* host) {
    currentHost = host ? host : &silentHost;
}

void ReportError(const char* procedure) {
    TheHost().MessageBox(std::string("Error in ") + procedure, "Duvenhall");
}

void ReportError(const char* procedure, const std::string& detail) {
    TheHost().MessageBox(std::string("Error in ") + procedure + ": " + detail, "Duvenhall");
}

const char* WindowCallName(WindowCall call) {
    switch (call) {
        case WindowCall::SetEndTurnCaption:
            return "SetEndTurnCaption";
        case WindowCall::HideHand:
            return "HideHand";
        case WindowCall::EnableDeckManagerMenu:
            return "EnableDeckManagerMenu";
        case WindowCall::ShowHelpWindow:
            return "ShowHelpWindow";
        case WindowCall::LoadCardPicture:
            return "LoadCardPicture";
        case WindowCall::RedrawHand:
            return "RedrawHand";
        case WindowCall::ShowMainWindow:
            return "ShowMainWindow";
        case WindowCall::HideMainWindow:
            return "HideMainWindow";
        case WindowCall::ShowProfileMenu:
            return "ShowProfileMenu";
        case WindowCall::ShowDeckManager:
            return "ShowDeckManager";
        case WindowCall::StoreFullSizeTick:
            return "StoreFullSizeTick";
        case WindowCall::ShowDebugMode:
            return "ShowDebugMode";
        case WindowCall::EndProgram:
            return "EndProgram";
    }
    return "";
}

}  // namespace dv
