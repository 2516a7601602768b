#include "engine/model/compiler.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/engine_fixture.h"

namespace dv {
namespace {

class CompilerTest : public test::EngineTest {
  protected:
    static Card CardWith(const std::vector<std::string>& scripts, const std::string& name = "Imp") {
        Card card;
        card.Name = name;
        for (const std::string& script : scripts) {
            Effect effect;
            effect.Text = script;
            card.Effects.PushBack(effect);
        }
        return card;
    }
};

std::vector<int32_t> ProgramOf(const Effect& e) {
    return {e.Program.begin(), e.Program.end()};
}
std::vector<std::string> ArgsOf(const Effect& e) {
    return {e.Args.begin(), e.Args.end()};
}

TEST_F(CompilerTest, ScriptsCompileToTheExactLayout) {
    struct Row {
        const char* script;
        std::vector<int32_t> program;
        std::vector<std::string> args;
        std::vector<int> aiPositions;  // command positions whose AI flag is set
        const char* errors;
    };
    const Row rows[] = {
        {"", {0}, {""}, {}, ""},
        {"REQTRAIT:HP:AIDESTROY:", {3, -1, 36}, {"REQTRAIT", "HP", "DESTROY"}, {3}, ""},
        {"ECHO:a::DESTROY", {49, -1}, {"ECHO", "a"}, {}, ""},
        {"AIECHO:hi", {49, -1}, {"ECHO", "hi"}, {1}, ""},
        {"AIFOO", {0}, {""}, {}, "Unrecognized command in Imp: FOO\r\n"},
        {"AI:ECHO:x", {49, -1}, {"ECHO", "x"}, {}, "Unrecognized command in Imp: \r\n"},
        {"echo:hi",
         {0},
         {""},
         {},
         "Unrecognized command in Imp: echo\r\nUnrecognized command in Imp: hi\r\n"},
        {"REQTRAIT", {3, -1}, {"REQTRAIT", ""}, {}, ""},
        {"MODTRAIT:HP", {38, -1, -1}, {"MODTRAIT", "HP", ""}, {}, ""},
        {"ADDEFFECT:a:b:c:DESTROY", {34, -1, -1, -1}, {"ADDEFFECT", "a", "b", "c"}, {}, ""},
        {"REDIRECT:x:ECHO:y", {90, -1}, {"REDIRECT", "x"}, {}, ""},
        {"REDIRECTTRAIT:ARMOR:NONSENSE", {88, -1}, {"REDIRECTTRAIT", "ARMOR"}, {}, ""},
        {"REQNOTRAIT:HP:REQNOTTRAIT:HP",
         {1, -1, 1, -1},
         {"REQNOTRAIT", "HP", "REQNOTTRAIT", "HP"},
         {},
         ""},
        {"REQTRAITISN'T:KIND:Beast", {121, -1, -1}, {"REQTRAITISN'T", "KIND", "Beast"}, {}, ""},
        {"DESTROYX:DESTROY", {36}, {"DESTROY"}, {}, "Unrecognized command in Imp: DESTROYX\r\n"},
        // A command given one field too many: the spare field is read as a keyword.
        {"ECHO:a:b:CANCEL",
         {49, -1, 78},
         {"ECHO", "a", "CANCEL"},
         {},
         "Unrecognized command in Imp: b\r\n"},
        {"CREATECARD:Imp:set.txt:2:AIWINGAME",
         {54, -1, -1, -1, 77},
         {"CREATECARD", "Imp", "set.txt", "2", "WINGAME"},
         {5},
         ""},
        {"MODTRAIT:HP:TRAIT/LEVEL/TRAITPLUS1",
         {38, -1, -1},
         {"MODTRAIT", "HP", "TRAIT/LEVEL/TRAITPLUS1"},
         {},
         ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.script);
        Card card = CardWith({r.script});
        std::string errors = "stale";
        CompileEffect(card, 1, errors);
        const Effect& e = card.Effects[1];
        EXPECT_EQ(ProgramOf(e), r.program);
        EXPECT_EQ(ArgsOf(e), r.args);
        EXPECT_EQ(errors, r.errors);
        EXPECT_EQ(e.Compiled, 1);
        for (int p = 1; p <= e.Program.size(); ++p) {
            if (e.Program[p] <= 0) continue;
            const bool expected =
                std::find(r.aiPositions.begin(), r.aiPositions.end(), p) != r.aiPositions.end();
            EXPECT_EQ(static_cast<bool>(e.AIFlags[p]), expected) << "position " << p;
        }
    }
}

// Compiled scripts are kept by their text: one taken from the store must be exactly what
// compiling it afresh gives on that card, its name in the messages and stale AI flags included.
TEST_F(CompilerTest, AScriptCompiledBeforeGivesExactlyWhatCompilingItAfreshGives) {
    for (const char* script :
         {"REQTRAIT:HP:AIDESTROY:", "AIFOO", "echo:hi", "ECHO:a:b:CANCEL", ""}) {
        SCOPED_TRACE(script);
        auto compile = [&](std::string& errors) {
            Card card = CardWith({script}, "Elf");
            card.Effects[1].AIFlags = {1, 1, 1, 1, 1, 1, 1};
            CompileEffect(card, 1, errors);
            return card.Effects[1];
        };
        St().CompiledScripts.clear();
        std::string freshErrors;
        const Effect fresh = compile(freshErrors);
        Card other = CardWith({script}, "Imp");
        std::string otherErrors;
        CompileEffect(other, 1, otherErrors);
        std::string storedErrors;
        const Effect stored = compile(storedErrors);
        EXPECT_TRUE(stored == fresh);
        EXPECT_EQ(storedErrors, freshErrors);
    }
}

TEST_F(CompilerTest, RecompilingLeavesNoTraceOfTheFormerScript) {
    Card card = CardWith({"ECHO:a:MODTRAIT:HP:3:DESTROY"});
    std::string errors;
    CompileEffect(card, 1, errors);
    const Effect first = card.Effects[1];
    CompileEffect(card, 1, errors);
    EXPECT_EQ(card.Effects[1].Program, first.Program);
    EXPECT_EQ(card.Effects[1].Args, first.Args);

    card.Effects[1].Text = "AICANCEL";
    CompileEffect(card, 1, errors);
    EXPECT_EQ(ProgramOf(card.Effects[1]), std::vector<int32_t>({78}));
    EXPECT_EQ(ArgsOf(card.Effects[1]), std::vector<std::string>({"CANCEL"}));
    EXPECT_TRUE(card.Effects[1].AIFlags[1]);
}

TEST_F(CompilerTest, CardErrorsGatherEveryEffectAndNamelessCardsAreLeftAlone) {
    Card card = CardWith({"BOGUS", "", "ECHO:fine"});
    std::string errors;
    CompileCard(card, errors);
    EXPECT_EQ(errors, "Unrecognized command in Imp: BOGUS\r\n");
    for (int e = 1; e <= 3; ++e)
        EXPECT_EQ(card.Effects[e].Compiled, 1) << e;
    EXPECT_EQ(ProgramOf(card.Effects[2]), std::vector<int32_t>({0}));

    Card nameless = CardWith({"ECHO:x"}, "");
    errors = "kept";
    CompileCard(nameless, errors);
    EXPECT_EQ(errors, "kept");
    EXPECT_EQ(nameless.Effects[1].Compiled, 0);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(CompilerTest, EmptyArgumentIsKeptButAMissingOneIsNot) {
    Card card = CardWith({"x"});
    card.Effects[1].Program = List<int32_t>{0};
    card.Effects[1].Args = List<std::string>{""};
    AddCompiledThing(card, "MODTRAIT", 1, false, 38, "HP", "");
    AddCompiledThing(card, "DESTROY", 1, true, 36);
    EXPECT_EQ(ProgramOf(card.Effects[1]), std::vector<int32_t>({38, -1, -1, 36}));
    EXPECT_EQ(ArgsOf(card.Effects[1]), std::vector<std::string>({"MODTRAIT", "HP", "", "DESTROY"}));
    EXPECT_EQ(card.Effects[1].AIFlags.size(), 4);
    EXPECT_TRUE(card.Effects[1].AIFlags[4]);
}

TEST_F(CompilerTest, AMissingEffectNumberIsReportedNotACrash) {
    Card card = CardWith({"ECHO:x"});
    std::string errors = "old";
    CompileEffect(card, 5, errors);
    EXPECT_EQ(errors, "");
    EXPECT_EQ(host.CountMessages("Error in CompileEffect"), 1);
}

}  // namespace
}  // namespace dv
