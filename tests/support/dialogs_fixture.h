#pragma once
// An engine test whose windows' questions are answered from a script: the script is installed
// for the test and taken out again, so that no test leaves its answers to the next.

#include "tests/support/engine_fixture.h"
#include "tests/support/scripted_dialogs.h"
#include "ui/common/dialogs.h"

namespace dv::test {

// `Base` is the engine fixture the test builds on (its board, its host).
template <class Base = EngineTest>
class DialogsTestOn : public Base {
  protected:
    void SetUp() override {
        Base::SetUp();
        ui::SetDialogs(&dialogs);
    }
    void TearDown() override {
        ui::SetDialogs(nullptr);
        Base::TearDown();
    }

    ScriptedDialogs dialogs;
};

using DialogsTest = DialogsTestOn<>;

}  // namespace dv::test
