#include "engine/model/case_fold.h"

namespace dv {

std::string UpperText(std::string text) {
    for (char& c : text)
        c = UpperByte(c);
    return text;
}

std::string LowerText(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace dv
