#include "engine/rules/dispatch.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "engine/interpreter/eff_card.h"
#include "engine/model/card_life.h"
#include "engine/model/cards.h"
#include "engine/model/case_fold.h"
#include "engine/model/guard.h"
#include "engine/model/scratch_card.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "engine/model/value_expression.h"
#include "engine/rules/compiler.h"
#include "engine/rules/keyword_table.h"
#include "engine/rules/script_fields.h"
#include "engine/rules/triggers.h"

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
        Value zero = 0;
        EffArgs args;
        args.effectIndex = effect;
        args.runKind = runKind;
        args.preview = preview;
        args.value = &zero;
        args.reactedTo = actionText;
        args.outerEcho = echo;
        const RunResult result = EffCard(card, target, args);
        echo = args.outerEcho;
        return result;
    }
};

// TARGETCARD: the remembered or preset target, checked by trial runs and picked again when it
// would not take the effect.
void RunOnChosenTarget(Card& card, int i, RunActionsCall& call, const DispatchRun& run,
                       std::string& echo, RunResult& last, bool& ran) {
    State& st = St();
    auto trial = [&](int number) {
        if (!st.InPlay.Has(number)) return RunResult::Failed;
        std::string scratch;
        return run(st.InPlay[number], 1, "", scratch);
    };
    auto pick = [&] {
        int32_t type = kTargetCard;
        RunResult outcome = RunResult::NothingApplied;
        return PickTarget(card, i, type, "", outcome);
    };
    if (card.PresetTarget > 0) {
        if (card.Effects[i].Target == 0) card.Effects[i].Target = card.PresetTarget;
        last = trial(card.Effects[i].Target);
        ran = true;
        if (last <= RunResult::NothingApplied) card.Effects[i].Target = 0;
    }
    if (card.Effects[i].Target == 0) card.Effects[i].Target = pick();
    if (card.Effects[i].Target == 0) return;
    last = trial(card.Effects[i].Target);
    ran = true;
    if (last <= RunResult::NothingApplied) card.Effects[i].Target = pick();
    const int target = card.Effects[i].Target;
    if (call.preview == 0 && target > 0 && st.InPlay.Has(target)) {
        last = run(st.InPlay[target], 0, "", echo);
    }
}

// Only a card that can take an effect, on the side a random pick of its type asks for, is tried.
bool IsCandidate(const Card& candidate, const Card& card, int type) {
    if (candidate.Name.empty() || candidate.Active == 0) return false;
    if (type == kTargetRandomAlly && candidate.Owner != card.Owner) return false;
    if (type == kTargetRandomEnemy && candidate.Owner == card.Owner) return false;
    return true;
}

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
        // Walked with an iterator, taken anew after each run: a run may add cards.
        auto walk = play.begin();
        for (int c = 1; c <= count && play.Has(c); ++c, ++walk) {
            if (!reaches.MayRun(*walk)) continue;
            RunActionsCall call;
            call.triggeringCard = -1;
            call.append = 1;
            RunActions(st.InPlay[c], name, call);
            walk = play.begin() + (c - 1);
        }
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

bool TriggerFilter::MayRun(const Card& card) const {
    if (card.Name.empty() || trigger_.empty()) return false;
    if (!cost_ && card.Active == 0 && SameNoCase(card.StartTime, trigger_)) return true;
    for (const Effect& effect : card.Effects)
        if (effect.Trigger.size() == trigger_.size()) return true;
    return false;
}

void RunActions(Card& card, const std::string& triggerIn, RunActionsCall& call) {
    Guarded("RunActions", [&] {
        State& st = St();
        const int count = card.Effects.size();
        if (call.effectNumber > count) return;
        if (call.effectNumber > 0 && card.Effects[call.effectNumber].Running == 1) return;
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
            if (card.Effects[i].Trigger.size() != trigger.size()) continue;
            if (trigger == "COSTMOD" && card.Active == 1 &&
                card.Effects[i].TargetType == kTargetSelf) {
                continue;
            }
            if (card.Effects[i].MenuState == MenuState::Offered) continue;
            card.Effects[i].Running = 1;
            card.Effects[i].DispatchWork = 0;
            st.EchoOnce = 0;
            if (card.NextTarget > 0) card.PresetTarget = card.NextTarget;
            if (card.Effects[i].Trigger != trigger) {
                card.Effects[i].Running = 0;
                continue;
            }

            const int type = card.Effects[i].TargetType;
            DispatchRun run{card, i, runKind};
            std::string echo;
            RunResult last = RunResult::NothingApplied;
            bool ran = false;
            bool leaveEffect = false;  // a cancel in a counter stage ended an ALL effect
            auto runOn = [&](Card& target, uint8_t preview, bool withAction) {
                last = run(target, preview, withAction ? call.actionText : "", echo);
                ran = true;
            };
            switch (type) {
                case kTargetGidCard: {
                    const int number = GidCardTarget(card, card.Effects[i]);
                    if (number > 0 && st.InPlay.Has(number))
                        runOn(st.InPlay[number], call.preview, true);
                    break;
                }
                case kTargetCard:
                    RunOnChosenTarget(card, i, call, run, echo, last, ran);
                    break;
                case kTargetCollection: {
                    const int slot = card.Effects[i].Target;
                    const int deck = card.Effects[i].DeckSel;
                    if (slot <= 0 || call.preview == 1) break;
                    DispatchRun collectionRun{card, i, RunKind::Pricing};
                    Card* target = nullptr;
                    if (deck == 0 && st.Collection.Has(slot)) {
                        target = &st.Collection[slot];
                    } else if (deck != 0 && st.PlayerDecks.Has(deck) &&
                               st.PlayerDecks[deck].Cards.Has(slot)) {
                        target = &st.PlayerDecks[deck].Cards[slot];
                    }
                    if (!target) break;
                    st.CollectionEffect = 1;
                    last = collectionRun(*target, 0, deck != 0 ? call.actionText : "", echo);
                    ran = true;
                    st.CollectionEffect = 0;
                    break;
                }
                case kTargetTriggeringCard: {
                    const int number =
                        call.triggeringCard >= 1 ? call.triggeringCard : call.sourceCard;
                    if (st.InPlay.Has(number)) runOn(st.InPlay[number], call.preview, true);
                    break;
                }
                case kTargetAll: {
                    if (call.preview == 1) break;
                    const int cards = st.InPlay.size();
                    for (int c = 1; c <= cards && st.InPlay.Has(c); ++c) {
                        if (st.InPlay[c].Name.empty()) continue;
                        last = run(st.InPlay[c], call.preview, call.actionText, echo);
                        if (last != RunResult::Failed) collected += echo;
                        echo.clear();
                        EffAddEffects();
                        if (last == RunResult::Failed) ++call.failures;
                        if (st.EffectOutcome == EffectOutcome::StopEffect) {
                            st.EffectOutcome = EffectOutcome::None;
                            leaveEffect = true;
                            break;
                        }
                        if (st.EffectOutcome != EffectOutcome::None)
                            st.EffectOutcome = EffectOutcome::None;
                    }
                    break;
                }
                case kTargetRandom:
                case kTargetRandomAlly:
                case kTargetRandomEnemy: {
                    int32_t pickType = type;
                    RunResult outcome = RunResult::NothingApplied;
                    const int number = PickTarget(card, i, pickType, "", outcome);
                    if (number > 0 && st.InPlay.Has(number))
                        runOn(st.InPlay[number], call.preview, false);
                    break;
                }
                case kTargetOwner: {
                    const int number = PlayerCardOf(card.Owner);
                    if (st.InPlay.Has(number)) runOn(st.InPlay[number], call.preview, false);
                    break;
                }
                case kTargetEnemyPlayer: {
                    const int number = PlayerCardOf(card.Owner == 1 ? 2 : 1);
                    if (st.InPlay.Has(number)) runOn(st.InPlay[number], call.preview, false);
                    break;
                }
                case kTargetSelf:
                    runOn(card, call.preview, false);
                    break;
                default:  // COUNTER effects answer the counter stage, never a dispatch
                    break;
            }

            if (!card.Effects.Has(i)) break;
            if (leaveEffect) {
                // The effect is left at once: a chosen menu action stays chosen.
                card.Effects[i].Running = 0;
                if (st.NestingDepth == 0) ClearPendingSignals();
                continue;
            }
            if (type != kTargetAll && ran && last != RunResult::Failed) collected += echo;
            if (card.Effects[i].MenuState == MenuState::Chosen)
                card.Effects[i].MenuState = MenuState::Offered;
            EffAddEffects();
            if (type != kTargetAll && ran && last == RunResult::Failed) ++call.failures;
            if (card.Effects.Has(i)) card.Effects[i].Running = 0;
            if (st.NestingDepth == 0) ClearPendingSignals();
        }

        call.echo = collected;
        if (call.append != 0 && call.preview != 1) st.EchoText += collected;
    });
}

int PickTarget(Card& card, int32_t effectNumber, int32_t& targetType, const std::string& actionText,
               RunResult& outcome) {
    return Guarded("PickTarget", 0, [&]() -> int {
        State& st = St();
        if (!card.Effects.Has(effectNumber)) return 0;
        {
            const Effect& effect = card.Effects[effectNumber];
            for (int k = 1; k <= 8; ++k) {
                if ((effect.ReqSourceHas[k] & card.TraitMask[k]) != effect.ReqSourceHas[k] ||
                    (effect.ReqSourceNot[k] & card.TraitMask[k]) != 0) {
                    ++st.MaskedActions;
                    return 0;
                }
            }
        }
        outcome = RunResult::NothingApplied;
        switch (targetType) {
            case kTargetGidCard:
                return GidCardTarget(card, card.Effects[effectNumber]);
            case kTargetSelf:
                return card.Index;
            case kTargetOwner:
                return PlayerCardOf(card.Owner);
            case kTargetEnemyPlayer:
                return PlayerCardOf(card.Owner == 2 ? 1 : 2);
            default:
                break;
        }

        const int n = st.InPlay.size();
        int lastNamed = 0;
        for (int c = n; c >= 1; --c) {
            if (!st.InPlay[c].Name.empty()) {
                lastNamed = c;
                break;
            }
        }
        std::vector<int> tried(n + 1, 0);
        int pass = 1;
        long long misses = 0;
        const int type = targetType;

        // A trial on copies: Applied takes the effect whole, PartlyApplied in part, the others
        // not at all; none means a cancel in the counter stage ended the pick.
        auto trial = [&](int c) -> std::optional<RunResult> {
            EffArgs args;
            args.effectIndex = effectNumber;
            args.runKind = RunKind::Ordinary;
            args.preview = 1;
            args.repeatRun = 1;
            args.adHocText = actionText;
            RunResult result = EffCard(card, st.InPlay[c], args);
            if (st.EffectOutcome == EffectOutcome::StopEffect) {
                st.EffectOutcome = EffectOutcome::None;
                return std::nullopt;
            }
            if (st.EffectOutcome != EffectOutcome::None) {
                st.EffectOutcome = EffectOutcome::None;
                result = RunResult::Failed;
            }
            return result;
        };
        auto accept = [&](int c) {
            if (card.Effects.Has(effectNumber)) card.Effects[effectNumber].Target = c;
            return c;
        };

        const int ownCard = PlayerCardOf(card.Owner);
        for (int attempts = 0; attempts < lastNamed;) {
            int c = static_cast<int>(RandomNum(n));
            if (ownCard >= 1 && ownCard <= n && tried[ownCard] < pass) c = ownCard;
            if (misses > 3LL * n) ++pass;
            if (misses >= static_cast<long long>(kMaxMissesPerSlot) * n) break;
            if (c < 1 || c > n) {
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
            if (!IsCandidate(drawn, card, type)) {
                tried[c] = pass;
                continue;
            }
            const std::optional<RunResult> result = trial(c);
            if (!result) return 0;
            if (*result == RunResult::Applied || (pass >= 2 && *result == RunResult::PartlyApplied))
                return accept(c);
            tried[c] = pass;
        }

        std::vector<int> partial;
        for (int c = 1; c <= n && st.InPlay.Has(c); ++c) {
            if (!IsCandidate(st.InPlay[c], card, type)) continue;
            const std::optional<RunResult> result = trial(c);
            if (!result) return 0;
            if (*result == RunResult::Applied) {
                outcome = RunResult::Applied;
                return accept(c);
            }
            if (*result == RunResult::PartlyApplied) partial.push_back(c);
        }
        if (partial.empty()) return 0;
        long long chosen = RandomNum(static_cast<double>(partial.size()));
        chosen = std::clamp<long long>(chosen, 1, static_cast<long long>(partial.size()));
        outcome = RunResult::PartlyApplied;
        return accept(partial[chosen - 1]);
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

std::string GetEffectTrait2(Card& card, int32_t& effectNumber, std::string& name) {
    std::string result = "NONE";
    if (name.empty() || effectNumber == 0) return result;
    try {
        Effect& effect = card.Effects[effectNumber];
        if (effect.Compiled == 0) {
            std::string errors;
            CompileEffect(card, effectNumber, errors);
        }
        // The look-up reads the two words of each "TRAIT" command.
        static const int16_t traitCode = KeywordCode("TRAIT");
        const Effect& compiled = card.Effects[effectNumber];
        for (int p = 1; p <= compiled.Program.size(); ++p) {
            if (compiled.Program[p] != traitCode) continue;
            if (compiled.Args.Has(p + 1) && compiled.Args[p + 1] == name) {
                result = compiled.Args.Has(p + 2) ? compiled.Args[p + 2] : std::string();
                break;
            }
        }
    } catch (const std::exception&) {
        // A look-up that cannot finish finds nothing; it reports no error.
    }
    return result;
}

bool GetEffectRef(const std::string& text, const Value& word) {
    const std::string wanted = word.Text();
    // Words after an empty field are not read.
    const ScriptFields fields(text, ':');
    for (long long f = 1; !fields[f].empty(); ++f)
        if (fields[f] == wanted) return true;
    return false;
}

std::string GetActionMenu2(Card& card) {
    if (card.Owner == 2) return "";
    std::string menu;
    for (int i = 1; i <= card.Effects.size(); ++i) {
        const Effect& effect = card.Effects[i];
        if (effect.MenuState == MenuState::None) continue;
        menu += "<a href=\"MENUACTION:" + std::to_string(card.GID) + ":" + std::to_string(i) +
                "\">" + effect.MenuText + "</a><br>";
    }
    return menu;
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
