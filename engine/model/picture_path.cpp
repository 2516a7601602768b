// The random file of a folder and the picture search path.
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "engine/model/case_fold.h"
#include "engine/model/files.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"

namespace dv {
namespace {

// A link or a very deep tree must not keep the search path growing.
constexpr int kMaxFolderDepth = 32;
constexpr int kMaxImageFolders = 10'000;
// Names whose search answers are kept; past this they are all forgotten and searched anew.
constexpr std::size_t kMaxRememberedPictures = 10'000;
// Folders a location's way to the root is followed through at most (a path is at most 4096 bytes).
constexpr int kMaxPathParts = 4096;

std::string FolderText(const fs::path& folder) {
    std::string text = folder.lexically_normal().string();
    if (text.empty() || text.back() != '/') text += '/';
    return text;
}

// A folder by its device and inode: links may lead to one folder by many names.
using FolderId = std::pair<dev_t, ino_t>;

struct SearchPathBuild {
    std::set<FolderId> listed;
    bool cut = false;  // a cap left folders out
};

// Whether the folder is one not met before in this build; a folder that cannot be read is none.
bool FirstVisit(const fs::path& folder, SearchPathBuild& build) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) return false;
    return build.listed.insert({info.st_dev, info.st_ino}).second;
}

void FillBelow(const std::string& relativeFolder, int depth, SearchPathBuild& build) {
    auto& st = St();
    const fs::path folder = relativeFolder.empty()
                                ? st.ProgramFolder
                                : ResolveDataPath(st.ProgramFolder, relativeFolder);
    // All sub-folders of a folder are listed before any folder below them.
    std::vector<std::string> children;
    for (const FolderEntry& entry : ListFolder(folder)) {
        if (!entry.isFolder || entry.name == "." || entry.name == "..") continue;
        if (depth > kMaxFolderDepth || st.ImageFolders.size() >= kMaxImageFolders) {
            build.cut = true;
            break;
        }
        // A link back into the tree would list the same folders again, without end.
        if (!FirstVisit(folder / entry.name, build)) continue;
        st.ImageFolders.PushBack(FolderText(folder / entry.name));
        children.push_back(relativeFolder.empty() ? entry.name : relativeFolder + "/" + entry.name);
    }
    for (const std::string& child : children)
        FillBelow(child, depth + 1, build);
}

bool IsFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

// A name handed over as a "file://" location is looked up as the path it names.
std::string PathOfLocation(const std::string& name) {
    const std::string prefix = "file://";
    if (!StartsWithNoCase(name, prefix)) return name;
    std::string path;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        if (name[i] == '%' && i + 2 < name.size() &&
            std::isxdigit(static_cast<unsigned char>(name[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(name[i + 2]))) {
            path += static_cast<char>(std::stoi(name.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            path += name[i];
        }
    }
    return path;
}

std::string FileUrl(const std::string& path) {
    std::string url = "file://";
    for (char c : path) {
        switch (c) {
            case ' ':
                url += "%20";
                break;
            case '%':
                url += "%25";
                break;
            case '#':
                url += "%23";
                break;
            case '?':
                url += "%3F";
                break;
            default:
                url += c;
        }
    }
    return url;
}

std::string FindPicture(const std::string& given) {
    auto& st = St();
    const std::string name = PathOfLocation(given);
    if (name.empty()) return {};
    const fs::path direct = ResolveDataPath(st.ProgramFolder, name);
    if (IsFile(direct)) return direct.lexically_normal().string();
    std::string base = name;
    for (char& c : base)
        if (c == '\\') c = '/';
    UrlFileNameOf(base);
    if (base.empty()) return {};
    // Exact names first: a stat per folder, where a caseless match lists the folder.
    for (const std::string& folder : st.ImageFolders)
        if (IsFile(fs::path(folder) / base)) return (fs::path(folder) / base).string();
    for (const std::string& folder : st.ImageFolders) {
        const fs::path found = ResolveDataPath(folder, base);
        if (IsFile(found)) return found.string();
    }
    return {};
}

// A name without folders is looked for in the program folder and the folders of the path only.
bool IsBareName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           std::none_of(name.begin(), name.end(), [](char c) { return c == '/' || c == '\\'; });
}

void ForgetPictureLocations() {
    auto& st = St();
    st.PictureFolderWatch.Stop();
    st.PictureLocations.clear();
    st.PictureWatchRefused.clear();
}

// Watches the folders the search of a bare name reads; false when they cannot be watched.
bool WatchSearchFolders() {
    auto& st = St();
    const std::vector<std::string>& watched = st.PictureFolderWatch.Folders();
    // The watched list is the path's folders followed by the program folder.
    if (st.PictureFolderWatch.Active() &&
        watched.size() == static_cast<std::size_t>(st.ImageFolders.size()) + 1 &&
        std::equal(st.ImageFolders.begin(), st.ImageFolders.end(), watched.begin()) &&
        watched.back() == st.ProgramFolder.native())
        return true;
    std::vector<std::string> folders(st.ImageFolders.begin(), st.ImageFolders.end());
    folders.push_back(st.ProgramFolder.string());
    st.PictureLocations.clear();
    if (folders == st.PictureWatchRefused) return false;
    if (st.PictureFolderWatch.Watch(folders)) return true;
    st.PictureWatchRefused = folders;
    return false;
}

// The entry names whose change in a searched folder may change the answer for a name: its file
// name, and for a name with folders, each folder on its way down from the program folder. Empty
// when the answer cannot be kept: the name leads outside the program folder, which is not
// watched.
std::vector<std::string> NamesToWatch(const std::string& given) {
    if (IsBareName(given)) return {LowerText(given)};
    std::string name = PathOfLocation(given);
    for (char& c : name)
        if (c == '\\') c = '/';
    fs::path path = fs::path(name).lexically_normal();
    if (path.is_absolute())
        path = path.lexically_relative(fs::absolute(St().ProgramFolder).lexically_normal());
    if (path.empty() || *path.begin() == "..") return {};
    std::vector<std::string> names;
    for (const auto& part : path)
        if (!part.empty() && part != ".") names.push_back(LowerText(part.string()));
    return names;
}

// Whether a change of the file a name with folders names directly would be seen: the deepest of
// its folders that exists is one the search reads, and so is watched.
bool DirectFolderWatched(const std::string& name) {
    auto& st = St();
    fs::path folder = ResolveDataPath(st.ProgramFolder, PathOfLocation(name)).parent_path();
    std::error_code ec;
    for (int up = 0; up <= kMaxFolderDepth && !folder.empty(); ++up) {
        if (fs::is_directory(folder, ec)) {
            const std::string text = FolderText(folder);
            return std::find(st.ImageFolders.begin(), st.ImageFolders.end(), text) !=
                   st.ImageFolders.end();
        }
        folder = folder.parent_path();
    }
    return false;
}

// Whether the file or a folder on its way to the root is a link (or cannot be told): the watch
// sees a file or folder go from a watched folder, but not a link's target, nor a linked folder
// taken away from above the folder it leads to.
bool ReachedThroughLink(const std::string& location) {
    std::error_code ec;
    fs::path path = fs::absolute(location, ec);
    if (ec) return true;
    for (int up = 0; up < kMaxPathParts && !path.empty(); ++up) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || S_ISLNK(info.st_mode)) return true;
        if (!path.has_relative_path()) return false;  // the root
        path = path.parent_path();
    }
    return true;
}

// A file found for a name, with the folder rule of the files that data names applied.
SearchedFile Gated(std::string found) {
    if (found.empty()) return {};
    const bool refused = !InsideProgramOrGameFolders(found);
    return {std::move(found), refused};
}

// Every card read looks up its picture and thumbnail, mostly by a bare name, and each search
// costs a stat per folder of the path and a listing of the program folder. An answer is kept
// until an entry of a name it depends on (in any case) is added, removed or renamed in one of the
// folders searched. A file found through a link is checked to be there still each time, for a
// link whose target has gone; where a link leads can change unseen too, so such a file passes the
// folder rule again each time.
SearchedFile RememberedPicture(const std::string& name) {
    auto& st = St();
    if (!IsBareName(name) && NamesToWatch(name).empty()) return Gated(FindPicture(name));
    if (!WatchSearchFolders()) return Gated(FindPicture(name));
    auto& known = st.PictureLocations;
    bool tracked = true;
    if (st.PictureBatchDepth == 0 || !st.PictureBatchDrained) {
        tracked = st.PictureFolderWatch.Drain([&](std::string_view changed) {
            const std::string lower = LowerText(std::string(changed));
            std::erase_if(known, [&](const auto& entry) {
                const std::vector<std::string>& names = entry.second.lowerNames;
                return std::find(names.begin(), names.end(), lower) != names.end();
            });
        });
        st.PictureBatchDrained = st.PictureBatchDepth > 0;
    }
    if (!tracked) {
        known.clear();
        if (!WatchSearchFolders()) return Gated(FindPicture(name));
    }
    const auto remembered = known.find(name);
    if (remembered != known.end()) {
        const ModelState::PictureLocation& kept = remembered->second;
        if (!kept.checkOnUse) return {kept.location, kept.refused};
        struct stat info {};
        // As IsFile, without making a path of the text.
        if (::stat(kept.location.c_str(), &info) == 0 && S_ISREG(info.st_mode))
            return Gated(kept.location);
    }
    if (known.size() >= kMaxRememberedPictures) known.clear();
    SearchedFile found = Gated(FindPicture(name));
    if (IsBareName(name) || DirectFolderWatched(name)) {
        const bool checkOnUse = !found.path.empty() && ReachedThroughLink(found.path);
        known.insert_or_assign(name, ModelState::PictureLocation{NamesToWatch(name), found.path,
                                                                 checkOnUse, found.refused});
    }
    return found;
}

}  // namespace

std::string pickrandomfile(const std::string& folder, const std::string& pattern) {
    auto& st = St();
    if (folder.empty() || folder != st.RandomFileFolder) {
        st.RandomFileFolder = folder;
        st.RandomFileNames.Clear();
        const std::string wanted = pattern.empty() ? "*" : pattern;
        for (const FolderEntry& entry : ListFolder(ResolveDataPath(st.CurrentFolder, folder)))
            if (!entry.isFolder && MatchesPattern(entry.name, wanted))
                st.RandomFileNames.PushBack(entry.name);
        st.RandomFileCount = st.RandomFileNames.size();
        st.RandomFileNames.PushBack("");
    }
    if (st.RandomFileCount <= 0) return folder;
    return folder + st.RandomFileNames[RandomNum(st.RandomFileCount)];
}

void FillSubDirectories(const std::string& relativeFolder) {
    auto& st = St();
    if (relativeFolder.empty()) st.ImageFolders = List<std::string>{FolderText(st.ProgramFolder)};
    SearchPathBuild build;
    FirstVisit(st.ProgramFolder, build);
    if (!relativeFolder.empty())
        FirstVisit(ResolveDataPath(st.ProgramFolder, relativeFolder), build);
    FillBelow(relativeFolder, 0, build);
    if (build.cut && !st.PictureSearchCutTold) {
        st.PictureSearchCutTold = true;
        TheHost().MessageBox(
            "Pictures are looked for in at most " + std::to_string(kMaxImageFolders) +
                " folders, " + std::to_string(kMaxFolderDepth) + " deep, below " +
                st.ProgramFolder.string() + ": pictures in the folders past that are not found.",
            "Duvenhall");
    }
    ForgetPictureLocations();
}

SearchedFile SearchDataPath(const std::string& name) {
    auto& st = St();
    // No file has a longer name: it is not looked for, nor kept among the answers.
    if (name.size() > kMaxDataPathBytes) return {};
    if (!st.ImageFoldersBuilt) {
        FillSubDirectories("");
        st.ImageFoldersBuilt = true;
    }
    return RememberedPicture(name);
}

std::string GetImagePath(const std::string& name, int urlMode, const std::string&) {
    SearchedFile found = SearchDataPath(name);
    if (found.refused) found.path.clear();
    if (urlMode == 1) return FileUrl(found.path);
    return found.path;
}

bool PictureLocationAllowed(const std::string& location) {
    const std::string path = PathOfLocation(location);
    // A location of another kind ("http://...") names no file here.
    const auto scheme = location.find("://");
    if (path == location && scheme != std::string::npos && scheme > 0) return true;
    if (path.empty()) return true;
    return InsideProgramOrGameFolders(ResolveDataPath(St().ProgramFolder, path));
}

PictureLookupBatch::PictureLookupBatch() {
    if (St().PictureBatchDepth++ == 0) St().PictureBatchDrained = false;
}

PictureLookupBatch::~PictureLookupBatch() {
    // Looked up again here: the batch closes in whichever state is current now.
    if (St().PictureBatchDepth > 0) --St().PictureBatchDepth;
}

std::string ProgramFolderText() {
    return St().ProgramFolder.string();
}

}  // namespace dv
