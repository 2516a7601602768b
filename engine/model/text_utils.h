#pragma once
// Field tokeniser, replacement, numbers, random numbers, colours, file names, random texts and
// the picture search path: the small utilities every part of the game uses.

#include <cstdint>
#include <string>

#include "engine/model/value.h"

namespace dv {

std::string GetField(const std::string& text, int n, const std::string& delimiter = ":",
                     int startPos = 1);
std::string GetField(const std::string& text, int n, const std::string& delimiter, int startPos,
                     int& foundPos);
std::string GetFieldsFrom(const std::string& text, int n, const std::string& delimiter = ":");
void SetField(std::string& text, int n, const std::string& value);

std::string& ReplaceAll(std::string& text, const std::string& find, const std::string& replacement);
std::string ReplaceAllCopy(std::string text, const std::string& find,
                           const std::string& replacement);

Value MaxOf(const Value& a, const Value& b);
Value MinOf(const Value& a, const Value& b);
double AbsDiff(double a, double b);
void SwapValues(Value& a, Value& b);

long long RandomNum(double n);
long long RollDice(double count, double sides);
void SeedRandom(const std::string& seedText, const Value& offset);
// Seeds the generator from the time of day, or from SeedOverride when that is set.
void SeedFromClock();

// A number, or the text "0" for an empty colour.
Value ColorValue(const std::string& colourText);
void SplitColorCore(long long colour, long long& low, long long& middle, long long& high,
                    int width);
void SplitColor(long long colour, long long& low, long long& middle, long long& high);
std::string RGBHex(long long a, long long b, long long c);

void FileNameOf(std::string& path);
void UrlFileNameOf(std::string& path);

void AddRandomString(const std::string& listName, const std::string& text);
std::string GetRandomString(const std::string& listName);

std::string pickrandomfile(const std::string& folder, const std::string& pattern);
void FillSubDirectories(const std::string& relativeFolder);
std::string GetImagePath(const std::string& name, int urlMode, const std::string& ignoredText = "");
// A file that data names, looked up as GetImagePath looks it up (its path form), and whether the
// folder rule of the files data names (FindNamedFile) refuses it. GetImagePath finds no refused
// file.
struct SearchedFile {
    std::string path;  // empty when nothing was found
    bool refused = false;
};
SearchedFile SearchDataPath(const std::string& name);
// Whether a picture location that a card file gives beside the picture's name may be shown: one
// that names a file here must lie in the program folder or a game folder.
bool PictureLocationAllowed(const std::string& location);

// While one is open, picture look-ups ask the folder watch for changes once, at the first of
// them: a run of look-ups made together (a card file read again) sees the folders as they were at
// its start, as look-ups made in one instant would. A kept location is still checked each time.
class PictureLookupBatch {
  public:
    PictureLookupBatch();
    ~PictureLookupBatch();
    PictureLookupBatch(const PictureLookupBatch&) = delete;
    PictureLookupBatch& operator=(const PictureLookupBatch&) = delete;
};

// The program folder written the way data and page locations expect it ("\"-separated on
// Windows, a plain path here), and a file of it.
std::string ProgramFolderText();

}  // namespace dv
