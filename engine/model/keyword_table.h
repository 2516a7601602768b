#pragma once
// The card language's keywords: one table that the compiler and the interpreter both read, so a
// keyword is declared in exactly one place.

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace dv {

inline constexpr int kMaxCommandCode = 128;

struct Keyword {
    std::string_view word;
    int16_t code = 0;   // 1 to kMaxCommandCode
    int8_t fields = 0;  // script fields that follow the keyword and belong to it
    bool stopsCompiling = false;
    std::array<std::string_view, 3> aliases{};  // other keywords compiling to the same code
};

// Every keyword in table order.
const std::vector<Keyword>& KeywordTable();
// The row whose keyword or alias is exactly word (case counts), or nullptr.
const Keyword* FindKeyword(std::string_view word);
// The row of a command code, or nullptr.
const Keyword* KeywordByCode(int code);
// The command code of a keyword or alias, or 0 when it is none.
int16_t KeywordCode(std::string_view word);

}  // namespace dv
