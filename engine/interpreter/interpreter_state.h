#pragma once

namespace dv {

struct InterpreterState {};

}  // namespace dv
