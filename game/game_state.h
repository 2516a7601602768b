#pragma once

namespace dv {

struct GameState {};

}  // namespace dv
