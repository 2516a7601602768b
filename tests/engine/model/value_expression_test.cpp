#include "engine/model/value_expression.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "engine/model/text_utils.h"
#include "tests/support/engine_fixture.h"

namespace dv {
namespace {

class ValueExpressionTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        source = MakeCard("Imp", 1111, 1, 3);
        target = MakeCard("Ogre", 2222, 2, 5);
    }

    static Card MakeCard(const std::string& name, int32_t gid, int owner, int rarity) {
        Card card;
        card.Name = name;
        card.GID = gid;
        card.Owner = static_cast<uint8_t>(owner);
        card.Rarity = static_cast<uint8_t>(rarity);
        return card;
    }

    static void Give(Card& card, const std::string& trait, const std::string& value) {
        card.TraitNames.PushBack(trait);
        card.TraitValues.PushBack(value);
        card.TraitActionDescs.PushBack("");
    }

    Value Eval(const std::string& expression) { return Transval(source, target, expression, ""); }

    Card source;
    Card target;
};

struct Row {
    const char* expression;
    Value result;
};

void ExpectRows(std::initializer_list<Row> rows,
                const std::function<Value(const std::string&)>& eval) {
    for (const Row& r : rows) {
        SCOPED_TRACE(r.expression);
        const Value got = eval(r.expression);
        EXPECT_EQ(got.IsNumber(), r.result.IsNumber()) << got.Text();
        EXPECT_EQ(got.Text(), r.result.Text());
    }
}

TEST_F(ValueExpressionTest, TokenFormsGiveTheirValues) {
    St().LastTarget = 0;
    St().Players[1].Tokens = 500;
    St().CurrentValue = "12abc";
    St().LastAmount = "4";
    ExpectRows(
        {
            {"", 0},
            {"3", 3},
            {"-3", -3},
            {"0", 0},
            // Plain whole numbers are read on their own; they must give what the full reading
            // gives, sign, leading zeros, blanks and zero included.
            {"+7", 7},
            {"007", 7},
            {"-0", 0},
            {" 3", 3},
            {"123456789012345", 123456789012345.0},
            {"1234567890123456", 1234567890123456.0},
            {"2.5", 2.5},
            {"/5", "NONE"},
            {"HP", 0},
            {"3/4", 7},
            {"10/MIN20", 20},
            {"10/MAX4", 4},
            {"7/DIV2", 3},
            {"7/MULT1.5", 10},
            {"5/MINUS2", 3},
            {"5/MIN3", 5},
            {"2/NEG", -2},
            {"5/PLUS2.5", 7},
            {"9/ROOT", 3},
            {"5/MAXHP", 0},  // a trait named like a keyword prefix is that keyword
            // Rounding down is toward minus infinity.
            {"-7/DIV2", -4},
            {"-1/MULT2.5", -3},
            {"-3/PLUS0.5", -3},
            // Whole numbers are read without strtod up to 15 digits: the same values past it.
            {"5/PLUS007", 12},
            {"5/MINUS+3", 2},
            {"5/PLUS-0", 5},
            {"5/PLUS-2", 3},
            {"1/PLUS123456789012345", 123456789012346.0},
            {"1/PLUS1234567890123456", 1234567890123457.0},
            {"-2.5/INTEGER", -3},
            {"-5/MINUS0.5", -6},
            {"7.9/INTEGER", 7},
            // Whole-expression and token forms of names and identifiers.
            {"$MYNAME", "Imp"},
            {"$TARGETNAME", "Ogre"},
            {"$MYGID", 1111},
            {"$TARGETGID", 2222},
            {"MYGID", 1111},
            {"TARGETGID", 2222},
            {"MYGID/5", 1111},
            {"5/TARGETGID/5", 2222},
            {"3/$MYGID", 1111},
            {"3/MYNAME", "Imp"},
            {"TARGETNAME/3", "Ogre"},
            {"LASTTARGET", 0},
            {"TARGETRARITY/MYRARITY", 8},
            {"TOKENS", 500},
            {"CURVAL", 12},
            {"LASTAMT/LASTVAL", 8},
            // Counting forms take 3 or 4 tokens (nothing is in play to count).
            {"TRAITCOUNT/HP/SRCALLY/5", 5},
            {"TRAITTOTAL/HP/FLYING/TARGETENEMY/5", 5},
            {"NAMECOUNT/Imp/FLYING/7", 0},
            // Dice tokens that are not dice skip the token after them.
            {"RX/5/2", 2},
            {"RTRAITDie6/5/3", 3},
            {"a//b/5", 0},
            {"4//5", 4},
            {"ZZZ/4", 4},
        },
        [this](const std::string& e) { return Eval(e); });
    for (const std::string& m : host.messages)
        ADD_FAILURE() << m;
}

TEST_F(ValueExpressionTest, OwnerFormsReadTheOwnersPlayerCard) {
    St().InPlay.PushBack(MakeCard("Hero", 9999, 1, 0));
    St().InPlay.PushBack(MakeCard("Villain", 8888, 2, 0));
    St().Players[1].CardIndex = 1;
    St().Players[2].CardIndex = 2;
    ExpectRows({{"MYOWNERGID", 9999}, {"4/TARGETOWNERGID/9", 8888}, {"7/LASTCARD/2", 9}},
               [this](const std::string& e) { return Eval(e); });
    St().LastCard = 1;
    EXPECT_EQ(Eval("7/LASTCARD").Text(), "9999");
    target.Owner = 0;
    EXPECT_EQ(Eval("5/TARGETOWNERGID").Text(), "5");
    EXPECT_EQ(
        Eval("OWNERTRAIT/HP/2").Text(),
        "2");  // owner 0 has no player card: no trait  // no owner: no effect, the loop goes on
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ValueExpressionTest, AStepThatCannotBeComputedHasNoEffect) {
    St().LastCard = 4;  // no such card in play
    struct FailRow {
        const char* expression;
        Value result;
    };
    const FailRow rows[] = {
        {"7/DIV0", 7},
        {"7/DIV", 7},
        {"7/DIV0/DIV0/PLUS1", 8},
        {"5/PLUS", 5},
        {"5/PLUSX", 5},
        {"5/MINUS", 5},
        {"5/MINUSabc/MINUS1", 4},
        {"-4/ROOT", -4},
        {"3/LASTCARD/2", 5},
        {"OWNERTRAIT/HP/2", 2},  // the target's owner has no card in play
        {"1e400/2", 2},
        {"1e308/1e308", 1e308},
        {"R99999999Die6/4", 4},
        {"R2Die99999999999/4", 4},
        {"2/R99999999999999999999999999999Die6", 2},
        {"3/ROLL99999999999", 3},
    };
    for (const FailRow& r : rows) {
        SCOPED_TRACE(r.expression);
        host.messages.clear();
        EXPECT_EQ(Eval(r.expression).Text(), r.result.Text());
        EXPECT_EQ(host.CountMessages("Error in Transval"), 1);
    }
}

TEST_F(ValueExpressionTest, KeywordFlagIsSetOnlyByKeywords) {
    struct FlagRow {
        const char* expression;
        bool flagged;
    };
    const FlagRow rows[] = {
        {"3", false},       {"7/DIV2", true},      {"MYGID", true}, {"$MYGID", true},
        {"$MYNAME", false}, {"TARGETNAME", false}, {"HP", false},   {"TOKENS", true},
        {"R2Die6", false},  {"2/NEG", true},
    };
    for (const FlagRow& r : rows) {
        SCOPED_TRACE(r.expression);
        Value flag;
        Transval(source, target, r.expression, "", flag);
        EXPECT_EQ(flag == Value(1), r.flagged);
    }
}

TEST_F(ValueExpressionTest, GetnumReadsTheCountOfADiceTerm) {
    struct NumRow {
        const char* text;
        double number;
    };
    const NumRow rows[] = {{"R2Die6", 2}, {"R10Die20", 10}, {"6", 6},        {"Dice", 1}, {"", 1},
                           {"R05x", 5},   {"R0", 1},        {"R2.5Die4", 2}, {"R007", 7}};
    for (const NumRow& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(Getnum(r.text), r.number);
    }
}

TEST_F(ValueExpressionTest, TraitAndDiceFormsGiveTheirValues) {
    Give(source, "HP", "7");
    Give(source, "LEVEL", "3");
    Give(source, "KIND", "Beast");
    Give(source, "BLANK", "");
    Give(target, "HP", "8");
    Give(target, "Kind", "Giant");
    Give(target, "ZERO", "0");
    ExpectRows(
        {
            {"TRAIT/HP", 7},
            {"TRAIT/hp", 7},
            {"TARGTRAIT/HP", "8"},
            {"TARGETTRAIT/KIND", "Giant"},
            {"SRCTRAIT/KIND", "Beast"},
            {"MYTRAIT/HP", "7"},
            {"TRAIT/MISSING", 0},
            {"TARGTRAIT/MISSING", 0},
            {"TRAIT/BLANK", 1},
            {"TRAIT/HP/TRAITPLUS2", 14},
            {"5/TRAIT/HP/TRAITMINUS1", -2},
            {"5/TARGTRAIT/HP/TRAITMINUS1", -3},
            {"2/TRAIT/HP/TRAITMULT3", 42},
            {"2/TRAIT/ZERO/TRAITMULT3", 6},
            // A trait held as text orders above the number 1; a result of 0 gives the trait.
            {"2/TARGTRAIT/ZERO/TRAITMULT3", "0"},
            {"100/TRAIT/HP/TRAITPERC10", 170},
            {"TRAIT/HP/TRAITSQR", 49},
            {"TARGTRAIT/HP/TRAITSQR/TRAITROOT", 64 + std::sqrt(8.0)},
            {"TRAIT/HP/TRAITPLUS", 7},
        },
        [this](const std::string& e) { return Eval(e); });

    St().Random.Seed(77);
    const long long twoDice = RollDice(2, 6);
    const long long levelDice = RollDice(3, 4);
    St().Random.Seed(77);
    EXPECT_EQ(Eval("R2Die6").Num(), twoDice);
    EXPECT_EQ(Eval("TRAIT/LEVEL/RTRAITDie4").Num(), levelDice);
    EXPECT_GE(twoDice, 2);
    EXPECT_LE(twoDice, 12);
    for (int i = 0; i < 50; ++i) {
        const double roll = Eval("3/ROLL2").Num();
        EXPECT_GE(roll, 4);
        EXPECT_LE(roll, 9);
    }
}

TEST_F(ValueExpressionTest, BonusThatReadsItsOwnTraitEnds) {
    Give(source, "HP", "7");
    Give(source, "BONUSHP", "TRAIT/HP");
    const Value hp = Eval("TRAIT/HP");
    EXPECT_TRUE(hp.IsNumber());
    EXPECT_GE(hp.Num(), 7);
}

}  // namespace
}  // namespace dv
