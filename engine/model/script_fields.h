#pragma once
// Splits a script or expression once into its fields, numbered from 1 like GetField's, so a
// loop over many fields does not rescan the text for each one.

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

namespace dv {

class ScriptFields {
  public:
    ScriptFields(std::string_view text, char delimiter)
        : count_(static_cast<std::size_t>(std::count(text.begin(), text.end(), delimiter)) + 1) {
        // Most scripts have few fields: they are kept here without taking room from the heap.
        std::string_view* fields = held_.data();
        if (count_ > held_.size()) {
            more_.resize(count_);
            fields = more_.data();
        }
        std::size_t start = 0;
        for (std::size_t k = 0; k + 1 < count_; ++k) {
            const std::size_t end = text.find(delimiter, start);
            fields[k] = text.substr(start, end - start);
            start = end + 1;
        }
        fields[count_ - 1] = text.substr(start);
    }

    // Field n, counted from 1; empty beyond the last field.
    std::string_view operator[](long long n) const {
        if (n < 1 || n > static_cast<long long>(count_)) return {};
        const std::size_t k = static_cast<std::size_t>(n - 1);
        return count_ > held_.size() ? more_[k] : held_[k];
    }

  private:
    static constexpr std::size_t kHeldFields = 16;
    std::size_t count_;
    std::array<std::string_view, kHeldFields> held_{};
    std::vector<std::string_view> more_;
};

}  // namespace dv
