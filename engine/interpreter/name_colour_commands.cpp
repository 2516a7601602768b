// The commands that rename and recolour cards and frame the effect's own echo.
#include <string>

#include "engine/interpreter/card_commands.h"
#include "engine/model/cards.h"
#include "engine/model/text_utils.h"
#include "engine/model/triggers.h"
#include "engine/pages/card_pages.h"

namespace dv {
namespace {

// An empty name frees the card's slot: a card of play that loses its name leaves play with its
// registrations.
void SetName(Card& card, const std::string& name) {
    const bool inPlay = InPlayCard(card.Index) == &card;
    card.Name = name;
    if (inPlay && name.empty()) UnregisterCard(card.Index);
}

void ChangeName(RunContext& run, Card& card) {
    const std::string name = FillPlaceholders(run, Arg(run, 1), 0);
    ++run.applied;
    if (!run.Preview()) SetName(card, name);
}

void ChangeTargetName(RunContext& run) {
    if (run.SkipRequirements()) return;
    ChangeName(run, run.target);
}

void ChangeMyName(RunContext& run) {
    ChangeName(run, run.source);
}

void Rename(RunContext& run, Card& card) {
    if (run.SkipRequirements() || run.Preview()) return;
    std::string name = FillPlaceholders(run, Arg(run, 1), 0);
    ReplaceAll(name, "\"", "");
    SetName(card, name);
}

void RenameMe(RunContext& run) {
    Rename(run, run.source);
}

void RenameTarget(RunContext& run) {
    Rename(run, run.target);
}

void FrameColor(RunContext& run) {
    if (run.SkipRequirements()) return;
    run.echoBackground = " bgcolor = " + Arg(run, 1);
    ++run.applied;
}

void ReverseColor(RunContext& run) {
    if (run.SkipRequirements()) return;
    run.echoSide = run.echoSide == 0 ? 1 : 0;
    ++run.applied;
}

void TargetColor(RunContext& run) {
    if (run.SkipRequirements()) return;
    run.echoSide = 2;
    ++run.applied;
}

void Recolor(RunContext& run, Card& card) {
    if (run.SkipRequirements() || run.Preview()) return;
    card.Colour = Arg(run, 1);
}

void RecolorMe(RunContext& run) {
    Recolor(run, run.source);
}

void RecolorTarget(RunContext& run) {
    Recolor(run, run.target);
}

}  // namespace

void RegisterNameColourCommands(CommandRegistry& commands) {
    commands.Add("CHANGENAME", ChangeTargetName);
    commands.Add("CHANGEMYNAME", ChangeMyName);
    commands.Add("RENAMEME", RenameMe);
    commands.Add("RENAMETARGET", RenameTarget);
    commands.Add("RENAME", RenameTarget);
    commands.Add("FRAMECOLOR", FrameColor);
    commands.Add("REVERSECOLOR", ReverseColor);
    commands.Add("TARGETCOLOR", TargetColor);
    commands.Add("RECOLORME", RecolorMe);
    commands.Add("RECOLORTARGET", RecolorTarget);
    commands.Add("RECOLOR", RecolorTarget);
}

}  // namespace dv
