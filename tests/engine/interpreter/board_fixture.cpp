#include "tests/engine/interpreter/board_fixture.h"

#include "engine/model/cards.h"
#include "engine/model/keyword_table.h"
#include "engine/model/triggers.h"
#include "engine/rules/trait_changes.h"

namespace dv::test {

void BoardTest::SetUp() {
    EngineTest::SetUp();
    PlacePlayers();
}

void BoardTest::PlacePlayers() {
    CreateBitLookup();
    hero = Place("Hero", 1, {{"PLAYER", "1"}, {"HP", "20"}});
    foe = Place("Foe", 2, {{"PLAYER", "1"}, {"HP", "20"}});
    St().Players[1].CardIndex = hero;
    St().Players[2].CardIndex = foe;
}

void BoardTest::TearDown() {
    for (auto it = replaced_.rbegin(); it != replaced_.rend(); ++it) {
        CommandTable().Set(it->first, it->second);
    }
    EngineTest::TearDown();
}

int BoardTest::Place(const std::string& name, int owner, TraitList traits) {
    Card card;
    card.Name = name;
    InitCard(card, owner, 1);
    card.GID = 1000 + St().InPlay.size() + 1;
    for (const auto& [trait, value] : traits)
        SetTrait(card, trait, value, 1);
    const int n = St().InPlay.PushBack(card);
    St().InPlay[n].Index = n;
    return n;
}

int BoardTest::Script(int card, const std::string& script, const std::string& trigger,
                      int targetType, const std::string& targetText) {
    return AddEffect(C(card), script, targetType, trigger, 0, targetText);
}

int BoardTest::Run(int source, int target, int effect, uint8_t preview) {
    EffArgs args;
    args.effectIndex = effect;
    args.preview = preview;
    return static_cast<int>(EffCard(C(source), C(target), args));
}

void BoardTest::Register(int card) {
    for (int e = 1; e <= C(card).Effects.size(); ++e)
        RegisterAction(card, e, 0, 0);
}

std::string BoardTest::Trait(int card, const std::string& name) {
    return GetTrait(C(card), name).Text();
}

void BoardTest::StandIn(const std::string& keyword, CommandHandler handler) {
    const Keyword* row = FindKeyword(keyword);
    ASSERT_NE(row, nullptr) << keyword;
    replaced_.emplace_back(row->code, CommandTable().Set(row->code, handler));
}

}  // namespace dv::test
