#include "ui/common/engine_guard.h"

#include "engine/model/guard.h"

namespace dv::ui {
namespace {

int running = 0;

}  // namespace

EngineGuard::EngineGuard() : outermost_(running == 0) {
    ++running;
}

EngineGuard::~EngineGuard() {
    --running;
}

bool EngineGuard::Busy() {
    return running > 0;
}

ModalScope::ModalScope() : outer_(running) {
    running = 0;
}

ModalScope::~ModalScope() {
    running = outer_;
}

void ReportCommandError(const char* name) {
    ReportError(name);
}

}  // namespace dv::ui
