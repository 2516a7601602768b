#pragma once
// Value expressions: "/"-separated tokens evaluated left to right into an accumulator.

#include <string>

#include "engine/model/records.h"
#include "engine/model/value.h"

namespace dv {

Value Transval(Card& source, Card& target, const Value& expression,
               const std::string& startTrait = "");
Value Transval(Card& source, Card& target, const Value& expression, const std::string& startTrait,
               Value& keywordFlag);
double Getnum(const std::string& text);

}  // namespace dv
