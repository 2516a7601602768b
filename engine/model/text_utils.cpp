#include "engine/model/text_utils.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <stdexcept>
#include <utility>

#include "engine/model/state.h"

namespace dv {
namespace {

// Local time of day in seconds, with its fraction, as the generator's seed at every new game.
double SecondsSinceMidnight() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto fraction =
        std::chrono::duration<double>(now - std::chrono::system_clock::from_time_t(seconds));
    return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + fraction.count();
}

// A replacement that keeps producing its search text would otherwise never end.
constexpr long kMaxReplacements = 1'000'000;
constexpr int kMaxSetFields = 50;
constexpr long long kMaxDice = 10'000;
constexpr int kMaxRandomStrings = 255;
// Beyond this a product of whole numbers no longer fits the result type.
constexpr double kLargestWhole = 9007199254740992.0;

// Removes every occurrence of part in one left-to-right pass.
std::string RemoveEvery(std::string text, const std::string& part) {
    if (part.empty()) return text;
    std::size_t at = 0;
    while ((at = text.find(part, at)) != std::string::npos)
        text.erase(at, part.size());
    return text;
}

// The last component of a path, ignoring trailing separators.
std::string LastComponent(std::string path, const std::string& separator) {
    while (path.size() >= separator.size() &&
           path.compare(path.size() - separator.size(), separator.size(), separator) == 0)
        path.erase(path.size() - separator.size());
    const std::size_t at = path.rfind(separator);
    return at == std::string::npos ? path : path.substr(at + separator.size());
}

std::string HexDigits(long long value) {
    static const char* digits = "0123456789ABCDEF";
    uint32_t v = static_cast<uint32_t>(value);
    std::string out;
    do {
        out.insert(out.begin(), digits[v % 16]);
        v /= 16;
    } while (v != 0);
    return out;
}

}  // namespace

std::string GetField(const std::string& text, int n, const std::string& delimiter, int startPos) {
    int foundPos = 0;
    return GetField(text, n, delimiter, startPos, foundPos);
}

std::string GetField(const std::string& text, int n, const std::string& delimiter, int startPos,
                     int& foundPos) {
    if (delimiter.empty()) return n == 1 ? text : std::string();
    if (n < 1) return {};
    auto& cache = St().GetFieldCache;
    const std::string s = text + delimiter;
    // Positions are counted from 1, as the callers' foundPos expects.
    long p = startPos < 1 ? 1 : startPos;
    int counter = 1;
    if (cache.Text == s && cache.Delimiter == delimiter && n == cache.Field + 1) {
        p = cache.Start;
        counter = cache.Field;
    }
    if (p > static_cast<long>(s.size()) || s.find(delimiter, p - 1) == std::string::npos)
        return n == 1 ? s : std::string();
    while (true) {
        if (p < 1 || p > static_cast<long>(s.size())) return {};
        const std::size_t next = s.find(delimiter, p - 1);
        if (next == std::string::npos) return {};
        if (counter == n) {
            std::string field = s.substr(p - 1, next - (p - 1));
            cache.Text = s;
            cache.Delimiter = delimiter;
            cache.Start = static_cast<int>(p);
            cache.Field = n;
            foundPos = static_cast<int>(p);
            // The position moves one past the start of a delimiter, so a longer delimiter
            // leaves its tail at the front of the field.
            if (delimiter.size() > 1) field = RemoveEvery(field, delimiter.substr(1));
            return field;
        }
        ++counter;
        p = static_cast<long>(next) + 2;
    }
}

std::string GetFieldsFrom(const std::string& text, int n, const std::string& delimiter) {
    if (n <= 1) return text;
    if (delimiter.empty()) return {};
    std::size_t from = 0;
    for (int field = 1; field < n; ++field) {
        const std::size_t at = text.find(delimiter, from);
        if (at == std::string::npos) return {};
        from = at + delimiter.size();
    }
    return text.substr(from);
}

void SetField(std::string& text, int n, const std::string& value) {
    if (n < 1 || n > kMaxSetFields) throw std::out_of_range("field " + std::to_string(n));
    std::string fields[kMaxSetFields + 1];
    int count = 0;
    for (int i = 1; i <= kMaxSetFields; ++i) {
        fields[i] = GetField(text, i, ":");
        if (!fields[i].empty()) count = i;
    }
    fields[n] = value;
    if (n > count) count = n;
    std::string out = fields[1];
    for (int i = 2; i <= count; ++i)
        out += ":" + fields[i];
    text = std::move(out);
}

std::string& ReplaceAll(std::string& text, const std::string& find,
                        const std::string& replacement) {
    if (find.empty()) return text;
    std::size_t from = 0;
    if (replacement.find(find) != std::string::npos) {
        // Rescanning would find the replacement again forever: one pass instead.
        while ((from = text.find(find, from)) != std::string::npos) {
            text.replace(from, find.size(), replacement);
            from += replacement.size();
        }
        return text;
    }
    // Each replacement rescans from the start of the text, so occurrences it forms are replaced
    // too. Nothing before the last match can change, so the scan resumes just before it.
    for (long done = 0; done < kMaxReplacements; ++done) {
        const std::size_t at = text.find(find, from);
        if (at == std::string::npos) break;
        text.replace(at, find.size(), replacement);
        from = at >= find.size() - 1 ? at - (find.size() - 1) : 0;
    }
    return text;
}

std::string ReplaceAllCopy(std::string text, const std::string& find,
                           const std::string& replacement) {
    ReplaceAll(text, find, replacement);
    return text;
}

Value MaxOf(const Value& a, const Value& b) {
    return a > b ? a : b;
}

Value MinOf(const Value& a, const Value& b) {
    return a < b ? a : b;
}

double AbsDiff(double a, double b) {
    return std::fabs(a - b);
}

void SwapValues(Value& a, Value& b) {
    std::swap(a, b);
}

long long RandomNum(double n) {
    const double m = std::trunc(n);
    if (!std::isfinite(m) || std::fabs(m) > kLargestWhole)
        throw std::overflow_error("random range too large");
    return static_cast<long long>(std::floor(m * St().Random.Draw())) + 1;
}

long long RollDice(double count, double sides) {
    const double c = std::trunc(count);
    if (!(c > 0)) return 0;
    const long long rolls = c > kMaxDice ? kMaxDice : static_cast<long long>(c);
    long long sum = 0;
    for (long long i = 0; i < rolls; ++i)
        sum += RandomNum(sides);
    return sum;
}

void SeedFromClock() {
    State& st = St();
    st.Random.Seed(st.SeedOverride ? *st.SeedOverride : SecondsSinceMidnight());
}

void SeedRandom(const std::string& seedText, const Value& offset) {
    const std::string seed = seedText.empty() ? "RANDOM" : seedText;
    Rng& random = St().Random;
    random.Seed(-5);
    const double asNumber = ReadNumber(seed);
    if (asNumber != 0) {
        random.Seed(asNumber + offset.Num());
        return;
    }
    // Halves round to the even neighbour, as the seed of every saved game was made.
    long middle = std::lround(std::nearbyint(static_cast<double>(seed.size()) / 2.0));
    if (middle < 1) middle = 1;
    auto code = [&](std::size_t i) {
        return static_cast<double>(static_cast<unsigned char>(seed[i]));
    };
    random.Seed(offset.Num() + code(seed.size() - 1) + code(0) + code(middle - 1));
}

Value ColorValue(const std::string& colourText) {
    constexpr int kWhite = 16777215;
    const std::string digits = RemoveEvery(colourText, "#");
    if (digits.empty()) return Value("0");
    if (digits.size() > 8) return kWhite;
    uint32_t v = 0;
    for (char c : digits) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else
            return kWhite;
        v = v * 16 + static_cast<uint32_t>(d);
    }
    return static_cast<double>(static_cast<int32_t>(v));
}

void SplitColorCore(long long colour, long long& low, long long& middle, long long& high, int) {
    if (colour == 0) {
        low = middle = high = 0;
        return;
    }
    low = colour & 255;
    middle = (colour & 65280) / 256;
    high = (colour & 16711680) / 65536;
}

void SplitColor(long long colour, long long& low, long long& middle, long long& high) {
    SplitColorCore(colour, low, middle, high, 24);
}

std::string RGBHex(long long a, long long b, long long c) {
    std::string out;
    for (long long part : {a, b, c}) {
        std::string hex = HexDigits(part);
        if (hex.size() == 1) hex.insert(hex.begin(), '0');
        out += hex;
    }
    return out;
}

void FileNameOf(std::string& path) {
    ReplaceAll(path, "\\\\", "\\");
    path = LastComponent(path, "\\");
}

void UrlFileNameOf(std::string& path) {
    ReplaceAll(path, "//", "/");
    path = LastComponent(path, "/");
}

void AddRandomString(const std::string& listName, const std::string& text) {
    auto& lists = St().RandomStringLists;
    if (lists.empty()) lists.Resize(1);
    int found = 0;
    for (int i = 1; i <= lists.size() && found == 0; ++i)
        if (lists[i].Name == listName || lists[i].Name.empty()) found = i;
    if (found == 0) {
        lists.Resize(lists.size() + 1);
        found = lists.size();
    }
    RandomStringList& list = lists[found];
    if (list.Name.empty() && list.Strings.empty()) {
        list.Name = listName;
        list.Strings = List<std::string>{text};
        return;
    }
    if (list.Strings.size() >= kMaxRandomStrings) return;
    list.Strings.PushBack(text);
}

std::string GetRandomString(const std::string& listName) {
    for (const RandomStringList& list : St().RandomStringLists) {
        if (list.Name != listName) continue;
        if (list.Strings.empty()) return {};
        return list.Strings[RandomNum(list.Strings.size())];
    }
    return "(STRING NOT FOUND)";
}

}  // namespace dv
