#include "engine/model/value.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace dv {

double ReadNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    const std::size_t digitsFrom = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i;
    const std::size_t digitsTo = i;
    bool anyDigit = i > digitsFrom;
    bool point = false;
    if (i < text.size() && text[i] == '.') {
        point = true;
        const std::size_t fracFrom = ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
        anyDigit = anyDigit || i > fracFrom;
    }
    if (!anyDigit) return 0;
    // Most numbers read are short whole numbers, which a double holds exactly as strtod would
    // give them: no copy for strtod is needed.
    constexpr std::size_t kExactDigits = 15;
    if (!point && digitsTo - digitsFrom <= kExactDigits) {
        double value = 0;
        for (std::size_t k = digitsFrom; k < digitsTo; ++k)
            value = value * 10 + (text[k] - '0');
        return text[start] == '-' ? -value : value;
    }
    std::string part(text.substr(start, i - start));
    if (part[0] == '+') part.erase(0, 1);
    double result = std::strtod(part.c_str(), nullptr);
    return std::isfinite(result) ? result : 0;
}

std::string NumberText(double number) {
    if (number == 0) return "0";  // also turns -0 into "0"
    // Most numbers written are whole and small: their shortest fixed form is their digits, which
    // the integer form gives at less cost.
    constexpr double kExactWhole = 1e15;
    if (std::fabs(number) < kExactWhole && std::trunc(number) == number) {
        char digits[24];
        const auto written =
            std::to_chars(digits, digits + sizeof digits, static_cast<long long>(number));
        return std::string(digits, written.ptr);
    }
    char buffer[400];
    auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::fixed);
    if (ec != std::errc()) return "0";
    return std::string(buffer, end);
}

int Compare(const Value& a, const Value& b) {
    if (a.isNumber_ && b.isNumber_)
        return a.number_ < b.number_ ? -1 : (a.number_ > b.number_ ? 1 : 0);
    if (a.isNumber_) return -1;
    if (b.isNumber_) return 1;
    int c = a.text_.compare(b.text_);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace dv
