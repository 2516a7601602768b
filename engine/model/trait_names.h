#pragma once
// How trait names compare: without regard to case, and by base name (the part before ":").

#include <string>

namespace dv {

std::string UpperText(std::string text);
bool SameNoCase(const std::string& a, const std::string& b);
std::string BaseTraitName(const std::string& name);

}  // namespace dv
