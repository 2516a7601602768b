#pragma once
// The page buffer, the page files of the program folder and showing them in a viewer.

#include <string>

namespace dv {

// Names of the viewers a page can be shown in.
inline constexpr const char* kBoardViewer = "ulkBrowser1";
inline constexpr const char* kCardViewer = "CardDescULK";
inline constexpr const char* kQueueViewer = "InPlayulk";
inline constexpr const char* kDeckViewer = "Deckulk";
inline constexpr const char* kHelpViewer = "Helpulk";

void AddHTML(const std::string& text);
// Returns false (and has reported why) when the page file could not be written.
bool CreateHTML(const std::string& fileName, const std::string& background);
void HTMLDisplay(const std::string& fileName);
// Shows a page file of the program folder, or one found on the picture search path, in a viewer;
// false when the page is found nowhere (nothing is shown then).
bool HTMLDisplay2(const std::string& viewer, const std::string& fileName);
// Shows a help page in the help window; a page found nowhere, or one that lies outside the program
// folder and the game folders once links are followed, is said so instead.
void DisplayHelp(const std::string& pageName);

}  // namespace dv
