#pragma once
// What a save of the player's data hands back. Each save comes in two forms: one that returns
// this, so that a window can show the reason its own way and a test can read it, and the plain
// bool form, which shows the reason through the host, as every save always has.

#include <string>

namespace dv {

struct SaveResult {
    // Empty when the file was written, or when there was nothing to write. Otherwise the message
    // that says why not, naming the file, with the system's words for a failed write.
    std::string reason;
    // Whether the reason is still to be shown: not when the guard has shown an error already,
    // nor when the save was not tried for want of a game.
    bool toShow = true;
    // Not written on purpose (debug mode, a card test): the bool form keeps quiet about it, as the
    // saves the program makes on its own do then, but a save the player asked for tells why.
    bool skipped = false;

    bool Saved() const { return reason.empty(); }
};

// Where the name of a file to save comes from. A name from data or typed text is held to the
// program folder (a shared file must not lead a save elsewhere); a file the player chose in a file
// dialog is the player's own choice and is saved where it points.
enum class PathOrigin { Named, Chosen };

inline SaveResult NotSaved(std::string reason, bool toShow = true) {
    return {std::move(reason), toShow};
}

inline SaveResult SkippedSave(std::string reason) {
    return {std::move(reason), false, true};
}

// The bool form: shows a reason still to be shown through the host; true when saved.
bool ShowUnsaved(const SaveResult& result);

}  // namespace dv
