// The commands that change player 1's tokens, open boosters from the opponent's stock into the
// collection, and write the player file.
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "engine/interpreter/card_commands.h"
#include "engine/interpreter/run_budget.h"
#include "engine/model/card_lists.h"
#include "engine/model/cards.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "engine/pages/card_pages.h"

namespace dv {
namespace {

// Tokens never grow past what their 32-bit field holds.
constexpr int32_t kMaxTokens = 2147483647;
// Draws of one booster card before the last acceptable card drawn is taken anyway.
constexpr int kMaxBoosterAttempts = 1000;
// A stock card rarer than this is never drawn into a booster.
constexpr int kNeverDrawnRarity = 100;
// Booster descriptions are laid out this many to a row.
constexpr int kBoosterRow = 4;

const char* const kMaxAttempts = "Max attempts exceeded.";

// Token money is player 1's, whichever side's card runs the command.
void ChangeTokens(RunContext& run, int sign, const char* tail) {
    if (run.SkipRequirements() || run.Preview()) return;
    run.echoPending = true;
    const Value amount = ArgValue(run, 1);
    run.currentAmount = amount;
    int32_t& tokens = St().Players[1].Tokens;
    double change = sign * amount.Num();
    if (std::isnan(change)) change = 0;
    const double after = std::nearbyint(static_cast<double>(tokens) + change);
    if (after < 0) {
        // Too few tokens: nothing is paid, and without the AI mark nothing after it runs.
        run.echoLine += "Not enough tokens!<br>";
        ++run.misses;
        if (!run.aiMark) run.endLoop = true;
        return;
    }
    tokens = static_cast<int32_t>(std::min(after, static_cast<double>(kMaxTokens)));
    St().LastAmount = amount;
    run.echoLine += "You now have " + std::to_string(tokens) + tail;
    ++run.applied;
}

void ModTokens(RunContext& run) {
    ChangeTokens(run, 1, " tokens.");
}

void SubTokens(RunContext& run) {
    ChangeTokens(run, -1, " tokens.  ");
}

// A stock card that can come out of a booster at all.
bool Drawable(const Card& card) {
    return !card.Name.empty() && card.Rarity <= kNeverDrawnRarity;
}

// What drawing one booster card came to.
struct StockDraw {
    int pick = 0;  // the stock index taken, 0 when no drawable card came up at all
    int attempts = 0;
    bool limitReached = false;
};

// Draws stock cards until one is accepted by its rarity and by `accepts` (given its stock
// index). Every draw counts toward the attempt limit, also one that finds an empty slot or an
// empty stock; at the limit the last drawable card drawn is taken anyway.
template <class Accepts>
StockDraw DrawStockCard(RunContext& run, Accepts accepts) {
    const List<Card>& stock = St().Players[2].OrigDeck;
    StockDraw draw;
    int lastDrawable = 0;
    while (draw.attempts < kMaxBoosterAttempts) {
        ++draw.attempts;
        if (stock.size() < 1) continue;
        const int pick = static_cast<int>(RandomNum(stock.size()));
        if (!stock.Has(pick) || !Drawable(stock[pick])) continue;
        lastDrawable = pick;
        if (RandomNum(100) < stock[pick].Rarity) continue;
        if (!accepts(pick)) continue;
        draw.pick = pick;
        return draw;
    }
    draw.limitReached = true;
    draw.pick = lastDrawable;
    run.echoLine += kMaxAttempts;
    return draw;
}

int BoosterCount(RunContext& run) {
    return WholeCount(ArgValue(run, 1).Num(), kMaxCardsPerCommand);
}

}  // namespace

BoosterRoom::BoosterRoom(int cards) : outermost_(St().BoosterCardsLeft < 0) {
    if (!outermost_) return;
    St().BoosterCardsLeft = cards;
}

BoosterRoom::~BoosterRoom() {
    if (!outermost_) return;
    St().BoosterCardsLeft = -1;
}

int BoosterRoom::Take(int asked) {
    int& left = St().BoosterCardsLeft;
    RunBudgetCounts& turn = St().RunBudget;
    const int turnLeft = std::max(0, kMaxTurnBoosterCards - turn.TurnBoosterCards);
    if (std::min(asked, left) > turnLeft && !turn.BoosterCutNoted) {
        turn.BoosterCutNoted = true;
        turn.BoosterCutOwed = true;
    }
    const int granted = std::clamp(asked, 0, std::min(left, turnLeft));
    turn.TurnBoosterCards += granted;
    left -= granted;
    St().BoosterCardsTaken += granted;
    return granted;
}

int BoosterRoom::LeftAfter(long long takenBefore) {
    const long long taken = St().BoosterCardsTaken - takenBefore;
    return static_cast<int>(
        std::clamp<long long>(kMaxCardsPerCommand - taken, 0, kMaxCardsPerCommand));
}

namespace {

// A booster that could add none of the cards asked for missed; any other applied.
void SettleBooster(RunContext& run, int count, int added) {
    run.echoLine += "<br>";
    if (count > 0 && added == 0)
        ++run.misses;
    else
        ++run.applied;
}

void Booster(RunContext& run) {
    if (run.SkipRequirements()) return;
    if (run.Preview()) {
        ++run.applied;
        return;
    }
    run.echoPending = true;
    const int asked = BoosterCount(run);
    BoosterRoom room;
    const int count = room.Take(asked);
    int added = 0;
    for (int i = 1; i <= count; ++i) {
        const int pick = DrawStockCard(run, [](int) { return true; }).pick;
        if (pick == 0) continue;
        Card card = St().Players[2].OrigDeck[pick];
        AddToCollection(card);
        ++added;
        run.echoLine += FullDesc(card, -1, 0);
        if (i % kBoosterRow == 0) run.echoLine += "<br>";
    }
    SettleBooster(run, asked, added);
}

// The requirement trials of the draws of a booster with requirements. A trial is a preview: it
// changes nothing that a later trial reads. So while no card is taken, a stock card whose trial
// failed and left the generator as it was would fail again; its trial is not run again, which
// leaves every draw as it was.
class RequirementTrials {
  public:
    RequirementTrials(const RunContext& run, std::string requirements)
        : run_(run), requirements_(std::move(requirements)) {}

    // Starts the draws of the next card: a card taken may have changed what trials read.
    void NextCard() {
        sourceCopy_ = run_.source;
        knownMisses_.assign(St().Players[2].OrigDeck.size() + 1, 0);
    }

    bool Meets(int pick) {
        if (requirements_.empty()) return true;
        if (knownMisses_[pick]) return false;
        const Rng before = St().Random;
        if (Trial(pick)) return true;
        if (St().Random == before) knownMisses_[pick] = 1;
        return false;
    }

    // Whether some drawable stock card may meet the requirements: false once each is known to
    // fail. Trials that draw from the generator cannot tell; whatever the trials made to find
    // out drew is put back, so that the draws of a seeded game go on as they would.
    bool SomeCardMayMeet() {
        const List<Card>& stock = St().Players[2].OrigDeck;
        for (int pick = 1; pick <= stock.size(); ++pick) {
            if (!Drawable(stock[pick]) || knownMisses_[pick]) continue;
            const Rng before = St().Random;
            const bool met = Meets(pick);
            const bool random = St().Random != before;
            St().Random = before;
            if (met || random) return true;
        }
        return false;
    }

  private:
    // The trials test the candidates against a copy: they never change the source card. A trial
    // that a spent budget cut short tried nothing, so it is not met.
    bool Trial(int pick) {
        EffArgs trial;
        trial.effectIndex = run_.args.effectIndex;
        trial.runKind = RunKind::Ordinary;
        trial.preview = 1;
        trial.adHocText = requirements_;
        trial.adHocTrial = 1;
        Card candidate = St().Players[2].OrigDeck[pick];
        const long long dropped = DroppedRuns();
        const bool met = EffCard(sourceCopy_, candidate, trial) != RunResult::Failed;
        return met && DroppedRuns() == dropped;
    }

    const RunContext& run_;
    const std::string requirements_;
    Card sourceCopy_;
    std::vector<char> knownMisses_;  // by stock index
};

// The rest of the script is the requirement text: it picks the cards and is then applied to
// each, so the loop ends here. Without a requirement text every card is taken as drawn: an empty
// ad-hoc text would run this very effect again, once per card and trial.
void BoosterWithReqs(RunContext& run) {
    if (run.SkipRequirements()) return;
    run.endLoop = true;
    if (run.Preview()) {
        ++run.applied;
        return;
    }
    run.echoPending = true;
    const int asked = BoosterCount(run);
    BoosterRoom room;
    const int count = room.Take(asked);
    const std::string requirements = RestOfScript(run, run.argIndex + 2);
    RequirementTrials trials(run, requirements);
    bool limitTold = false;
    // Asked when a card's draws reach the limit, until some card may meet the requirements:
    // then every card keeps the rule of the attempt limit, however rare the cards that meet them.
    bool someCardMayMeet = false;
    int added = 0;
    for (int i = 1; i <= count; ++i) {
        trials.NextCard();
        const StockDraw draw = DrawStockCard(run, [&](int pick) { return trials.Meets(pick); });
        // Requirements that no card meets would otherwise ask for a click per card.
        if (draw.limitReached && !limitTold) {
            limitTold = true;
            TheHost().MessageBox(kMaxAttempts, "Duvenhall");
        }
        // No card of the stock can meet the requirements: the card at the limit is taken, as
        // every card's would be, and nothing more is drawn for this command.
        bool lastCard = false;
        if (draw.limitReached && !someCardMayMeet) {
            someCardMayMeet = trials.SomeCardMayMeet();
            lastCard = !someCardMayMeet;
        }
        const int pick = draw.pick;
        if (pick == 0) {
            if (lastCard) break;
            continue;
        }

        Card candidate = St().Players[2].OrigDeck[pick];
        if (!requirements.empty()) {
            EffArgs stamp;
            stamp.effectIndex = run.args.effectIndex;
            stamp.runKind = RunKind::Stamp;
            stamp.adHocText = requirements;
            EffCard(run.source, candidate, stamp);
        }
        AddToCollection(candidate);
        ++added;
        St().TurnLog += FullDesc(candidate, -1, 0);
        if (i % kBoosterRow == 0) run.echoLine += "<br>";
        if (lastCard) break;
    }
    SettleBooster(run, asked, added);
}

void BoosterCard(RunContext& run, bool byUniqueName) {
    if (run.SkipRequirements()) return;
    if (run.Preview()) {
        ++run.applied;
        return;
    }
    run.echoPending = true;
    const int asked = WholeCount(ArgValue(run, 2).Num(), kMaxCardsPerCommand);
    const Player& enemy = St().Players[2];
    const std::string name = Arg(run, 1);
    Card card = byUniqueName ? GetDeckCardByUName(enemy, name) : GetDeckCardByName(enemy, name);
    if (card.Name.empty()) {
        // No such card in the stock: nothing is added, and the description says so.
        run.echoLine += FullDesc(card, -1, 0);
        ++run.misses;
        return;
    }
    BoosterRoom room;
    const int count = room.Take(asked);
    for (int c = 1; c <= count; ++c) {
        Card copy = card;
        AddToCollection(copy);
        run.echoLine += FullDesc(copy, -1, 0);
    }
    // Inside a booster that has given out all its room nothing more is added.
    if (asked > 0 && count == 0)
        ++run.misses;
    else
        ++run.applied;
}

void BoosterCardByName(RunContext& run) {
    BoosterCard(run, false);
}

void BoosterCardByUniqueName(RunContext& run) {
    BoosterCard(run, true);
}

// A trial run saves nothing. The save is made once, when the chain or turn ends: a save per run
// made two synced writes for every card an ALL effect reached.
void SaveCollection(RunContext& run) {
    if (!run.Preview()) OweSave();
}

}  // namespace

void RegisterTokenCommands(CommandRegistry& commands) {
    commands.Add("MODTOKENS", ModTokens);
    commands.Add("SUBTOKENS", SubTokens);
    commands.Add("BOOSTER", Booster);
    commands.Add("BOOSTERWITHREQS", BoosterWithReqs);
    commands.Add("BOOSTERCARD", BoosterCardByName);
    commands.Add("UNAMEBOOSTERCARD", BoosterCardByUniqueName);
    commands.Add("SAVECOLLECTION", SaveCollection);
}

}  // namespace dv
