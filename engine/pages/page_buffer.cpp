#include "engine/pages/page_buffer.h"

#include "engine/model/files.h"
#include "engine/model/guard.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "engine/pages/page_helpers.h"

namespace dv {
namespace {

constexpr const char* kBodyTag =
    "<body bgcolor=\"#000000\" text=\"#FFFFFF\" link=\"#99FF33\" alink=\"#00CC00\" "
    "vlink=\"#FFFF00\">";

// The search answers a bare "file://" for a name it found nowhere; that is no page.
bool IsNoLocation(const std::string& location) {
    return location.empty() || location == "file://";
}

enum class PageShown { NotFound, Refused, Shown };

// Shows the program folder's file of the page name's last component, else the first found on the
// picture search path, unless `allowed` (when given) refuses where that file lies.
PageShown ShowFoundPage(const std::string& viewer, const std::string& fileName,
                        bool (*allowed)(const fs::path&)) {
    PageShown result = PageShown::Shown;
    bool opened = false;
    std::string name = fileName;
    const uint8_t wasBusy = St().HtmlBusy;
    St().HtmlBusy = 1;
    Guarded("HTMLDisplay2", [&] {
        FileNameOf(name);
        std::string location;
        bool refused = false;
        if (!name.empty() && DataFileExists(St().ProgramFolder, name)) {
            const fs::path file = ResolveDataPath(St().ProgramFolder, name);
            location = file.generic_string();
            refused = allowed && !allowed(file);
        } else {
            // The search path finds no file outside the folders a shared file may name; that it
            // found one there is told apart, for the page's message.
            refused = allowed && SearchDataPath(name).refused;
            location = GetImagePath(name, 1, "");
        }
        if (refused) {
            result = PageShown::Refused;
        } else if (IsNoLocation(location)) {
            result = PageShown::NotFound;
        } else {
            TheHost().OpenURL(viewer, location);
            opened = true;
        }
    });
    St().HtmlBusy = wasBusy;
    if (opened && name == "Display.html") St().HTMLText.clear();
    return result;
}

}  // namespace

std::string PageLocation(const std::string& fileName) {
    return ProgramFolderText() + "/" + fileName;
}

void AddHTML(const std::string& text) {
    St().HTMLText += text;
}

bool CreateHTML(const std::string& fileName, const std::string& /*background*/) {
    const fs::path path = St().ProgramFolder / fileName;
    return GuardedFile("CreateHTML", path.string(), false, [&] {
        std::string& buffer = St().HTMLText;
        ReplaceAll(buffer, "\r\n", "<br>");
        const std::string page =
            "<HTML>\r\n" + std::string(kBodyTag) + "\r\n" + buffer + "\r\n</body></HTML>\r\n";
        // A page file is the program's own: a link in its place (from a shared archive) must
        // not carry the page onto a file elsewhere.
        const std::string reason =
            AtomicSave(path, page, Durability::Replaceable, LinkInPlace::Replace);
        if (!reason.empty()) throw RunFault(reason);
        return true;
    });
}

void HTMLDisplay(const std::string& fileName) {
    // A page shown while another waits to load must not reopen the board to clicks when it ends.
    const uint8_t wasBusy = St().HtmlBusy;
    St().HtmlBusy = 1;
    Guarded("HTMLDisplay", [&] { TheHost().OpenURL(kBoardViewer, PageLocation(fileName)); });
    St().HtmlBusy = wasBusy;
    St().HTMLText.clear();
}

bool HTMLDisplay2(const std::string& viewer, const std::string& fileName) {
    return ShowFoundPage(viewer, fileName, nullptr) != PageShown::NotFound;
}

void DisplayHelp(const std::string& pageName) {
    // A help link is page text from a shared file; an empty help window would say nothing.
    // Help pages are named by shared files, and both the page's name and the search path's
    // folders can be links.
    switch (ShowFoundPage(kHelpViewer, pageName, InsideProgramOrGameFolders)) {
        case PageShown::NotFound:
            TheHost().MessageBox("The help page \"" + pageName + "\" was not found.", "Duvenhall");
            return;
        case PageShown::Refused:
            TheHost().MessageBox("The help page \"" + pageName +
                                     "\" is not shown: it lies outside the program folder and "
                                     "the game folders.",
                                 "Duvenhall");
            return;
        case PageShown::Shown:
            break;
    }
    St().HelpRaise = 1;
    Guarded("DisplayHelp", [&] { TheHost().Call(WindowCall::ShowHelpWindow, ""); });
}

}  // namespace dv
