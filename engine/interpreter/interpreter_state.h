#pragma once

#include <cstdint>
#include <string>

namespace dv {

struct InterpreterState {
    int NestingDepth = 0;
    uint8_t DeleteEffectPending = 0;
    std::string RedirectText;
};

}  // namespace dv
