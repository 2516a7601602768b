#include <gtest/gtest.h>

#include "engine/interpreter/command_context.h"
#include "engine/model/keyword_table.h"
#include "engine/model/state.h"
#include "tests/engine/interpreter/board_fixture.h"

namespace dv {
namespace {

using CommandTableTest = test::BoardTest;

TEST_F(CommandTableTest, EveryRegisteredKeywordIsInTheKeywordTable) {
    EXPECT_TRUE(CommandTable().Unknown().empty());
    for (const char* word : {"ECHO", "ECHOONCE", "ECHOMINOR", "ECHOFAIL", "FAILECHO", "ECHOLOCKED",
                             "LOCKEDECHO", "CANCEL", "ECHOTRAIT", "TRAIT", "BREAKPOINT"}) {
        SCOPED_TRACE(word);
        EXPECT_NE(CommandTable().Get(FindKeyword(word)->code), nullptr);
    }
    EXPECT_EQ(CommandTable().Get(0), nullptr);
    EXPECT_EQ(CommandTable().Get(kMaxCommandCode + 1), nullptr);
}

TEST_F(CommandTableTest, EveryCommandOfTheLanguageRuns) {
    // "TARGETREQUIREMENTS" alone compiles without a command: it does nothing when run.
    for (const Keyword& k : KeywordTable()) {
        SCOPED_TRACE(std::string(k.word));
        EXPECT_EQ(CommandTable().Get(k.code) == nullptr, k.word == "TARGETREQUIREMENTS");
    }
}

TEST_F(CommandTableTest, CodesWithoutACommandAndMasksBehaveAsBefore) {
    const int imp = Place("Imp", 2);
    EXPECT_EQ(Run(imp, foe, Script(imp, "TARGETREQUIREMENTS:ECHO:on")), 2);
    EXPECT_NE(St().TurnLog.find("on"), std::string::npos);

    const double masked = St().MaskedActions;
    EXPECT_EQ(Run(imp, foe, Script(imp, "REQTRAIT:WINGS:ECHO:no")), -1);
    EXPECT_EQ(St().MaskedActions, masked + 1) << "a trait requirement is met by the masks first";
}

TEST_F(CommandTableTest, ArgumentsPastTheProgramReadEmpty) {
    const int imp = Place("Imp", 2);
    Script(imp, "ECHO:x");
    EffArgs args;
    args.effectIndex = 1;
    RunContext run(C(imp), C(foe), args);
    run.argIndex = 1;
    EXPECT_EQ(Arg(run, 1), "x");
    EXPECT_EQ(Arg(run, 5), "");
    run.argIndex = -10;
    EXPECT_EQ(Arg(run, 1), "");
}

}  // namespace
}  // namespace dv
