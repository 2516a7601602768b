#pragma once
// The item layer of the directive text files: items separated by commas or line ends, quoted or
// not, the quoting the writers use, and the date stamps of "#LASTMODIFIED".

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "data/save_result.h"
#include "engine/model/guard.h"

namespace dv {

inline constexpr const char* kCRLF = "\r\n";

// A read that cannot go on: the file, the line of the item and why.
struct CardFileFault : RunFault {
    CardFileFault(std::string file, int line, const std::string& reason);
    std::string file;
    int line;
    std::string reason;
};

// Takes a file's items in order. Blanks before an item are skipped; an unquoted item runs to the
// next comma or line end (trailing blanks dropped); a quoted item runs to its closing quote, over
// line ends, with "" standing for one double quote; an empty line is one empty item.
class ItemReader {
  public:
    ItemReader(std::string_view bytes, std::string fileName);

    bool AtEnd();
    // The next item; a fault naming what was being read when the file has no more.
    std::string Next(const char* reading);
    // The next item, or the fallback when the file has ended.
    std::string NextOr(const std::string& fallback);
    // The line of the item last read (from 1).
    int Line() const { return itemLine_; }
    const std::string& FileName() const { return fileName_; }
    [[noreturn]] void Fail(const std::string& reason) const;

  private:
    void SkipBlanks();
    bool AtLineEnd() const;
    void SkipLineEnd();

    std::string_view bytes_;
    std::size_t pos_ = 0;
    int line_ = 1;
    int itemLine_ = 1;
    std::string fileName_;
};

// An item the writers leave unquoted, quoted only when as it stands it would not read back the
// same (a comma, a line end, a double quote, blanks at either end).
std::string PlainItem(const std::string& text);
// The inside of a quoted item whose text is written as it is: a double quote is doubled.
std::string QuotedInside(const std::string& text);

// The whole-number item of a field that must hold a number: empty reads 0; anything else but a
// decimal number in [low, high] is a fault.
long long NumberItem(const ItemReader& in, const std::string& item, long long low, long long high,
                     const char* field);
// The leading number of an item, as identifiers and counts are read (0 when it has none); a
// number outside [low, high] is a fault.
long long LeadingNumberItem(const ItemReader& in, const std::string& item, long long low,
                            long long high, const char* field);

// Writes a data file, name taken relative to base, whole through the atomic save. A named file
// that would land outside the program folder is refused; a chosen one is saved where it points.
// A refusal or failure gives the reason, naming the file; the old file then stays as it was. The
// bool form shows the reason.
SaveResult SaveDataFileReason(const std::filesystem::path& base, const std::string& name,
                              const std::string& bytes, PathOrigin origin = PathOrigin::Named);
bool SaveDataFile(const std::filesystem::path& base, const std::string& name,
                  const std::string& bytes);

// The date stamp written now: "YYYY-MM-DD HH:MM:SS", local time, or FixedNow when set.
std::string NowStamp();
// Seconds since the start of year 1 of a stamp (with or without its enclosing "#"), in the form
// written above or "M/D/YYYY h:mm:ss AM"; nothing for an empty or unreadable stamp, the zero date.
std::optional<int64_t> StampSeconds(const std::string& stamp);
// Whether stamp a is earlier than stamp b; the zero date is earlier than every other.
bool StampEarlier(const std::string& a, const std::string& b);

}  // namespace dv
