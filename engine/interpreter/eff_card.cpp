#include "engine/interpreter/eff_card.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/interpreter/card_commands.h"
#include "engine/interpreter/command_context.h"
#include "engine/interpreter/eff_card_stages.h"
#include "engine/interpreter/run_budget.h"
#include "engine/model/cards.h"
#include "engine/model/compiler.h"
#include "engine/model/guard.h"
#include "engine/model/scratch_card.h"
#include "engine/model/state.h"
#include "engine/model/triggers.h"
#include "engine/model/turn_log.h"
#include "engine/pages/card_pages.h"
#include "engine/rules/card_life.h"
#include "engine/rules/dispatch.h"
#include "engine/rules/effect_runs.h"
#include "engine/rules/rule_operations.h"

namespace dv {
namespace {

// C++ frames of EffCard on the stack. Some nested calls lower the nesting depth around
// themselves, so the depth alone does not bound the stack; this does.
constexpr int kMaxCallFrames = 64;
// Passes of the command loop in one run; a script substitution may run a position again.
constexpr int kMaxCommandPasses = 10000;
// Repetitions one REPEAT may ask for.
constexpr int kMaxRepeat = 100;
// Action texts' room kept for the next runs; one for each run that may be open at once.
constexpr std::size_t kMaxFreeActionTexts = kMaxCallFrames;

// Whatever way a run leaves, the nesting depth is what it was when the run began.
struct DepthRestore {
    int depth;
    ~DepthRestore() { St().NestingDepth = depth; }
};

bool Outermost() {
    return St().NestingDepth == 1;
}

bool CountersHoldEcho(const RunContext& run) {
    return !EchoPart(St().EchoParts, 3).empty() || !EchoPart(St().EchoParts, 4).empty() ||
           !EchoPart(St().EchoParts, 5).empty() || !run.echoLine.empty();
}

// One run of EffCard after the argument copy: set-up, counter stage, loop, epilogue, end steps.
class EffRun {
  public:
    EffRun(Card& source, Card& target, EffArgs& args)
        : run_(source, target, args), boosterCardsBefore_(St().BoosterCardsTaken) {
        std::vector<std::string>& free = St().FreeActionTexts;
        // Reserved now, so that giving the room back never allocates.
        if (free.capacity() < kMaxFreeActionTexts) free.reserve(kMaxFreeActionTexts);
        if (free.empty()) return;
        run_.actionText = std::move(free.back());
        free.pop_back();
        run_.actionText.clear();
    }
    ~EffRun() {
        // A run left by an exception keeps its pictures in the echo, as one that built them at
        // once would have.
        try {
            PayPictures();
        } catch (const std::exception&) {
        }
        if (owing_ == this) owing_ = nullptr;
        // Looked up again here, not kept: the room goes to whichever state is current now.
        std::vector<std::string>& free = St().FreeActionTexts;
        if (free.size() < free.capacity()) free.push_back(std::move(run_.actionText));
    }
    EffRun(const EffRun&) = delete;
    EffRun& operator=(const EffRun&) = delete;

    RunResult Execute();
    RunResult Result() const { return run_.result; }

    // Builds the pictures the run that owes them would show, before anything may change its cards.
    static void PayOwedPictures() {
        if (owing_) owing_->PayPictures();
    }
    static long long SetUps() { return setUps_; }
    static long long PictureBuilds() { return pictureBuilds_; }

  private:
    StageEnd SetUp();
    bool Begin(const std::string& adHoc);  // false when the run returns at once
    StageEnd BonusAction(const std::string& adHoc);
    StageEnd TrialOnCopies();
    void ShowCardPictures();
    void PayPictures();
    void StartState();
    StageEnd MayRun();
    StageEnd Masks();
    StageEnd Redirect();
    bool CommandLoop();  // false when the run ends without the epilogue
    void Epilogue();
    std::string_view EchoFrame();
    void HandOverEcho(std::string_view colour);
    void SettleResult();
    void EndSteps();
    void Repeat();
    void ReportOnce();

    RunContext run_;
    long long boosterCardsBefore_;  // BoosterCardsTaken as the run began
    bool errorReported_ = false;
    // The pictures of the cards as they were when the run began, not built yet.
    bool picturesOwed_ = false;
    int pictureForm_ = 0;
    int targetSide_ = 0;
    bool oneCard_ = false;  // the run's source is its target: one picture

    // The run that owes its pictures; a run nested in it would change what they show.
    static inline EffRun* owing_ = nullptr;
    static inline long long setUps_ = 0;
    static inline long long pictureBuilds_ = 0;
};

void EffRun::ReportOnce() {
    if (errorReported_) return;
    errorReported_ = true;
    ReportError("EffCard");
}

RunResult EffRun::Execute() {
    StageEnd setUp = SetUp();
    if (setUp == StageEnd::Return) return run_.result;
    if (setUp == StageEnd::Go) {
        if (CommandLoop()) Epilogue();
    }
    EndSteps();
    return run_.result;
}

StageEnd EffRun::SetUp() {
    ++setUps_;
    RunContext& run = run_;
    EffArgs& args = run.args;
    std::string adHoc = args.adHocText;
    if (!adHoc.empty()) adHoc = "TRAIT:BONUSACTION:1:" + adHoc;
    if (!Begin(adHoc)) return StageEnd::Return;
    if (!adHoc.empty()) return BonusAction(adHoc);

    if (run.effect().Compiled == 0) {
        std::string errors;
        CompileEffect(run.source, args.effectIndex, errors);
    }
    if (run.source.Dead || (run.target.Dead && run.effect().Trigger != "ONDEATH")) {
        ++run.failures;
        run.result = RunResult::Failed;
        return StageEnd::End;
    }
    if (args.runKind == RunKind::Pricing || args.runKind == RunKind::Cost) args.noCounters = 1;
    if (StageEnd trial = TrialOnCopies(); trial != StageEnd::Go) return trial;

    ShowCardPictures();
    StartState();
    if (StageEnd may = MayRun(); may != StageEnd::Go) return may;
    if (StageEnd masks = Masks(); masks != StageEnd::Go) return masks;
    if (StageEnd counters = RunCounterStage(run); counters != StageEnd::Go) return counters;
    if (StageEnd redirect = Redirect(); redirect != StageEnd::Go) return redirect;

    run.result = RunResult::NothingApplied;
    run.failures = run.misses = run.applied = 0;
    run.deleteEffect = false;
    run.repeatCount = Value();
    run.failText.clear();
    run.echoCommand = false;
    return StageEnd::Go;
}

bool EffRun::Begin(const std::string& adHoc) {
    State& st = St();
    RunContext& run = run_;
    if (st.EffectOutcome == EffectOutcome::StopEffect) st.EffectOutcome = EffectOutcome::None;
    run.result = RunResult::Failed;
    if (run.target.Name.empty() || run.source.Name.empty()) return false;
    if (adHoc.empty() && !run.source.Effects.Has(run.args.effectIndex)) return false;

    run.actionText = adHoc.empty() ? run.effect().Text : adHoc;
    run.result = RunResult::Applied;
    ++st.NestingDepth;
    if (run.args.value) st.CurrentValue = *run.args.value;
    st.TraitChanged = 0;
    if (!run.Preview()) {
        st.LastTarget = run.target.Index;
        // Written into the room the last name left.
        st.LastTargetName.clear();
        AppendDCard(st.LastTargetName, run.target);
    }
    return true;
}

// A bonus action: the ad-hoc script runs as an effect of its own on the source card (a trial on
// copies of both cards, so nothing of the game changes). A trial without adHocTrial answers
// Applied at once.
StageEnd EffRun::BonusAction(const std::string& adHoc) {
    State& st = St();
    RunContext& run = run_;
    EffArgs& args = run.args;
    if (run.Preview() && !args.adHocTrial) {
        --st.NestingDepth;
        return StageEnd::Return;
    }
    const bool onCopies = run.Preview();
    std::optional<ScratchCard> sourceCopy;
    std::optional<ScratchCard> targetCopy;
    if (onCopies) {
        sourceCopy.emplace(run.source);
        targetCopy.emplace(run.target);
    }
    Card& source = onCopies ? **sourceCopy : run.source;
    Card& target = onCopies ? **targetCopy : run.target;
    const int index = AddEffect(source, "TRAIT:BONUSACTION:" + adHoc, 11, "", 0, "");
    --st.NestingDepth;
    if (!source.Effects.Has(index)) {
        run.result = RunResult::Failed;
        return StageEnd::Return;
    }
    EffArgs nested = args;
    nested.effectIndex = index;
    nested.adHocText.clear();
    nested.adHocTrial = 0;
    if (onCopies) nested.copies = 1;
    run.result = EffCard(source, target, nested);
    args.outerEcho = nested.outerEcho;
    // A bonus action has done its work once it has run: freed at once, it does not pile up on the
    // card (a booster's stamp with every card handed out, a retarget with every repetition) for
    // each later copy of the card to carry. A run that deleted it may have left its slot to
    // another effect, which stays.
    if (source.Effects.Has(index)) FreeBonusAction(source, index);
    return StageEnd::Return;
}

// A trial run nested too deep answers Applied at once; an ordinary trial on the cards themselves
// runs again on copies of both.
StageEnd EffRun::TrialOnCopies() {
    State& st = St();
    RunContext& run = run_;
    if (run.Preview() && st.NestingDepth > kMaxTrialNesting) {
        --st.NestingDepth;
        return StageEnd::Return;
    }
    if (run.Preview() && run.args.runKind == RunKind::Ordinary && !run.args.copies) {
        ScratchCard sourceCopy(run.source);
        ScratchCard targetCopy(run.target);
        --st.NestingDepth;
        EffArgs nested = run.args;
        nested.copies = 1;
        run.result = EffCard(*sourceCopy, *targetCopy, nested);
        run.args.outerEcho = nested.outerEcho;
        return StageEnd::Return;
    }
    return StageEnd::Go;
}

// The outermost real run's echo shows the pictures of its two cards as they were when it began.
// Most runs end at a requirement or echo without them, so the links are built only once the run
// shows them or may change its cards: for a text that shows them, before a command that may change
// a card or a run nested in it, or at its end where an echo command keeps them. Until then the
// cards get only what building would change.
void EffRun::ShowCardPictures() {
    const State& st = St();
    RunContext& run = run_;
    if (!Outermost() || run.Preview()) return;
    pictureForm_ = st.FullSize ? 1 : (run.runFlags().RunWork ? 0 : -1);
    ReadyForCLink(run.source, pictureForm_);
    targetSide_ = run.source.Owner == run.target.Owner ? 2 : 1;
    oneCard_ = run.source.GID == run.target.GID;
    if (!oneCard_) ReadyForCLink(run.target, pictureForm_);
    run.sourcePicture.clear();
    run.targetPicture.clear();
    EchoPart(St().EchoParts, 2).clear();
    EchoPart(St().EchoParts, 6).clear();
    picturesOwed_ = true;
    owing_ = this;
}

void EffRun::PayPictures() {
    if (!picturesOwed_) return;
    picturesOwed_ = false;
    if (owing_ == this) owing_ = nullptr;
    ++pictureBuilds_;
    RunContext& run = run_;
    run.sourcePicture = CLink(run.source, pictureForm_, 1);
    if (!oneCard_) run.targetPicture = CLink(run.target, pictureForm_, targetSide_);
    EchoPart(St().EchoParts, 2) = run.sourcePicture;
    EchoPart(St().EchoParts, 6) = run.targetPicture;
}

void EffRun::StartState() {
    State& st = St();
    const RunContext& run = run_;
    if (run.args.value && !run.Preview() && run.args.value->Num() != 0)
        st.LastAmount = *run.args.value;
    st.RulesCard.Active = 1;
    st.FailReason.clear();
}

// The run ends before its commands when it is nested too deep, the game is over, one of its
// cards is inactive (a real ordinary run), or it would react to itself.
StageEnd EffRun::MayRun() {
    State& st = St();
    RunContext& run = run_;
    if (st.NestingDepth < 0) st.NestingDepth = 0;
    if (st.NestingDepth >= kMaxNesting) return StageEnd::End;

    if (st.GameOver && Outermost() && run.effect().Trigger != "ONDEATH") {
        run.result = RunResult::NothingApplied;
        return StageEnd::End;
    }
    if (!run.Preview() && run.args.runKind == RunKind::Ordinary &&
        (!run.target.Active || !run.source.Active)) {
        run.result = RunResult::Failed;
        return StageEnd::End;
    }
    // An effect does not react to itself.
    if (run.actionText == run.args.reactedTo && !run.args.redirected) return StageEnd::End;
    return StageEnd::Go;
}

StageEnd EffRun::Masks() {
    State& st = St();
    RunContext& run = run_;
    const Effect& effect = run.effect();
    if (run.args.redirected || run.SkipRequirements() || effect.ReqEffect) {
        ++st.UnmaskedActions;
        return StageEnd::Go;
    }
    if (effect.SideReq > 0 && (effect.SideReq & run.target.SideMask) == 0) {
        run.result = RunResult::Failed;
        ++st.MaskedActions;
        st.FailReason = "Ally/Enemy Mask Failed";
        return StageEnd::End;
    }
    const bool secondForm = run.args.reactedEffect != 0;
    const Effect* reacted = nullptr;
    if (secondForm && run.target.Effects.Has(run.args.reactedEffect)) {
        reacted = &std::as_const(run.target.Effects)[run.args.reactedEffect];
    }
    const MaskWords& targetMask = run.target.TraitMask;
    const MaskWords& sourceMask = run.source.TraitMask;
    for (int k = 1; k <= 8; ++k) {
        bool fails = false;
        if (!secondForm) {
            fails = (targetMask[k] & effect.ReqTargetHas[k]) != effect.ReqTargetHas[k] ||
                    (sourceMask[k] & effect.ReqSourceHas[k]) != effect.ReqSourceHas[k];
        } else {
            const int32_t bits = reacted ? reacted->TraitBits[k] : 0;
            fails = (targetMask[k] & bits & ~effect.ReqTargetHas[k]) != 0 ||
                    (sourceMask[k] & bits & ~effect.ReqSourceHas[k]) != 0;
        }
        fails = fails || (targetMask[k] & effect.ReqTargetNot[k]) != 0 ||
                ((sourceMask[k] | effect.TraitBits[k]) & effect.ReqSourceNot[k]) != 0;
        if (fails) {
            run.result = RunResult::Failed;
            st.FailReason = secondForm ? "Trait Mask Indicated Failure" : "";
            ++st.MaskedActions;
            return StageEnd::End;
        }
    }
    ++st.UnmaskedActions;
    return StageEnd::Go;
}

StageEnd EffRun::Redirect() {
    State& st = St();
    RunContext& run = run_;
    if (run.args.redirected || st.RedirectTarget <= 0) return StageEnd::Go;
    const int16_t to = st.RedirectTarget;
    if (!st.InPlay.Has(to)) {
        // A redirect to no card cannot be carried out; it is dropped rather than left pending.
        st.RedirectTarget = 0;
        return StageEnd::Go;
    }
    Card& newTarget = st.InPlay[to];
    // While the effect is on its way to the new target, no reaction there may send it on again.
    struct Carrying {
        bool was = St().CarryingRedirect;
        Carrying() { St().CarryingRedirect = true; }
        ~Carrying() { St().CarryingRedirect = was; }
    } carrying;

    EffArgs trial = run.args;
    trial.preview = 1;
    trial.redirected = 1;
    trial.reactedEffect = static_cast<int16_t>(run.args.effectIndex);
    trial.outerEcho.clear();
    EffCard(run.source, newTarget, trial);
    st.RedirectTarget = to;

    --st.NestingDepth;
    EffArgs moved = run.args;
    moved.adHocText = WithoutSideRequirements(run.actionText);
    moved.redirected = 1;
    moved.outerEcho.clear();
    EffCard(run.source, newTarget, moved);
    st.RedirectTarget = 0;
    run.result = RunResult::Applied;
    return StageEnd::Return;
}

bool EffRun::CommandLoop() {
    State& st = St();
    RunContext& run = run_;
    const CommandRegistry& table = CommandTable();
    run.lastPosition = run.effect().Program.size();
    int passes = 0;
    run.position = 1;
    while (run.position <= run.lastPosition) {
        if (++passes > kMaxCommandPasses) break;
        st.EchoText.clear();
        run.argIndex = run.position;
        const SharedList<int32_t>& program = run.effect().Program;
        // A substituted program may be shorter than the one the loop began with.
        if (!program.Has(run.position)) break;
        const int32_t code = program[run.position];
        if (code == -1) {
            ++run.position;
            continue;
        }
        if (code == 0) return false;
        if (st.RedirectTarget > 0 && st.RedirectTarget != run.target.Index) {
            run.redirectSpent = true;
            return false;
        }

        const SharedList<uint8_t>& flags = run.effect().AIFlags;
        run.aiMark = flags.Has(run.position) && flags[run.position] != 0;
        if (run.args.noCounters && st.EffectOutcome == EffectOutcome::Cancelled)
            st.EffectOutcome = EffectOutcome::None;
        if (st.EffectOutcome == EffectOutcome::Cancelled) {
            ++run.misses;
            if (CountersHoldEcho(run)) run.echoPending = true;
            break;
        }

        if (CommandHandler handler = table.Get(code)) {
            if (picturesOwed_ && !table.LeavesPictures(code)) PayPictures();
            try {
                handler(run);
            } catch (const std::exception&) {
                // The failed command is skipped; the run goes on with the next one.
                ReportOnce();
            }
        }
        if (run.endLoop) break;
        if (run.stayAtPosition) {
            run.stayAtPosition = false;
            continue;
        }
        ++run.position;
    }
    // A program that ran to its end counts as applied.
    if (!run.endLoop && run.position > run.lastPosition) ++run.applied;
    return true;
}

void EffRun::Epilogue() {
    State& st = St();
    RunContext& run = run_;
    const bool real = !run.Preview();

    HandOverEcho(EchoFrame());
    if (st.DebugMode == 1 && real && run.applied > 0) {
        AddToTurnLog("<br><font size=-2>Action from " + DCard(run.source) +
                     " successfully applied to " + DCard(run.target) + " at counter level " +
                     std::to_string(st.NestingDepth) + ".  (Action: \"" + run.actionText +
                     "\")</font>");
    }
    if (real && run.applied > 0) ++st.SuccessfulActions;
    if (!run.keepResult) SettleResult();

    if (run.deleteEffect && real) {
        run.changeEffect().Text.clear();
        DropRegistrations(run.source, run.args.effectIndex);
    }
    Repeat();
}

// The outermost real run frames its echo in the colours of the side it speaks for; returns the
// colour its echo line is set in (empty for any other run).
std::string_view EffRun::EchoFrame() {
    const RunContext& run = run_;
    if (!Outermost() || run.Preview()) return {};
    int side = run.source.Owner;
    if (run.echoSide == 1) side = side == 1 ? 2 : 1;
    if (run.echoSide == 2) side = run.target.Owner;
    if (run.source.Owner == 0 || run.source.Name == "RulesCard") side = 0;

    std::string_view paragraph;
    std::string_view colour;
    std::string_view background;
    switch (side) {
        case 1:
            paragraph = "<p align=left>";
            colour = "55FF55";
            background = " bgcolor = #001100 ";
            break;
        case 2:
            paragraph = "<p align=right>";
            colour = "FF5511";
            background = " bgcolor = #220000 ";
            break;
        default:
            paragraph = "<p align=center>";
            colour = "AAAAAA";
            background = " bgcolor = #111111 ";
            break;
    }
    if (!run.echoBackground.empty()) background = run.echoBackground;
    // Written into the parts' own room rather than through joined copies.
    std::string& head = EchoPart(St().EchoParts, 1);
    head.assign("<table width=100% border=1><tr><td");
    head.append(background).append(">").append(paragraph);
    // The part holds nothing but these closings (no other run writes it), so one added at the end
    // is one added at the front; outermost runs that echo nothing pile them up until the next
    // echo takes them, and what could never reach the log is not kept.
    AppendForTurnLog(EchoPart(St().EchoParts, 7), "</td></tr></table></p>");
    return colour;
}

// The run's echo line goes to the main echo (outermost run) or to the run that called it; a run
// that only failed echoes nothing but its ECHOFAIL text.
void EffRun::HandOverEcho(std::string_view colour) {
    State& st = St();
    RunContext& run = run_;
    const bool real = !run.Preview();
    if (real && !st.RealPayment && !run.failText.empty() && run.failures + run.misses > 0) {
        run.echoLine += "<p>" + run.failText + "</p>";
    }
    if (!st.TraitEcho.empty()) run.echoPending = true;
    if (run.failures > 0 && run.applied == 0 && run.failText.empty()) {
        run.echoLine.clear();
        return;
    }
    if (Outermost() && real && run.echoPending) {
        // The font tag is written into room made at the front, without a text of its own.
        static constexpr std::string_view kOpen = "<font color=\"";
        static constexpr std::string_view kClose = "\">";
        run.echoLine.insert(std::size_t{0}, kOpen.size() + colour.size() + kClose.size(), ' ');
        auto at = std::copy(kOpen.begin(), kOpen.end(), run.echoLine.begin());
        at = std::copy(colour.begin(), colour.end(), at);
        std::copy(kClose.begin(), kClose.end(), at);
        run.echoLine += "</font>";
    }
    if (real && run.echoPending) {
        if (Outermost()) {
            EchoPart(St().EchoParts, 4) += run.echoLine;
        } else {
            run.args.outerEcho += run.echoLine;
        }
    }
    st.TraitEcho.clear();
}

// The result from the counts: failed when requirements failed and nothing was applied, applied
// whole when nothing failed or missed, in part when some of both, else nothing applied.
void EffRun::SettleResult() {
    RunContext& run = run_;
    const int notApplied = run.failures + run.misses;
    if (run.applied == 0 && run.failures > 0) {
        run.result = RunResult::Failed;
    } else if (notApplied == 0) {
        run.result = RunResult::Applied;
    } else if (run.applied > 0 && notApplied > 0) {
        run.result = RunResult::PartlyApplied;
    } else if (run.applied == 0 && run.failures == 0) {
        run.result = RunResult::NothingApplied;
    }
}

void EffRun::Repeat() {
    State& st = St();
    RunContext& run = run_;
    if (!(run.repeatCount.Num() > 0) || run.args.repeatRun || run.Preview()) return;
    // Bounded before rounding: a count too large for an integer must not round to nonsense.
    const int times =
        static_cast<int>(std::lround(std::min<double>(run.repeatCount.Num(), kMaxRepeat)));
    const BoosterRoom boosters(BoosterRoom::LeftAfter(boosterCardsBefore_));
    for (int i = 1; i <= times; ++i) {
        int32_t type = run.repeatTargetType;
        RunResult outcome = RunResult::NothingApplied;
        const int picked = PickTarget(run.source, run.args.effectIndex, type, "", outcome);
        if (picked <= 0 || !st.InPlay.Has(picked)) continue;
        EffArgs again = run.args;
        again.repeatRun = 1;
        again.skipRequirements = 0;
        again.outerEcho.clear();
        --st.NestingDepth;
        EffCard(run.source, st.InPlay[picked], again);
        ++st.NestingDepth;
    }
}

void EffRun::EndSteps() {
    State& st = St();
    RunContext& run = run_;
    const bool real = !run.Preview();
    const bool hasEffect = run.source.Effects.Has(run.args.effectIndex);
    if (Outermost() && !run.echoCommand) {
        // Pictures no echo command asked for are not shown: never built, they need no clearing.
        picturesOwed_ = false;
        if (owing_ == this) owing_ = nullptr;
    }
    PayPictures();

    if (!run.nestedEcho.empty() || !EchoPart(St().EchoParts, 3).empty() ||
        !EchoPart(St().EchoParts, 4).empty() || !EchoPart(St().EchoParts, 5).empty()) {
        run.echoPending = true;
    }
    if (Outermost() && !run.echoCommand) {
        EchoPart(St().EchoParts, 2).clear();
        EchoPart(St().EchoParts, 6).clear();
    }
    if (st.EffectOutcome == EffectOutcome::Cancelled && CountersHoldEcho(run))
        run.echoPending = true;
    if (real && run.echoPending) {
        if (Outermost()) {
            TakeMainEcho(st.TurnLog);
            if (hasEffect) run.changeRunFlags().RunWork = 1;
        } else if (hasEffect && run.effect().Trigger == "ONDEATH" && run.effect().Echoed == 0) {
            EchoPart(St().EchoParts, 5) += run.echoLine;
        } else {
            run.args.outerEcho = run.echoLine;
        }
    }
    if (run.scriptChanged && hasEffect) {
        run.changeEffect().Text = run.keptText;
        std::string errors;
        CompileEffect(run.source, run.args.effectIndex, errors);
    }

    --st.NestingDepth;
    if (run.args.redirected) st.RedirectTarget = 0;
    // A redirect that stopped this run was made for it; the runs around it must not inherit it.
    if (run.redirectSpent) {
        st.RedirectTarget = 0;
        st.RedirectText.clear();
    }
    if (st.EffectOutcome == EffectOutcome::Cancelled) {
        run.result = CancelledResult(run);
        st.EffectOutcome = EffectOutcome::None;
    } else if (st.EffectOutcome == EffectOutcome::CancelOnReturn) {
        st.EffectOutcome = EffectOutcome::Cancelled;
    }

    // A trial run works on copies: it never ends the game or kills a card of the game.
    if (!real || run.args.copies) return;
    if (run.pendingWinner > 0) EndGame(run.pendingWinner);
    if (run.destroySource) KillCard(run.source, 0);
    if (run.destroyTarget) KillCard(run.target, 0);
}

// A run on a frame of its own: whatever way it leaves, the frame count and the nesting depth are
// as they were, and what the run and the runs it set off put into the turn log is held to that
// log's bound.
RunResult RunOnFrame(Card& source, Card& target, EffArgs& args) {
    State& st = St();
    DepthCount frame(st.CallFrames);
    struct LogBound {
        std::size_t before = St().TurnLog.size();
        ~LogBound() {
            if (St().TurnLog.size() != before) KeepTurnLogBound(before);
        }
    } logBound;
    DepthRestore restore{st.NestingDepth};
    const bool outermost = st.NestingDepth <= 0;
    if (outermost) ClearPendingSignals();

    // The arguments passed by value stay the caller's; only the outer echo goes back.
    EffArgs local = args;
    EffRun run(source, target, local);
    RunResult result;
    try {
        result = run.Execute();
    } catch (const std::exception&) {
        ReportError("EffCard");
        result = run.Result();
    }
    // A cancel or redirect this run leaves is for its caller to read (the trait store, target
    // picking); the next outermost run or the end of the dispatch forgets it.
    args.outerEcho = std::move(local.outerEcho);
    return result;
}

}  // namespace

RunResult EffCard(Card& source, Card& target, EffArgs& args) {
    PayOwedPictures();
    if (St().CallFrames >= kMaxCallFrames) return RunResult::Applied;
    if (!TakeRun(args.preview == 0)) return RunResult::NothingApplied;
    const RunResult result = RunOnFrame(source, target, args);
    // The chain has ended: a cut of its budget is told after what the chain put into the log.
    const State& st = St();
    if (st.CallFrames == 0 && ChainEndOwes()) EndChain();
    return result;
}

void PayOwedPictures() {
    EffRun::PayOwedPictures();
}

long long RunsSetUp() {
    return EffRun::SetUps();
}

long long RunPictureBuilds() {
    return EffRun::PictureBuilds();
}

void PriceCard(Card& card) {
    Card& costCard = St().CostCard;
    for (int i = 1; i <= costCard.Effects.size(); ++i) {
        Value zero(0);
        EffArgs args;
        args.effectIndex = i;
        args.runKind = RunKind::Pricing;
        args.carried = 1;
        args.noCounters = 1;
        args.value = &zero;
        EffCard(costCard, card, args);
    }
}

}  // namespace dv
