// Placeholder bodies until this module is built; each ends with its default result.
#include "engine/pages/page_buffer.h"

namespace dv {

void AddHTML(const std::string&) {}
bool CreateHTML(const std::string&, const std::string&) { return {}; }
void HTMLDisplay(const std::string&) {}
void HTMLDisplay2(const std::string&, const std::string&) {}
void DisplayHelp(const std::string&) {}

}  // namespace dv
