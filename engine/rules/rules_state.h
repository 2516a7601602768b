#pragma once

namespace dv {

struct RulesState {};

}  // namespace dv
