#include "data/card_file_items.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>

#include "engine/model/files.h"
#include "engine/model/state.h"

namespace dv {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Days from 0001-01-01 to the given civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe;
}

std::string Trim(std::string s) {
    while (!s.empty() && (IsBlank(s.back()) || s.back() == '#'))
        s.pop_back();
    std::size_t i = 0;
    while (i < s.size() && (IsBlank(s[i]) || s[i] == '#'))
        ++i;
    return s.substr(i);
}

}  // namespace

CardFileFault::CardFileFault(std::string f, int l, const std::string& r)
    : RunFault(l > 0 ? f + ", line " + std::to_string(l) + ": " + r : f + ": " + r),
      file(std::move(f)),
      line(l),
      reason(r) {}

ItemReader::ItemReader(std::string_view bytes, std::string fileName)
    : bytes_(bytes), fileName_(std::move(fileName)) {
    if (bytes_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
}

void ItemReader::SkipBlanks() {
    while (pos_ < bytes_.size() && IsBlank(bytes_[pos_]))
        ++pos_;
}

bool ItemReader::AtLineEnd() const {
    return pos_ < bytes_.size() && (bytes_[pos_] == '\r' || bytes_[pos_] == '\n');
}

void ItemReader::SkipLineEnd() {
    if (bytes_[pos_] == '\r') ++pos_;
    if (pos_ < bytes_.size() && bytes_[pos_] == '\n') ++pos_;
    ++line_;
}

bool ItemReader::AtEnd() {
    SkipBlanks();
    return pos_ >= bytes_.size();
}

void ItemReader::Fail(const std::string& reason) const {
    throw CardFileFault(fileName_, itemLine_, reason);
}

std::string ItemReader::Next(const char* reading) {
    if (AtEnd()) {
        itemLine_ = line_;
        Fail(std::string("the file ends inside ") + reading);
    }
    itemLine_ = line_;
    std::string item;
    if (AtLineEnd()) {
        SkipLineEnd();
        return item;
    }
    if (bytes_[pos_] == '"') {
        ++pos_;
        // Taken a stretch at a time, up to each quote; a doubled quote stands for one.
        for (;;) {
            const std::size_t quote = bytes_.find('"', pos_);
            const std::string_view stretch = bytes_.substr(pos_, quote - pos_);
            line_ += static_cast<int>(std::count(stretch.begin(), stretch.end(), '\n'));
            if (quote == std::string_view::npos) {
                pos_ = bytes_.size();
                Fail("a quoted item is not closed");
            }
            item.append(stretch);
            pos_ = quote + 1;
            if (pos_ < bytes_.size() && bytes_[pos_] == '"') {
                item += '"';
                ++pos_;
                continue;
            }
            break;
        }
        // Whatever stands between the closing quote and the separator is not part of the item.
        while (pos_ < bytes_.size() && bytes_[pos_] != ',' && !AtLineEnd())
            ++pos_;
    } else {
        const std::size_t start = pos_;
        while (pos_ < bytes_.size() && bytes_[pos_] != ',' && !AtLineEnd())
            ++pos_;
        item.assign(bytes_.substr(start, pos_ - start));
        while (!item.empty() && IsBlank(item.back()))
            item.pop_back();
    }
    if (pos_ < bytes_.size()) {
        if (bytes_[pos_] == ',')
            ++pos_;
        else
            SkipLineEnd();
    }
    return item;
}

std::string ItemReader::NextOr(const std::string& fallback) {
    if (AtEnd()) return fallback;
    return Next("");
}

std::string PlainItem(const std::string& text) {
    bool quote = !text.empty() && (IsBlank(text.front()) || IsBlank(text.back()));
    for (char c : text)
        if (c == ',' || c == '"' || c == '\r' || c == '\n') quote = true;
    return quote ? "\"" + QuotedInside(text) + "\"" : text;
}

std::string QuotedInside(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (c == '"') out += '"';
    }
    return out;
}

long long NumberItem(const ItemReader& in, const std::string& item, long long low, long long high,
                     const char* field) {
    std::size_t i = 0;
    while (i < item.size() && IsBlank(item[i]))
        ++i;
    if (i == item.size()) return 0;
    bool negative = false;
    if (item[i] == '-' || item[i] == '+') negative = item[i++] == '-';
    long long value = 0;
    std::size_t digits = 0;
    bool huge = false;
    for (; i < item.size() && std::isdigit(static_cast<unsigned char>(item[i])); ++i, ++digits) {
        if (value > (1LL << 40)) huge = true;
        if (!huge) value = value * 10 + (item[i] - '0');
    }
    while (i < item.size() && IsBlank(item[i]))
        ++i;
    if (digits == 0 || i != item.size())
        in.Fail(std::string("\"") + item + "\" is not a number (" + field + ")");
    if (negative) value = -value;
    if (huge || value < low || value > high)
        in.Fail(std::string("\"") + item + "\" is out of range for " + field);
    return value;
}

long long LeadingNumberItem(const ItemReader& in, const std::string& item, long long low,
                            long long high, const char* field) {
    const double number = ReadNumber(item);
    if (number < static_cast<double>(low) || number > static_cast<double>(high))
        in.Fail(std::string("\"") + item + "\" is out of range for " + field);
    return static_cast<long long>(number);
}

bool ShowUnsaved(const SaveResult& result) {
    if (!result.Saved() && result.toShow) TheHost().MessageBox(result.reason, "Duvenhall");
    return result.Saved();
}

SaveResult SaveDataFileReason(const std::filesystem::path& base, const std::string& name,
                              const std::string& bytes, PathOrigin origin) {
    fs::path target;
    if (origin == PathOrigin::Chosen) {
        if (name.empty()) return NotSaved("Not saved: no file was chosen.");
        target = base / name;  // a chosen path is whole; base only places a bare name
    } else {
        // Names come from data and from typed text: each is held to the program folder here,
        // below whichever folder it is taken from.
        std::string refused;
        const fs::path inside = PathInsideFolder(base, name, refused);
        if (!inside.empty())
            target = PathInsideFolder(St().ProgramFolder, inside.string(), refused);
        if (target.empty()) return NotSaved("Not saved: " + refused + ".");
    }
    const std::string reason = AtomicSave(target, bytes);
    if (reason.empty()) return {};
    return NotSaved("Could not save " + target.filename().string() + ": " + reason +
                    ". The file on disk is unchanged.");
}

bool SaveDataFile(const std::filesystem::path& base, const std::string& name,
                  const std::string& bytes) {
    return ShowUnsaved(SaveDataFileReason(base, name, bytes));
}

std::string NowStamp() {
    if (!St().FixedNow.empty()) return St().FixedNow;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

std::optional<int64_t> StampSeconds(const std::string& stampText) {
    const std::string stamp = Trim(stampText);
    if (stamp.empty()) return std::nullopt;
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    char ampm[3] = {0, 0, 0};
    int used = 0;
    if (std::sscanf(stamp.c_str(), "%d-%d-%d%n", &y, &mo, &d, &used) == 3) {
        std::sscanf(stamp.c_str() + used, " %d:%d:%d", &h, &mi, &s);
    } else if (std::sscanf(stamp.c_str(), "%d/%d/%d%n", &mo, &d, &y, &used) == 3) {
        std::sscanf(stamp.c_str() + used, " %d:%d:%d %2[APMapm]", &h, &mi, &s, ampm);
        const char half = static_cast<char>(std::toupper(static_cast<unsigned char>(ampm[0])));
        if (half == 'P' && h < 12) h += 12;
        if (half == 'A' && h == 12) h = 0;
    } else {
        return std::nullopt;
    }
    if (y < 1 || y > 9999 || mo < 1 || mo > 12 || d < 1 || d > 31 || h < 0 || h > 23 || mi < 0 ||
        mi > 59 || s < 0 || s > 59)
        return std::nullopt;
    return ((DaysFromCivil(y, mo, d) * 24 + h) * 60 + mi) * 60 + s;
}

bool StampEarlier(const std::string& a, const std::string& b) {
    const auto sa = StampSeconds(a), sb = StampSeconds(b);
    if (!sb) return false;
    if (!sa) return true;
    return *sa < *sb;
}

}  // namespace dv
