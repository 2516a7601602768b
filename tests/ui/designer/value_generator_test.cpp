#include "ui/designer/value_generator.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/dialogs_fixture.h"

namespace dv::ui {
namespace {

class ValueGeneratorTest : public test::DialogsTest {
  protected:
    ValueGenerator generator{"How many?"};
    int scopeAsked = 0;
    ScopeChooser scope(const std::string& word) {
        return [this, word] {
            ++scopeAsked;
            return word;
        };
    }
};

TEST_F(ValueGeneratorTest, EachButtonAppendsItsExactTokens) {
    struct Row {
        int button;
        std::vector<std::string> typed;
        const char* scope;
        const char* text;
        int questions;
    };
    const Row rows[] = {
        {0, {"HP", ""}, "SRCENEMY", "TRAITTOTAL/HP//SRCENEMY", 2},
        {1, {"Mossling", "CREATURE"}, "ANY", "NAMECOUNT/Mossling/CREATURE/ANY", 2},
        {2, {}, "", "LASTCARD", 0},
        {3, {}, "", "LASTVAL", 0},
        {10, {"2", "6"}, "", "R2Die6", 2},
        {11, {"HP"}, "", "SRCTRAIT/HP/TRAITPLUS1", 1},
        {12, {"LEVEL", "4"}, "", "TARGTRAIT/LEVEL/RTRAITDie4", 2},
        {13, {"HP"}, "", "TARGTRAIT/HP/TRAITPLUS1", 1},
        {14, {}, "", "MYGID", 0},
        {15, {}, "", "TARGETGID", 0},
        {16, {"3"}, "", "3", 1},
        {17, {"LEVEL", "6"}, "", "SRCTRAIT/LEVEL/RTRAITDie6", 2},
        // Both input boxes cancelled.
        {10, {}, "", "RDie", 2},
        // The scope window closed without a choice.
        {0, {"HP", ""}, "", "TRAITTOTAL/HP//", 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        ValueGenerator fresh("Amount?");
        dialogs.asked.clear();
        dialogs.inputs.assign(r.typed.begin(), r.typed.end());
        scopeAsked = 0;
        EXPECT_TRUE(fresh.Press(r.button, scope(r.scope)));
        EXPECT_EQ(fresh.Text(), r.text);
        EXPECT_EQ(static_cast<int>(dialogs.asked.size()), r.questions);
        EXPECT_EQ(scopeAsked, r.button <= 1 ? 1 : 0);
    }
}

TEST_F(ValueGeneratorTest, EachScopeButtonGivesItsWord) {
    const char* words[] = {"ANY", "SRCALLY", "SRCENEMY", "TARGETALLY", "TARGETENEMY"};
    for (int i = 0; i < 5; ++i) {
        ValueGenerator fresh("Amount?");
        dialogs.inputs = {"HP", ""};
        fresh.Press(0, [i] { return TraitScopeWord(i); });
        EXPECT_EQ(fresh.Text(), std::string("TRAITTOTAL/HP//") + words[i]);
    }
    EXPECT_EQ(TraitScopeWord(5), "");
}

TEST_F(ValueGeneratorTest, ALaterPieceIsJoinedWithASlash) {
    generator.Press(14, nullptr);
    dialogs.inputs = {"2", "6"};
    generator.Press(10, nullptr);
    EXPECT_EQ(generator.Text(), "MYGID/R2Die6");
}

TEST_F(ValueGeneratorTest, TextTypedByHandIsKept) {
    generator.SetText(" 5 ");
    generator.Press(14, nullptr);
    EXPECT_EQ(generator.Text(), " 5 /MYGID");
    EXPECT_EQ(generator.Result(), "") << "nothing is handed back before DONE";
    generator.Done();
    EXPECT_EQ(generator.Result(), " 5 /MYGID");
}

TEST_F(ValueGeneratorTest, DoneOnAnEmptyTextGivesNothing) {
    generator.Done();
    EXPECT_EQ(generator.Result(), "");
}

TEST_F(ValueGeneratorTest, NoSuchButtonAppendsNothing) {
    EXPECT_FALSE(generator.Press(5, nullptr));
    EXPECT_EQ(generator.Text(), "");
}

TEST_F(ValueGeneratorTest, ValboxGivesBackTheGeneratorsResult) {
    std::string shown;
    EXPECT_EQ(Valbox("How many cards?",
                     [&](const std::string& question) {
                         shown = question;
                         return std::string("R1Die6");
                     }),
              "R1Die6");
    EXPECT_EQ(shown, "How many cards?");
}

TEST_F(ValueGeneratorTest, AFailingGeneratorIsReportedOnceAndAnswersNothing) {
    EXPECT_EQ(
        Valbox("Q", [](const std::string&) -> std::string { throw std::runtime_error("broken"); }),
        "");
    EXPECT_EQ(host.CountMessages("Error in Valbox"), 1);
}

}  // namespace
}  // namespace dv::ui
