// Placeholder until the keyword table is filled.
#include "engine/rules/keyword_table.h"

namespace dv {

const std::vector<Keyword>& KeywordTable() {
    static const std::vector<Keyword> table;
    return table;
}
const Keyword* FindKeyword(std::string_view) { return nullptr; }
const Keyword* KeywordByCode(int) { return nullptr; }

}  // namespace dv
