#pragma once
// Small text pieces shared by the page composers of this folder.

#include <string>
#include <string_view>

#include "engine/model/records.h"

namespace dv {

// Replaces every occurrence of find, left to right, without rescanning what was put in, so a
// replacement that holds find itself cannot make the filling run on.
void FillAll(std::string& text, std::string_view find, std::string_view replacement);

// Text with its placeholders filled for one card, as its own source and target, with no pictures.
std::string FilledForCard(Card& card, std::string text);

// A colour "#RRGGBB" with each component divided by divisor and rounded half to even, as six
// upper-case hexadecimal digits without "#".
std::string ColourShade(const std::string& colour, int divisor);

// The location of a page file of the program folder, as handed to a viewer.
std::string PageLocation(const std::string& fileName);

}  // namespace dv
