// Placeholder bodies until this module is built; each ends with its default result.
#include "engine/model/value_expression.h"

namespace dv {

Value Transval(Card&, Card&, const Value&, const std::string&) { return {}; }
Value Transval(Card&, Card&, const Value&, const std::string&, Value&) { return {}; }
double Getnum(const std::string&) { return {}; }

}  // namespace dv
