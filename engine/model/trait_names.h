#pragma once
// A trait's base name (the part before ":"); names compare without regard to case
// (engine/model/case_fold.h).

#include <string>

namespace dv {

std::string BaseTraitName(const std::string& name);

}  // namespace dv
