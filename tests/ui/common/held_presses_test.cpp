#include "ui/common/held_presses.h"

#include <gtest/gtest.h>

#include <string>

namespace dv::ui {
namespace {

// Presses made while a page loads run once it has loaded, in the order they were made; a held
// press that waits for a page of its own holds the presses made meanwhile behind the others,
// rather than running them inside its wait or ahead of those made before.
TEST(HeldPressesTest, PressesDuringAWaitRunAfterItInTheOrderMade) {
    HeldPresses presses;
    std::string ran;
    auto press = [&](char name) { presses.Run([&ran, name] { ran += name; }); };
    presses.Wait([&] {
        press('a');
        presses.Run([&] {
            ran += 'b';
            presses.Wait([&] { press('d'); });
            ran += 'B';
        });
        press('c');
        EXPECT_EQ(ran, "") << "a press ran inside the wait";
    });
    EXPECT_EQ(ran, "") << "the wait's command runs them once it has ended";
    presses.RunHeld();
    EXPECT_EQ(ran, "abBcd");

    // Without a wait a press runs at once, and a closed window drops what it held.
    press('e');
    EXPECT_EQ(ran, "abBcde");
    presses.Wait([&] { press('f'); });
    presses.Drop();
    presses.RunHeld();
    EXPECT_EQ(ran, "abBcde");
}

// Plays a script of page waits and presses: "(" a page starts loading and the window waits, ")"
// it has loaded, which the log notes by the page's number; "r" a hover refused meanwhile asks for
// the held presses to run; a letter is a press, which logs itself when it runs.
void Play(const char*& at, HeldPresses& presses, std::string& log, int& pages) {
    while (*at && *at != ')') {
        const char c = *at++;
        if (c == '(') {
            const char page = static_cast<char>('0' + ++pages);
            presses.Wait([&] { Play(at, presses, log, pages); });
            if (*at == ')') ++at;
            log += page;
        } else if (c == 'r') {
            presses.RunHeld();
        } else {
            presses.Run([&log, c] { log += c; });
        }
    }
}

// A press held in one hover's page wait, with a second hover's wait begun before the first hover's
// command has run it: asked to run inside that wait, it ran there, in the command that shows the
// page, which the re-entry guard refuses; it runs once, after the page loading when it was asked.
TEST(HeldPressesTest, APressHeldInOneWaitRunsOnceAfterTheWaitInWhichItIsAskedFor) {
    struct Row {
        const char* fault;
        const char* script;
        const char* log;
    };
    const Row rows[] = {
        {"the press ran inside the second hover's wait", "(a)(r)r", "12a"},
        {"the press ran inside its own wait", "(ar)r", "1a"},
        {"a press of the second wait ran before the first's", "(a)(br)r", "12ab"},
        {"the press ran twice", "(a)(r)rr", "12a"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.fault);
        HeldPresses presses;
        std::string log;
        int pages = 0;
        const char* at = r.script;
        Play(at, presses, log, pages);
        EXPECT_EQ(log, r.log);
    }
}

}  // namespace
}  // namespace dv::ui
