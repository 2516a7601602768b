#include <set>
#include <string>

#include "data/card_file_items.h"
#include "data/card_file_reader.h"
#include "data/card_file_writer_parts.h"
#include "data/card_files.h"
#include "data/card_sets.h"
#include "data/catalogue.h"
#include "engine/model/cards.h"
#include "engine/model/files.h"
#include "engine/model/guard.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"

namespace dv {
namespace {

const char* kProfileList = "PlayerProfiles.txt";
// A new identifier for a stored-deck card is drawn again when it is taken, at most this often.
constexpr int kMaxIdentifierDraws = 100;

std::string Line(const std::string& text) {
    return text + kCRLF;
}

std::string Quoted(const std::string& text) {
    return "\"" + QuotedInside(text) + "\"";
}

void Refuse(const std::string& message) {
    TheHost().MessageBox(message, "Duvenhall");
}

std::string PlayerFileText() {
    State& s = St();
    std::string out = Line("#PLAYERDECK") + kCRLF;
    std::string won = "#WONMISSIONS, ";
    for (const std::string& mission : s.Players[1].WonMissions)
        if (!mission.empty()) won += PlainItem(mission) + ", ";
    out += Line(won) + Line("#ENDWONMISSIONS");
    out += std::string(kCRLF) + Line("#TOKENS, " + std::to_string(s.Players[1].Tokens)) + kCRLF;
    out += Line("#LASTMODIFIED, #" + NowStamp() + "#") + kCRLF;

    // A stored deck holds copies of collection cards: each card is written once, as the
    // collection card it is, so that reading the file back gives the same collection.
    std::set<int32_t> written;
    for (const Card& card : s.Collection)
        if (!card.Name.empty()) written.insert(card.GID);
    for (CardDeck& deck : s.PlayerDecks) {
        for (Card& card : deck.Cards) {
            if (card.Name.empty()) continue;
            if (card.GID == 0) {
                for (int draw = 0; draw < kMaxIdentifierDraws; ++draw) {
                    card.GID = static_cast<int32_t>(RandomNum(100000000));
                    if (!written.count(card.GID)) break;
                }
            }
            if (!written.insert(card.GID).second) continue;
            out += CardBlock(card, "COLLECTION") + kCRLF + kCRLF;
        }
    }
    for (Card& card : s.Collection)
        if (!card.Name.empty()) out += CardBlock(card, "COLLECTION") + kCRLF + kCRLF;

    for (const DeckList& deck : s.Decks) {
        out += Line(Quoted("#DECK") + "," + Quoted(deck.Name));
        for (int32_t id : deck.CardIds)
            out += Line(std::to_string(id));
        out += Line(Quoted("#ENDOFDECK")) + kCRLF;
    }
    return out;
}

// The player file name of a game and profile, or empty with the reason.
std::string PlayerFileName(const std::string& gameName, const std::string& profileName,
                           std::string& refused) {
    for (const std::string* part : {&profileName, &gameName}) {
        const std::string reason = CheckTypedFileName(*part);
        if (!reason.empty()) {
            refused = "\"" + *part + "\" cannot be part of a player file name. " + reason;
            return {};
        }
    }
    return gameName + "_" + profileName + ".plr";
}

// Why no player file of the profile name could be saved for some game of the catalogue: its
// name, with what a save adds for its temporary file, passes the program folder's limit.
std::string PlayerFileTooLong(const std::string& profileName) {
    RebuildCatalogue();  // a first start has read no game yet
    const State& s = St();
    const std::size_t longest = LongestSavedName(s.ProgramFolder);
    for (const GameInfo& game : s.Games) {
        if (game.Name.empty()) continue;
        std::string refused;
        const std::string file = PlayerFileName(game.Name, profileName, refused);
        if (file.size() <= longest) continue;
        const std::size_t over = file.size() - longest;
        const std::size_t allowed = profileName.size() > over ? profileName.size() - over : 0;
        return "This profile name is too long: the player file for " + game.Name +
               " would have a name of " + std::to_string(file.size()) +
               " bytes, and a file saved in the program folder can have at most " +
               std::to_string(longest) +
               " (the temporary file it is written to first has a longer name still). Choose "
               "a name of at most " +
               std::to_string(allowed) + " bytes.";
    }
    return {};
}

}  // namespace

std::string PlayerFileName(const std::string& gameName, const std::string& profileName) {
    std::string refused;
    const std::string file = PlayerFileName(gameName, profileName, refused);
    if (!refused.empty()) Refuse(refused);
    return file;
}

SaveResult SaveCurrentPlayerReason() {
    const State& s = St();
    // Before any game was chosen there is no game, and so no player file, to save.
    if (!s.Games.Has(s.CurrentGame)) return NotSaved("No game is chosen.", false);
    std::string refused;
    const std::string file =
        PlayerFileName(s.Games[s.CurrentGame].Name, s.CurrentProfile.Name, refused);
    if (file.empty()) return NotSaved(refused);
    return SavePlayerReason(file);
}

bool SaveCurrentPlayer() {
    return ShowUnsaved(SaveCurrentPlayerReason());
}

SaveResult SavePlayerReason(const std::string& fileName, PathOrigin origin) {
    const SaveResult guardShown = NotSaved("Error in SavePlayer: " + fileName, false);
    return GuardedFile("SavePlayer", fileName, guardShown, [&]() -> SaveResult {
        State& s = St();
        if (s.DebugMode == 1) {
            return SkippedSave(
                "Debug mode is on, so the player file was not saved. Turn off \"Debug Mode\" in "
                "the Options menu to save it.");
        }
        // A card test plays with lists of its own: the player's stay aside, and so does the file.
        if (s.PlayerDataAside) {
            return SkippedSave(
                "A card test is running, so the player file was not saved: the cards and decks "
                "in play are the test's.");
        }
        s.SaleMode = 0;
        if (!s.PartialCollectionFile.empty()) {
            return NotSaved("The collection was not read whole from " + s.PartialCollectionFile +
                            ", so it is not saved: the player file stays as it was.");
        }
        std::string outside;
        const bool inside = !PathInsideFolder(s.ProgramFolder, fileName, outside).empty();
        if (!inside && origin == PathOrigin::Named)
            return NotSaved("The player file is not saved: " + outside + ".");
        MRPCards(s.Collection, s.Players[1]);
        bool anyCard = false;
        for (const Card& card : s.Collection)
            anyCard = anyCard || !card.Name.empty();
        if (!anyCard) return {};

        s.CurrentFolder = s.ProgramFolder;
        SaveResult saved = SaveDataFileReason(s.ProgramFolder, fileName, PlayerFileText(), origin);
        if (!saved.Saved()) return saved;
        // A copy the player chose to keep elsewhere is not the profile's file: the profile list
        // would refuse it on the next start.
        if (!inside) return {};
        s.CurrentProfile.PlayerFile = fileName;
        return SavePlayerProfilesReason();
    });
}

bool SavePlayer(const std::string& fileName, PathOrigin origin) {
    return ShowUnsaved(SavePlayerReason(fileName, origin));
}

std::string EnemyFilePath(const std::string& name) {
    const State& s = St();
    if (!name.empty()) {
        const std::string reason = CheckTypedFileName(name);
        if (!reason.empty()) {
            Refuse("\"" + name + "\" cannot be an opponent's file name. " + reason);
            return {};
        }
    }
    if (!s.Games.Has(s.CurrentGame)) {
        Refuse("Choose a game first: an opponent is saved into the game's folder.");
        return {};
    }
    // The game's folder is read from its game file, so it is held to the program folder too.
    const std::string folder = s.Games[s.CurrentGame].Folder;
    const std::string file = name + "_Enemy.txt";
    std::string outside;
    const fs::path path =
        PathInsideFolder(s.ProgramFolder, folder.empty() ? file : folder + "/" + file, outside);
    if (path.empty()) Refuse("The opponent is not saved: " + outside + ".");
    return path.string();
}

SaveResult SaveEnemyReason(List<Card>& cards, const std::string& path, const std::string& name) {
    if (!name.empty() && !CheckTypedFileName(name).empty()) {
        return NotSaved("\"" + name + "\" cannot be an opponent's file name. " +
                        CheckTypedFileName(name));
    }
    std::string text;
    const bool built = Guarded("SaveEnemy", false, [&] {
        Card header;
        for (Card& card : cards)
            if (HasTrait(card, "PLAYER", 0)) header = card;
        text = Line("#ENEMYDECK, " + PlainItem(name) + ", " + PlainItem(header.UniqueName) + ", " +
                    PlainItem(header.SetFile) + ", " + PlainItem(header.Picture) + ", " +
                    PlainItem(header.Thumbnail) + ", " + PlainItem(header.Colour) + ", , " +
                    PlainItem(header.Description));
        bool playerWritten = false;
        for (Card& card : cards) {
            if (card.Name.empty()) continue;
            if (!playerWritten && HasTrait(card, "PLAYER", 0)) {
                playerWritten = true;
                // The opponent plays its deck's copy of the card, so that copy carries the name
                // given too: the board and the log call the opponent by it.
                Card named = card;
                if (!name.empty()) named.Name = name;
                text += CardBlock(named, "#PLAYERCARD") + kCRLF + kCRLF;
                text += CardBlock(named, "INDECK") + kCRLF + kCRLF;
                continue;
            }
            text += CardBlock(card, "INDECK") + kCRLF + kCRLF;
        }
        if (!playerWritten) {
            Card blank;
            blank.Name = name;
            text += CardBlock(blank, "#PLAYERCARD") + kCRLF;
        }
        return true;
    });
    if (!built) return NotSaved("Error in SaveEnemy", false);
    return SaveDataFileReason(St().CurrentFolder, path, text);
}

bool SaveEnemy(List<Card>& cards, const std::string& path, const std::string& name) {
    return ShowUnsaved(SaveEnemyReason(cards, path, name));
}

SaveResult SavePlayerProfilesReason() {
    std::string text;
    const bool built = Guarded("SavePlayerProfiles", false, [&] {
        State& s = St();
        for (PlayerProfile& profile : s.PlayerProfiles) {
            if (profile.Name == s.CurrentProfile.Name) profile = s.CurrentProfile;
            if (profile.Name.empty()) continue;
            text += Line(Quoted("#PLAYERPROFILE") + "," + Quoted(profile.Name) + "," +
                         Quoted(profile.PlayerFile + ":" + profile.GameFile) + ",\"\",\"\",\"\"");
            text += kCRLF;
            std::string unlocked = "#UNLOCKED";
            for (const std::string& item : profile.Unlocked)
                if (!item.empty()) unlocked += ", " + Quoted(item);
            text += Line(unlocked + ", #ENDUNLOCKED") + kCRLF;
        }
        text += kCRLF;
        return true;
    });
    if (!built) return NotSaved("Error in SavePlayerProfiles", false);
    return SaveDataFileReason(St().CurrentFolder, kProfileList, text);
}

bool SavePlayerProfiles() {
    return ShowUnsaved(SavePlayerProfilesReason());
}

void LoadPlayerProfiles() {
    State& s = St();
    s.PlayerProfiles = {};
    const FoundFile found = FindDataFile(kProfileList);
    const auto bytes = found.location.empty() ? std::nullopt : ReadWholeFile(found.location);
    if (bytes) {
        ItemReader in(*bytes, found.name);
        try {
            while (!in.AtEnd()) {
                const std::string item = in.Next("");
                if (item == "#PLAYERPROFILE") {
                    PlayerProfile profile;
                    profile.Name = in.Next("#PLAYERPROFILE");
                    const std::string files = in.Next("#PLAYERPROFILE");
                    const auto colon = files.find(':');
                    profile.PlayerFile = files.substr(0, colon);
                    if (colon != std::string::npos) {
                        const auto next = files.find(':', colon + 1);
                        profile.GameFile =
                            files.substr(colon + 1, next == std::string::npos ? std::string::npos
                                                                              : next - colon - 1);
                    }
                    for (int i = 0; i < 3; ++i)
                        in.NextOr("");
                    // The profile's player file is read at every new game and written over by
                    // the next save: one that lies outside the program folder is dropped.
                    std::string outside;
                    if (!profile.PlayerFile.empty() &&
                        PathInsideFolder(s.ProgramFolder, profile.PlayerFile, outside).empty()) {
                        Refuse("The player file of profile \"" + profile.Name +
                               "\" is not read: " + outside + ".");
                        profile.PlayerFile.clear();
                    }
                    profile.Unlocked = List<std::string>(1);
                    s.PlayerProfiles.PushBack(std::move(profile));
                } else if (item == "#UNLOCKED") {
                    while (!in.AtEnd()) {
                        const std::string unlocked = in.Next("#UNLOCKED");
                        if (unlocked.empty() || unlocked == "#ENDUNLOCKED") break;
                        if (!s.PlayerProfiles.empty())
                            s.PlayerProfiles[s.PlayerProfiles.size()].Unlocked.PushBack(unlocked);
                    }
                }
            }
        } catch (const CardFileFault& fault) {
            Refuse(std::string("Error in reading profiles: ") + fault.what());
        }
    }
    if (s.PlayerProfiles.empty()) s.PlayerProfiles.Resize(1);
}

bool NewPlayerProfile(const std::string& name) {
    const std::string reason = CheckTypedFileName(name);
    if (!reason.empty()) {
        Refuse("\"" + name + "\" cannot be a profile name. " + reason);
        return false;
    }
    const std::string tooLong = PlayerFileTooLong(name);
    if (!tooLong.empty()) {
        Refuse(tooLong);
        return false;
    }
    State& s = St();
    for (const PlayerProfile& profile : s.PlayerProfiles) {
        if (profile.Name == name) {
            Refuse("A profile named " + name + " exists already.");
            return false;
        }
    }
    PlayerProfile profile;
    profile.Name = name;
    profile.Unlocked = List<std::string>(1);
    // The one empty entry of a list without profiles gives way to the first profile.
    if (s.PlayerProfiles.size() == 1 && s.PlayerProfiles[1].Name.empty())
        s.PlayerProfiles[1] = profile;
    else
        s.PlayerProfiles.PushBack(profile);
    s.CurrentProfile = profile;
    return SavePlayerProfiles();
}

}  // namespace dv
