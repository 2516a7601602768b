#pragma once
// The engine's seams for a window test that builds a window by itself, without the program: a
// fresh state in a program folder, a recording host and scripted dialogs, installed before each
// test and taken out after it.

#include <filesystem>

#include "tests/support/recording_host.h"
#include "tests/support/scripted_dialogs.h"

namespace dv::test {

class WindowSeams {
  public:
    // A fresh state, host and script; `folder`, when given, is the program and current folder.
    void Install(const std::filesystem::path& folder = {});
    void Remove();

    RecordingHost host;
    ScriptedDialogs dialogs;
};

}  // namespace dv::test
