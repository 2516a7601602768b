#include "ui/designer/picker_commands.h"

#include <array>
#include <string_view>
#include <utility>

#include "engine/model/text_utils.h"
#include "ui/common/dialogs.h"

namespace dv::ui {
namespace {

// The questions. "VALBOX:" asks for an amount in the value generator, so that it can be a value
// expression; names, words, texts and colours are typed in an input box.
constexpr std::string_view Q1 = "What trait shall this action have?";
constexpr std::string_view Q2 = "What value should this trait be set to?";
constexpr std::string_view Q3 = "What trait should the action require?";
constexpr std::string_view Q4 = "VALBOX:What is the minimum for this trait?";
constexpr std::string_view Q5 = "VALBOX:What is the maximum for this trait?";
constexpr std::string_view Q6 = "VALBOX:What is the required value?";
constexpr std::string_view Q7 = "What is the required value?";
constexpr std::string_view Q8 = "What should the target be named?";
constexpr std::string_view Q9 = "What must this card be named?";
constexpr std::string_view Q10 = "Which trait?";
constexpr std::string_view Q11 = "VALBOX:What is the percentage chance (1-100)?";
constexpr std::string_view Q12 = "VALBOX:What is the first value?";
constexpr std::string_view Q13 = "VALBOX:What is the second value?";
constexpr std::string_view Q14 = "VALBOX:How many cards?";
constexpr std::string_view Q15 = "What trigger should this action use?  (PHASE#, ENTERSPLAY, etc.)";
constexpr std::string_view Q16 =
    "What target type should this action use? (ALL, TARGETCARD, RANDOMENEMY etc.)";
constexpr std::string_view Q17 = "VALBOX:Amount to add to the trait? (This can be negative)";
constexpr std::string_view Q18 = "VALBOX:Amount to subtract from the trait?";
constexpr std::string_view Q19 = "VALBOX:New value for the trait?";
constexpr std::string_view Q20 = "What is the name of the card to be created?";
constexpr std::string_view Q21 =
    "What target type shall the action target? (triggeringcard, RANDOMENEMY, RANDOMALLY, "
    "TARGETCARD etc.)";
constexpr std::string_view Q22 = "VALBOX:How many times shall the action repeat?";
constexpr std::string_view Q23 = "VALBOX:How many times should the card be duplicated?";
constexpr std::string_view Q24 = "VALBOX:How much should be added?";
constexpr std::string_view Q25 = "VALBOX:What shall the new value be?";
constexpr std::string_view Q26 = "What trait should the action now target?";
constexpr std::string_view Q27 = "VALBOX:What is the global ID of the new card?";
constexpr std::string_view Q28 =
    "What shall the message say?\r\n(The following special strings are available: $MYNAME, "
    "$TARGETNAME, $AMT, #TRAIT/traitname#, #MYTRAIT/traitname#, $OWNER, $MYOWNER, $MYIMG, "
    "$TARGETIMG, $EFFSTR, #CARD/globalID#, #TRANSVAL/transval string#, #IMG/image file#)";
constexpr std::string_view Q29 = "New color (In HTML/hex, i.e. AA0000, 33FF00 etc.)?";
// A created card is looked up by name in a card file, which the command names after the name.
constexpr std::string_view Q30 = "Which card file holds the card?";
constexpr std::string_view None = "";

struct Entry {
    std::string_view command;
    std::string_view prompt1;
    std::string_view prompt2;
    std::string_view label;
    std::string_view description;
};

// Each command is written the way the card language reads it: the keyword and exactly the
// fields the compiler takes for it, so that the next row's command stays a command.
constexpr std::array<Entry, kPickerEntries> kEntries = {{
    {"TRAIT:AMT1:AMT2", Q1, Q2, "Action Trait: Give a certain trait to this action.",
     "This action is considered to have a $AMT1 trait of $AMT2."},
    {"REQNOTME", None, None, "Target Requirement: I cannot target myself with this action.",
     "Target must be a different card."},
    {"REQALLY", None, None, "Target Requirement: Target must be an ally.",
     "Target card must be an ally."},
    {"REQENEMY", None, None, "Target Requirement: Target must be an enemy.",
     "Target card must be an enemy."},
    {"REQTRAIT:AMT1", Q3, None, "Target Requirement: Target must have a specific trait.",
     "Target card must have the $AMT1 trait."},
    {"REQNOTRAIT:AMT1", Q3, None, "Target Requirement: Target must NOT have a specific trait.",
     "Target card must NOT have the $AMT1 trait."},
    {"REQTRAITMORE:AMT1:AMT2", Q3, Q4,
     "Target Requirement: Target must have a trait of more than a certain amount.",
     "Target must have a $AMT1 of $AMT2 or more."},
    {"REQTRAITLESS:AMT1:AMT2", Q3, Q5,
     "Target Requirement: Target must have a trait of less than a certain amount.",
     "Target must have a $AMT1 of $AMT2 or less."},
    {"REQTRAITEQUALS:AMT1:AMT2", Q3, Q6,
     "Target Requirement: Target must have a trait with a specific value.",
     "Target must have a $AMT1 of $AMT2."},
    {"REQTRAITIS:AMT1:AMT2", Q3, Q7,
     "Target Requirement: Target must have a trait matching an exact string.",
     "Target must have a $AMT1 of $AMT2."},
    {"REQNAME:AMT1", Q8, None, "Target Requirement: Target must have a specific name.",
     "Target must be named $AMT1."},
    {"REQOWNERTRAITMORE:AMT1:AMT2", Q3, Q4,
     "Target Requirement: Target's owner must have a trait of more than a certain amount.",
     "Target's owner must have a $AMT1 of $AMT2 or more."},
    {"REQOWNERTRAITLESS:AMT1:AMT2", Q3, Q5,
     "Target Requirement: Target's owner must have a trait of less than a certain amount.",
     "Target's owner must have a $AMT1 of $AMT2 or less."},
    {"REQOWNERTRAITEQUALS:AMT1:AMT2", Q3, Q6,
     "Target Requirement: Target's owner must have a trait with a specific value.",
     "Target's owner must have a $AMT1 of $AMT2."},
    // The language has no keyword for this; the target is the acting card when their global
    // identifiers are equal.
    {"REQEQUALS:TARGETGID:MYGID", None, None, "Target Requirement: The target must be me.",
     "Target must be the acting card."},
    {"REQNOTME", None, None, "Target Requirement: The target must not be me.",
     "Target must be a different card."},
    {"REQMYTRAIT:AMT1", Q3, None, "My Requirement: I must have a specific trait.",
     "I must have the $AMT1 trait."},
    {"REQMYNOTRAIT:AMT1", Q3, None, "My Requirement: I must NOT have a specific trait.",
     "I card must NOT have the $AMT1 trait."},
    {"REQMYTRAITMORE:AMT1:AMT2", Q3, Q4,
     "My Requirement: I must have a trait of more than a certain amount.",
     "I must have a $AMT1 of $AMT2 or more."},
    {"REQMYTRAITLESS:AMT1:AMT2", Q3, Q5,
     "My Requirement: I must have a trait of less than a certain amount.",
     "I must have a $AMT1 of $AMT2 or less."},
    {"REQMYTRAITEQUALS:AMT1:AMT2", Q3, Q6,
     "My Requirement: I must have a trait with a specific value.", "I must have a $AMT1 of $AMT2."},
    {"REQMYTRAITIS:AMT1:AMT2", Q3, Q7,
     "My Requirement: I must have a trait matching an exact string.",
     "I must have a $AMT1 of $AMT2."},
    {"REQMYNAME:AMT1", Q9, None, "My Requirement: I must have a specific name.",
     "I must be named $AMT1."},
    {"REQMYOWNERTRAITMORE:AMT1:AMT2", Q3, Q4,
     "My Requirement: My owner must have a trait of more than a certain amount.",
     "I must have a $AMT1 of $AMT2 or more."},
    {"REQMYOWNERTRAITLESS:AMT1:AMT2", Q3, Q5,
     "My Requirement: My owner must have a trait of less than a certain amount.",
     "I must have a $AMT1 of $AMT2 or less."},
    {"REQMYOWNERTRAITEQUALS:AMT1:AMT2", Q3, Q6,
     "My Requirement: My owner must have a trait with a specific value.",
     "I must have a $AMT1 of $AMT2."},
    {"REQTRAITTARGET:AMT1", Q10, None,
     "TARGETED Requirement: Incoming action must reference a specific trait.",
     "Incoming action must reference the $AMT1 trait."},
    {"REQNOTRAITTARGET:AMT1", Q10, None,
     "TARGETED Requirement: Incoming action must NOT reference a specific trait.",
     "Incoming action must not reference the $AMT1 trait."},
    {"TARGETREQUIREMENTS", None, None,
     "INTERCEPT Requirement: The commands following this one affect the card I am protecting, "
     "not the card I am intercepting.",
     "The commands following this one affect the card I am protecting, not the card I am "
     "intercepting."},
    {"REQTRAITTARGET:AMT1", Q10, None,
     "MYACTION Requirement: Outgoing action must reference a specific trait.",
     "Outgoing action must reference the $AMT1 trait."},
    {"REQNOTRAITTARGET:AMT1", Q10, None,
     "MYACTION Requirement: Outgoing action must NOT reference a specific trait.",
     "Outgoing action must not reference the $AMT1 trait."},
    {"REQVALLESS:AMT1", Q6, None,
     "BEFORETRAITCHANGE Requirement: Incoming value must be less than a certain amount.",
     "Incoming value must be $AMT1 or less."},
    {"REQVALEQUALS:AMT1", Q6, None,
     "BEFORETRAITCHANGE Requirement: Incoming value must be equal to a certain amount.",
     "Incoming value must equal $AMT1."},
    {"REQVALMORE:AMT1", Q6, None,
     "BEFORETRAITCHANGE Requirement: Incoming value must be more than a certain amount.",
     "Incoming value must be $AMT1 or more."},
    {"REQFROMALLY", None, None,
     "BEFORETRAITCHANGE, TARGETED, INTERCEPT or TRAITCHANGE Requirement: The card that is "
     "targeting me must be my ally.",
     "The card that is targeting me must be my ally."},
    {"REQFROMENEMY", None, None,
     "BEFORETRAITCHANGE, TARGETED, INTERCEPT or TRAITCHANGE Requirement: The card that is "
     "targeting me must be my enemy.",
     "The card that is targeting me must be my enemy."},
    {"CHANCE:AMT1", Q11, None,
     "General Requirement: Percentage chance of continuing past this point.",
     "This action has a $AMT1% chance of continuing from here."},
    {"ONECHANCE:AMT1", Q11, None,
     "General Requirement: Percentage chance of continuing, but will only roll once for all "
     "target cards.",
     "This action has a $AMT1% chance of continuing.  All targets of this effect use the same "
     "result."},
    {"REQISMORE:AMT1:AMT2", Q12, Q13,
     "General Requirement: A certain value has to be equal to or higher than another.",
     "$AMT1 must equal $AMT2 or more."},
    {"REQISLESS:AMT1:AMT2", Q12, Q13,
     "General Requirement: A certain value has to be equal to or less than another.",
     "$AMT1 must equal $AMT2 or less."},
    {"REQEQUALS:AMT1:AMT2", Q12, Q13, "General Requirement: Two values have to be equal.",
     "$AMT1 must be equal to $AMT2."},
    {"DRAWCARDS:AMT1", Q14, None, "Effect: Target's owner draws cards.",
     "Target's owner draws up to $AMT1 cards."},
    {"REMOVETRAIT:AMT1", Q10, None, "Effect: Remove a trait from the target.",
     "Target loses it's $AMT1 trait."},
    {"ADDEFFECT:AMT1:AMT2", Q15, Q16, "Effect: Add a new action to the target card.",
     "All effects after this one are added to the target card as a new action."},
    {"DESTROY", None, None, "Effect: Destroy target card.", "Target card is destroyed."},
    {"DESTROYME", None, None, "Effect: Destroy me.", "I am destroyed."},
    {"MODTRAIT:AMT1:AMT2", Q10, Q17, "Effect: Add to a trait in the target.",
     "Target adds $AMT2 to it's $AMT1 trait."},
    {"SUBTRAIT:AMT1:AMT2", Q10, Q18, "Effect: Reduce a trait in the target.",
     "Target subtracts $AMT2 from it's $AMT1 trait."},
    {"SETTRAIT:AMT1:AMT2", Q10, Q19, "Effect: Set one of the target's traits to a specific value.",
     "Target's $AMT1 is set to $AMT2."},
    {"MODMYTRAIT:AMT1:AMT2", Q10, Q17, "Effect: Add to a trait in me.",
     "I add $AMT2 to my $AMT1 trait."},
    {"SUBMYTRAIT:AMT1:AMT2", Q10, Q18, "Effect: Reduce a trait in me.",
     "I subtract $AMT2 from my $AMT1 trait."},
    {"SETMYTRAIT:AMT1:AMT2", Q10, Q19, "Effect: Set one of my traits to a specific value.",
     "Target's $AMT1 is set to $AMT2."},
    // The command reads an amount, the card's name and the card file that holds it.
    {"CREATECARD:1:AMT1:AMT2", Q20, Q30,
     "Effect: Create a new card under the control of the target's owner.",
     "Create a $AMT1 card for the target's owner."},
    {"REPEAT:AMT1:AMT2", Q21, Q22, "Effect: Repeat this effect a specified number of times.",
     "Repeat the action against $AMT1 $AMT2 times."},
    // Paying for the copies is a keyword of its own; a third field would be read as a command.
    {"DUPLICATE:AMT1", Q23, None, "Effect: Duplicate the target card for free.",
     "Duplicate the target card $AMT1 times."},
    {"DUPLICATEWITHCOST:AMT1", Q23, None,
     "Effect: Duplicate the target card if the owner can pay for it again.",
     "Duplicate the target card $AMT1 times, with costs."},
    {"DUPLICATEME:AMT1", Q23, None, "Effect: Duplicate me for free.",
     "Duplicate the acting card $AMT1 times."},
    {"DUPLICATEMEWITHCOST:AMT1", Q23, None,
     "Effect: Duplicate me if the owner can pay for me again.",
     "Duplicate the acting card $AMT1 times, with costs."},
    {"RETURNMETOHAND", None, None, "Effect: Return me to my owner's hand.",
     "Return me to my owner's hand. (Warning: Do not put any commands that affect this card "
     "after this one.  It will no longer be in play.)"},
    {"RETURNTOHAND", None, None, "Effect: Return target card to it's owner's hand.",
     "Return target card to it's owner's hand.   (Warning: Do not put any commands that affect "
     "the target card after this one.  It will no longer be in play.)"},
    {"SETCARDTARGET", None, None,
     "Effect: Make the target card the default target for the rest of my actions, when possible.",
     "Target card becomes my preferred target."},
    {"SETCARDTARGET", None, None,
     "Effect: Make the target card the default target for the rest of my actions, when possible.",
     "Target card becomes my preferred target."},
    {"DEFECT", None, None, "Effect: Make the target card join the opposite player.",
     "Target card joins the enemy."},
    {"MINDCONTROL", None, None, "Effect: Make the target card join my team.",
     "Target card joins my team."},
    {"MINDCONTROLME", None, None, "Effect: Make me join the target's team.",
     "I join the target's team."},
    {"WINGAME", None, None, "Effect: My owner wins the game.", "My owner wins the game."},
    {"LOSEGAME", None, None, "Effect: My owner loses the game.", "My owner loses the game."},
    {"TRAITCOMMAND:AMT1", Q10, None, "Effect: Run an action script defined by one of my traits.",
     "Run the action script defined in my $AMT1 trait."},
    {"TARGTRAITCOMMAND:AMT1", Q10, None,
     "Effect: Run an action script defined by one of my target's traits.",
     "Run the action script defined in the target's $AMT1 trait."},
    {"CANCEL", None, None, "Counter Effect: Cancel the rest of the incoming action.",
     "Cancel the rest of the incoming action."},
    {"MODVAL:AMT1", Q24, None, "BEFORETRAITCHANGE Effect: Modify the incoming value.",
     "Add $AMT1 to the current value."},
    {"SETVAL:AMT1", Q25, None,
     "BEFORETRAITCHANGE Effect: Change the incoming value to a specific amount.",
     "Change the current value to $AMT1."},
    {"REDIRECTTRAIT:AMT1", Q26, None,
     "BEFORETRAITCHANGE Effect: Change which trait is being altered.  (Only works if change is "
     "negative)",
     "Change the targeted trait to $AMT1."},
    {"RETARGET:AMT1", Q21, None, "Target Redirect: Target a different card by target type.",
     "Target a new card of target type $AMT1."},
    {"RETARGETBYGID:AMT1", Q27, None, "Target Redirect: Target a specific card by it's Global ID.",
     "Target the card with the global ID $AMT1."},
    // A card in play keeps the global identifier of the collection card it was dealt from.
    {"RETARGETCOLLECTION:TARGETGID", None, None,
     "Target Redirect: Target the corresponding card in the player's collection.  (Warning: This "
     "makes all further effects permanent.)",
     "This action will affect the card permanently."},
    // What follows the command is the requirement script the new target must meet.
    {"REDIRECT", None, None, "TARGETED Redirect: Redirect the action to another target.",
     "Redirect the incoming action to any card that meets all the requirements after this "
     "action.  (All requirements after this action will apply to that card)"},
    {"REDIRECTBYGID:AMT1", Q27, None, "TARGETED Redirect: Redirect the action to a specific card.",
     "Redirect the incoming action to the card with the global ID $AMT1."},
    {"ECHO:AMT1", Q28, None, "Display: Display text on the screen with the card's picture.",
     "Action displays \"$AMT1\" to the user."},
    {"ECHOMINOR:AMT1", Q28, None,
     "Display: Display text on the screen with no card pictures or description overrides.",
     "Action displays \"$AMT1\" to the user."},
    {"ECHOONCE:AMT1", Q28, None,
     "Display: Display text on the screen, but only once regardless of how many times the action "
     "runs.",
     "Action displays \"$AMT1\" to the user once, regardless of how many cards are targeted."},
    {"TARGETCOLOR", None, None, "Display: Use the target's colors instead of mine.",
     "Use the target's text color."},
    {"REVERSECOLOR", None, None, "Display: Use the enemy player's colors instead of mine.",
     "Use the enemy's text color."},
    {"FRAMECOLOR:AMT1", Q29, None, "Display: Use a specific frame color.",
     "Set frame color to $AMT1."},
}};

std::string Text(std::string_view text) {
    return std::string(text);
}

// The answer to one question: "VALBOX:" ones through the value generator with the text after it,
// the others in an input box without a title or a default answer.
std::string Ask(std::string& prompt, const ValboxAsk& valbox) {
    std::string answer;
    if (GetField(prompt, 1, ":") == "VALBOX") {
        answer = valbox(GetField(prompt, 2, ":"));
        prompt.clear();
    }
    if (!prompt.empty()) answer = TheDialogs().Input(prompt, "", "").value_or("");
    return answer;
}

}  // namespace

const std::vector<PickerCommand>& PickerCommands() {
    static const std::vector<PickerCommand> commands = [] {
        std::vector<PickerCommand> filled;
        for (const Entry& e : kEntries) {
            PickerCommand entry;
            entry.Label = Text(e.label);
            entry.Description = Text(e.description);
            entry.Prompt1 = Text(e.prompt1);
            entry.Prompt2 = Text(e.prompt2);
            entry.Command = Text(e.command);
            filled.push_back(std::move(entry));
        }
        return filled;
    }();
    return commands;
}

const std::vector<std::string>& PickerLabels() {
    static const std::vector<std::string> labels = [] {
        std::vector<std::string> all;
        for (const PickerCommand& c : PickerCommands())
            all.push_back(c.Label);
        return all;
    }();
    return labels;
}

void FillCommand(PickerCommand& target, const PickerCommand& entry, const ValboxAsk* valbox) {
    target.Label = entry.Label;
    target.Description = entry.Description;
    target.Prompt1 = entry.Prompt1;
    target.Prompt2 = entry.Prompt2;
    target.Command = entry.Command;
    // A row's answers belong to the entry chosen now, never to the one chosen before it.
    target.Amt1.clear();
    target.Amt2.clear();
    if (!valbox) return;

    target.Amt1 = Ask(target.Prompt1, *valbox);
    target.Amt2 = Ask(target.Prompt2, *valbox);
    target.Description = ReplaceAnswerMarks(target.Description, target.Amt1, target.Amt2, false);
    target.Command = ReplaceAnswerMarks(target.Command, target.Amt1, target.Amt2, true);
}

std::string ReplaceAnswerMarks(const std::string& text, const std::string& amt1,
                               const std::string& amt2, bool plainMarks) {
    struct Mark {
        std::string_view mark;
        const std::string& answer;
        bool plain;
    };
    // "$AMT1" before "AMT1", so a "$" mark loses its "$" together with the mark.
    const Mark marks[] = {
        {"$AMT1", amt1, false}, {"$AMT2", amt2, false}, {"AMT1", amt1, true}, {"AMT2", amt2, true}};
    std::string out;
    const std::string_view rest(text);
    std::size_t i = 0;
    while (i < rest.size()) {
        const Mark* found = nullptr;
        for (const Mark& m : marks) {
            if ((plainMarks || !m.plain) && rest.substr(i, m.mark.size()) == m.mark) {
                found = &m;
                break;
            }
        }
        if (found) {
            out += found->answer;
            i += found->mark.size();
        } else {
            out += rest[i++];
        }
    }
    return out;
}

}  // namespace dv::ui
