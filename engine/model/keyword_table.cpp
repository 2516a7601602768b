#include "engine/model/keyword_table.h"

#include <unordered_map>

namespace dv {

const std::vector<Keyword>& KeywordTable() {
    // Keyword, code, fields, stops compiling, aliases. The codes run 1 to 128 in table order.
    static const std::vector<Keyword> table = {
        {"REQNOTTRAIT", 1, 1, false, {"REQNOTRAIT"}},
        {"REQNOMYTRAIT", 2, 1, false, {"REQMYNOTRAIT", "REQMYNOTTRAIT"}},
        {"REQTRAIT", 3, 1, false},
        {"REQONEOF", 4, 1, false},
        {"REQMYONEOF", 5, 1, false},
        {"REQMYTRAIT", 6, 1, false},
        {"REQTRAITLESS", 7, 2, false},
        {"REQMYTRAITLESS", 8, 2, false},
        {"REQTRAITMORE", 9, 2, false},
        {"REQMYTRAITMORE", 10, 2, false},
        {"REQTRAITEQUALS", 11, 2, false},
        {"REQMYTRAITEQUALS", 12, 2, false},
        {"REQTRAITNOTEQUALS", 13, 2, false},
        {"REQMYTRAITNOTEQUALS", 14, 2, false},
        {"REQTRAITIS", 15, 2, false},
        {"REQMYTRAITIS", 16, 2, false},
        {"REQENEMY", 17, 0, false},
        {"REQALLY", 18, 0, false},
        {"REQISMORE", 19, 2, false},
        {"REQISLESS", 20, 2, false},
        {"REQEQUALS", 21, 2, false},
        {"REQNAME", 22, 1, false},
        {"REQMYNAME", 23, 1, false},
        {"REQNONAME", 24, 1, false},
        {"REQNOMYNAME", 25, 1, false},
        {"REQISPLAYER", 26, 0, false},
        {"REQNOTPLAYER", 27, 0, false, {"REQISNOTPLAYER"}},
        {"REQCARDISDEAD", 28, 1, false},
        {"CHANCE", 29, 1, false},
        {"ONECHANCE", 30, 1, false},
        {"DRAWCARDS", 31, 1, false},
        {"REMOVETRAIT", 32, 1, false},
        {"REMOVEMYTRAIT", 33, 1, false},
        {"ADDEFFECT", 34, 3, true},
        {"DESTROYME", 35, 0, false},
        {"DESTROY", 36, 0, false},
        {"DELETEEFFECT", 37, 0, false},
        {"MODTRAIT", 38, 2, false},
        {"MODMYTRAIT", 39, 2, false},
        {"MODOWNERTRAIT", 40, 2, false},
        {"MODMYOWNERTRAIT", 41, 2, false},
        {"SUBTRAIT", 42, 2, false},
        {"ADDTRAIT", 43, 1, false},
        {"SETTRAIT", 44, 2, false},
        {"SETMYTRAIT", 45, 2, false},
        {"SETOWNERTRAIT", 46, 2, false},
        {"SETMYOWNERTRAIT", 47, 2, false},
        {"ECHOTRAIT", 48, 1, false},
        {"ECHO", 49, 1, false},
        {"ECHOONCE", 50, 1, false},
        {"ECHOMINOR", 51, 1, false},
        {"ECHOFAIL", 52, 1, false, {"FAILECHO"}},
        {"ECHOLOCKED", 53, 1, false, {"LOCKEDECHO"}},
        {"CREATECARD", 54, 3, false},
        {"TRAIT", 55, 2, false},
        {"MINDCONTROL", 56, 0, false},
        {"MINDCONTROLME", 57, 0, false},
        {"DEFECT", 58, 0, false},
        {"DEFECTME", 59, 0, false},
        {"JOIN", 60, 1, false},
        {"MEJOIN", 61, 1, false},
        {"TRAITCOMMAND", 62, 1, false},
        {"TARGTRAITCOMMAND", 63, 1, false},
        {"MODTOKENS", 64, 1, false},
        {"BOOSTER", 65, 1, false},
        {"BOOSTERWITHREQS", 66, 2, false},
        {"BOOSTERCARD", 67, 2, false},
        {"UNAMEBOOSTERCARD", 68, 2, false},
        {"CHANGENAME", 69, 1, false},
        {"CHANGEMYNAME", 70, 1, false},
        {"REPEAT", 71, 2, false},
        {"RETARGET", 72, 1, false},
        {"RETARGETBYGID", 73, 1, false},
        {"RETARGETCOLLECTION", 74, 1, false},
        {"SETCARDTARGET", 75, 0, false},
        {"LOSEGAME", 76, 0, false},
        {"WINGAME", 77, 0, false},
        {"CANCEL", 78, 0, false},
        {"RETURNTOHAND", 79, 0, false},
        {"RETURNMETOHAND", 80, 0, false},
        {"REQVALMORE", 81, 1, false},
        {"REQVALLESS", 82, 1, false},
        {"REQVALEQUALS", 83, 1, false},
        {"MODVAL", 84, 1, false},
        {"SETVAL", 85, 1, false},
        {"REQTRAITTARGET", 86, 1, false},
        {"REQNOTRAITTARGET", 87, 1, false},
        {"REDIRECTTRAIT", 88, 1, true},
        {"REDIRECTBYGID", 89, 1, true},
        {"REDIRECT", 90, 1, true},
        {"TARGETREQUIREMENTS", 91, 0, false},
        {"REQFROMALLY", 92, 0, false},
        {"REQFROMENEMY", 93, 0, false},
        {"FRAMECOLOR", 94, 1, false},
        {"REVERSECOLOR", 95, 0, false},
        {"TARGETCOLOR", 96, 0, false},
        {"DUPLICATE", 97, 1, false},
        {"DUPLICATEME", 98, 1, false},
        {"UNLOCK", 99, 1, false},
        {"LOCK", 100, 1, false},
        {"BREAKPOINT", 101, 0, false},
        {"NEWENEMY", 102, 1, false},
        {"RENAMEME", 103, 1, false},
        {"RENAMETARGET", 104, 1, false},
        {"RENAME", 105, 1, false},
        {"RECOLORME", 106, 1, false},
        {"RECOLORTARGET", 107, 1, false},
        {"RECOLOR", 108, 1, false},
        {"REQNOTME", 109, 0, false},
        {"REQOWNERTRAIT", 110, 2, false},
        {"REQOWNERTRAITLESS", 111, 2, false},
        {"REQOWNERTRAITEQUALS", 112, 2, false},
        {"REQOWNERTRAITMORE", 113, 2, false},
        {"REQOWNERTRAITIS", 114, 2, false},
        {"REQMYOWNERTRAIT", 115, 2, false},
        {"REQMYOWNERTRAITLESS", 116, 2, false},
        {"REQMYOWNERTRAITEQUALS", 117, 2, false},
        {"REQMYOWNERTRAITMORE", 118, 2, false},
        {"REQMYOWNERTRAITIS", 119, 2, false},
        {"SUBMYTRAIT", 120, 2, false},
        {"REQNOTRAITIS", 121, 2, false, {"REQTRAITISNT", "REQTRAITISN'T"}},
        {"REQNOMYTRAITIS", 122, 2, false, {"REQMYTRAITISNT", "REQMYTRAITISN'T"}},
        {"DUPLICATEWITHCOST", 123, 1, false},
        {"DUPLICATEMEWITHCOST", 124, 1, false},
        {"SAVECOLLECTION", 125, 0, false},
        {"SUBTOKENS", 126, 1, false},
        {"REMOVE", 127, 0, false},
        {"REQCOLLECTIONLIMIT", 128, 1, false},
    };
    return table;
}

namespace {

// Built once from the table, so the table stays the only place a keyword is written.
const std::unordered_map<std::string_view, const Keyword*>& WordIndex() {
    static const auto index = [] {
        std::unordered_map<std::string_view, const Keyword*> words;
        for (const Keyword& k : KeywordTable()) {
            words.emplace(k.word, &k);
            for (std::string_view alias : k.aliases) {
                if (!alias.empty()) words.emplace(alias, &k);
            }
        }
        return words;
    }();
    return index;
}

}  // namespace

const Keyword* FindKeyword(std::string_view word) {
    const auto& index = WordIndex();
    auto it = index.find(word);
    return it == index.end() ? nullptr : it->second;
}

const Keyword* KeywordByCode(int code) {
    const auto& table = KeywordTable();
    if (code < 1 || code > static_cast<int>(table.size())) return nullptr;
    return &table[static_cast<std::size_t>(code - 1)];
}

int16_t KeywordCode(std::string_view word) {
    const Keyword* k = FindKeyword(word);
    return k ? k->code : int16_t{0};
}

}  // namespace dv
