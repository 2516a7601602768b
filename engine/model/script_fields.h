#pragma once
// Splits a script or expression once into its fields, numbered from 1 like GetField's, so a
// loop over many fields does not rescan the text for each one.

#include <algorithm>
#include <string_view>
#include <vector>

namespace dv {

class ScriptFields {
  public:
    ScriptFields(std::string_view text, char delimiter) {
        // Room for every field at once: growing field by field would allocate again and again.
        fields_.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), delimiter)) +
                        1);
        std::size_t start = 0;
        for (;;) {
            std::size_t end = text.find(delimiter, start);
            if (end == std::string_view::npos) {
                fields_.push_back(text.substr(start));
                return;
            }
            fields_.push_back(text.substr(start, end - start));
            start = end + 1;
        }
    }

    // Field n, counted from 1; empty beyond the last field.
    std::string_view operator[](long long n) const {
        if (n < 1 || n > static_cast<long long>(fields_.size())) return {};
        return fields_[static_cast<std::size_t>(n - 1)];
    }

  private:
    std::vector<std::string_view> fields_;
};

}  // namespace dv
