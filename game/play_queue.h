#pragma once
// The human player's queue of plays: up to ten hand cards, each with its target, played in order
// at the end of the turn; and the queued-plays page that shows it.

namespace dv {

// Slots of the queue (ActionCards, ActionTargets and ActionTargetGIDs, numbered from 1).
inline constexpr int kQueueSlots = 10;
// The target that marks a queued discard.
inline constexpr int kDiscardTarget = -1;

// Toggles hand card `card` (an index into Players(1).Hand) into or out of the queue.
void AddAction(int card, int target);
// Closes the gap a removal leaves, keeping the order of the queued plays.
void SortActions();
// Shows the queued plays and the chosen menu actions in the queued-plays view.
void DisplayActionList();

// Empties the queue and its pending target choice.
void ClearActions();
// Sets the target of a queued slot (a card click answering ChoiceSlot); nothing for a free slot.
void SetActionTarget(int slot, int target);
// The target of a queued slot as it stands now: its InPlay index while the card chosen still
// holds that slot, kDiscardTarget for a discard, 0 for none or for a target that has left play.
int QueuedTarget(int slot);
// Drops every queued target that has left play, also from the hand card's preset target.
void DropStaleTargets();

}  // namespace dv
