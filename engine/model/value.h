#pragma once
// A value that may be text or a number, as trait values, amounts and sort keys are.

#include <string>
#include <string_view>

namespace dv {

// The leading numeric part of text (blanks skipped); text without one reads as 0.
double ReadNumber(std::string_view text);
// The shortest decimal text that reads back as the same number ("3", "-2.5", never "1e+20").
std::string NumberText(double number);

class Value {
  public:
    Value() = default;
    Value(double n) : number_(n), isNumber_(true) {}
    Value(int n) : number_(n), isNumber_(true) {}
    Value(long n) : number_(static_cast<double>(n)), isNumber_(true) {}
    Value(long long n) : number_(static_cast<double>(n)), isNumber_(true) {}
    Value(std::string text) : text_(std::move(text)) {}
    Value(const char* text) : text_(text) {}

    bool IsNumber() const { return isNumber_; }
    bool IsText() const { return !isNumber_; }
    double Num() const { return isNumber_ ? number_ : ReadNumber(text_); }
    std::string Text() const { return isNumber_ ? NumberText(number_) : text_; }

    // A number never equals a text and orders below every text; texts compare by character codes.
    friend int Compare(const Value& a, const Value& b);
    friend bool operator==(const Value& a, const Value& b) { return Compare(a, b) == 0; }
    friend bool operator<(const Value& a, const Value& b) { return Compare(a, b) < 0; }
    friend bool operator>(const Value& a, const Value& b) { return Compare(a, b) > 0; }

  private:
    std::string text_;
    double number_ = 0;
    bool isNumber_ = false;
};

}  // namespace dv
