#pragma once
// Sending triggers to cards, picking targets, and small look-ups over a card's effects.

#include <cstdint>
#include <string>

#include "engine/model/play_list.h"
#include "engine/model/records.h"
#include "engine/model/run_codes.h"
#include "engine/model/value.h"

namespace dv {

// What an effect acts on (Effect::TargetType), as GetTargetType reads the keywords.
enum TargetTypeCode : int32_t {
    kTargetCard = 0,
    kTargetRandom = 1,
    kTargetAll = 2,
    kTargetRandomEnemy = 3,
    kTargetRandomAlly = 4,
    kTargetOwner = 5,
    kTargetEnemyPlayer = 6,
    kTargetSelf = 7,
    kTargetTriggeringCard = 8,
    kTargetCounter = 9,
    kTargetCollection = 10,
    kTargetGidCard = 11,
};

void RunListActions(const Value& trigger);

// The arguments of one dispatch to one card; the by-reference ones are written back.
struct RunActionsCall {
    int32_t triggeringCard = 0;  // explicit triggering card, used by TRIGGERINGCARD
    int32_t failures = 0;        // out: effects (for ALL, cards) whose run Failed
    int32_t effectNumber = 0;    // 0 runs every matching effect
    uint8_t preview = 0;
    std::string actionText;
    std::string echo;  // out: the collected echo of this dispatch
    uint8_t append = 0;
    int32_t sourceCard = 0;  // triggering card number; 0 becomes NewestCard
};
void RunActions(Card& card, const std::string& trigger, RunActionsCall& call);
// Tells the cards RunActions would leave alone for a trigger (and the game with them): no effect
// of theirs could have it, and an inactive one would not be activated by it. Loops over play ask
// it first, so that they hand out for change only the cards a trigger can reach.
class TriggerFilter {
  public:
    explicit TriggerFilter(const std::string& trigger);
    // What handing the trigger to the card would do, read without handing the card out.
    enum class Reach : uint8_t {
        Nothing,
        // None of its effects answers, and taking up those of the trigger's length would change
        // nothing but clear EchoOnce: the caller clears it instead of dispatching.
        ClearsEchoOnce,
        Dispatch,
    };
    Reach Reaches(const Card& card) const;
    // Whether a walk over play must hand the card the trigger; where it need not, it does what
    // handing it would have done.
    bool MustHandOut(const Card& card) const;
    // Whether the card waits to enter play at the trigger, which activates it.
    bool Enters(const Card& card) const;

    // Calls look(c) for each slot c of play from 1 to last, in order, until it answers false. On a
    // crowded board, the cards the trigger cannot reach are passed over unseen, and each run of
    // them is told to passOver(from, to), which does for them what looking at them would.
    template <class Look, class PassOver>
    void Walk(PlayList& play, int last, Look look, PassOver passOver) const {
        if (!play.IndexIfCrowded()) {
            for (int c = 1; c <= last && play.Has(c); ++c)
                if (!look(c)) return;
            return;
        }
        if (answering_ == 0) {
            answering_ = PlayIndex::Answering(trigger_);
            ofLength_ = PlayIndex::OfLength(trigger_.size());
        }
        for (int passed = 0;;) {
            const int c = play.NextToLook(answering_, passed + 1, last);
            const int to = c == 0 ? last : c - 1;
            if (passed < to) {
                CheckPassedOver(play, passed + 1, to);
                passOver(passed + 1, to);
            }
            if (c == 0 || !play.Has(c)) return;
            passed = c;
            ++looks_;
            if (!look(c)) return;
        }
    }
    // Cards the walks over indexed boards have looked at, since the program began.
    static long long Looks() { return looks_; }
    // Clears EchoOnce where a card from `from` to `to` of an indexed board would take up an effect
    // of the trigger's length and answer nothing. Given the slot of a paying card, only active
    // cards and that slot count, as in the walk over cost mods.
    void PassOver(int from, int to, int payer = -1) const;

  private:
    // In the tests, ends the program at a card passed over unseen that the walk would have
    // handed the trigger, or that would take it up unfound by the pass over.
    void CheckPassedOver(PlayList& play, int from, int to) const;

    std::string trigger_;
    bool cost_ = false;
    // The signs of the play index a walk asks for, taken when a walk first goes by the index.
    mutable uint64_t answering_ = 0;
    mutable uint64_t ofLength_ = 0;
    static inline long long looks_ = 0;
};
// The common form: every matching effect, real, no action text.
void RunActions(Card& card, const std::string& trigger);

// The card number in play an effect of card would be applied to, tried out on copies; 0 for none.
// outcome tells how the trial on the picked card ran (Applied or PartlyApplied).
int PickTarget(Card& card, int32_t effectNumber, int32_t& targetType, const std::string& actionText,
               RunResult& outcome);
int AIPickTarget(Card& card);
bool GetEffectRef(const std::string& text, const Value& word);
// Answers a "MENUACTION:" link of GetActionMenu2 (engine/pages/card_pages.h; the card view's link
// handler calls it): the chosen menu action of the card in play with that GID is Chosen and runs at
// its next trigger. False when the link names no menu action of a card in play.
bool ChooseMenuAction(const std::string& link);
void EffAddEffects();

}  // namespace dv
