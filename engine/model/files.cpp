#include "engine/model/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <random>
#include <system_error>
#include <vector>

#include "engine/model/case_fold.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"

namespace dv {
namespace {

std::string Slashes(const std::string& name) {
    std::string s = name;
    std::replace(s.begin(), s.end(), '\\', '/');
    return s;
}

// Finds the entry of folder whose name matches part without regard to case.
std::optional<std::string> FindCaseless(const fs::path& folder, const std::string& part) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return std::nullopt;
    const std::string wanted = LowerText(part);
    std::optional<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        std::string n = entry.path().filename().string();
        if (LowerText(n) == wanted && (!found || n < *found)) found = n;
    }
    return found;
}

// mkstemp's random tail of a temporary file's name.
constexpr std::size_t kTemporarySuffix = 6;

// A save's temporary file lies beside its target, hidden, under the target's name followed by a
// full stop and mkstemp's tail.
std::string TemporaryPrefix(const std::string& fileName) {
    return "." + fileName + ".";
}

std::string SystemReason() {
    return std::strerror(errno);
}

// Removes the temporary files that saves of one target left behind: prefix followed by
// mkstemp's tail of letters and digits.
void RemoveStaleTemporaries(const fs::path& folder, const std::string& prefix) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() != prefix.size() + kTemporarySuffix || name.rfind(prefix, 0) != 0) continue;
        if (!std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                         [](unsigned char c) { return std::isalnum(c) != 0; }))
            continue;
        std::error_code removeError;
        fs::remove(entry.path(), removeError);
    }
}

// Links followed from a save target; a longer chain is taken for a loop.
constexpr int kMaxLinkHops = 40;

// The file at the end of path's chain of links (path itself when it is no link); nothing for a
// chain too long to follow.
std::optional<fs::path> LinkedFile(const fs::path& path) {
    fs::path at = path;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(at, ec)) return at;
        const fs::path next = fs::read_symlink(at, ec);
        if (ec) return std::nullopt;
        at = next.is_absolute() ? next : at.parent_path() / next;
    }
    return std::nullopt;
}

// Whether path lies below folder (both absolute and normal).
bool Below(const fs::path& folder, const fs::path& path) {
    return !PathBelow(folder, path).empty();
}

// The file a path leads to: absolute, with every link on its way followed; nothing for a chain of
// links too long to follow.
std::optional<fs::path> RealFile(const fs::path& file) {
    std::error_code ec;
    const std::optional<fs::path> linked = LinkedFile(fs::absolute(file, ec));
    if (ec || !linked) return std::nullopt;
    fs::path real = fs::weakly_canonical(*linked, ec);
    if (ec) return std::nullopt;
    return real;
}

// Whether a real file (see RealFile) lies below one of folders, their links followed.
bool InsideOneOf(const fs::path& real, const std::vector<fs::path>& folders) {
    return std::any_of(folders.begin(), folders.end(), [&](const fs::path& folder) {
        std::error_code folderError;
        const fs::path realFolder = fs::weakly_canonical(fs::absolute(folder), folderError);
        return !folderError && Below(realFolder, real);
    });
}

std::vector<fs::path> ProgramAndGameFolders() {
    const State& st = St();
    std::vector<fs::path> folders = {st.ProgramFolder};
    for (const GameInfo& game : st.Games)
        if (!game.Folder.empty()) folders.push_back(ResolveDataPath(st.ProgramFolder, game.Folder));
    return folders;
}

}  // namespace

fs::path PathBelow(const fs::path& folder, const fs::path& path) {
    fs::path relative = path.lexically_relative(folder);
    if (relative.empty() || relative == "." || *relative.begin() == "..") return {};
    return relative;
}

fs::path ResolveDataPath(const fs::path& base, const std::string& name) {
    fs::path given(Slashes(name));
    fs::path full = given.is_absolute() ? given : base / given;
    std::error_code ec;
    if (name.size() > kMaxDataPathBytes) return full;
    if (fs::exists(full, ec)) return full;
    if (std::distance(given.begin(), given.end()) > kMaxDataPathParts) return full;
    // Walk the components, matching each without regard to case.
    fs::path walked = full.root_path();
    fs::path rest = full.relative_path();
    for (const auto& part : rest) {
        const std::string p = part.string();
        if (p.empty() || p == ".") continue;
        if (p == "..") {
            walked = walked.parent_path();
            continue;
        }
        fs::path exact = walked / part;
        if (fs::exists(exact, ec)) {
            walked = exact;
        } else if (auto match = FindCaseless(walked, p)) {
            walked /= *match;
        } else {
            return full;
        }
    }
    return walked;
}

bool DataFileExists(const fs::path& base, const std::string& name) {
    if (name.empty()) return false;
    std::error_code ec;
    return fs::is_regular_file(ResolveDataPath(base, name), ec);
}

std::optional<std::string> ReadWholeFile(const fs::path& file, std::string* reason) {
    auto refuse = [&](std::string why) -> std::optional<std::string> {
        if (reason) *reason = std::move(why);
        return std::nullopt;
    };
    const std::string tooLarge = "larger than " + std::to_string(kMaxDataFileBytes >> 20) + " MB";
    // Opening a FIFO waits for a writer unless it does not block.
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return refuse(std::strerror(errno));
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0) return refuse(std::strerror(errno));
    if (!S_ISREG(info.st_mode)) return refuse("not a regular file");
    if (static_cast<std::uintmax_t>(info.st_size) > kMaxDataFileBytes) return refuse(tooLarge);
    // Block reads: every card file is read again for each new game.
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    char block[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return refuse(std::strerror(errno));
        if (n == 0) break;
        bytes.append(block, static_cast<std::size_t>(n));
        // A file that grows while it is read is held to the same bound.
        if (bytes.size() > kMaxDataFileBytes) return refuse(tooLarge);
    }
    return bytes;
}

std::string AtomicSave(const fs::path& given, const std::string& bytes, Durability durability,
                       LinkInPlace link) {
    // A file size limit would end the program with SIGXFSZ; ignored, it fails the write instead,
    // and the save says why.
    static const bool ignoringSizeSignal = std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR;
    (void)ignoringSizeSignal;

    // Saved through, a link stays a link and the file it leads to is the one replaced.
    const std::optional<fs::path> linked =
        link == LinkInPlace::SaveThrough ? LinkedFile(given) : std::optional<fs::path>(given);
    if (!linked) return "cannot follow the links of " + given.string();
    const fs::path& target = *linked;
    struct stat old {};
    // A link left standing here is to be replaced: the rename takes its place as a new file.
    const bool replacing = ::lstat(target.c_str(), &old) == 0 && !S_ISLNK(old.st_mode);
    if (replacing && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0 &&
        (errno == EACCES || errno == EROFS))
        return target.string() + " is read-only; not saved";
    // A new file is readable by all; a replaced one keeps its mode.
    const mode_t mode = replacing ? (old.st_mode & 07777) : 0644;
    // Page files are written again for every game, mostly with the text they already hold; a new
    // file and a rename for those would only cost disk writes.
    if (durability == Durability::Replaceable && replacing && S_ISREG(old.st_mode) &&
        static_cast<std::uintmax_t>(old.st_size) == bytes.size() && ReadWholeFile(target) == bytes)
        return "";

    // What is written may be a card set a turn found and stamped.
    St().SetFilesThisTurn.ByName.clear();
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string prefix = TemporaryPrefix(target.filename().string());
    // Only a save cut short by the end of the process leaves its temporary file, so a target's
    // leftovers need looking for once a run.
    if (St().SweptSaveTargets.insert(target.string()).second)
        RemoveStaleTemporaries(folder, prefix);
    std::string pattern = (folder / (prefix + std::string(kTemporarySuffix, 'X'))).string();
    std::vector<char> tmpName(pattern.begin(), pattern.end());
    tmpName.push_back('\0');
    const int fd = ::mkstemp(tmpName.data());
    if (fd < 0) return "cannot create a file in " + folder.string() + ": " + SystemReason();
    const std::string tmp(tmpName.data());
    auto fail = [&](const std::string& what) {
        const std::string reason = what + " " + target.string() + ": " + SystemReason();
        if (fd >= 0) ::close(fd);
        ::unlink(tmp.c_str());
        return reason;
    };
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) errno = ENOSPC;
        if (n <= 0) return fail("cannot write");
        done += static_cast<std::size_t>(n);
    }
    if (durability == Durability::Durable && ::fsync(fd) != 0) return fail("cannot write");
    ::fchmod(fd, mode);
    if (::close(fd) != 0) {
        const std::string reason = "cannot write " + target.string() + ": " + SystemReason();
        ::unlink(tmp.c_str());
        return reason;
    }
    if (std::rename(tmp.c_str(), target.c_str()) != 0) {
        const std::string reason = "cannot replace " + target.string() + ": " + SystemReason();
        ::unlink(tmp.c_str());
        return reason;
    }
    // The rename itself reaches the disk only with the folder; the file is replaced either way.
    if (durability == Durability::Durable) {
        const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folderFd >= 0) {
            ::fsync(folderFd);
            ::close(folderFd);
        }
    }
    return {};
}

std::size_t LongestSavedName(const fs::path& folder) {
    long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    if (limit <= 0) limit = NAME_MAX;
    const std::size_t added = TemporaryPrefix("").size() + kTemporarySuffix;
    const auto longest = static_cast<std::size_t>(limit);
    return longest > added ? longest - added : 0;
}

fs::path PathInsideFolder(const fs::path& folder, const std::string& name, std::string& reason) {
    reason.clear();
    if (name.empty() || name.find('\0') != std::string::npos) {
        reason = "\"" + name + "\" is no file name";
        return {};
    }
    const fs::path root = fs::absolute(folder).lexically_normal();
    const fs::path path = fs::absolute(ResolveDataPath(root, name)).lexically_normal();
    std::error_code rootError, folderError;
    const fs::path realRoot = fs::weakly_canonical(root, rootError);
    const fs::path realFolder = fs::weakly_canonical(path.parent_path(), folderError);
    if (!Below(root, path) || rootError || folderError ||
        (realFolder != realRoot && !Below(realRoot, realFolder))) {
        reason = "\"" + name + "\" lies outside the program folder";
        return {};
    }
    // A save writes through a link in the file's place, so the link's last target must lie
    // inside too.
    const std::optional<fs::path> linked = LinkedFile(path);
    if (!linked) {
        reason = "\"" + name + "\" is a chain of links too long to follow";
        return {};
    }
    if (*linked != path) {
        std::error_code targetError;
        const fs::path realTarget = fs::weakly_canonical(*linked, targetError);
        if (targetError || !Below(realRoot, realTarget)) {
            reason = "\"" + name + "\" is a link to " + linked->string() +
                     ", which lies outside the program folder";
            return {};
        }
    }
    return path;
}

bool LiesInside(const fs::path& file, const std::vector<fs::path>& folders) {
    const std::optional<fs::path> real = RealFile(file);
    return real && InsideOneOf(*real, folders);
}

bool InsideProgramOrGameFolders(const fs::path& file) {
    return LiesInside(file, ProgramAndGameFolders());
}

FoundFile FindDataFile(const std::string& name) {
    return FindDataFile(name, St().CurrentFolder);
}

FoundFile FindDataFile(const std::string& name, const fs::path& folder) {
    if (name.empty()) return {};
    if (DataFileExists(folder, name)) return {name, ResolveDataPath(folder, name)};
    const std::string onPath = SearchDataPath(name).path;
    if (!onPath.empty()) {
        for (const auto& base : {folder, St().ProgramFolder})
            if (DataFileExists(base, onPath)) return {onPath, ResolveDataPath(base, onPath)};
    }
    return {name, {}};
}

NamedFile FindNamedFile(const std::string& name) {
    return FindNamedFile(name, St().CurrentFolder);
}

NamedFile FindNamedFile(const std::string& name, const fs::path& folder) {
    const FoundFile found = FindDataFile(name, folder);
    NamedFile named{found.name, found.location, {}, {}};
    if (found.location.empty()) return named;
    const std::optional<fs::path> real = RealFile(found.location);
    if (!real || !InsideOneOf(*real, ProgramAndGameFolders())) {
        named.refusal = OutsideFoldersReason(name);
        return named;
    }
    named.real = real->string();
    return named;
}

std::string OutsideFoldersReason(const std::string& name) {
    return "the included file " + ShownName(name) +
           " is not read: it lies outside the program folder and the game folders";
}

std::string ShownName(const std::string& name) {
    if (name.size() <= kMaxDataPathBytes) return name;
    return name.substr(0, 200) + "...";
}

std::string CheckTypedFileName(const std::string& name) {
    if (name.empty()) return "Please enter a name.";
    if (name.find('/') != std::string::npos || name.find('\\') != std::string::npos ||
        name.find(':') != std::string::npos || name.find("..") != std::string::npos ||
        name.find('\0') != std::string::npos)
        return "A name may not contain \"/\", \"\\\", \":\" or \"..\".";
    return {};
}

std::vector<FolderEntry> ListFolder(const fs::path& folder) {
    std::vector<FolderEntry> entries;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        std::error_code ec2, ec3;
        entries.push_back({entry.path().filename().string(), entry.is_directory(ec2),
                           entry.is_regular_file(ec3)});
    }
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    return entries;
}

bool MatchesPattern(const std::string& name, const std::string& pattern) {
    const std::string n = LowerText(name), p = LowerText(pattern);
    // Iterative wildcard match with one backtrack point.
    std::size_t i = 0, j = 0, star = std::string::npos, mark = 0;
    while (i < n.size()) {
        if (j < p.size() && (p[j] == '?' || p[j] == n[i])) {
            ++i;
            ++j;
        } else if (j < p.size() && p[j] == '*') {
            star = j++;
            mark = i;
        } else if (star != std::string::npos) {
            j = star + 1;
            i = ++mark;
        } else {
            return false;
        }
    }
    while (j < p.size() && p[j] == '*')
        ++j;
    return j == p.size();
}

}  // namespace dv
