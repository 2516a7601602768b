// The commands that draw, destroy, remove, create, duplicate and return cards, give a card a new
// effect, change sides, replace the opponent, and win or lose the game.
#include <cmath>
#include <optional>
#include <string>
#include <utility>

#include "engine/interpreter/card_commands.h"
#include "engine/model/cards.h"
#include "engine/model/files.h"
#include "engine/model/guard.h"
#include "engine/model/hands_and_decks.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "engine/model/triggers.h"
#include "engine/rules/card_life.h"
#include "engine/rules/costs.h"
#include "engine/rules/game_files.h"
#include "engine/rules/rule_operations.h"

namespace dv {
namespace {

int32_t SideMaskOf(int side) {
    switch (side) {
        case 1:
            return 1;
        case 2:
            return 2;
        default:
            return 4;  // neutral, and any side without a player of its own
    }
}

void DrawCardsCommand(RunContext& run) {
    if (run.SkipRequirements() || run.Preview()) return;
    const int count = WholeCount(ArgValue(run, 1).Num(), kMaxCardsPerCommand);
    // A neutral card has no player, so no deck to draw from.
    if (Player* player = OwnerRecord(run.target)) DrawCards(*player, count);
}

// The added effect is the rest of the action text, so its script may hold any number of
// commands; the dispatcher adds it after the run.
void AddEffectCommand(RunContext& run) {
    run.endLoop = true;
    if (run.SkipRequirements()) return;
    ++run.applied;
    if (run.Preview()) return;
    St().AddEffectText = RestOfScript(run, run.argIndex + 1);
    St().AddEffectCard = run.target.GID;
}

// The kills and the game end wait for the epilogue, after the echo.
void DestroyMe(RunContext& run) {
    if (run.SkipRequirements()) return;
    run.destroySource = true;
    ++run.applied;
}

void Destroy(RunContext& run) {
    if (run.SkipRequirements()) return;
    run.destroyTarget = true;
}

void DeleteEffect(RunContext& run) {
    if (run.SkipRequirements() || run.Preview()) return;
    run.deleteEffect = true;
    ++run.applied;
}

void Remove(RunContext& run) {
    if (run.Preview()) return;
    KillCard(run.target, 1);
    ++run.applied;
}

// The card file a command names, found as GetImagePath finds it (empty when it is not found).
// Nothing when the file lies outside the program folder and the game folders: the echo line says
// that it is not read, as the reader says of such an include.
std::optional<std::string> NamedCardFile(RunContext& run, const std::string& name) {
    SearchedFile file = SearchDataPath(name);
    if (!file.refused) return std::move(file.path);
    run.echoLine +=
        "<br>Error in reading cards: " + OutsideFoldersReason(name) + "; nothing was read<br>";
    run.echoPending = true;
    return std::nullopt;
}

void CreateCardCommand(RunContext& run) {
    if (run.Preview()) return;
    const int amount = WholeCount(ArgValue(run, 1).Num(), kMaxCardsPerCommand);
    const std::string name = Arg(run, 2);
    const std::optional<std::string> found = NamedCardFile(run, Arg(run, 3));
    if (!found) {
        ++run.misses;
        return;
    }
    const std::string& file = *found;
    if (file.empty()) {
        run.echoLine += "<br>File not found:" + Arg(run, 3) + "<br>";
        run.echoPending = true;
        ++run.misses;
        return;
    }
    CreateCard(name, file, run.source.Owner, amount);
    ++run.applied;
}

// Side changes. In a trial run on the game's own cards they only count.
void MindControl(RunContext& run) {
    if (run.SkipRequirements()) return;
    if (run.target.Owner == run.source.Owner) return;
    ++run.applied;
    if (!MayChangeCards(run)) return;
    ClearMenuActions(run.target);
    SetSide(run.target, run.source.Owner);
}

void MindControlMe(RunContext& run) {
    if (run.target.Owner == run.source.Owner) return;
    ++run.applied;
    if (!MayChangeCards(run)) return;
    ClearMenuActions(run.source);
    SetSide(run.source, run.target.Owner);
}

int OtherSide(int side) {
    return side == 1 ? 2 : 1;  // a neutral card goes to player 1
}

void Defect(RunContext& run) {
    if (run.SkipRequirements() || run.Preview()) return;
    ClearMenuActions(run.target);
    SetSide(run.target, OtherSide(run.target.Owner));
}

void DefectMe(RunContext& run) {
    ++run.applied;
    if (!MayChangeCards(run)) return;
    ClearMenuActions(run.source);
    SetSide(run.source, OtherSide(run.source.Owner));
}

// The side is the field's leading number as written; no expression.
int SideField(RunContext& run) {
    const double side = std::trunc(ReadNumber(Arg(run, 1)));
    if (!(side >= 0 && side <= 255)) throw RunFault("side out of range");
    return static_cast<int>(side);
}

void JoinSide(RunContext& run, Card& card) {
    const int side = SideField(run);
    ++run.applied;
    if (!MayChangeCards(run)) return;
    if (side != card.Owner) ClearMenuActions(card);
    SetSide(card, side);
}

void Join(RunContext& run) {
    if (run.SkipRequirements()) return;
    JoinSide(run, run.target);
}

void MeJoin(RunContext& run) {
    if (run.Preview()) return;
    JoinSide(run, run.source);
}

void LoseGame(RunContext& run) {
    if (run.SkipRequirements() || run.Preview()) return;
    run.pendingWinner = run.source.Owner == 1 ? 2 : 1;
    ++run.applied;
}

void WinGame(RunContext& run) {
    if (run.SkipRequirements() || run.Preview()) return;
    run.pendingWinner = run.source.Owner;
    ++run.applied;
}

void ReturnToHand(RunContext& run, Card& card) {
    if (run.SkipRequirements() || run.Preview()) return;
    // A neutral card has no hand to go back to: it stays where it is.
    Player* player = OwnerRecord(card);
    if (!player) return;
    const int number = card.Index;
    // A card that leaves play takes its registrations with it.
    const bool inPlay = InPlayCard(number) == &card;
    AddCardToHand(*player, card, 1);
    if (inPlay && card.Name.empty()) UnregisterCard(number);
}

void ReturnTargetToHand(RunContext& run) {
    ReturnToHand(run, run.target);
}

void ReturnMeToHand(RunContext& run) {
    ReturnToHand(run, run.source);
}

void Duplicate(RunContext& run, bool ofTarget, bool withCost) {
    if (run.Preview()) {
        ++run.applied;
        return;
    }
    const int amount = WholeCount(ArgValue(run, 1).Num(), kMaxCardsPerCommand);
    Card copy = ofTarget ? run.target : run.source;
    // A copy is a new card: it does not inherit a death that is still to be swept.
    copy.Dead = 0;
    copy.Index = 0;
    if (ofTarget) SetSide(copy, run.source.Owner);
    // A card that once came from the queue would otherwise pass its cost unpaid.
    if (withCost) copy.AlreadyPlaced = 0;
    for (int c = 1; c <= amount; ++c) {
        if (withCost) {
            uint8_t check = 1;
            if (!PayCost(copy, check)) return;
            uint8_t pay = 0;
            PayCost(copy, pay);
            // Paying placed the copy in play; it enters from the queue instead, paid for, and
            // must not wait there to be activated and pay again.
            if (St().InPlay.Has(copy.Index)) KillCard(St().InPlay[copy.Index], 1);
            copy.Index = 0;
        }
        QueueCard(copy);
    }
}

void DuplicateTarget(RunContext& run) {
    Duplicate(run, true, false);
}
void DuplicateMe(RunContext& run) {
    Duplicate(run, false, false);
}
void DuplicateWithCost(RunContext& run) {
    Duplicate(run, true, true);
}
void DuplicateMeWithCost(RunContext& run) {
    Duplicate(run, false, true);
}

void NewEnemy(RunContext& run) {
    if (run.Preview()) return;
    const std::optional<std::string> file = NamedCardFile(run, Arg(run, 1));
    if (!file || file->empty()) return;
    Player& enemy = St().Players[2];
    int held = 0;
    for (Card& card : enemy.Hand) {
        if (!card.Name.empty()) ++held;
        card.Name.clear();
    }
    ReadCardFile(enemy.OrigDeck, *file, enemy);
    DrawCards(enemy, held);
}

}  // namespace

int WholeCount(double amount, int limit) {
    if (!(amount > 0)) return 0;
    if (amount >= limit) return limit;
    return static_cast<int>(std::nearbyint(amount));
}

void SetSide(Card& card, int side) {
    if (side < 0 || side > 255) throw RunFault("side out of range");
    card.Owner = static_cast<uint8_t>(side);
    card.SideMask = SideMaskOf(side);
    for (int e = 1; e <= card.Effects.size(); ++e)
        if (!std::as_const(card.Effects)[e].Text.empty()) SetActionMasks(card, e);
    card.SideMask = SideMaskOf(side);
}

bool MayChangeCards(const RunContext& run) {
    return !run.Preview() || run.args.copies != 0;
}

void RegisterCardLifeCommands(CommandRegistry& commands) {
    commands.Add("DRAWCARDS", DrawCardsCommand);
    commands.Add("ADDEFFECT", AddEffectCommand);
    commands.Add("DESTROYME", DestroyMe);
    commands.Add("DESTROY", Destroy);
    commands.Add("DELETEEFFECT", DeleteEffect);
    commands.Add("REMOVE", Remove);
    commands.Add("CREATECARD", CreateCardCommand);
    commands.Add("MINDCONTROL", MindControl);
    commands.Add("MINDCONTROLME", MindControlMe);
    commands.Add("DEFECT", Defect);
    commands.Add("DEFECTME", DefectMe);
    commands.Add("JOIN", Join);
    commands.Add("MEJOIN", MeJoin);
    commands.Add("LOSEGAME", LoseGame);
    commands.Add("WINGAME", WinGame);
    commands.Add("RETURNTOHAND", ReturnTargetToHand);
    commands.Add("RETURNMETOHAND", ReturnMeToHand);
    commands.Add("DUPLICATE", DuplicateTarget);
    commands.Add("DUPLICATEME", DuplicateMe);
    commands.Add("DUPLICATEWITHCOST", DuplicateWithCost);
    commands.Add("DUPLICATEMEWITHCOST", DuplicateMeWithCost);
    commands.Add("NEWENEMY", NewEnemy);
}

}  // namespace dv
