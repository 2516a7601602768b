#pragma once
// A card file that includes others is saved with only its own cards: what is changed in a card of
// an included file cannot be written there, and the author hears so before a save.

namespace dv::ui {

// Whether a save of the designer's card file may go on: when cards of the files it includes were
// changed, the author is asked first whether to save without those changes; "No" saves nothing.
bool SaveLeavingIncludedChanges();

}  // namespace dv::ui
