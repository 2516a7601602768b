#include "data/catalogue.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "data/card_file_reader.h"
#include "engine/model/case_fold.h"
#include "engine/model/files.h"
#include "engine/model/guard.h"
#include "engine/model/script_fields.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "engine/model/watched_host.h"

namespace dv {
namespace {

// Items of a card data file: separated by commas or line ends, blanks before an item skipped,
// a quoted item taken whole up to its closing quote (also across a line end).
class ItemReader {
  public:
    explicit ItemReader(std::string bytes) : text_(std::move(bytes)) {}

    bool AtEnd() const { return pos_ >= text_.size(); }

    // The next item; reading past the end is a run-time failure, as reading a file past its end is.
    std::string Next() { return std::string(NextView()); }

    // The same, as a view of the file's text: most items are only looked at, to find a directive.
    std::string_view NextView() {
        if (AtEnd()) throw RunFault("input past end of file");
        const char* const end = text_.data() + text_.size();
        const char* p = text_.data() + pos_;
        while (p < end && (*p == ' ' || *p == '\t'))
            ++p;
        std::string_view item;
        if (p < end && *p == '"') {
            const char* const inside = p + 1;
            const void* close = std::memchr(inside, '"', static_cast<std::size_t>(end - inside));
            const char* const stop = close ? static_cast<const char*>(close) : end;
            item = std::string_view(inside, static_cast<std::size_t>(stop - inside));
            p = stop == end ? end : stop + 1;
            // Anything between the closing quote and the separator is dropped.
            while (p < end && !IsSeparator(*p))
                ++p;
        } else {
            const char* const start = p;
            while (p < end && !IsSeparator(*p))
                ++p;
            item = std::string_view(start, static_cast<std::size_t>(p - start));
            while (!item.empty() && (item.back() == ' ' || item.back() == '\t'))
                item.remove_suffix(1);
        }
        pos_ = static_cast<std::size_t>(p - text_.data());
        SkipSeparator();
        return item;
    }

    // For files whose reading failures are ignored: a missing item reads as empty text.
    std::string NextOrEmpty() { return AtEnd() ? std::string() : Next(); }

  private:
    static bool IsSeparator(char c) { return c == ',' || c == '\r' || c == '\n'; }

    void SkipSeparator() {
        if (pos_ >= text_.size()) return;
        if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ++pos_;
        ++pos_;
    }

    std::string text_;
    std::size_t pos_ = 0;
};

std::string ReadFileOrFail(const fs::path& file) {
    if (auto& build = St().CatalogueBuild) build->Read.push_back(file.string());
    std::string reason;
    auto bytes = ReadWholeFile(file, &reason);
    if (!bytes) throw RunFault(reason);
    return std::move(*bytes);
}

// The part of a path after its last separator ("\" as data writes it, or "/").
std::string BareFileName(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

// File names as data writes them: without their folders, and without regard to case.
bool SameFileName(const std::string& a, const std::string& b) {
    return SameNoCase(BareFileName(a), BareFileName(b));
}

// Whether the text may hold one of the words as an item: somewhere one of them is not followed
// by more of a longer word ("#GAME" in "#GAMEFILE" is none). It may answer yes for no item; never
// no for one. The words begin with '#': one pass looks at what follows each '#'.
bool MayHoldItem(std::string_view text, std::initializer_list<std::string_view> words) {
    for (std::size_t at = text.find('#'); at != text.npos; at = text.find('#', at + 1)) {
        const std::string_view rest = text.substr(at);
        for (std::string_view word : words) {
            // The letter after the '#' tells most words apart without comparing them whole.
            if (rest.size() < word.size() || rest[1] != word[1] ||
                rest.substr(0, word.size()) != word)
                continue;
            if (rest.size() == word.size() ||
                std::string_view(",\r\n \t\"").find(rest[word.size()]) != std::string_view::npos)
                return true;
        }
    }
    return false;
}

void GrowTo(List<std::string>& list, int count) {
    if (list.size() < count) list.Resize(count);
}

// Stands in for the host while the catalogue is built: what the build tells (files it leaves
// unread, files that fail to read) comes in one message at its end. A box for each came at start
// and again at every rebuild, as many as there were such files.
class OneMessage : public MessageHoldingHost {
  public:
    using MessageHoldingHost::MessageHoldingHost;

    void MessageBox(const std::string& text, const std::string& title) override {
        if (lines_.empty()) title_ = title;
        lines_.push_back(text);
    }
    void Tell() override {
        if (lines_.empty()) return;
        std::string text;
        for (std::size_t i = 0; i < lines_.size() && i < kMaxLinesTold; ++i)
            text += (i == 0 ? "" : "\n") + lines_[i];
        if (lines_.size() > kMaxLinesTold)
            text += "\n... and " + std::to_string(lines_.size() - kMaxLinesTold) + " more.";
        lines_.clear();
        inner_.MessageBox(text, title_);
    }

  private:
    // A message taller than a screen would hide its own button.
    static constexpr std::size_t kMaxLinesTold = 20;
    std::vector<std::string> lines_;
    std::string title_;
};

// Only regular files are read: a FIFO would block start-up for ever, and a device never end.
bool IsFile(const FolderEntry& entry, const char* pattern) {
    if (entry.isFolder || !MatchesPattern(entry.name, pattern)) return false;
    if (!entry.isRegular)
        TheHost().MessageBox(entry.name + " is not read: it is not a regular file.", "Duvenhall");
    return entry.isRegular;
}

fs::path GameFolderPath(const GameInfo& game) {
    return ResolveDataPath(St().ProgramFolder, game.Folder);
}

// A game's folder is named by its game file, a shared file: it is read only when, once links are
// followed, it is the program folder or lies in it.
bool FolderInsideProgramFolder(const std::string& folder) {
    const fs::path& program = St().ProgramFolder;
    const fs::path path = ResolveDataPath(program, folder);
    std::error_code ec;
    return fs::equivalent(path, program, ec) || LiesInside(path, {program});
}

// A file is listed for a game only when a link to it could start that game; game 0 stands for the
// program folder alone. Where a link leads can change unseen by the folder watch, so a build that
// refused a file is not kept.
bool ListedFor(int game, const std::string& file) {
    State& st = St();
    const bool inside = game > 0 && st.Games.Has(game)
                            ? OpponentFileInsideFolders(st.Games[game], file)
                            : OpponentFileInsideFolders(GameInfo{}, file);
    if (!inside && st.CatalogueBuild) st.CatalogueBuild->Keep = false;
    return inside;
}

// The lock list names the mission files that must all have been won. Each listed mission counts
// once, however often the player's won missions name it.
bool LockListIsWon(const std::string& lockList) {
    List<std::string>& won = St().Players[1].WonMissions;
    for (std::string& mission : won)
        mission = BareFileName(mission);
    // Names after an empty field are not read.
    const ScriptFields listed(lockList, ':');
    for (long long f = 1; !listed[f].empty(); ++f) {
        const std::string wanted(listed[f]);
        const bool found = std::any_of(won.begin(), won.end(), [&](const std::string& mission) {
            return SameFileName(mission, wanted);
        });
        if (!found) return false;
    }
    return true;
}

// A "LOCKED" mission line is shown once the profile's unlocked items name the mission, by its
// title or by its file name.
bool MissionLineShown(const std::string& lockWord, const std::string& title,
                      const std::string& missionFile) {
    if (lockWord != "LOCKED") return true;
    for (const std::string& item : St().CurrentProfile.Unlocked) {
        if (item.empty()) continue;
        if (item == title || SameFileName(item, missionFile)) return true;
    }
    return false;
}

// Mission files belong to their game's folder; only when it lacks the file is it looked for in
// the program folder and then on the picture search path.
std::string LocateMissionFile(const std::string& file, int game) {
    State& st = St();
    if (st.Games.Has(game) && !st.Games[game].Folder.empty()) {
        const fs::path folder = GameFolderPath(st.Games[game]);
        if (DataFileExists(folder, file)) return ResolveDataPath(folder, file).string();
    }
    if (DataFileExists(st.CurrentFolder, file)) return file;
    // The picture search path reaches folders the kept catalogue does not watch.
    if (st.CatalogueBuild) st.CatalogueBuild->Keep = false;
    return GetImagePath(file, 0);
}

// The game to be current after a rebuild: the game being played, found again by its name; with
// none remembered, the game of the profile's game file; else the last game created.
void RestoreCurrentGame(const std::string& remembered) {
    State& st = St();
    if (!remembered.empty()) {
        st.CurrentGame = static_cast<int16_t>(GetNameNum(remembered));
    } else if (!st.CurrentProfile.GameFile.empty()) {
        for (int g = 1; g <= st.Games.size(); ++g) {
            if (!st.Games[g].Name.empty() &&
                SameFileName(st.Games[g].GameFile, st.CurrentProfile.GameFile)) {
                st.CurrentGame = static_cast<int16_t>(g);
                break;
            }
        }
    }
    st.CurrentGameName = st.Games.Has(st.CurrentGame) ? st.Games[st.CurrentGame].Name : "";
}

// A game folder a kept build reads is watched before it is listed.
void WatchGameFolder(const fs::path& folder) {
    State& st = St();
    if (!st.CatalogueBuild) return;
    const std::vector<std::string>& watched = st.CatalogueWatch.Folders();
    if (std::find(watched.begin(), watched.end(), folder.string()) != watched.end()) return;
    if (!st.CatalogueWatch.Add(folder.string())) st.CatalogueBuild->Keep = false;
}

// Fills Games from the files.
void BuildFrom() {
    State& st = St();
    for (const FolderEntry& entry : ListFolder(st.ProgramFolder))
        if (IsFile(entry, "*.gam")) LoadGameFile(entry.name);

    for (int g = 1; g <= st.Games.size(); ++g) {
        if (st.Games[g].Folder.empty()) continue;
        const fs::path folder = GameFolderPath(st.Games[g]);
        WatchGameFolder(folder);
        for (const FolderEntry& entry : ListFolder(folder))
            if (IsFile(entry, "*.txt")) AddFileToGame((folder / entry.name).string(), g);
    }

    for (const FolderEntry& entry : ListFolder(st.ProgramFolder))
        if (IsFile(entry, "*.txt")) AddFileToGame(entry.name, 0);

    for (int g = 1; g <= st.Games.size(); ++g) {
        GameInfo& game = st.Games[g];
        game.MissionTexts.Resize(1);
        game.MissionFiles.Resize(1);
        game.MissionTitles.Resize(1);
        // A game without a folder has no missions: mission files of the program folder
        // would otherwise be claimed by every such game.
        if (game.Folder.empty()) continue;
        int count = 0;
        WatchGameFolder(GameFolderPath(game));
        for (const FolderEntry& entry : ListFolder(GameFolderPath(game))) {
            if (!IsFile(entry, "*.mis")) continue;
            ++count;
            GrowTo(st.Games[g].MissionTexts, count);
            GrowTo(st.Games[g].MissionFiles, count);
            GrowTo(st.Games[g].MissionTitles, count);
            LoadMissionFile(entry.name, g, count);
        }
    }
}

void BuildCatalogue() {
    OneMessage told(TheHost());
    try {
        const HostStandIn standIn(told);
        BuildFrom();
    } catch (...) {
        told.Tell();
        throw;
    }
    told.Tell();
}

// Whether a change to this entry of a watched folder may change what a build gives: a file it
// lists, or a game folder's name, which is found without regard to case.
bool MayChangeCatalogue(const CatalogueMemo& memo, std::string_view entry) {
    const std::string name(entry);
    for (const char* pattern : {"*.gam", "*.txt", "*.mis"})
        if (MatchesPattern(name, pattern)) return true;
    return std::any_of(memo.GameFolders.begin(), memo.GameFolders.end(),
                       [&](const std::string& folder) { return SameNoCase(folder, name); });
}

// Whether the file was read from a watched folder, as a plain file with no other name that a
// change could come through unseen.
bool WatchedPlainFile(const std::string& file, const std::vector<std::string>& folders) {
    const fs::path path(file);
    if (std::find(folders.begin(), folders.end(), path.parent_path().string()) == folders.end())
        return false;
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    return !ec && fs::is_regular_file(status) && fs::hard_link_count(path, ec) == 1 && !ec;
}

// Builds the catalogue while watching the folders it reads, and keeps it when nothing but those
// folders' entries decided what it holds.
void BuildAndKeep() {
    State& st = St();
    st.Catalogue.reset();
    CatalogueMemo memo;
    memo.ProgramFolder = st.ProgramFolder.string();
    memo.CurrentFolder = st.CurrentFolder.string();
    memo.Unlocked = st.CurrentProfile.Unlocked;
    memo.WonBefore = st.Players[1].WonMissions;
    std::vector<std::string> folders = {memo.ProgramFolder};
    if (memo.CurrentFolder != memo.ProgramFolder) folders.push_back(memo.CurrentFolder);
    const bool watching = st.CatalogueWatch.Watch(folders, true);

    WatchedHost watched(TheHost());
    st.CatalogueBuild.emplace();
    CatalogueBuildNotes notes;
    try {
        const HostStandIn standIn(watched);
        BuildCatalogue();
    } catch (...) {
        st.CatalogueBuild.reset();
        throw;
    }
    notes = std::move(*st.CatalogueBuild);
    st.CatalogueBuild.reset();

    auto keepable = [&] {
        if (!watching || !st.CatalogueWatch.Active() || !notes.Keep || watched.called) return false;
        for (const std::string& file : notes.Read)
            if (!WatchedPlainFile(file, st.CatalogueWatch.Folders())) return false;
        for (const GameInfo& game : st.Games) {
            if (game.Folder.empty()) continue;
            if (game.Folder.find_first_of("/\\") != std::string::npos || game.Folder == "." ||
                game.Folder == "..")
                return false;
            memo.GameFolders.push_back(game.Folder);
        }
        return true;
    };
    if (!keepable()) {
        st.CatalogueWatch.Stop();
        return;
    }
    memo.WonAfter = st.Players[1].WonMissions;
    memo.Games = st.Games;
    memo.CurrentGame = st.CurrentGame;
    st.Catalogue = std::move(memo);
}

// Gives Games what the kept build gave, when nothing it read may have changed since.
bool RepeatKeptCatalogue() {
    State& st = St();
    if (!st.Catalogue || !st.CatalogueWatch.Active()) return false;
    const CatalogueMemo& memo = *st.Catalogue;
    if (memo.ProgramFolder != st.ProgramFolder.string() ||
        memo.CurrentFolder != st.CurrentFolder.string() ||
        !(memo.Unlocked == st.CurrentProfile.Unlocked) ||
        !(memo.WonBefore == st.Players[1].WonMissions))
        return false;
    bool changed = false;
    const bool tracked = st.CatalogueWatch.Drain(
        [&](std::string_view entry) { changed = changed || MayChangeCatalogue(memo, entry); });
    if (!tracked || changed) return false;
    st.Games = memo.Games;
    st.CurrentGame = memo.CurrentGame;
    st.Players[1].WonMissions = memo.WonAfter;
    return true;
}

// Fills Games, from the kept build when fresh allows it, and finds the game being played again.
void LoadCatalogue(bool fresh) {
    Guarded("LoadAllGames", [&] {
        State& st = St();
        std::string remembered = st.CurrentGameName;
        if (st.Games.Has(st.CurrentGame) && !st.Games[st.CurrentGame].Name.empty())
            remembered = st.Games[st.CurrentGame].Name;
        if (!fresh) {
            BuildCatalogue();
        } else if (!RepeatKeptCatalogue()) {
            BuildAndKeep();
        }
        RestoreCurrentGame(remembered);
    });
}

}  // namespace

void LoadAllGames() {
    LoadCatalogue(false);
}

void RebuildCatalogue() {
    Guarded("LoadAllGames", [&] {
        State& st = St();
        if (st.Games.Has(st.CurrentGame) && !st.Games[st.CurrentGame].Name.empty())
            st.CurrentGameName = st.Games[st.CurrentGame].Name;
        st.Games = List<GameInfo>(1);
    });
    // Emptied above: a kept build starts from the same empty list.
    LoadCatalogue(true);
}

void SetCurrentGame(int number) {
    State& st = St();
    st.CurrentGame = static_cast<int16_t>(number);
    st.CurrentGameName = st.Games.Has(number) ? st.Games[number].Name : "";
}

void LoadGameFile(const std::string& file) {
    GuardedFile("LoadGameFile", file, [&] {
        if (!ListedFor(0, file)) return;
        ItemReader items(ReadFileOrFail(ResolveDataPath(St().ProgramFolder, file)));
        while (!items.AtEnd()) {
            const std::string_view item = items.NextView();
            if (item == "#GAMERULES") {
                const std::string name = items.Next();
                const std::string picture = items.Next();
                const std::string header = items.Next();
                const std::string folder = items.Next();
                const std::string help = items.Next();
                CreateGame(name, picture, header, folder, help, file);
                return;
            }
            if (item == "#GAME" || item == "#CARDINDECK" || item == "#PLAYERCARD" ||
                item == "#TRAITACTION" || item == "#RULESCARD" || item == "#HTML" ||
                item == "#MISSION")
                return;
        }
    });
}

void CreateGame(const std::string& name, const std::string& picture, const std::string& headerText,
                const std::string& folder, const std::string& helpPage, const std::string& file) {
    Guarded("CreateGame", [&] {
        State& st = St();
        // An empty name marks a free record; such a game could never be found again.
        if (name.empty()) return;
        for (const GameInfo& game : st.Games)
            if (game.Name == name) return;
        if (st.Games.empty() || !st.Games[st.Games.size()].Name.empty()) st.Games.PushBack({});
        st.CurrentGame = static_cast<int16_t>(st.Games.size());
        GameInfo& game = st.Games[st.Games.size()];
        game.Name = name;
        game.HeaderText = headerText;
        game.Folder = folder;
        if (!folder.empty() && !FolderInsideProgramFolder(folder)) {
            // The game is kept, with the opponents of the program folder alone.
            TheHost().MessageBox("The game folder \"" + folder + "\" of " + file +
                                     " is not read: it lies outside the program folder.",
                                 "Duvenhall");
            game.Folder.clear();
        }
        game.Picture = picture;
        game.GameFile = file;
        game.HelpPage = helpPage;
        game.Opponents = List<Card>(1);
    });
}

void AddPlayerToGame(GameInfo& game, const std::string& name, const std::string& portrait,
                     const std::string& description, const std::string& file) {
    Guarded("AddPlayerToGame", [&] {
        game.Opponents.PushBack(Card{});
        const int position = game.Opponents.size();
        GrowTo(game.OpponentFiles, position + 1);
        Card& opponent = game.Opponents[position];
        opponent.Name = name;
        opponent.Thumbnail = portrait;
        opponent.Description = description;
        opponent.SetFile = file;
        game.OpponentFiles[position] = file;
    });
}

void AddFileToGame(const std::string& file, int game) {
    std::string step;
    try {
        State& st = St();
        const int home = st.Games.Has(game) ? game : 0;
        if (!ListedFor(home, file)) return;
        // A file that names another game is listed there only if a link could start that one.
        auto listable = [&](int g) { return g == home || ListedFor(g, file); };
        std::string bytes = ReadFileOrFail(ResolveDataPath(st.ProgramFolder, file));
        // Only these items do anything here: a file that holds none of them (a card set) is not
        // read item by item.
        if (!MayHoldItem(bytes, {"#GAME", "#LOCKED", "#ENEMYDECK", "#PLAYERCARD"})) return;
        ItemReader items(std::move(bytes));
        int known = home;
        auto readEight = [&] {
            std::vector<std::string> eight;
            for (int i = 0; i < 8; ++i)
                eight.push_back(items.Next());
            return eight;
        };
        while (!items.AtEnd()) {
            const std::string_view item = items.NextView();
            if (item == "#GAME") {
                const std::string name = items.Next();
                step = "#GAME (" + name + ")";
                known = GetNameNum(name);
            } else if (item == "#LOCKED") {
                if (known <= 0) return;
                step = "#LOCKED";
                if (!LockListIsWon(items.Next())) return;
            } else if (item == "#ENEMYDECK") {
                step = "#ENEMYDECK (" + std::to_string(known) + ") Input Command";
                const auto eight = readEight();
                step = "#ENEMYDECK (" + std::to_string(known) + ") AddPlayerToGame command";
                if (known > 0 && listable(known))
                    AddPlayerToGame(st.Games[known], eight[0], eight[4], eight[7], file);
                return;
            } else if (item == "#PLAYERCARD") {
                if (known <= 0) return;
                step = "#PLAYERCARD (" + std::to_string(known) + ")";
                const auto eight = readEight();
                if (listable(known))
                    AddPlayerToGame(st.Games[known], eight[0], eight[4], eight[7], file);
            } else if (item == "#GAMERULES" || item == "#PLAYERDECK" || item == "#TRAITACTION" ||
                       item == "#RULESCARD") {
                return;
            }
        }
    } catch (const std::exception& e) {
        // The step first, as it always was; then which file failed, and why.
        ReportError("AddFileToGame", step + " (" + file + ": " + e.what() + ")");
    }
}

void LoadMissionFile(const std::string& file, int game, int mission) {
    GuardedFile("LoadMissionFile", file, [&] {
        State& st = St();
        const std::string located = LocateMissionFile(file, game);
        if (located.empty()) throw RunFault("mission file not found: " + file);
        if (!ListedFor(game, located)) return;
        ItemReader items(ReadFileOrFail(ResolveDataPath(st.CurrentFolder, located)));
        int owner = game;
        std::string text;
        while (!items.AtEnd()) {
            const std::string item = items.NextOrEmpty();
            if (item == "#GAME") {
                owner = GetNameNum(items.NextOrEmpty());
                if (owner > 0 && owner != game && !ListedFor(owner, located)) return;
            } else if (item == "#HTML") {
                text += items.NextOrEmpty();
            } else if (item == "#MISSION") {
                const std::string title = items.NextOrEmpty();
                const std::string lockWord = items.NextOrEmpty();
                const std::string lineText = items.NextOrEmpty();
                const std::string opponentFile = items.NextOrEmpty();
                if (owner > 0) {
                    GameInfo& g = st.Games[owner];
                    GrowTo(g.MissionTitles, mission);
                    GrowTo(g.OpponentFiles, mission);
                    g.MissionTitles[mission] = title;
                    g.OpponentFiles[mission] = opponentFile;
                }
                if (MissionLineShown(lockWord, title, located)) text += lineText;
            }
        }
        if (owner > 0) {
            GameInfo& g = st.Games[owner];
            GrowTo(g.MissionTexts, mission);
            GrowTo(g.MissionFiles, mission);
            g.MissionTexts[mission] = text;
            g.MissionFiles[mission] = located;
        }
    });
}

bool OpponentFileInsideFolders(const GameInfo& game, const std::string& file) {
    const fs::path& program = St().ProgramFolder;
    const fs::path gameFolder = ResolveDataPath(program, game.Folder);
    const FoundFile found = FindDataFile(file, gameFolder);
    return found.location.empty() || LiesInside(found.location, {program, gameFolder});
}

int GetNameNum(const std::string& name) {
    return Guarded("GetNameNum", 0, [&] {
        const List<GameInfo>& games = St().Games;
        for (int g = 1; g <= games.size(); ++g)
            if (games[g].Name == name) return g;
        return 0;
    });
}

}  // namespace dv
