// libFuzzer target: any bytes as a card data file. Seed it with tests/data/corpus.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "engine/model/state.h"
#include "tests/fuzz/card_file_reader_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::filesystem::path folder = [] {
        auto f = std::filesystem::temp_directory_path() /
                 ("duvenhall-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(f);
        return f;
    }();
    if (!dv::fuzz::ReadCardFileInput(data, size, folder)) std::abort();
    return 0;
}
