// The random file of a folder and the picture search path.
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <string_view>
#include <system_error>
#include <vector>

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

std::string FolderText(const fs::path& folder) {
    std::string text = folder.lexically_normal().string();
    if (text.empty() || text.back() != '/') text += '/';
    return text;
}

void FillBelow(const std::string& relativeFolder, int depth) {
    auto& st = St();
    if (depth > kMaxFolderDepth) return;
    const fs::path folder = relativeFolder.empty()
                                ? st.ProgramFolder
                                : ResolveDataPath(st.ProgramFolder, relativeFolder);
    // All sub-folders of a folder are listed before any folder below them.
    std::vector<std::string> children;
    for (const FolderEntry& entry : ListFolder(folder)) {
        if (!entry.isFolder || entry.name == "." || entry.name == "..") continue;
        if (st.ImageFolders.size() >= kMaxImageFolders) break;
        st.ImageFolders.PushBack(FolderText(folder / entry.name));
        children.push_back(relativeFolder.empty() ? entry.name : relativeFolder + "/" + entry.name);
    }
    for (const std::string& child : children)
        FillBelow(child, depth + 1);
}

bool IsFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

// A name handed over as a "file://" location is looked up as the path it names.
std::string PathOfLocation(const std::string& name) {
    const std::string prefix = "file://";
    if (name.size() < prefix.size()) return name;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(name[i])) != prefix[i]) return name;
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

// Lower case as the caseless lookup of data paths compares names.
std::string LowerName(std::string_view name) {
    std::string lower(name);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// A name without folders is looked for in the program folder and the folders of the path only.
bool IsBareName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\") == std::string::npos;
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

// Every card read looks up its picture and thumbnail by a bare name, and each search costs a
// stat per folder of the path and a listing of the program folder. An answer is kept until an
// entry of that name (in any case) is added, removed or renamed in one of the folders searched.
// A file found before is checked to be there still, for a link whose target has gone.
std::string RememberedPicture(const std::string& name) {
    auto& st = St();
    if (!IsBareName(name) || !WatchSearchFolders()) return FindPicture(name);
    auto& known = st.PictureLocations;
    const bool tracked = st.PictureFolderWatch.Drain([&](std::string_view changed) {
        const std::string lower = LowerName(changed);
        std::erase_if(known, [&](const auto& entry) { return entry.second.lowerName == lower; });
    });
    if (!tracked) {
        known.clear();
        if (!WatchSearchFolders()) return FindPicture(name);
    }
    const auto remembered = known.find(name);
    if (remembered != known.end()) {
        const std::string& location = remembered->second.location;
        struct stat info {};
        // As IsFile, without making a path of the text.
        if (location.empty() || (::stat(location.c_str(), &info) == 0 && S_ISREG(info.st_mode)))
            return location;
    }
    if (known.size() >= kMaxRememberedPictures) known.clear();
    std::string found = FindPicture(name);
    known.insert_or_assign(name, ModelState::PictureLocation{LowerName(name), found});
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
    FillBelow(relativeFolder, 0);
    ForgetPictureLocations();
}

std::string GetImagePath(const std::string& name, int urlMode, const std::string&) {
    auto& st = St();
    if (!st.ImageFoldersBuilt) {
        FillSubDirectories("");
        st.ImageFoldersBuilt = true;
    }
    const std::string found = RememberedPicture(name);
    if (urlMode == 1) return FileUrl(found);
    return found;
}

std::string ProgramFolderText() {
    return St().ProgramFolder.string();
}

}  // namespace dv
