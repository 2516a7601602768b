#include <set>

#include "engine/model/cards.h"
#include "engine/model/guard.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "engine/model/value_expression.h"
#include "engine/pages/card_pages.h"
#include "engine/pages/page_helpers.h"

namespace dv {
namespace {

// Known "#" tokens filled in one call; distinct tokens of a real text are far fewer.
constexpr int kMaxTokenFills = 500;
// A filled text longer than this is not filled further (values that keep bringing in tokens).
constexpr std::size_t kMaxFilledLength = 1 << 20;
// Fillings nested through "$MYDESC", "$TARGETDESC" and trait boxes; deeper ones leave those
// words as they stand, so a description that names itself cannot recurse without end.
constexpr int kMaxSwapNesting = 4;

struct Restore {
    uint8_t& flag;
    uint8_t saved;
    ~Restore() { flag = saved; }
};

std::string FirstSegment(const std::string& text, std::string::size_type& rest) {
    auto slash = text.find('/');
    rest = slash == std::string::npos ? text.size() : slash + 1;
    return text.substr(0, slash);
}

std::string BlanksAsUrl(std::string text) {
    FillAll(text, " ", "%20");
    return text;
}

std::string ExchangedNames(std::string text) {
    FillAll(text, "$MYNAME", "$SWAPME");
    FillAll(text, "$TARGETNAME", "$MYNAME");
    FillAll(text, "$SWAPME", "$TARGETNAME");
    return text;
}

// The value of a known token, or false for a key that is no token.
bool TokenValue(Card& source, Card& target, const std::string& token, std::string& value) {
    std::string::size_type rest = 0;
    const std::string key = FirstSegment(token, rest);
    const std::string arguments = token.substr(rest);
    std::string::size_type afterFirst = 0;
    const std::string first = FirstSegment(arguments, afterFirst);

    if (key == "#HTMLMYTRAIT") {
        value = BlanksAsUrl(GetTrait(source, first).Text());
    } else if (key == "#HTMLTRAIT") {
        value = BlanksAsUrl(GetTrait(target, first).Text());
    } else if (key == "#MYTRAIT") {
        value = GetTrait(source, first).Text();
    } else if (key == "#TRAIT") {
        value = GetTrait(target, first).Text();
    } else if (key == "#CARD") {
        const int16_t number = GetCardNum(Transval(source, target, arguments));
        value = number > 0 ? DCard(St().InPlay[number]) : "(Dead Card)";
    } else if (key == "#TRANSVAL") {
        value = Transval(source, target, arguments).Text();
    } else if (key == "#IMG") {
        const Value card = Transval(source, target, arguments.substr(afterFirst));
        value = "<img src=\"" + GetImagePath(first, 0, "") + "\" align=default></img>";
        if (card.Num() > 0) value = "<a href=CARD" + NumberText(card.Num()) + ">" + value + "</a>";
    } else if (key == "#MYTRAITACTIONDESC") {
        value = ExchangedNames(GetTraitActionDesc(source, first));
    } else if (key == "#TARGETTRAITACTIONDESC") {
        value = ExchangedNames(GetTraitActionDesc(target, first));
    } else if (key == "#MYTRAITACTIONDESCREVERSE") {
        value = GetTraitActionDesc(source, first);
    } else if (key == "#TARGETTRAITACTIONDESCREVERSE") {
        value = GetTraitActionDesc(target, first);
    } else {
        return false;
    }
    return true;
}

std::string GamePath() {
    std::string folder = ProgramFolderText();
    FillAll(folder, ":\\", "|/");
    FillAll(folder, "\\", "/");
    return "file://" + folder;
}

// Fills a word only when the text holds it, so that cards are read only when needed.
template <class Make>
void FillWord(std::string& text, std::string_view word, Make make) {
    if (text.find(word) != std::string::npos) FillAll(text, word, make());
}

void FillCardWords(Card& source, Card& target, std::string& text, const std::string& sourcePicture,
                   const std::string& targetPicture, const std::string& amount) {
    // No "$" word can turn up while the words are filled: of those filled without one, only
    // "#PATH#" brings text that could hold one, and it comes last.
    if (text.find('$') == std::string::npos) {
        FillWord(text, "#TOKENS#", [&] { return std::to_string(St().Players[1].Tokens); });
        FillAll(text, "&col", ":");
        FillWord(text, "#PATH#", GamePath);
        return;
    }
    FillWord(text, "$MYIMG", [&] { return sourcePicture; });
    if (text.find("$GIDCARD") != std::string::npos) {
        const int16_t number = GetCardNum(St().LastAmount);
        if (number > 0) FillAll(text, "$GIDCARD", DCard(St().InPlay[number]));
    }
    if (Card* mine = OwnerCard(source)) FillWord(text, "$MYOWNER", [&] { return DCard(*mine); });
    if (source.Owner == 1 || source.Owner == 2) {
        if (Card* theirs = OwnerCard(target)) {
            FillWord(text, "$OWNER", [&] { return DCard(*theirs); });
            FillWord(text, "$TARGETOWNER", [&] { return DCard(*theirs); });
        }
    }
    FillWord(text, "$TARGETIMG", [&] { return targetPicture; });
    FillWord(text, "$AMT", [&] { return "<font color=\"#FFFF00\">" + amount + "</font>"; });
    FillWord(text, "$TARGETNAME", [&] { return DCard(target); });
    FillWord(text, "$TARGETUNIQUENAME", [&] { return target.UniqueName; });
    FillWord(text, "$UNIQUENAME", [&] { return target.UniqueName; });
    FillWord(text, "$MYUNIQUENAME", [&] { return source.UniqueName; });
    FillWord(text, "$SIMPLETARGETNAME", [&] { return target.Name; });
    if (St().LastTarget > 0 && St().InPlay.Has(St().LastTarget)) {
        const std::string last = St().InPlay[St().LastTarget].Name;
        FillAll(text, "$LASTTARGETNAME", last);
        FillAll(text, "$LASTTARGETCARD", last);
    }
    FillWord(text, "$TARGETCARD", [&] { return DCard(target); });
    FillWord(text, "$MYNAME", [&] { return DCard(source); });
    FillWord(text, "$SRCCARD", [&] { return DCard(source); });
    FillAll(text, "$LASTNAME", St().LastTargetName);
    FillAll(text, "$TRAIT", "");
    FillAll(text, "$EFFSTR", "()");
    FillAll(text, "$LASTAMT", amount);
    FillAll(text, "$LASTVAL", amount);
    FillWord(text, "#TOKENS#", [&] { return std::to_string(St().Players[1].Tokens); });
    FillAll(text, "&col", ":");
    if (St().SwapNesting <= kMaxSwapNesting) {
        FillWord(text, "$MYDESC", [&] { return FullDesc(source, 0, 0); });
        FillWord(text, "$TARGETDESC", [&] { return FullDesc(target, 0, 0); });
    }
    FillWord(text, "$GAMEPATH", GamePath);
    FillWord(text, "#PATH#", GamePath);
}

void FillRandomStrings(std::string& text) {
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 1; i <= St().RandomStringLists.size(); ++i) {
            const std::string name = St().RandomStringLists[i].Name;
            if (name.empty()) continue;
            FillAll(text, name, GetRandomString(name));
        }
    }
}

void SwapOnce(Card& source, Card& target, std::string& text, const std::string& sourcePicture,
              const std::string& targetPicture, const Value& spare, Value& amount) {
    if (amount.Num() == -1) amount = St().LastAmount;
    const Value shown = amount.Num() < 0 ? Value(-amount.Num()) : amount;
    FillRandomStrings(text);
    SwapTraitStrings(source, target, text);
    FillCardWords(source, target, text, sourcePicture, targetPicture, shown.Text());

    if (St().SwapSecondPass) return;
    Restore restore{St().SwapSecondPass, St().SwapSecondPass};
    St().SwapSecondPass = 1;
    Value lastAmount = -1;
    SwapOnce(source, target, text, sourcePicture, targetPicture, spare, lastAmount);
}

}  // namespace

void FillAll(std::string& text, std::string_view find, std::string_view replacement) {
    if (find.empty()) return;
    std::string::size_type at = text.find(find);
    if (at == std::string::npos) return;
    std::string result;
    std::string::size_type from = 0;
    for (; at != std::string::npos; at = text.find(find, from)) {
        result.append(text, from, at - from);
        result.append(replacement);
        from = at + find.size();
    }
    result.append(text, from, std::string::npos);
    text = std::move(result);
}

void SwapCardStrings(Card& source, Card& target, std::string& text,
                     const std::string& sourcePicture, const std::string& targetPicture,
                     const Value& spare, Value& amount) {
    Guarded("SwapCardStrings", [&] {
        DepthCount nest(St().SwapNesting);
        SwapOnce(source, target, text, sourcePicture, targetPicture, spare, amount);
    });
}

std::string FilledForCard(Card& card, std::string text) {
    Value amount = -1;
    SwapCardStrings(card, card, text, "", "", Value(), amount);
    return text;
}

void SwapTraitStrings(Card& source, Card& target, std::string& text) {
    Guarded("SwapTraitStrings", [&] {
        // Tokens whose value holds the token itself are filled once and then read as text.
        std::set<std::string> selfNaming;
        int fills = 0;
        std::string::size_type p = 0;
        while (fills < kMaxTokenFills && text.size() <= kMaxFilledLength) {
            const auto a = text.find('#', p);
            if (a == std::string::npos) break;
            const auto b = text.find('#', a + 1);
            if (b == std::string::npos) break;
            const std::string token = text.substr(a, b - a);
            std::string value;
            if (selfNaming.count(token) || !TokenValue(source, target, token, value)) {
                p = b;
                continue;
            }
            const std::string written = token + "#";
            if (value.find(written) != std::string::npos) selfNaming.insert(token);
            FillAll(text, written, value);
            ++fills;
            p = 0;
        }
    });
}

}  // namespace dv
