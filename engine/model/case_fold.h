#pragma once
// Caseless comparison of the 8-bit texts (trait, file, set, zone and link names): two texts are
// the same when their upper-case forms are, byte by byte in the C locale's sense.

#include <cctype>
#include <string>
#include <string_view>

namespace dv {

std::string UpperText(std::string text);
std::string LowerText(std::string text);

// The C locale's upper case of one byte: only 'a' to 'z' change. Kept here rather than asked of
// std::toupper, whose answer would follow whatever locale the windows set.
constexpr char UpperByte(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Inline: trait lookups compare every stored name of a card this way.
inline bool SameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k)
        if (a[k] != b[k] && UpperByte(a[k]) != UpperByte(b[k])) return false;
    return true;
}

inline bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameNoCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace dv
