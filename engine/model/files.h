#pragma once
// File access for the whole engine: data paths, lookups without regard to case, and the one
// atomic save through which every file is written.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace dv {

namespace fs = std::filesystem;

// Names as data writes them are looked up only up to these: a longer name, or one with more
// folders than that, is no file of the program, and each folder walked without regard to case
// lists that folder (a 65 KB name in the wrong case took most of a second a look-up).
inline constexpr std::size_t kMaxDataPathBytes = 4096;
inline constexpr int kMaxDataPathParts = 32;

// The path of `path` from `folder` when it lies below it (both absolute and normal); empty when
// it does not.
fs::path PathBelow(const fs::path& folder, const fs::path& path);

// A path as written in data ("\" or "/" separators) taken relative to base unless absolute.
// When that exact file is missing, each component is looked up without regard to case, unless
// the name passes the bounds above.
fs::path ResolveDataPath(const fs::path& base, const std::string& name);

// Whether a path exists, resolved as ResolveDataPath does.
bool DataFileExists(const fs::path& base, const std::string& name);

// No data file is this large; a larger one is refused rather than read into memory.
inline constexpr std::uintmax_t kMaxDataFileBytes = 256u << 20;

// The whole of a regular file, or nothing when it cannot be read, with the reason in *reason:
// not a regular file (a FIFO would block the read, a device never end it), larger than
// kMaxDataFileBytes, or the system's reason.
std::optional<std::string> ReadWholeFile(const fs::path& file, std::string* reason = nullptr);

// Whether a save waits until its bytes are on the disk before it replaces the target. Player data
// (player files, the profile list, card files, decks) does; page files, which are rewritten all
// the time and hold nothing of the player's, need only the atomic replace.
enum class Durability { Durable, Replaceable };

// What a save does with a link that stands where it writes. The player's files are saved through
// it to the file it leads to (the caller has checked where that is); the program's own page files
// are not the player's to redirect, so a link in their place is replaced by a plain file.
enum class LinkInPlace { SaveThrough, Replace };

// Writes bytes to a temporary file beside target, flushes it (when durable) and renames it over
// target, then flushes the folder (when durable). A target the user may not write is refused
// ("... is read-only; not saved"); a replaced file keeps its mode, and a link is saved through to
// the file it leads to or replaced, as link says. A replaceable target that already holds exactly
// these bytes is left as it is. Temporary files that earlier runs left beside the target are
// removed. On any failure (a file size limit included) target is left as it was, the temporary
// file is removed, and the reason, with the system's words, is returned. Returns empty text on
// success.
std::string AtomicSave(const fs::path& target, const std::string& bytes,
                       Durability durability = Durability::Durable,
                       LinkInPlace link = LinkInPlace::SaveThrough);

// The longest file name AtomicSave can write in folder: the name of the temporary file it writes
// first is longer, and must still fit the folder's limit.
std::size_t LongestSavedName(const fs::path& folder);

// Where a file the engine writes lands: name (as written in data) resolved below folder. Empty,
// with the reason, when it would land outside folder: an absolute path elsewhere, "..", a folder
// link leading out, or a link in the file's place whose last target lies outside (a shared
// archive can hold such a link). A link whose target lies inside is saved through.
fs::path PathInsideFolder(const fs::path& folder, const std::string& name, std::string& reason);

// Whether file, with every link on its way followed, lies inside one of folders (followed too).
// For files that names in data lead the program to read.
bool LiesInside(const fs::path& file, const std::vector<fs::path>& folders);
// Whether file, its links followed as above, lies in the program folder or a game's folder: the
// only folders that names in shared files (help pages, included card files) may lead reads to.
bool InsideProgramOrGameFolders(const fs::path& file);

// Where a data file name is found: the current folder (or the folder given), else the picture
// search path. Empty when neither holds it.
struct FoundFile {
    std::string name;  // the name as it is opened
    fs::path location;
};
FoundFile FindDataFile(const std::string& name);
FoundFile FindDataFile(const std::string& name, const fs::path& folder);

// The one gate of the files that shared data names (an included file, the card set of a "#REF..."
// line): found as FindDataFile finds it, such a file may be read only when it lies, its links
// followed, in the program folder or a game folder (InsideProgramOrGameFolders). The picture
// search path (SearchDataPath, GetImagePath), which finds the card files of the scripts' commands
// and the pictures and pages that cards name, holds its files to the same rule.
struct NamedFile {
    std::string name;     // the name as it is opened
    fs::path location;    // empty when nothing was found
    std::string real;     // the file found, links followed: what a kept read of it is kept by
    std::string refusal;  // why it may not be read (OutsideFoldersReason); empty when it may
};
NamedFile FindNamedFile(const std::string& name);
NamedFile FindNamedFile(const std::string& name, const fs::path& folder);
// "the included file <name> is not read: it lies outside the program folder and the game folders"
std::string OutsideFoldersReason(const std::string& name);
// A name of a file as a message shows it: one longer than a file's name can be is cut short
// ("..."), so that a hostile name of 65 KB does not fill the message.
std::string ShownName(const std::string& name);

// A name typed by the player that becomes part of a file name: refused when it could leave its
// folder (a path separator, "..", a drive colon) or is empty. Returns the reason, empty if fine.
std::string CheckTypedFileName(const std::string& name);

// Entries of a folder sorted by name, so every machine reads them in the same order.
struct FolderEntry {
    std::string name;
    bool isFolder = false;
    bool isRegular = false;  // a regular file, or a link to one
};
std::vector<FolderEntry> ListFolder(const fs::path& folder);

// Wildcard match of a file name without regard to case ("*" and "?").
bool MatchesPattern(const std::string& name, const std::string& pattern);

}  // namespace dv
