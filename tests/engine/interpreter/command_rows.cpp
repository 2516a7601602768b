#include "tests/engine/interpreter/command_rows.h"

#include "engine/model/cards.h"
#include "engine/model/text_utils.h"
#include "engine/rules/trait_changes.h"

namespace dv::test {

void CommandRowTest::SetUp() {
    BoardTest::SetUp();
    imp = Place("Imp", 1);
    orc = Place("Orc", 2);
}

void CommandRowTest::FreshBoard() {
    const std::filesystem::path folder = St().ProgramFolder;
    ResetState();
    St().ProgramFolder = St().CurrentFolder = folder;
    St().Random.Seed(12345);
    PlacePlayers();
    imp = Place("Imp", 1);
    orc = Place("Orc", 2);
}

int CommandRowTest::CardOf(char letter) const {
    switch (letter) {
        case 'S':
            return imp;
        case 'T':
            return orc;
        case 'H':
            return hero;
        default:
            return foe;
    }
}

void CommandRowTest::Check(const CommandRow& row) {
    SCOPED_TRACE(row.script);
    FreshBoard();
    for (const std::string& item : Split(row.before, ',')) {
        const auto eq = item.find('=');
        SetTrait(C(CardOf(item[0])), item.substr(2, eq - 2), item.substr(eq + 1), 1);
    }
    for (const std::string& effect : Split(row.effects, ';')) {
        const std::vector<std::string> parts = Split(effect, '|');
        ASSERT_EQ(parts.size(), 4u) << effect;
        Script(CardOf(parts[0][0]), parts[3], parts[1], std::stoi(parts[2]));
    }
    const int e = Script(imp, row.script);
    EffArgs args;
    args.effectIndex = e;
    args.preview = row.preview;
    args.runKind = row.runKind;
    EXPECT_EQ(static_cast<int>(EffCard(C(imp), C(orc), args)), row.result);
    for (const std::string& item : Split(row.after, ',')) {
        const auto eq = item.find('=');
        EXPECT_EQ(Trait(CardOf(item[0]), item.substr(2, eq - 2)), item.substr(eq + 1)) << item;
    }
    if (*row.echo) {
        EXPECT_NE(St().TurnLog.find(row.echo), std::string::npos) << St().TurnLog;
    }
}

std::vector<std::string> Split(const std::string& text, char delimiter) {
    std::vector<std::string> out;
    if (text.empty()) return out;
    for (std::size_t from = 0;;) {
        const std::size_t at = text.find(delimiter, from);
        out.push_back(text.substr(from, at - from));
        if (at == std::string::npos) return out;
        from = at + 1;
    }
}

}  // namespace dv::test
