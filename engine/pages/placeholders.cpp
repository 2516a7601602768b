#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>

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
// Room made up front in a text with "$" words: about what two coloured card names bring.
constexpr std::size_t kUsualFilledGrowth = 128;
// The font tags around a coloured card name.
constexpr std::size_t kNameMarkup = 20;

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

// The token keys, in the order of `kTokenKeys`.
enum class TokenKey {
    HtmlMyTrait,
    HtmlTrait,
    MyTrait,
    Trait,
    Card,
    Transval,
    Img,
    MyTraitActionDesc,
    TargetTraitActionDesc,
    MyTraitActionDescReverse,
    TargetTraitActionDescReverse,
    None
};

constexpr std::string_view kTokenKeys[] = {
    "#HTMLMYTRAIT",
    "#HTMLTRAIT",
    "#MYTRAIT",
    "#TRAIT",
    "#CARD",
    "#TRANSVAL",
    "#IMG",
    "#MYTRAITACTIONDESC",
    "#TARGETTRAITACTIONDESC",
    "#MYTRAITACTIONDESCREVERSE",
    "#TARGETTRAITACTIONDESCREVERSE",
};
static_assert(std::size(kTokenKeys) == static_cast<std::size_t>(TokenKey::None));

// The key of a token (the part before its first "/"); None for a key that is no token, which is
// passed over without building anything.
TokenKey KeyOf(std::string_view token) {
    const std::string_view key = token.substr(0, token.find('/'));
    for (std::size_t k = 0; k < std::size(kTokenKeys); ++k)
        if (key == kTokenKeys[k]) return static_cast<TokenKey>(k);
    return TokenKey::None;
}

// The value of a known token, or false for a key that is no token.
bool TokenValue(Card& source, Card& target, const std::string& token, std::string& value) {
    const TokenKey key = KeyOf(token);
    if (key == TokenKey::None) return false;
    std::string::size_type rest = 0;
    FirstSegment(token, rest);
    const std::string arguments = token.substr(rest);
    std::string::size_type afterFirst = 0;
    const std::string first = FirstSegment(arguments, afterFirst);

    switch (key) {
        case TokenKey::HtmlMyTrait:
            value = BlanksAsUrl(GetTrait(source, first).Text());
            break;
        case TokenKey::HtmlTrait:
            value = BlanksAsUrl(GetTrait(target, first).Text());
            break;
        case TokenKey::MyTrait:
            value = GetTrait(source, first).Text();
            break;
        case TokenKey::Trait:
            value = GetTrait(target, first).Text();
            break;
        case TokenKey::Card: {
            const int16_t number = GetCardNum(Transval(source, target, arguments));
            value = number > 0 ? DCard(St().InPlay[number]) : "(Dead Card)";
            break;
        }
        case TokenKey::Transval:
            value = Transval(source, target, arguments).Text();
            break;
        case TokenKey::Img: {
            const Value card = Transval(source, target, arguments.substr(afterFirst));
            value = "<img src=\"" + GetImagePath(first, 0, "") + "\" align=default></img>";
            if (card.Num() > 0)
                value = "<a href=CARD" + NumberText(card.Num()) + ">" + value + "</a>";
            break;
        }
        case TokenKey::MyTraitActionDesc:
            value = ExchangedNames(GetTraitActionDesc(source, first));
            break;
        case TokenKey::TargetTraitActionDesc:
            value = ExchangedNames(GetTraitActionDesc(target, first));
            break;
        case TokenKey::MyTraitActionDescReverse:
            value = GetTraitActionDesc(source, first);
            break;
        case TokenKey::TargetTraitActionDescReverse:
            value = GetTraitActionDesc(target, first);
            break;
        case TokenKey::None:
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

// The "$" words of a card text, in the order they are filled.
enum DollarWord {
    kMyImg,
    kGidCard,
    kMyOwner,
    kOwner,
    kTargetOwner,
    kTargetImg,
    kAmt,
    kTargetName,
    kTargetUniqueName,
    kUniqueName,
    kMyUniqueName,
    kSimpleTargetName,
    kLastTargetName,
    kLastTargetCard,
    kTargetCard,
    kMyName,
    kSrcCard,
    kLastName,
    kTrait,
    kEffStr,
    kLastAmt,
    kLastVal,
    kMyDesc,
    kTargetDesc,
    kGamePath,
    kDollarWords
};

constexpr std::string_view kDollarWordText[kDollarWords] = {
    "$MYIMG",
    "$GIDCARD",
    "$MYOWNER",
    "$OWNER",
    "$TARGETOWNER",
    "$TARGETIMG",
    "$AMT",
    "$TARGETNAME",
    "$TARGETUNIQUENAME",
    "$UNIQUENAME",
    "$MYUNIQUENAME",
    "$SIMPLETARGETNAME",
    "$LASTTARGETNAME",
    "$LASTTARGETCARD",
    "$TARGETCARD",
    "$MYNAME",
    "$SRCCARD",
    "$LASTNAME",
    "$TRAIT",
    "$EFFSTR",
    "$LASTAMT",
    "$LASTVAL",
    "$MYDESC",
    "$TARGETDESC",
    "$GAMEPATH",
};

// For each letter, the "$" words it follows the "$" of, one bit each.
constexpr std::array<uint32_t, 256> DollarWordsByLetter() {
    std::array<uint32_t, 256> words{};
    for (int w = 0; w < kDollarWords; ++w)
        words[static_cast<unsigned char>(kDollarWordText[w][1])] |= uint32_t{1} << w;
    return words;
}

// Up to the first eight bytes of a text as one number, the first byte lowest.
constexpr uint64_t Head(std::string_view text) {
    uint64_t head = 0;
    for (std::size_t k = 0; k < 8 && k < text.size(); ++k)
        head |= uint64_t{static_cast<unsigned char>(text[k])} << (8 * k);
    return head;
}

constexpr std::array<uint64_t, kDollarWords> DollarWordHeads() {
    std::array<uint64_t, kDollarWords> heads{};
    for (int w = 0; w < kDollarWords; ++w)
        heads[w] = Head(kDollarWordText[w]);
    return heads;
}

// The bytes of a head that a word fills.
constexpr std::array<uint64_t, kDollarWords> DollarWordHeadMasks() {
    std::array<uint64_t, kDollarWords> masks{};
    for (int w = 0; w < kDollarWords; ++w) {
        const std::size_t size = kDollarWordText[w].size();
        masks[w] = size >= 8 ? ~uint64_t{0} : (uint64_t{1} << (8 * size)) - 1;
    }
    return masks;
}

// Head of a text read in one load where the bytes already lie in that order.
uint64_t HeadOf(std::string_view text) {
    if constexpr (std::endian::native == std::endian::little) {
        if (text.size() >= 8) {
            uint64_t head;
            std::memcpy(&head, text.data(), sizeof head);
            return head;
        }
    }
    return Head(text);
}

// The "$" words the text holds, one bit each. A word is tried only when the letter after the
// "$" and the first eight bytes agree; the rest of a longer word is compared after that.
uint32_t DollarWordsIn(std::string_view text) {
    static constexpr std::array<uint32_t, 256> kByLetter = DollarWordsByLetter();
    static constexpr std::array<uint64_t, kDollarWords> kHeads = DollarWordHeads();
    static constexpr std::array<uint64_t, kDollarWords> kHeadMasks = DollarWordHeadMasks();
    uint32_t present = 0;
    for (std::size_t at = text.find('$'); at != std::string_view::npos;
         at = text.find('$', at + 1)) {
        const std::string_view rest = text.substr(at);
        if (rest.size() < 2) break;
        const uint64_t head = HeadOf(rest);
        for (uint32_t candidates = kByLetter[static_cast<unsigned char>(rest[1])]; candidates != 0;
             candidates &= candidates - 1) {
            const int w = std::countr_zero(candidates);
            const std::string_view word = kDollarWordText[w];
            if (word.size() > rest.size()) continue;
            if ((head & kHeadMasks[w]) != kHeads[w]) continue;
            if (word.size() <= 8 || rest.substr(8, word.size() - 8) == word.substr(8))
                present |= uint32_t{1} << w;
        }
    }
    return present;
}

// Whether no "$" word is a prefix of another, so no two can start at the same "$".
constexpr bool NoWordStartsAnother() {
    for (int a = 0; a < kDollarWords; ++a)
        for (int b = 0; b < kDollarWords; ++b)
            if (a != b && kDollarWordText[b].starts_with(kDollarWordText[a])) return false;
    return true;
}
static_assert(NoWordStartsAnother());

// Whether a value put in for every occurrence of a "$" word leaves the other words the text held
// as they were and brings in none: it holds no "$" of its own, and its first character cannot
// go on a word cut short before it (the words are "$" and capitals).
bool StartsNoWord(std::string_view value) {
    return !value.empty() && !(value[0] >= 'A' && value[0] <= 'Z') &&
           value.find('$') == std::string_view::npos;
}

// Fills the words in turn, each in the text as the words before it left it. The "$" words the
// text holds are looked up once and again after each filling, so the many it does not hold cost
// no search.
class WordFiller {
  public:
    explicit WordFiller(std::string& text) : text_(text) {}

    bool HasDollar() const { return text_.find('$') != std::string::npos; }
    bool Holds(DollarWord word) const { return (present_ & (uint32_t{1} << word)) != 0; }

    template <class Make>
    void Dollar(DollarWord word, Make make) {
        const uint32_t bit = uint32_t{1} << word;
        if ((present_ & bit) == 0) return;
        decltype(auto) made = make();
        const std::string_view value(made);
        FillAll(text_, kDollarWordText[word], value);
        present_ = StartsNoWord(value) ? present_ & ~bit : DollarWordsIn(text_);
    }
    void DollarText(DollarWord word, std::string_view value) {
        Dollar(word, [&] { return value; });
    }
    // A word without "$": looked for in the text.
    template <class Make>
    void Word(std::string_view word, Make make) {
        if (text_.find(word) == std::string::npos) return;
        FillAll(text_, word, make());
        present_ = DollarWordsIn(text_);
    }

  private:
    std::string& text_;
    uint32_t present_ = DollarWordsIn(text_);
};

void FillCardWords(Card& source, Card& target, std::string& text, const std::string& sourcePicture,
                   const std::string& targetPicture, const Value& shown, PictureBuild build) {
    WordFiller fill(text);
    // The amount is written only where a word asks for it.
    std::optional<std::string> amountText;
    auto amount = [&]() -> const std::string& {
        if (!amountText) amountText = shown.Text();
        return *amountText;
    };
    // No "$" word can turn up while the words are filled: of those filled without one, only
    // "#PATH#" brings text that could hold one, and it comes last.
    if (!fill.HasDollar()) {
        fill.Word("#TOKENS#", [&] { return std::to_string(St().Players[1].Tokens); });
        fill.Word("&col", [] { return ":"; });
        fill.Word("#PATH#", GamePath);
        return;
    }
    // Card names are written into one spare text in turn rather than each into a new one.
    std::string name;
    auto named = [&name](Card& card) -> std::string_view {
        name.clear();
        name.reserve(kNameMarkup + card.Colour.size() + card.Name.size());
        AppendDCard(name, card);
        return name;
    };
    // Room for the names the words usually bring, so the text grows once rather than per word.
    text.reserve(text.size() + kUsualFilledGrowth);
    // The pictures are built for a text that shows them, and only then.
    auto picture = [build](const std::string& link) -> const std::string& {
        if (build) build();
        return link;
    };
    fill.Dollar(kMyImg, [&] { return picture(sourcePicture); });
    // The cards a word names are looked up only for a word the text holds.
    if (fill.Holds(kGidCard)) {
        const int16_t number = GetCardNum(St().LastAmount);
        if (number > 0) fill.Dollar(kGidCard, [&] { return named(St().InPlay[number]); });
    }
    if (fill.Holds(kMyOwner)) {
        if (Card* mine = OwnerCard(source)) fill.Dollar(kMyOwner, [&] { return named(*mine); });
    }
    if ((source.Owner == 1 || source.Owner == 2) &&
        (fill.Holds(kOwner) || fill.Holds(kTargetOwner))) {
        if (Card* theirs = OwnerCard(target)) {
            fill.Dollar(kOwner, [&] { return named(*theirs); });
            fill.Dollar(kTargetOwner, [&] { return named(*theirs); });
        }
    }
    fill.Dollar(kTargetImg, [&] { return picture(targetPicture); });
    fill.Dollar(kAmt, [&] { return "<font color=\"#FFFF00\">" + amount() + "</font>"; });
    fill.Dollar(kTargetName, [&] { return named(target); });
    fill.Dollar(kTargetUniqueName, [&] { return target.UniqueName; });
    fill.Dollar(kUniqueName, [&] { return target.UniqueName; });
    fill.Dollar(kMyUniqueName, [&] { return source.UniqueName; });
    fill.Dollar(kSimpleTargetName, [&] { return target.Name; });
    if (St().LastTarget > 0 && St().InPlay.Has(St().LastTarget)) {
        const std::string& last = std::as_const(St().InPlay)[St().LastTarget].Name;
        fill.DollarText(kLastTargetName, last);
        fill.DollarText(kLastTargetCard, last);
    }
    fill.Dollar(kTargetCard, [&] { return named(target); });
    fill.Dollar(kMyName, [&] { return named(source); });
    fill.Dollar(kSrcCard, [&] { return named(source); });
    fill.DollarText(kLastName, St().LastTargetName);
    fill.DollarText(kTrait, "");
    fill.DollarText(kEffStr, "()");
    fill.Dollar(kLastAmt, amount);
    fill.Dollar(kLastVal, amount);
    fill.Word("#TOKENS#", [&] { return std::to_string(St().Players[1].Tokens); });
    fill.Word("&col", [] { return ":"; });
    if (St().SwapNesting <= kMaxSwapNesting) {
        fill.Dollar(kMyDesc, [&] { return FullDesc(source, 0, 0); });
        fill.Dollar(kTargetDesc, [&] { return FullDesc(target, 0, 0); });
    }
    fill.Dollar(kGamePath, GamePath);
    fill.Word("#PATH#", GamePath);
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
              const std::string& targetPicture, const Value& spare, Value& amount,
              PictureBuild build) {
    if (amount.Num() == -1) amount = St().LastAmount;
    const Value shown = amount.Num() < 0 ? Value(-amount.Num()) : amount;
    FillRandomStrings(text);
    SwapTraitStrings(source, target, text);
    FillCardWords(source, target, text, sourcePicture, targetPicture, shown, build);

    if (St().SwapSecondPass) return;
    Restore restore{St().SwapSecondPass, St().SwapSecondPass};
    St().SwapSecondPass = 1;
    Value lastAmount = -1;
    SwapOnce(source, target, text, sourcePicture, targetPicture, spare, lastAmount, build);
}

}  // namespace

void FillAll(std::string& text, std::string_view find, std::string_view replacement) {
    if (find.empty()) return;
    std::string::size_type at = text.find(find);
    if (at == std::string::npos) return;
    const std::string::size_type second = text.find(find, at + find.size());
    // One occurrence, the usual case, is replaced in place; more are written into a new text, so
    // that many of them in a long text cost one pass and not a shift of the rest for each.
    if (second == std::string::npos) {
        text.replace(at, find.size(), replacement);
        return;
    }
    std::string result;
    result.reserve(text.size() + 2 * replacement.size());
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
                     const Value& spare, Value& amount, PictureBuild build) {
    Guarded("SwapCardStrings", [&] {
        DepthCount nest(St().SwapNesting);
        SwapOnce(source, target, text, sourcePicture, targetPicture, spare, amount, build);
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
            if (KeyOf(std::string_view(text).substr(a, b - a)) == TokenKey::None) {
                p = b;
                continue;
            }
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
