// libFuzzer target: any bytes as an action script run through the compiler, the interpreter and
// the dispatch. Seed it with tests/data/effect_corpus and the dictionary beside this file.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "tests/fuzz/effect_script_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::filesystem::path folder = [] {
        auto f = std::filesystem::temp_directory_path() /
                 ("duvenhall-effect-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(f);
        return f;
    }();
    if (!dv::fuzz::RunEffectScriptInput(data, size, folder)) std::abort();
    return 0;
}
