#include "engine/rules/dispatch.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

#include "engine/model/card_lists.h"
#include "engine/model/cards.h"
#include "engine/model/case_fold.h"
#include "engine/model/guard.h"
#include "engine/model/keyword_table.h"
#include "engine/model/scratch_card.h"
#include "engine/model/script_fields.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "engine/model/triggers.h"
#include "engine/model/value_expression.h"
#include "engine/rules/card_life.h"
#include "engine/rules/effect_runs.h"

namespace dv {
namespace {

// Draws of the random phase of PickTarget that use no attempt, per card slot.
constexpr int kMaxMissesPerSlot = 10;

// The card number in play of a card's player card, or 0.
int PlayerCardOf(int owner) {
    const Player* player = PlayerNumbered(owner);
    return player ? player->CardIndex : 0;
}

int GidCardTarget(Card& card, const Effect& effect) {
    const Value gid = Transval(card, card, Value(GetField(effect.TargetText, 2, ":")), "");
    return GetCardNum(gid);
}

// One interpreter run of effect i of card against target, as the dispatch makes them.
struct DispatchRun {
    Card& card;
    int32_t effect;
    RunKind runKind;

    RunResult operator()(Card& target, uint8_t preview, const std::string& actionText,
                         std::string& echo) const {
        return RunDispatched(card, effect, runKind, target, preview, actionText, echo);
    }
};

// One effect of a dispatch at work on its targets: what its runs gave and the echo to collect.
struct EffectRun {
    EffectRun(Card& card, int i, RunActionsCall& call, RunKind kind, std::string& collected)
        : card(card),
          i(i),
          type(std::as_const(card.Effects)[i].TargetType),
          call(call),
          run{card, i, kind},
          collected(collected) {}

    Card& card;
    int i;
    int type;  // the target type as the effect was taken up
    RunActionsCall& call;
    DispatchRun run;
    std::string& collected;  // the echo of the whole dispatch
    std::string echo;
    RunResult last = RunResult::NothingApplied;
    bool ran = false;
    bool leaveEffect = false;  // a cancel in a counter stage ended an ALL effect

    void On(Card& target, uint8_t preview, bool withAction) {
        last = run(target, preview, withAction ? call.actionText : "", echo);
        ran = true;
    }
    void OnCardInPlay(int number, uint8_t preview, bool withAction) {
        if (St().InPlay.Has(number)) On(St().InPlay[number], preview, withAction);
    }
};

// GIDCARD: the card in play with the identifier the effect's target text works out to.
void RunOnGidCard(EffectRun& e) {
    const int number = GidCardTarget(e.card, std::as_const(e.card.Effects)[e.i]);
    if (number > 0) e.OnCardInPlay(number, e.call.preview, true);
}

// TARGETCARD: the remembered or preset target, checked by trial runs and picked again when it
// would not take the effect.
void RunOnChosenTarget(EffectRun& e) {
    State& st = St();
    Card& card = e.card;
    const int i = e.i;
    auto trial = [&](int number) {
        if (!st.InPlay.Has(number)) return RunResult::Failed;
        std::string scratch;
        return e.run(st.InPlay[number], 1, "", scratch);
    };
    auto pick = [&] {
        int32_t type = kTargetCard;
        RunResult outcome = RunResult::NothingApplied;
        return PickTarget(card, i, type, "", outcome);
    };
    // Read through this: only a change gives the card effects of its own (see shared_list.h).
    const SharedList<Effect>& effects = card.Effects;
    auto setTarget = [&](int target) {
        if (effects[i].Target != target) card.Effects[i].Target = target;
    };
    if (card.PresetTarget > 0) {
        if (effects[i].Target == 0) setTarget(card.PresetTarget);
        e.last = trial(effects[i].Target);
        e.ran = true;
        if (e.last <= RunResult::NothingApplied) setTarget(0);
    }
    if (effects[i].Target == 0) setTarget(pick());
    if (effects[i].Target == 0) return;
    e.last = trial(effects[i].Target);
    e.ran = true;
    if (e.last <= RunResult::NothingApplied) setTarget(pick());
    const int target = effects[i].Target;
    if (e.call.preview == 0 && target > 0 && st.InPlay.Has(target)) {
        e.last = e.run(st.InPlay[target], 0, "", e.echo);
    }
}

// COLLECTION: a card of the collection (deck 0) or of a stored deck, changed for real only.
void RunOnCollection(EffectRun& e) {
    State& st = St();
    const int slot = std::as_const(e.card.Effects)[e.i].Target;
    const int deck = std::as_const(e.card.Effects)[e.i].DeckSel;
    if (slot <= 0 || e.call.preview == 1) return;
    // The card itself: its list keeps it in place while the run's boosters add to the list.
    Card* target = nullptr;
    if (deck == 0 && st.Collection.Has(slot)) {
        target = &st.Collection[slot];
    } else if (deck != 0 && st.PlayerDecks.Has(deck) && st.PlayerDecks[deck].Cards.Has(slot)) {
        target = &st.PlayerDecks[deck].Cards[slot];
    }
    if (!target) return;
    CollectionChanged();
    st.CollectionEffect = 1;
    const DispatchRun collectionRun{e.card, e.i, RunKind::Pricing};
    e.last = collectionRun(*target, 0, deck != 0 ? e.call.actionText : "", e.echo);
    e.ran = true;
    st.CollectionEffect = 0;
}

// TRIGGERINGCARD: the card named by the call, else the card that raised the trigger.
void RunOnTriggeringCard(EffectRun& e) {
    const int number = e.call.triggeringCard >= 1 ? e.call.triggeringCard : e.call.sourceCard;
    e.OnCardInPlay(number, e.call.preview, true);
}

// ALL: every card in play, each run's echo and failure taken as it comes. A cancel that met the
// source's own actions ends the effect; any other cancel holds for one card only.
void RunOnAll(EffectRun& e) {
    State& st = St();
    if (e.call.preview == 1) return;
    const int cards = st.InPlay.size();
    for (int c = 1; c <= cards && st.InPlay.Has(c); ++c) {
        if (std::as_const(st.InPlay)[c].Name.empty()) continue;
        if (RunBudgetSpent(e.call.preview == 0)) return;
        HoldScope hold;
        e.last = e.run(st.InPlay[c], e.call.preview, e.call.actionText, e.echo);
        if (e.last != RunResult::Failed) e.collected += e.echo;
        e.echo.clear();
        EffAddEffects();
        if (e.last == RunResult::Failed) ++e.call.failures;
        if (st.EffectOutcome == EffectOutcome::StopEffect) {
            st.EffectOutcome = EffectOutcome::None;
            e.leaveEffect = true;
            return;
        }
        if (st.EffectOutcome != EffectOutcome::None) st.EffectOutcome = EffectOutcome::None;
    }
}

// RANDOM, RANDOMALLY, RANDOMENEMY: a card picked by trial runs.
void RunOnRandomCard(EffectRun& e) {
    int32_t pickType = e.type;
    RunResult outcome = RunResult::NothingApplied;
    const int number = PickTarget(e.card, e.i, pickType, "", outcome);
    if (number > 0) e.OnCardInPlay(number, e.call.preview, false);
}

// OWNER and ENEMYPLAYER: a side's player card.
void RunOnOwner(EffectRun& e) {
    e.OnCardInPlay(PlayerCardOf(e.card.Owner), e.call.preview, false);
}
void RunOnEnemyPlayer(EffectRun& e) {
    e.OnCardInPlay(PlayerCardOf(e.card.Owner == 1 ? 2 : 1), e.call.preview, false);
}

void RunOnSelf(EffectRun& e) {
    e.On(e.card, e.call.preview, false);
}

void RunOnTargets(EffectRun& e) {
    switch (e.type) {
        case kTargetGidCard:
            return RunOnGidCard(e);
        case kTargetCard:
            return RunOnChosenTarget(e);
        case kTargetCollection:
            return RunOnCollection(e);
        case kTargetTriggeringCard:
            return RunOnTriggeringCard(e);
        case kTargetAll:
            return RunOnAll(e);
        case kTargetRandom:
        case kTargetRandomAlly:
        case kTargetRandomEnemy:
            return RunOnRandomCard(e);
        case kTargetOwner:
            return RunOnOwner(e);
        case kTargetEnemyPlayer:
            return RunOnEnemyPlayer(e);
        case kTargetSelf:
            return RunOnSelf(e);
        default:  // COUNTER effects answer the counter stage, never a dispatch
            return;
    }
}

// Whether effect i of the card answers the trigger, marking it running when it does. An effect
// whose trigger only has the trigger's length is marked and let go again, as it always was: it
// ends not running, its dispatch work cleared. It is read first and written only where that
// changes it, so that a card sharing its effects with a copy keeps sharing them.
bool TakeUpEffect(Card& card, int i, const std::string& trigger) {
    State& st = St();
    const Effect& effect = std::as_const(card.Effects)[i];
    if (effect.Trigger.size() != trigger.size()) return false;
    if (trigger == "COSTMOD" && card.Active == 1 && effect.TargetType == kTargetSelf) return false;
    if (effect.MenuState == MenuState::Offered) return false;
    const bool answers = effect.Trigger == trigger;
    const EffectRunFlags flags = RunFlagsOf(card, i);
    if (answers || flags.Running != 0 || flags.DispatchWork != 0) {
        EffectRunFlags& changed = ChangeRunFlags(card, i);
        changed.Running = answers ? 1 : 0;
        changed.DispatchWork = 0;
    }
    st.EchoOnce = 0;
    if (card.NextTarget > 0) card.PresetTarget = card.NextTarget;
    return answers;
}

// After an effect's runs: its echo collected, a chosen menu action offered again, the effects
// its runs handed over added, and the pending signals of the outermost dispatch dropped.
void SettleEffect(EffectRun& e) {
    State& st = St();
    Card& card = e.card;
    if (e.leaveEffect) {
        // The effect is left at once: a chosen menu action stays chosen.
        ChangeRunFlags(card, e.i).Running = 0;
        if (st.NestingDepth == 0) ClearPendingSignals();
        return;
    }
    const bool counted = e.type != kTargetAll && e.ran;
    if (counted && e.last != RunResult::Failed) e.collected += e.echo;
    if (std::as_const(card.Effects)[e.i].MenuState == MenuState::Chosen)
        card.Effects[e.i].MenuState = MenuState::Offered;
    EffAddEffects();
    if (counted && e.last == RunResult::Failed) ++e.call.failures;
    if (card.Effects.Has(e.i) && RunFlagsOf(card, e.i).Running != 0)
        ChangeRunFlags(card, e.i).Running = 0;
    if (st.NestingDepth == 0) ClearPendingSignals();
}

// Only a card that can take an effect, on the side a random pick of its type asks for, is tried.
bool IsCandidate(const Card& candidate, const Card& card, int type) {
    if (candidate.Name.empty() || candidate.Active == 0) return false;
    if (type == kTargetRandomAlly && candidate.Owner != card.Owner) return false;
    if (type == kTargetRandomEnemy && candidate.Owner == card.Owner) return false;
    return true;
}

// Whether the source card has the traits the effect asks of it; a pick for it ends otherwise.
bool SourceMasksHold(const Card& card, const Effect& effect) {
    for (int k = 1; k <= 8; ++k) {
        if ((effect.ReqSourceHas[k] & card.TraitMask[k]) != effect.ReqSourceHas[k] ||
            (effect.ReqSourceNot[k] & card.TraitMask[k]) != 0) {
            ++St().MaskedActions;
            return false;
        }
    }
    return true;
}

// The target of a type that names its card outright; nothing for the types that pick.
std::optional<int> FixedTarget(Card& card, int32_t effectNumber, int type) {
    switch (type) {
        case kTargetGidCard:
            return GidCardTarget(card, std::as_const(card.Effects)[effectNumber]);
        case kTargetSelf:
            return card.Index;
        case kTargetOwner:
            return PlayerCardOf(card.Owner);
        case kTargetEnemyPlayer:
            return PlayerCardOf(card.Owner == 2 ? 1 : 2);
        default:
            return std::nullopt;
    }
}

// The trial runs of one pick of a target among the cards in play, each on copies of both cards.
class TargetPick {
  public:
    TargetPick(Card& card, int32_t effectNumber, int type, const std::string& actionText)
        : card_(card),
          effectNumber_(effectNumber),
          type_(type),
          actionText_(actionText),
          n_(St().InPlay.size()) {}

    // Cards drawn at random, the side's own player card first, for as many draws as there are
    // card slots up to the last named card. A draw takes a card that takes the effect whole, or
    // in part from the second pass on (a pass starts anew after many misses). The pick, 0 when
    // a cancel ended the pick, or nothing when the draws found no card.
    std::optional<int> Draw() {
        const State& st = St();
        int lastNamed = 0;
        for (int c = n_; c >= 1; --c) {
            if (!st.InPlay[c].Name.empty()) {
                lastNamed = c;
                break;
            }
        }
        std::vector<int> tried(n_ + 1, 0);
        int pass = 1;
        long long misses = 0;
        const int ownCard = PlayerCardOf(card_.Owner);
        for (int attempts = 0; attempts < lastNamed;) {
            int c = static_cast<int>(RandomNum(n_));
            if (ownCard >= 1 && ownCard <= n_ && tried[ownCard] < pass) c = ownCard;
            if (misses > 3LL * n_) ++pass;
            if (misses >= static_cast<long long>(kMaxMissesPerSlot) * n_) break;
            if (c < 1 || c > n_) {
                ++misses;
                ++attempts;
                continue;
            }
            if (tried[c] >= pass) {
                ++misses;
                continue;
            }
            ++attempts;
            const Card& drawn = st.InPlay[c];
            if (drawn.Name.empty() || drawn.Active == 0) {
                ++misses;
                continue;
            }
            if (!IsCandidate(drawn, card_, type_)) {
                tried[c] = pass;
                continue;
            }
            if (RunBudgetSpent(false)) return std::nullopt;
            const std::optional<RunResult> result = Trial(c);
            if (!result) return 0;
            if (*result == RunResult::Applied || (pass >= 2 && *result == RunResult::PartlyApplied))
                return Accept(c);
            tried[c] = pass;
        }
        return std::nullopt;
    }

    // Every candidate in order: the first that takes the effect whole, else one of those that
    // take it in part, at random; 0 for none. outcome tells which.
    int Sweep(RunResult& outcome) {
        const State& st = St();
        std::vector<int> partial;
        for (int c = 1; c <= n_ && st.InPlay.Has(c); ++c) {
            if (!IsCandidate(st.InPlay[c], card_, type_)) continue;
            if (RunBudgetSpent(false)) return 0;
            const std::optional<RunResult> result = Trial(c);
            if (!result) return 0;
            if (*result == RunResult::Applied) {
                outcome = RunResult::Applied;
                return Accept(c);
            }
            if (*result == RunResult::PartlyApplied) partial.push_back(c);
        }
        if (partial.empty()) return 0;
        long long chosen = RandomNum(static_cast<double>(partial.size()));
        chosen = std::clamp<long long>(chosen, 1, static_cast<long long>(partial.size()));
        outcome = RunResult::PartlyApplied;
        return Accept(partial[chosen - 1]);
    }

  private:
    // A trial on copies; nothing when a cancel in the counter stage ended the pick. Any other
    // cancel makes the card a failure.
    std::optional<RunResult> Trial(int c) {
        State& st = St();
        RunResult result = RunPickTrial(card_, effectNumber_, st.InPlay[c], actionText_);
        if (st.EffectOutcome == EffectOutcome::StopEffect) {
            st.EffectOutcome = EffectOutcome::None;
            return std::nullopt;
        }
        if (st.EffectOutcome != EffectOutcome::None) {
            st.EffectOutcome = EffectOutcome::None;
            result = RunResult::Failed;
        }
        return result;
    }

    // The picked card is remembered as the effect's target.
    int Accept(int c) {
        if (card_.Effects.Has(effectNumber_) &&
            std::as_const(card_.Effects)[effectNumber_].Target != c)
            card_.Effects[effectNumber_].Target = c;
        return c;
    }

    Card& card_;
    const int32_t effectNumber_;
    const int type_;
    const std::string& actionText_;
    const int n_;
};

}  // namespace

void RunListActions(const Value& trigger) {
    Guarded("RunListActions", [&] {
        State& st = St();
        std::string name;
        const double number = trigger.Num();
        if (number == 0) {
            name = trigger.Text();
        } else if (number >= 1 && number <= 255) {
            name = GetTriggerName(static_cast<uint8_t>(number));
        }
        if (name.empty()) return;
        const TriggerFilter reaches(name);
        const PlayList& play = st.InPlay;
        const int count = play.size();
        // Once the budget is spent no effect runs: only a card waiting to enter play at this
        // trigger is still let in, without a look through its effects. Only runs spend it.
        bool spent = RunBudgetSpent(false);
        // Out of the loop's way: a walk looks at far more cards than it hands the trigger.
        auto handTo = [&](int c) __attribute__((noinline)) {
            HoldScope hold;
            RunActionsCall call;
            call.triggeringCard = -1;
            call.append = 1;
            RunActions(st.InPlay[c], name, call);
            spent = RunBudgetSpent(false);
        };
        reaches.Walk(
            st.InPlay, count,
            [&](int c) {
                if (spent ? reaches.Enters(play[c]) : reaches.MustHandOut(play[c])) handTo(c);
                return true;
            },
            [&](int from, int to) {
                if (!spent) reaches.PassOver(from, to);
            });
    });
}

void RunActions(Card& card, const std::string& trigger) {
    RunActionsCall call;
    call.triggeringCard = -1;
    RunActions(card, trigger, call);
}

TriggerFilter::TriggerFilter(const std::string& trigger)
    : trigger_(trigger == "ENTERSPLAY" ? "ENTERPLAY" : trigger),
      cost_(trigger_ == "COST" || trigger_ == "COSTMOD") {}

void TriggerFilter::PassOver(int from, int to, int payer) const {
    State& st = St();
    PlayList& play = st.InPlay;
    for (int c = play.NextToLook(ofLength_, from, to); c != 0 && st.EchoOnce != 0;
         c = play.NextToLook(ofLength_, c + 1, to)) {
        const Card& card = std::as_const(play)[c];
        if (payer >= 0 && c != payer && card.Active == 0) continue;
        ++looks_;
        if (Reaches(card) == Reach::ClearsEchoOnce) st.EchoOnce = 0;
    }
}

void TriggerFilter::CheckPassedOver(PlayList& play, int from, int to) const {
    // Larger boards would make the tests' walks quadratic.
    constexpr int kCheckedSlots = 1024;
    if (!PlayIndex::Checking() || play.size() > kCheckedSlots) return;
    for (int c = from; c <= to; ++c) {
        const Reach reach = Reaches(std::as_const(play)[c]);
        if (reach == Reach::Nothing) continue;
        if (reach == Reach::ClearsEchoOnce && play.NextToLook(ofLength_, c, c) == c) continue;
        std::fprintf(stderr, "play index: slot %d passed over, though %s reaches it\n", c,
                     trigger_.c_str());
        std::abort();
    }
}

bool TriggerFilter::Enters(const Card& card) const {
    return !card.Name.empty() && !trigger_.empty() && !cost_ && card.Active == 0 &&
           SameNoCase(card.StartTime, trigger_);
}

// Reads the card as RunActions and TakeUpEffect would treat it. A walk over a crowded board hands
// a trigger such as COSTMOD to every card with an effect of its length, and a dispatch of each
// costs far more than this look.
TriggerFilter::Reach TriggerFilter::Reaches(const Card& card) const {
    if (card.Name.empty() || trigger_.empty()) return Reach::Nothing;
    if (!cost_ && card.Active == 0)
        return SameNoCase(card.StartTime, trigger_) ? Reach::Dispatch : Reach::Nothing;
    const std::size_t length = trigger_.size();
    const bool selfLeftAlone = trigger_ == "COSTMOD" && card.Active == 1;
    bool takenUp = false;
    for (int i = 1; i <= card.Effects.StoredSize(); ++i) {
        const Effect& effect = card.Effects[i];
        if (effect.Trigger.size() != length) continue;
        if (selfLeftAlone && effect.TargetType == kTargetSelf) continue;
        if (effect.MenuState == MenuState::Offered) continue;
        if (effect.Trigger == trigger_) return Reach::Dispatch;
        const EffectRunFlags flags = RunFlagsOf(card, i);
        if (flags.Running != 0 || flags.DispatchWork != 0) return Reach::Dispatch;
        takenUp = true;
    }
    if (!takenUp) return Reach::Nothing;
    if (card.NextTarget > 0 && card.PresetTarget != card.NextTarget) return Reach::Dispatch;
    return Reach::ClearsEchoOnce;
}

bool TriggerFilter::MustHandOut(const Card& card) const {
    const Reach reach = Reaches(card);
    if (reach == Reach::ClearsEchoOnce) St().EchoOnce = 0;
    return reach == Reach::Dispatch;
}

void RunActions(Card& card, const std::string& triggerIn, RunActionsCall& call) {
    HoldScope hold;
    Guarded("RunActions", [&] {
        State& st = St();
        const int count = card.Effects.size();
        if (call.effectNumber > count) return;
        if (call.effectNumber > 0 && RunFlagsOf(card, call.effectNumber).Running == 1) return;
        call.failures = 0;
        std::string collected;
        if (triggerIn.empty()) return;
        if (call.sourceCard == 0) call.sourceCard = st.NewestCard;
        const std::string trigger = triggerIn == "ENTERSPLAY" ? "ENTERPLAY" : triggerIn;
        if (card.Name.empty()) return;

        const bool costTrigger = trigger == "COST" || trigger == "COSTMOD";
        const RunKind runKind = costTrigger ? RunKind::Cost : RunKind::Ordinary;
        if (!costTrigger && card.Active == 0) {
            if (!SameNoCase(card.StartTime, trigger)) return;
            ActivateCard(card, 0);
        }

        const int first = call.effectNumber > 0 ? call.effectNumber : 1;
        const int last = call.effectNumber > 0 ? call.effectNumber : count;
        for (int i = first; i <= last && card.Effects.Has(i); ++i) {
            if (!TakeUpEffect(card, i, trigger)) continue;
            EffectRun effect(card, i, call, runKind, collected);
            // Once the budget is spent, an effect is taken up and let go as one whose runs were
            // all dropped, without picking a target or building a run.
            if (!RunBudgetSpent(call.preview == 0)) RunOnTargets(effect);
            if (!card.Effects.Has(i)) break;
            SettleEffect(effect);
        }

        call.echo = collected;
        if (call.append != 0 && call.preview != 1) st.EchoText += collected;
    });
}

int PickTarget(Card& card, int32_t effectNumber, int32_t& targetType, const std::string& actionText,
               RunResult& outcome) {
    return Guarded("PickTarget", 0, [&]() -> int {
        if (!card.Effects.Has(effectNumber)) return 0;
        if (!SourceMasksHold(card, std::as_const(card.Effects)[effectNumber])) return 0;
        outcome = RunResult::NothingApplied;
        if (const std::optional<int> fixed = FixedTarget(card, effectNumber, targetType))
            return *fixed;
        TargetPick pick(card, effectNumber, targetType, actionText);
        if (const std::optional<int> drawn = pick.Draw()) return *drawn;
        return pick.Sweep(outcome);
    });
}

int AIPickTarget(Card& card) {
    return Guarded("AIPickTarget", 0, [&]() -> int {
        State& st = St();
        const int n = st.InPlay.size();
        std::vector<int> votes(n + 1, 0);
        for (int i = 1; i <= card.Effects.size(); ++i) {
            ScratchCard copy(card);
            int32_t type = copy->Effects[i].TargetType;
            RunResult outcome = RunResult::NothingApplied;
            const int picked = PickTarget(*copy, i, type, "", outcome);
            if (picked >= 1 && picked <= n) ++votes[picked];
        }
        int winner = 0;
        int best = 0;
        for (int c = 1; c <= n; ++c) {
            if (votes[c] > best) {
                best = votes[c];
                winner = c;
            }
        }
        card.PresetTarget = static_cast<int16_t>(winner);
        return winner;
    });
}

bool GetEffectRef(const std::string& text, const Value& word) {
    const std::string wanted = word.Text();
    // Words after an empty field are not read.
    const ScriptFields fields(text, ':');
    for (long long f = 1; !fields[f].empty(); ++f)
        if (fields[f] == wanted) return true;
    return false;
}

bool ChooseMenuAction(const std::string& link) {
    return Guarded("ChooseMenuAction", false, [&] {
        State& st = St();
        if (GetField(link, 1, ":") != "MENUACTION") return false;
        const std::string gid = GetField(link, 2, ":");
        const Value effect = Value(GetField(link, 3, ":"));
        if (gid.empty() || effect.Num() < 1) return false;
        const int number = GetCardNum(Value(gid));
        if (number <= 0 || !st.InPlay.Has(number)) return false;
        Card& card = st.InPlay[number];
        // Compared before it is made a whole number, which one too large for any slot is not.
        if (!(effect.Num() < card.Effects.size() + 1)) return false;
        const long long i = static_cast<long long>(effect.Num());
        if (!card.Effects.Has(i) || card.Effects[i].MenuState == MenuState::None) return false;
        card.Effects[i].MenuState = MenuState::Chosen;
        return true;
    });
}

void EffAddEffects() {
    Guarded("EffAddEffects", [&] {
        State& st = St();
        if (st.AddEffectText.empty()) return;
        const std::string text = st.AddEffectText;
        const int number = GetCardNum(st.AddEffectCard);
        // The hand-over is used once: a card that has left play gets nothing, and nothing stays
        // pending for a later effect.
        st.AddEffectText.clear();
        st.AddEffectCard = 0;
        if (number <= 0 || !st.InPlay.Has(number)) return;

        int p = 0;
        std::string trigger = GetField(text, p + 1, ":");
        if (trigger == "MENU") {
            trigger = "MENU:" + GetField(text, p + 2, ":") + ":" + GetField(text, p + 3, ":");
            p += 2;
        } else if (trigger == "TRAITCHANGE" || trigger == "BEFORETRAITCHANGE") {
            trigger += ":" + GetField(text, p + 2, ":");
            p += 1;
        }
        std::string targetText = GetField(text, p + 2, ":");
        if (targetText == "GIDCARD") {
            targetText = "GIDCARD:" + GetField(text, p + 3, ":");
            p += 1;
        }
        const std::string script = GetFieldsFrom(text, p + 3, ":");
        Card& receiver = st.InPlay[number];
        AddEffect(receiver, script, GetTargetType(targetText), trigger, 0, targetText);
        for (int e = 1; e <= receiver.Effects.size(); ++e)
            RegisterAction(number, e, 0, 0);
    });
}

}  // namespace dv
