#pragma once
// The one seam through which the windows ask the user something: message, input and yes/no boxes,
// file and colour dialogs. The program installs Qt's dialogs; tests install a script, so no real
// modal dialog ever opens in a test. A cancelled dialog is told apart from an empty answer.

#include <cstdint>
#include <optional>
#include <string>

namespace dv::ui {

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    virtual void Message(const std::string& text, const std::string& title) = 0;
    // The typed text, possibly empty; nullopt when the user cancels.
    virtual std::optional<std::string> Input(const std::string& prompt, const std::string& title,
                                             const std::string& defaultText) = 0;
    virtual bool YesNo(const std::string& question, const std::string& title) = 0;
    // File dialogs: `filter` is "Label (*.txt *.TXT);;All files (*)"; the answer is a full path,
    // nullopt when cancelled.
    virtual std::optional<std::string> OpenFile(const std::string& title, const std::string& folder,
                                                const std::string& filter) = 0;
    // `defaultExtension` ("txt", without the dot) is added to a typed name that has none before
    // the dialog asks whether an existing file may be replaced: the question is about the file
    // that will be written, and an answer is always a file the user agreed to write.
    virtual std::optional<std::string> SaveFile(const std::string& title, const std::string& folder,
                                                const std::string& suggestedName,
                                                const std::string& filter,
                                                const std::string& defaultExtension) = 0;
    // A colour as 0x00BBGGRR (red in the low byte), nullopt when cancelled.
    virtual std::optional<uint32_t> Colour(uint32_t initial) = 0;
};

// The installed dialogs; until one is installed every dialog is cancelled and messages vanish.
Dialogs& TheDialogs();
// Passing nullptr restores the silent dialogs.
void SetDialogs(Dialogs* dialogs);

}  // namespace dv::ui
