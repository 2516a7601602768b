#include "ui/designer/picker_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/model/cards.h"
#include "engine/model/compiler.h"
#include "engine/model/keyword_table.h"
#include "engine/model/text_utils.h"
#include "tests/engine/interpreter/board_fixture.h"
#include "tests/support/dialogs_fixture.h"

namespace dv::ui {
namespace {

class PickerCommandsTest : public test::DialogsTest {
  protected:
    // Fills entry `number` (from 1) with typed answers from `typed` and every value-generator
    // answer `valboxAnswer`.
    PickerCommand Fill(int number, std::vector<std::string> typed,
                       const std::string& valboxAnswer = "R2Die6") {
        dialogs.inputs.assign(typed.begin(), typed.end());
        PickerCommand row;
        const ValboxAsk valbox = [&](const std::string& question) {
            valboxQuestions.push_back(question);
            return valboxAnswer;
        };
        FillCommand(row, PickerCommands().at(static_cast<std::size_t>(number - 1)), &valbox);
        return row;
    }

    std::vector<std::string> valboxQuestions;
};

int FieldCount(const std::string& script) {
    int n = 1;
    for (char c : script)
        n += c == ':';
    return n;
}

TEST_F(PickerCommandsTest, TheMenuHoldsItsEightyFourEntriesInOrder) {
    const auto& labels = PickerLabels();
    ASSERT_EQ(labels.size(), 84u);
    for (const std::string& label : labels)
        EXPECT_FALSE(label.empty());
    EXPECT_EQ(labels[0], "Action Trait: Give a certain trait to this action.");
    EXPECT_EQ(labels[83], "Display: Use a specific frame color.");
    // The one label listed twice; both items write the same command.
    EXPECT_EQ(labels[60], labels[61]);
    EXPECT_EQ(PickerCommands()[60].Command, "SETCARDTARGET");
    EXPECT_EQ(PickerCommands()[61].Command, "SETCARDTARGET");
    // The table holds templates; answers come only with a pick.
    EXPECT_EQ(PickerCommands()[6].Command, "REQTRAITMORE:AMT1:AMT2");
    EXPECT_TRUE(PickerCommands()[6].Amt1.empty());
}

// A template whose keyword the language lacks, or whose fields are more or fewer than the keyword
// takes, would shift every later row's command into an argument or an argument into a command.
TEST_F(PickerCommandsTest, EveryTemplateIsOneKeywordWithTheFieldsTheLanguageReads) {
    const auto& entries = PickerCommands();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string& command = entries[i].Command;
        SCOPED_TRACE("entry " + std::to_string(i + 1) + ": " + command);
        const Keyword* keyword = FindKeyword(GetField(command, 1, ":"));
        if (!keyword) {
            ADD_FAILURE() << "no such keyword";
            continue;
        }
        const int fields = FieldCount(command) - 1;
        // A keyword that ends compiling reads what follows it, the next rows included.
        if (keyword->stopsCompiling)
            EXPECT_LE(fields, keyword->fields);
        else
            EXPECT_EQ(fields, keyword->fields);
    }
}

// A mark without its question would carry whatever the row held before, or nothing.
TEST_F(PickerCommandsTest, EveryAnswerMarkHasItsQuestion) {
    const auto& entries = PickerCommands();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const PickerCommand& e = entries[i];
        SCOPED_TRACE("entry " + std::to_string(i + 1));
        const std::string marked = e.Command + " " + e.Description;
        if (marked.find("AMT1") != std::string::npos) {
            EXPECT_FALSE(e.Prompt1.empty());
        }
        if (marked.find("AMT2") != std::string::npos) {
            EXPECT_FALSE(e.Prompt2.empty());
        }
    }
}

// Each filled entry, followed by another row's command, compiles cleanly and leaves that command
// a command, unless the entry's keyword takes the rest of the script by design.
TEST_F(PickerCommandsTest, EveryFilledEntryCompilesAndLeavesTheNextRowACommand) {
    for (int number = 1; number <= kPickerEntries; ++number) {
        const PickerCommand row = Fill(number, {"HP", "HP"});
        SCOPED_TRACE("entry " + std::to_string(number) + ": " + row.Command);
        EXPECT_EQ(row.Command.find("AMT"), std::string::npos);

        Card card;
        card.Name = "Sample";
        Effect effect;
        effect.Text = row.Command + ":ECHO:next:";
        card.Effects.PushBack(effect);
        std::string errors;
        CompileEffect(card, 1, errors);
        EXPECT_EQ(errors, "");

        const Keyword* keyword = FindKeyword(GetField(row.Command, 1, ":"));
        if (!keyword || keyword->stopsCompiling) continue;
        const Effect& compiled = card.Effects[1];
        const int last = compiled.Program.size();
        ASSERT_GE(last, 2);
        EXPECT_EQ(compiled.Program[last - 1], KeywordCode("ECHO"));
        EXPECT_EQ(compiled.Args[last], "next");
    }
}

TEST_F(PickerCommandsTest, MendedEntriesWriteWhatTheirLabelsMean) {
    struct Row {
        int number;
        std::vector<std::string> typed;
        const char* command;
    };
    const Row rows[] = {
        {15, {}, "REQEQUALS:TARGETGID:MYGID"},
        {53, {"Mossling", "Mosslight_Set.txt"}, "CREATECARD:1:Mossling:Mosslight_Set.txt"},
        {55, {}, "DUPLICATE:2"},
        {56, {}, "DUPLICATEWITHCOST:2"},
        {57, {}, "DUPLICATEME:2"},
        {58, {}, "DUPLICATEMEWITHCOST:2"},
        {68, {"SPELL"}, "TRAITCOMMAND:SPELL"},
        {76, {}, "RETARGETCOLLECTION:TARGETGID"},
        {77, {}, "REDIRECT"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.number);
        EXPECT_EQ(Fill(r.number, r.typed, "2").Command, r.command);
        EXPECT_TRUE(dialogs.inputs.empty()) << "every typed answer was asked for";
    }
}

TEST_F(PickerCommandsTest, ARequirementWithATraitAndAnAmountGivesItsExactCommand) {
    const PickerCommand row = Fill(7, {"HP"}, "5");
    EXPECT_EQ(row.Command, "REQTRAITMORE:HP:5");
    EXPECT_EQ(row.Description, "Target must have a HP of 5 or more.");
    EXPECT_EQ(dialogs.asked, std::vector<std::string>{"What trait should the action require?"});
    EXPECT_EQ(valboxQuestions, std::vector<std::string>{"What is the minimum for this trait?"});
}

TEST_F(PickerCommandsTest, AnswersGoInAsTypedAndAreReplacedOnce) {
    struct Row {
        int number;
        std::vector<std::string> typed;
        const char* valbox;
        const char* command;
        const char* description;
    };
    const Row rows[] = {
        // An answer holding a mark stays as typed: the marks are replaced in one pass.
        {1,
         {"$AMT2", "AMT1"},
         "",
         "TRAIT:$AMT2:AMT1",
         "This action is considered to have a $AMT2 trait of AMT1."},
        // A ":" in an answer makes two fields of the script.
        {5, {"HP:X"}, "", "REQTRAIT:HP:X", "Target card must have the HP:X trait."},
        // A cancelled input box leaves the field empty.
        {5, {}, "", "REQTRAIT:", "Target card must have the  trait."},
        // Blanks are kept; nothing is trimmed.
        {79, {" hi there "}, "", "ECHO: hi there ", "Action displays \" hi there \" to the user."},
        {47,
         {"HP"},
         "TRAITTOTAL/HP//SRCENEMY",
         "MODTRAIT:HP:TRAITTOTAL/HP//SRCENEMY",
         "Target adds TRAITTOTAL/HP//SRCENEMY to it's HP trait."},
        // An entry without questions is copied unchanged.
        {45, {}, "", "DESTROY", "Target card is destroyed."},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.command);
        const PickerCommand row = Fill(r.number, r.typed, r.valbox);
        EXPECT_EQ(row.Command, r.command);
        EXPECT_EQ(row.Description, r.description);
    }
}

TEST_F(PickerCommandsTest, AValueGeneratorQuestionIsTheTextAfterItsMark) {
    const PickerCommand row = Fill(37, {}, "50");
    EXPECT_EQ(valboxQuestions, std::vector<std::string>{"What is the percentage chance (1-100)?"});
    EXPECT_TRUE(dialogs.asked.empty()) << "no input box besides the value generator";
    EXPECT_EQ(row.Command, "CHANCE:50");
}

// The mended entries, run: the target is me only when it is the acting card, and the corresponding
// collection card is the one dealt under the target's identifier.
class MendedEntriesRunTest : public test::BoardTest {};

TEST_F(MendedEntriesRunTest, TheTargetIsMeOnlyWhenItIsTheActingCard) {
    const int imp = Place("Imp", 1, {{"HP", "5"}});
    const int orc = Place("Orc", 2, {{"HP", "5"}});
    const int effect = Script(imp, PickerCommands()[14].Command + ":MODTRAIT:HP:1");
    Run(imp, orc, effect);
    EXPECT_EQ(Trait(orc, "HP"), "5");
    Run(imp, imp, effect);
    EXPECT_EQ(Trait(imp, "HP"), "6");
}

TEST_F(MendedEntriesRunTest, TheCorrespondingCollectionCardIsTheTargetsOwnedCard) {
    const int imp = Place("Imp", 1);
    const int orc = Place("Orc", 1, {{"POWER", "5"}});
    Card owned = C(orc);
    St().Collection.PushBack(owned);
    const int effect = Script(imp, PickerCommands()[75].Command + ":MODTRAIT:POWER:2");
    Run(imp, orc, effect);
    EXPECT_EQ(GetTrait(St().Collection[1], "POWER").Text(), "7");
    EXPECT_EQ(Trait(orc, "POWER"), "5");
}

}  // namespace
}  // namespace dv::ui
