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

}  // namespace
}  // namespace dv::ui
