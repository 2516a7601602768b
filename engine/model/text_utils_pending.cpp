// Placeholder bodies until this module is built; each ends with its default result.
#include "engine/model/text_utils.h"

namespace dv {

std::string GetField(const std::string&, int, const std::string&, int) { return {}; }
std::string GetField(const std::string&, int, const std::string&, int, int&) { return {}; }
std::string GetFieldsFrom(const std::string&, int, const std::string&) { return {}; }
void SetField(std::string&, int, const std::string&) {}
std::string& ReplaceAll(std::string& text, const std::string&, const std::string&) { return text; }
std::string ReplaceAllCopy(std::string, const std::string&, const std::string&) { return {}; }
Value MaxOf(const Value&, const Value&) { return {}; }
Value MinOf(const Value&, const Value&) { return {}; }
double AbsDiff(double, double) { return {}; }
void SwapValues(Value&, Value&) {}
long long RandomNum(double) { return {}; }
long long RollDice(double, double) { return {}; }
void SeedRandom(const std::string&, const Value&) {}
Value ColorValue(const std::string&) { return {}; }
void SplitColorCore(long long, long long&, long long&, long long&, int) {}
void SplitColor(long long, long long&, long long&, long long&) {}
std::string RGBHex(long long, long long, long long) { return {}; }
void FileNameOf(std::string&) {}
void UrlFileNameOf(std::string&) {}
void AddRandomString(const std::string&, const std::string&) {}
std::string GetRandomString(const std::string&) { return {}; }
std::string pickrandomfile(const std::string&, const std::string&) { return {}; }
void FillSubDirectories(const std::string&) {}
std::string GetImagePath(const std::string&, int, const std::string&) { return {}; }
std::string ProgramFolderText() { return {}; }

}  // namespace dv
