#include "engine/model/random.h"

#include <gtest/gtest.h>

namespace dv {
namespace {

// A read done again from memory moves the generator on by skipping: it must land where the
// draws themselves would have, and count them alike.
TEST(RandomTest, SkippingDrawsLandsWhereDrawingThemWould) {
    for (int n : {0, 1, 2, 7, 1000}) {
        SCOPED_TRACE(n);
        Rng drawn;
        Rng skipped;
        drawn.Seed(12345.5);
        skipped.Seed(12345.5);
        for (int k = 0; k < n; ++k)
            drawn.Draw();
        skipped.Skip(n);
        EXPECT_EQ(skipped.Draws(), drawn.Draws());
        EXPECT_EQ(skipped.Draw(), drawn.Draw());
    }
}

}  // namespace
}  // namespace dv
