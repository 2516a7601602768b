#include "engine/pages/page_buffer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "engine/model/files.h"
#include "engine/model/state.h"
#include "tests/engine/pages/pages_fixture.h"

namespace dv {
namespace {

using PageBufferTest = test::PagesTest;

const std::string kHead =
    "<HTML>\r\n<body bgcolor=\"#000000\" text=\"#FFFFFF\" link=\"#99FF33\" alink=\"#00CC00\" "
    "vlink=\"#FFFF00\">\r\n";
const std::string kTail = "\r\n</body></HTML>\r\n";

std::string PageFile(const std::string& name) {
    return ReadWholeFile(St().ProgramFolder / name).value_or("(no file)");
}

TEST_F(PageBufferTest, PageFileWrapsTheBufferInFixedLines) {
    struct Row {
        const char* buffer;
        const char* background;
    };
    const Row rows[] = {{"", "#000000"}, {"<p>x</p>", "#000000"}, {"a\nb\rc", "#123456"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.buffer);
        St().HTMLText.clear();
        AddHTML(r.buffer);
        ASSERT_TRUE(CreateHTML("Display.html", r.background));
        EXPECT_EQ(PageFile("Display.html"), kHead + r.buffer + kTail);
        EXPECT_EQ(St().HTMLText, r.buffer) << "writing does not empty the buffer";
    }
}

TEST_F(PageBufferTest, LineBreaksInTheBufferBecomeBreakTagsInFileAndBuffer) {
    AddHTML("a\r\nb");
    AddHTML("\r\nc");
    ASSERT_TRUE(CreateHTML("Display.html", "#000000"));
    ASSERT_TRUE(CreateHTML("LastDiplayed.html", "#000000"));
    EXPECT_EQ(PageFile("Display.html"), kHead + "a<br>b<br>c" + kTail);
    EXPECT_EQ(PageFile("LastDiplayed.html"), PageFile("Display.html"));
    EXPECT_EQ(St().HTMLText, "a<br>b<br>c");
}

TEST_F(PageBufferTest, AFailedPageWriteIsReportedAndNotTakenForSuccess) {
    WriteFile("Display.html", "old page");
    St().ProgramFolder = Folder() / "no-such-folder";
    AddHTML("new");
    EXPECT_FALSE(CreateHTML("Display.html", "#000000"));
    const std::string folder = (Folder() / "no-such-folder").string();
    EXPECT_EQ(host.CountMessages("Error in CreateHTML: " + folder +
                                 "/Display.html: cannot create "
                                 "a file in " +
                                 folder + ": No such file or directory"),
              1)
        << "the path and the system's reason";
    EXPECT_EQ(*ReadWholeFile(Folder() / "Display.html"), "old page");
}

TEST_F(PageBufferTest, BoardPageIsShownByPlainPathWhileBusyAndEmptiesTheBuffer) {
    std::vector<int> busyWhileShowing;
    host.onPageLoad = [&](const std::string&, const std::string&) {
        busyWhileShowing.push_back(St().HtmlBusy);
    };
    AddHTML("turn report");
    HTMLDisplay("Display.html");
    ASSERT_EQ(host.pages.size(), 1u);
    EXPECT_EQ(host.pages[0].viewer, kBoardViewer);
    EXPECT_EQ(host.pages[0].location, Folder().generic_string() + "/Display.html");
    EXPECT_EQ(busyWhileShowing, std::vector<int>{1});
    EXPECT_EQ(St().HtmlBusy, 0);
    EXPECT_EQ(St().HTMLText, "");
}

TEST_F(PageBufferTest, ARefusingViewerStillClearsBusyAndBuffer) {
    host.onPageLoad = [](const std::string&, const std::string&) {
        throw std::runtime_error("viewer refused");
    };
    WriteFile("CardDesc.html", "x");
    AddHTML("report");
    HTMLDisplay("Display.html");
    EXPECT_EQ(host.CountMessages("Error in HTMLDisplay"), 1);
    EXPECT_EQ(St().HtmlBusy, 0);
    EXPECT_EQ(St().HTMLText, "");
    HTMLDisplay2(kCardViewer, "CardDesc.html");
    EXPECT_EQ(host.CountMessages("Error in HTMLDisplay2"), 1);
    EXPECT_EQ(St().HtmlBusy, 0);
    EXPECT_TRUE(host.pages.empty());
}

// A viewer that shows a second page while the first one loads, as a click handled during the
// wait does.
TEST_F(PageBufferTest, APageShownDuringAnotherLoadLeavesTheBoardBusyUntilTheOuterEnds) {
    WriteFile("CardDesc.html", "card");
    std::vector<int> busyWhileShowing;
    std::vector<int> busyAfterInner;
    int depth = 0;
    host.onPageLoad = [&](const std::string&, const std::string&) {
        busyWhileShowing.push_back(St().HtmlBusy);
        if (depth++ == 0) HTMLDisplay2(kCardViewer, "CardDesc.html");
        busyAfterInner.push_back(St().HtmlBusy);
    };
    HTMLDisplay("Display.html");
    EXPECT_EQ(busyWhileShowing, (std::vector<int>{1, 1}));
    // The inner page's end ran first, then the outer page's: the outer was still busy after it.
    EXPECT_EQ(busyAfterInner, (std::vector<int>{1, 1}));
    EXPECT_EQ(St().HtmlBusy, 0);
}

TEST_F(PageBufferTest, PagesOfTheProgramFolderShowInTheirViewerAndOnlyDisplayEmptiesTheBuffer) {
    WriteFile("CardDesc.html", "card");
    WriteFile("Display.html", "board");
    struct Row {
        const char* name;
        const char* shownFile;  // empty: nothing shown
        bool emptiesBuffer;
    };
    const Row rows[] = {
        {"CardDesc.html", "CardDesc.html", false},
        {"Display.html", "Display.html", true},
        {"display.html", "Display.html", false},
        {"Missing.html", "", false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        host.pages.clear();
        St().HTMLText = "kept";
        HTMLDisplay2(kCardViewer, r.name);
        if (*r.shownFile) {
            ASSERT_EQ(host.pages.size(), 1u);
            EXPECT_EQ(host.pages[0].viewer, kCardViewer);
            EXPECT_EQ(host.pages[0].location, Folder().generic_string() + "/" + r.shownFile);
        } else {
            EXPECT_TRUE(host.pages.empty()) << "a page found nowhere shows nothing";
        }
        EXPECT_EQ(St().HTMLText, r.emptiesBuffer ? "" : "kept");
        EXPECT_EQ(St().HtmlBusy, 0);
    }
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(PageBufferTest, PagesAreLookedUpByTheirLastNameComponentOrFoundBelow) {
    WriteFile("CardDesc.html", "card");
    WriteFile("help/deep/Rules.html", "rules");
    HTMLDisplay2(kCardViewer, "sub\\CardDesc.html");
    HTMLDisplay2(kHelpViewer, "Rules.html");
    ASSERT_EQ(host.pages.size(), 2u);
    EXPECT_EQ(host.pages[0].location, Folder().generic_string() + "/CardDesc.html");
    EXPECT_NE(host.pages[1].location.find("help/deep/Rules.html"), std::string::npos);
}

TEST_F(PageBufferTest, HelpPageRaisesTheHelpWindow) {
    WriteFile("MainHelp.html", "help");
    DisplayHelp("MainHelp.html");
    ASSERT_EQ(host.pages.size(), 1u);
    EXPECT_EQ(host.pages[0].viewer, kHelpViewer);
    EXPECT_EQ(host.calls, std::vector<std::string>{"ShowHelpWindow"});
    EXPECT_EQ(St().HelpRaise, 1);
}

// MosslightHelp.html as a link to /etc/passwd showed that file in the help window, and a page
// found through a folder link out of the program folder showed as well. A link that stays inside,
// or leads into a game's folder, shows as ever.
TEST_F(PageBufferTest, AHelpPageLinkedOutOfTheFoldersIsNotShownAndSaysWhy) {
    namespace fs = std::filesystem;
    const fs::path program = Folder() / "program";
    St().ProgramFolder = St().CurrentFolder = program;
    WriteFile("elsewhere/Away.html", "away");
    WriteFile("elsewhere/deep/Deep.html", "deep");
    WriteFile("program/help/Rules.html", "rules");
    WriteFile("mossgame/MossHelp.html", "moss");
    fs::create_symlink(Folder() / "elsewhere/Away.html", program / "Away.html");
    fs::create_symlink(Folder() / "elsewhere/deep", program / "deep");
    fs::create_symlink(program / "help/Rules.html", program / "Linked.html");
    fs::create_symlink(Folder() / "mossgame", program / "Moss");
    St().Games = List<GameInfo>(1);
    St().Games[1].Folder = "Moss";

    const std::pair<const char*, bool> rows[] = {
        {"Away.html", false}, {"Deep.html", false}, {"Linked.html", true}, {"MossHelp.html", true}};
    for (const auto& [page, shown] : rows) {
        SCOPED_TRACE(page);
        host.messages.clear();
        host.pages.clear();
        host.calls.clear();
        DisplayHelp(page);
        const std::string refused = "The help page \"" + std::string(page) +
                                    "\" is not shown: it lies outside the program folder and the "
                                    "game folders.";
        EXPECT_EQ(host.messages, std::vector<std::string>(shown ? 0 : 1, refused));
        EXPECT_EQ(host.pages.size(), shown ? 1u : 0u);
        EXPECT_EQ(host.calls.size(), shown ? 1u : 0u) << "the help window raised";
    }
}

}  // namespace
}  // namespace dv
