#include "engine/model/value_expression.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "engine/model/cards.h"
#include "engine/model/guard.h"
#include "engine/model/script_fields.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"

namespace dv {
namespace {

// GetTrait evaluates bonus traits here, and a bonus may read its own trait again.
constexpr int kMaxNesting = 10;
// A dice token asking for more dice than this is a number too large to roll.
constexpr double kMaxDice = 10000;
// Whole numbers handed to the random draws stay within 32 bits, like every count of the game.
constexpr double kMaxWhole = 2147483647.0;

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Digits alone, a sign before them allowed, few enough to be counted exactly.
bool IsPlainWholeNumber(std::string_view text) {
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
    if (text.empty() || text.size() > 15) return false;
    return std::all_of(text.begin(), text.end(), IsDigit);
}

// The whole text is one number (blanks around it allowed), as "PLUS" and "MINUS" demand.
std::optional<double> WholeNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t firstDigit = i;
    int digits = 0;
    while (i < text.size() && IsDigit(text[i]))
        ++i, ++digits;
    // A plain whole number of up to 15 digits is held exactly by a double: it is counted up here
    // rather than handed to strtod, which gives the same (-0 for "-0" too).
    if (digits > 0 && digits <= 15 && i == text.size()) {
        long long whole = 0;
        for (std::size_t k = firstDigit; k < i; ++k)
            whole = whole * 10 + (text[k] - '0');
        const double number = static_cast<double>(whole);
        return text.front() == '-' ? -number : number;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        int exponentDigits = 0;
        while (i < text.size() && IsDigit(text[i]))
            ++i, ++exponentDigits;
        if (exponentDigits == 0) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;
    double number = std::strtod(std::string(text).c_str(), nullptr);
    if (!std::isfinite(number)) throw RunFault("number too large");
    return number;
}

void ReplaceEvery(std::string& text, std::string_view find, const std::string& replacement) {
    for (std::size_t at = text.find(find); at != std::string::npos;
         at = text.find(find, at + replacement.size())) {
        text.replace(at, find.size(), replacement);
    }
}

bool IsScopeWord(std::string_view word) {
    return word == "SRCALLY" || word == "TARGETALLY" || word == "SRCENEMY" ||
           word == "TARGETENEMY" || word == "ANY";
}

Value ScopeSide(std::string_view word, const Card& source, const Card& target) {
    if (word == "SRCALLY") return static_cast<int>(source.Owner);
    if (word == "TARGETALLY") return static_cast<int>(target.Owner);
    if (word == "SRCENEMY") return source.Owner == 1 ? 2 : 1;
    if (word == "TARGETENEMY") return target.Owner == 1 ? 2 : 1;
    return 0;
}

// One evaluation of the token loop. A step that cannot be computed throws before it changes
// anything, so it has no effect; the loop reports the first such step and goes on.
class Evaluation {
  public:
    Evaluation(Card& source, Card& target, Value& flag)
        : source_(source), target_(target), flag_(flag) {}

    Value Run(const std::string& expression, const std::string& startTrait) {
        // GetTrait of an empty name is "NONE" whatever the card holds.
        cur_ = startTrait.empty() ? Value("NONE") : GetTrait(target_, startTrait, 0);
        const ScriptFields tokens(expression, '/');
        bool reported = false;
        for (long long pos = 1; !tokens[pos].empty();) {
            Step step;
            try {
                Apply(tokens, pos, step);
            } catch (const std::exception&) {
                if (!reported) ReportError("Transval");
                reported = true;
                step.stop = false;
                step.result.reset();
            }
            if (step.result) return *step.result;
            if (step.stop) break;
            pos += step.tokens;
        }
        if (acc_ > 0) return acc_;
        if (acc_ == 0) return cur_;
        return acc_;
    }

  private:
    struct Step {
        int tokens = 1;
        bool stop = false;
        std::optional<Value> result;
    };

    // The token at work and what follows it.
    struct Token {
        std::string_view word;
        std::string_view rest;  // after the keyword of a row matched by its start
        const ScriptFields& tokens;
        long long pos;
        std::string_view Next(int k = 1) const { return tokens[pos + k]; }
    };

    using Handler = void (Evaluation::*)(const Token& token, Step& step);
    enum class Match { Whole, Start };
    struct Row {
        std::string_view keyword;
        Match match;
        Handler handler;
    };
    // Tried in order, the first row that matches takes the token. The trait reads come before
    // anything else: only they see a current trait of "NONE", which every other token reads as 0.
    static const Row kTraitReads[];
    static const Row kTokens[];

    template <std::size_t N>
    bool Dispatch(const Row (&rows)[N], const Token& token, Step& step) {
        for (const Row& row : rows) {
            const bool whole = token.word == row.keyword;
            if (!whole && (row.match == Match::Whole || !StartsWith(token.word, row.keyword)))
                continue;
            (this->*row.handler)(
                {token.word, token.word.substr(row.keyword.size()), token.tokens, token.pos}, step);
            return true;
        }
        return false;
    }

    // One token: a trait read, else a number other than 0 added to the accumulator, else the
    // first row of kTokens that matches; a token no row matches does nothing.
    void Apply(const ScriptFields& tokens, long long pos, Step& step);

    void Keyword() { flag_ = 1; }

    // Every change of the accumulator goes through here: a result that is no finite number is
    // a step too large to compute.
    void SetAcc(double value) {
        if (!std::isfinite(value)) throw RunFault("number too large");
        acc_ = value;
    }
    // A keyword that adds an amount to the accumulator.
    void AddAmount(double amount) {
        Keyword();
        SetAcc(acc_ + amount);
    }
    // A keyword that ends the expression with a card's identifier.
    void StopAt(int32_t gid, Step& step) {
        SetAcc(gid);
        step.stop = true;
    }

    static Value TraitOf(Card& card, std::string_view name) {
        Value value = GetTrait(card, std::string(name), 0);
        if (value.IsText() && value.Text().empty()) return 0;  // a missing trait reads as 0
        return value;
    }

    // The player card a side's owner number points at; owner 0 has none.
    static Card* OwnerSlot(int owner) {
        if (owner == 0) return nullptr;
        return &St().InPlay[owner];
    }

    // 0 for a side without a player card, as a card test starts unless the author puts one in.
    static int32_t OwnerCardGid(int owner) {
        const Card* card = InPlayCard(St().Players[owner].CardIndex);
        return card ? card->GID : 0;
    }

    // The current trait read from a card by the name that follows the keyword.
    void ReadTrait(Card* card, const Token& token, Step& step) {
        step.tokens = 2;
        Keyword();
        cur_ = card ? TraitOf(*card, token.Next()) : Value(0);
    }
    void Trait(const Token& token, Step& step) {
        step.tokens = 2;
        Keyword();
        cur_ = GetTrait(source_, std::string(token.Next()), 0).Num();
    }
    void SourceTrait(const Token& t, Step& step) { ReadTrait(&source_, t, step); }
    void TargetTrait(const Token& t, Step& step) { ReadTrait(&target_, t, step); }
    void TargetOwnerTrait(const Token& t, Step& step) {
        ReadTrait(OwnerSlot(target_.Owner), t, step);
    }
    void SourceOwnerTrait(const Token& t, Step& step) {
        ReadTrait(OwnerSlot(source_.Owner), t, step);
    }

    void Roll(const Token& token, Step&) {
        Keyword();
        const double range = acc_ * ReadNumber(token.rest);
        if (std::fabs(range) > kMaxWhole) throw RunFault("number too large");
        SetAcc(acc_ + static_cast<double>(RandomNum(range)));
    }
    void Root(const Token&, Step&) {
        Keyword();
        if (acc_ < 0) throw RunFault("root of a negative number");
        SetAcc(std::sqrt(acc_));
    }
    // "R2Die6": dice rolled, the current trait standing in for the word "TRAIT".
    void Dice(const Token& token, Step& step) {
        std::string dice(token.word);
        const std::string curText = cur_.Text();
        ReplaceEvery(dice, "TRAIT", curText);
        ReplaceEvery(dice, "Trait", curText);
        ReplaceEvery(dice, "trait", curText);
        if (dice.size() < 2 || dice[1] < '1' || dice[1] > '9') {
            step.tokens = 2;
            return;
        }
        const double count = Getnum(dice);
        const std::size_t die = dice.find("Die");
        const double sides = Getnum(die == std::string::npos ? "" : dice.substr(die + 3));
        if (count > kMaxDice || sides > kMaxWhole) throw RunFault("number too large");
        SetAcc(acc_ + static_cast<double>(RollDice(count, sides)));
    }

    void SourceGid(const Token&, Step& step) {
        Keyword();
        StopAt(source_.GID, step);
    }
    void TargetGid(const Token&, Step& step) {
        Keyword();
        StopAt(target_.GID, step);
    }
    void OwnerGid(int owner, Step& step) {
        Keyword();
        if (owner > 0) StopAt(OwnerCardGid(owner), step);
    }
    void SourceOwnerGid(const Token&, Step& step) { OwnerGid(source_.Owner, step); }
    void TargetOwnerGid(const Token&, Step& step) { OwnerGid(target_.Owner, step); }
    void LastCard(const Token&, Step& step) {
        Keyword();
        const State& st = St();
        if (st.LastCard > 0) StopAt(st.InPlay[st.LastCard].GID, step);
    }
    void SourceName(const Token&, Step& step) { step.result = source_.Name; }
    void TargetName(const Token&, Step& step) { step.result = target_.Name; }
    void LastTarget(const Token&, Step& step) { step.result = St().LastTarget; }

    // The sum over the cards in play of "TRAITCOUNT", "TRAITTOTAL" or "NAMECOUNT": a name, then
    // a scope word, or a text the cards' values must hold and then an optional scope word.
    void Count(const Token& token, Step& step) {
        Keyword();
        const std::string name(token.Next());
        const std::string_view third = token.Next(2);
        Value side;  // left unset when no scope word is given
        std::string extra;
        if (IsScopeWord(third)) {
            step.tokens = 3;
            side = ScopeSide(third, source_, target_);
        } else {
            step.tokens = 4;
            extra = third;
            if (IsScopeWord(token.Next(3))) side = ScopeSide(token.Next(3), source_, target_);
        }
        double total = 0;
        if (token.word == "NAMECOUNT") {
            total = NameTotal(name, side, extra);
        } else {
            total = TraitTotal(name, side, extra, token.word == "TRAITCOUNT" ? 1 : 0);
        }
        SetAcc(acc_ + total);
    }
    void CurrentValue(const Token&, Step&) { AddAmount(St().CurrentValue.Num()); }
    void Tokens(const Token&, Step&) { AddAmount(St().Players[1].Tokens); }
    void LastAmount(const Token&, Step&) { AddAmount(St().LastAmount.Num()); }
    void TargetRarity(const Token&, Step&) { AddAmount(target_.Rarity); }
    void SourceRarity(const Token&, Step&) { AddAmount(source_.Rarity); }

    // The arithmetic keywords: the number written after the keyword is their operand; "TRAIT..."
    // ones also take the current trait.
    double Operand(const Token& token) const { return ReadNumber(token.rest); }
    void TraitPlus(const Token& t, Step&) {
        Keyword();
        SetAcc(acc_ + cur_.Num() * Operand(t));
    }
    void TraitMinus(const Token& t, Step&) {
        Keyword();
        SetAcc(acc_ - cur_.Num() * Operand(t));
    }
    void TraitMult(const Token& t, Step&) {
        Keyword();
        // Compared as values: a trait held as text orders above the number 1.
        const Value factor = Compare(cur_, Value(1)) > 0 ? cur_ : Value(1);
        SetAcc(acc_ * factor.Num() * Operand(t));
    }
    void TraitPercent(const Token& t, Step&) {
        Keyword();
        SetAcc(acc_ * (1 + cur_.Num() * Operand(t) / 100));
    }
    void TraitSquare(const Token&, Step&) {
        Keyword();
        const double c = cur_.Num();
        SetAcc(acc_ + c * c);
    }
    void TraitRoot(const Token&, Step&) {
        Keyword();
        const double c = cur_.Num();
        if (c < 0) throw RunFault("root of a negative number");
        SetAcc(acc_ + std::sqrt(c));
    }
    void Mult(const Token& t, Step&) {
        Keyword();
        SetAcc(std::floor(acc_ * Operand(t)));
    }
    // "PLUS" and "MINUS" take a whole number only.
    double WholeOperand(const Token& t, const char* fault) const {
        const std::optional<double> amount = WholeNumber(t.rest);
        if (!amount) throw RunFault(fault);
        return *amount;
    }
    void Minus(const Token& t, Step&) {
        Keyword();
        SetAcc(std::floor(acc_ - WholeOperand(t, "MINUS without a number")));
    }
    void Plus(const Token& t, Step&) {
        Keyword();
        SetAcc(std::floor(acc_ + WholeOperand(t, "PLUS without a number")));
    }
    void Min(const Token& t, Step&) {
        Keyword();
        const double bound = Operand(t);
        SetAcc(acc_ > bound ? acc_ : bound);
    }
    void Max(const Token& t, Step&) {
        Keyword();
        const double bound = Operand(t);
        SetAcc(acc_ < bound ? acc_ : bound);
    }
    void Div(const Token& t, Step&) {
        Keyword();
        const double divisor = Operand(t);
        if (divisor == 0) throw RunFault("division by zero");
        SetAcc(std::floor(acc_ / divisor));
    }
    void Negate(const Token&, Step&) {
        Keyword();
        SetAcc(-acc_);
    }
    void Integer(const Token&, Step&) {
        Keyword();
        SetAcc(std::floor(acc_));
    }

    Card& source_;
    Card& target_;
    Value& flag_;
    double acc_ = 0;
    Value cur_;
};

const Evaluation::Row Evaluation::kTraitReads[] = {
    {"TRAIT", Match::Whole, &Evaluation::Trait},
    {"SRCTRAIT", Match::Whole, &Evaluation::SourceTrait},
    {"TARGTRAIT", Match::Whole, &Evaluation::TargetTrait},
    {"OWNERTRAIT", Match::Whole, &Evaluation::TargetOwnerTrait},
    {"TARGETTRAIT", Match::Whole, &Evaluation::TargetTrait},
};
// "ROLL" and "ROOT" before the dice of any other "R..." token, "MINUS" before "MIN".
const Evaluation::Row Evaluation::kTokens[] = {
    {"ROLL", Match::Start, &Evaluation::Roll},
    {"ROOT", Match::Start, &Evaluation::Root},
    {"R", Match::Start, &Evaluation::Dice},
    {"MYGID", Match::Whole, &Evaluation::SourceGid},
    {"$MYGID", Match::Whole, &Evaluation::SourceGid},
    {"MYOWNERGID", Match::Whole, &Evaluation::SourceOwnerGid},
    {"TARGETOWNERGID", Match::Whole, &Evaluation::TargetOwnerGid},
    {"MYNAME", Match::Whole, &Evaluation::SourceName},
    {"TARGETGID", Match::Whole, &Evaluation::TargetGid},
    {"LASTCARD", Match::Whole, &Evaluation::LastCard},
    {"TARGETNAME", Match::Whole, &Evaluation::TargetName},
    {"LASTTARGET", Match::Whole, &Evaluation::LastTarget},
    {"TRAITCOUNT", Match::Whole, &Evaluation::Count},
    {"TRAITTOTAL", Match::Whole, &Evaluation::Count},
    {"NAMECOUNT", Match::Whole, &Evaluation::Count},
    {"CURVAL", Match::Whole, &Evaluation::CurrentValue},
    {"TOKENS", Match::Whole, &Evaluation::Tokens},
    {"LASTAMT", Match::Whole, &Evaluation::LastAmount},
    {"LASTVAL", Match::Whole, &Evaluation::LastAmount},
    {"MYOWNERTRAIT", Match::Whole, &Evaluation::SourceOwnerTrait},
    {"MYTRAIT", Match::Whole, &Evaluation::SourceTrait},
    {"TRAITPLUS", Match::Start, &Evaluation::TraitPlus},
    {"TRAITMINUS", Match::Start, &Evaluation::TraitMinus},
    {"TRAITMULT", Match::Start, &Evaluation::TraitMult},
    {"TRAITPERC", Match::Start, &Evaluation::TraitPercent},
    {"TRAITSQR", Match::Start, &Evaluation::TraitSquare},
    {"TRAITROOT", Match::Start, &Evaluation::TraitRoot},
    {"MULT", Match::Start, &Evaluation::Mult},
    {"MINUS", Match::Start, &Evaluation::Minus},
    {"MIN", Match::Start, &Evaluation::Min},
    {"MAX", Match::Start, &Evaluation::Max},
    {"DIV", Match::Start, &Evaluation::Div},
    {"PLUS", Match::Start, &Evaluation::Plus},
    {"NEG", Match::Whole, &Evaluation::Negate},
    {"INTEGER", Match::Whole, &Evaluation::Integer},
    {"TARGETRARITY", Match::Whole, &Evaluation::TargetRarity},
    {"MYRARITY", Match::Whole, &Evaluation::SourceRarity},
};

void Evaluation::Apply(const ScriptFields& tokens, long long pos, Step& step) {
    const Token token{tokens[pos], {}, tokens, pos};
    if (Dispatch(kTraitReads, token, step)) return;
    if (cur_.IsText() && cur_.Text() == "NONE") cur_ = 0;
    if (std::optional<double> number = WholeNumber(token.word); number && *number != 0) {
        SetAcc(acc_ + *number);
        return;
    }
    Dispatch(kTokens, token, step);
}

Value Evaluate(Card& source, Card& target, const std::string& expression,
               const std::string& startTrait, Value& keywordFlag) {
    if (expression.empty()) return 0;
    if (expression[0] == '$') {
        if (expression == "$MYNAME") return source.Name;
        if (expression == "$TARGETNAME") return target.Name;
        if (expression == "$MYGID") {
            keywordFlag = 1;
            return source.GID;
        }
        if (expression == "$TARGETGID") {
            keywordFlag = 1;
            return target.GID;
        }
    }
    if (expression == "MYGID") {
        keywordFlag = 1;
        return source.GID;
    }
    if (expression == "TARGETGID") {
        keywordFlag = 1;
        return target.GID;
    }
    // The commonest argument, a plain whole number other than 0, is that number: it can match no
    // keyword, and without a starting trait nothing else is read.
    if (startTrait.empty() && IsPlainWholeNumber(expression)) {
        if (const std::optional<double> number = WholeNumber(expression); number && *number != 0)
            return *number;
    }
    return Evaluation(source, target, keywordFlag).Run(expression, startTrait);
}

}  // namespace

Value Transval(Card& source, Card& target, const Value& expression, const std::string& startTrait) {
    Value keywordFlag;
    return Transval(source, target, expression, startTrait, keywordFlag);
}

Value Transval(Card& source, Card& target, const Value& expression, const std::string& startTrait,
               Value& keywordFlag) {
    if (St().ExpressionDepth >= kMaxNesting) {
        ReportError("Transval");
        return 0;
    }
    DepthCount scope(St().ExpressionDepth);
    return Guarded("Transval", Value(0), [&] {
        return Evaluate(source, target, expression.Text(), startTrait, keywordFlag);
    });
}

double Getnum(const std::string& text) {
    std::size_t at = text.find_first_of("123456789");
    if (at == std::string::npos) return 1;
    double number = 0;
    for (; at < text.size() && IsDigit(text[at]); ++at)
        number = number * 10 + (text[at] - '0');
    return number;
}

}  // namespace dv
