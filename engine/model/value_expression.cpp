#include "engine/model/value_expression.h"

#include <cmath>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "engine/model/cards.h"
#include "engine/model/guard.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "engine/rules/rule_operations.h"
#include "engine/rules/script_fields.h"

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

// The whole text is one number (blanks around it allowed), as "PLUS" and "MINUS" demand.
std::optional<double> WholeNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    int digits = 0;
    while (i < text.size() && IsDigit(text[i]))
        ++i, ++digits;
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

    void Keyword() { flag_ = 1; }

    // Every change of the accumulator goes through here: a result that is no finite number is
    // a step too large to compute.
    void SetAcc(double value) {
        if (!std::isfinite(value)) throw RunFault("number too large");
        acc_ = value;
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

    static int32_t OwnerCardGid(int owner) {
        State& st = St();
        return st.InPlay[st.Players[owner].CardIndex].GID;
    }

    void Apply(const ScriptFields& tokens, long long pos, Step& step) {
        const std::string_view token = tokens[pos];
        const std::string_view next = tokens[pos + 1];
        State& st = St();

        if (token == "TRAIT") {
            step.tokens = 2;
            Keyword();
            cur_ = GetTrait(source_, std::string(next), 0).Num();
            return;
        }
        if (token == "SRCTRAIT" || token == "TARGTRAIT" || token == "OWNERTRAIT" ||
            token == "TARGETTRAIT") {
            step.tokens = 2;
            Keyword();
            if (token == "SRCTRAIT") {
                cur_ = TraitOf(source_, next);
            } else if (token == "OWNERTRAIT") {
                Card* owner = OwnerSlot(target_.Owner);
                cur_ = owner ? TraitOf(*owner, next) : Value(0);
            } else {
                cur_ = TraitOf(target_, next);
            }
            return;
        }

        if (cur_.IsText() && cur_.Text() == "NONE") cur_ = 0;

        if (std::optional<double> number = WholeNumber(token); number && *number != 0) {
            SetAcc(acc_ + *number);
            return;
        }
        if (StartsWith(token, "ROLL")) {
            Keyword();
            const double range = acc_ * ReadNumber(token.substr(4));
            if (std::fabs(range) > kMaxWhole) throw RunFault("number too large");
            SetAcc(acc_ + static_cast<double>(RandomNum(range)));
            return;
        }
        if (StartsWith(token, "ROOT")) {
            Keyword();
            if (acc_ < 0) throw RunFault("root of a negative number");
            SetAcc(std::sqrt(acc_));
            return;
        }
        if (StartsWith(token, "R")) {
            std::string dice(token);
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
            return;
        }

        if (token == "MYGID" || token == "$MYGID") {
            Keyword();
            SetAcc(source_.GID);
            step.stop = true;
            return;
        }
        if (token == "MYOWNERGID" || token == "TARGETOWNERGID") {
            Keyword();
            const int owner = token == "MYOWNERGID" ? source_.Owner : target_.Owner;
            if (owner > 0) {
                SetAcc(OwnerCardGid(owner));
                step.stop = true;
            }
            return;
        }
        if (token == "MYNAME") {
            step.result = source_.Name;
            return;
        }
        if (token == "TARGETGID") {
            Keyword();
            SetAcc(target_.GID);
            step.stop = true;
            return;
        }
        if (token == "LASTCARD") {
            Keyword();
            if (st.LastCard > 0) {
                SetAcc(st.InPlay[st.LastCard].GID);
                step.stop = true;
            }
            return;
        }
        if (token == "TARGETNAME") {
            step.result = target_.Name;
            return;
        }
        if (token == "LASTTARGET") {
            step.result = st.LastTarget;
            return;
        }
        if (token == "TRAITCOUNT" || token == "TRAITTOTAL" || token == "NAMECOUNT") {
            Keyword();
            const std::string name(next);
            const std::string_view third = tokens[pos + 2];
            Value side;  // left unset when no scope word is given
            std::string extra;
            if (IsScopeWord(third)) {
                step.tokens = 3;
                side = ScopeSide(third, source_, target_);
            } else {
                step.tokens = 4;
                extra = third;
                if (IsScopeWord(tokens[pos + 3]))
                    side = ScopeSide(tokens[pos + 3], source_, target_);
            }
            double total = 0;
            if (token == "NAMECOUNT") {
                total = NameTotal(name, side, extra);
            } else {
                total = TraitTotal(name, side, extra, token == "TRAITCOUNT" ? 1 : 0);
            }
            SetAcc(acc_ + total);
            return;
        }
        if (token == "CURVAL") {
            Keyword();
            SetAcc(acc_ + st.CurrentValue.Num());
            return;
        }
        if (token == "TOKENS") {
            Keyword();
            SetAcc(acc_ + st.Players[1].Tokens);
            return;
        }
        if (token == "LASTAMT" || token == "LASTVAL") {
            Keyword();
            SetAcc(acc_ + st.LastAmount.Num());
            return;
        }
        if (token == "MYOWNERTRAIT") {
            step.tokens = 2;
            Keyword();
            Card* owner = OwnerSlot(source_.Owner);
            cur_ = owner ? TraitOf(*owner, next) : Value(0);
            return;
        }
        if (token == "MYTRAIT") {
            step.tokens = 2;
            Keyword();
            cur_ = TraitOf(source_, next);
            return;
        }

        const double c = cur_.Num();
        auto n = [&](std::size_t keywordLength) { return ReadNumber(token.substr(keywordLength)); };
        if (StartsWith(token, "TRAITPLUS")) {
            Keyword();
            SetAcc(acc_ + c * n(9));
        } else if (StartsWith(token, "TRAITMINUS")) {
            Keyword();
            SetAcc(acc_ - c * n(10));
        } else if (StartsWith(token, "TRAITMULT")) {
            Keyword();
            // Compared as values: a trait held as text orders above the number 1.
            const Value factor = Compare(cur_, Value(1)) > 0 ? cur_ : Value(1);
            SetAcc(acc_ * factor.Num() * n(9));
        } else if (StartsWith(token, "TRAITPERC")) {
            Keyword();
            SetAcc(acc_ * (1 + c * n(9) / 100));
        } else if (StartsWith(token, "TRAITSQR")) {
            Keyword();
            SetAcc(acc_ + c * c);
        } else if (StartsWith(token, "TRAITROOT")) {
            Keyword();
            if (c < 0) throw RunFault("root of a negative number");
            SetAcc(acc_ + std::sqrt(c));
        } else if (StartsWith(token, "MULT")) {
            Keyword();
            SetAcc(std::floor(acc_ * n(4)));
        } else if (StartsWith(token, "MINUS")) {
            Keyword();
            std::optional<double> amount = WholeNumber(token.substr(5));
            if (!amount) throw RunFault("MINUS without a number");
            SetAcc(std::floor(acc_ - *amount));
        } else if (StartsWith(token, "MIN")) {
            Keyword();
            const double bound = n(3);
            SetAcc(acc_ > bound ? acc_ : bound);
        } else if (StartsWith(token, "MAX")) {
            Keyword();
            const double bound = n(3);
            SetAcc(acc_ < bound ? acc_ : bound);
        } else if (StartsWith(token, "DIV")) {
            Keyword();
            const double divisor = n(3);
            if (divisor == 0) throw RunFault("division by zero");
            SetAcc(std::floor(acc_ / divisor));
        } else if (StartsWith(token, "PLUS")) {
            Keyword();
            std::optional<double> amount = WholeNumber(token.substr(4));
            if (!amount) throw RunFault("PLUS without a number");
            SetAcc(std::floor(acc_ + *amount));
        } else if (token == "NEG") {
            Keyword();
            SetAcc(-acc_);
        } else if (token == "INTEGER") {
            Keyword();
            SetAcc(std::floor(acc_));
        } else if (token == "TARGETRARITY") {
            Keyword();
            SetAcc(acc_ + target_.Rarity);
        } else if (token == "MYRARITY") {
            Keyword();
            SetAcc(acc_ + source_.Rarity);
        }
    }

    Card& source_;
    Card& target_;
    Value& flag_;
    double acc_ = 0;
    Value cur_;
};

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
