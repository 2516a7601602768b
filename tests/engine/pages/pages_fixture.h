#pragma once
// Boards for the page tests in a line or two, and golden pages compared byte for byte.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

#include "engine/model/records.h"
#include "tests/support/engine_fixture.h"

namespace dv::test {

using Traits = std::initializer_list<std::pair<const char*, const char*>>;

class PagesTest : public EngineTest {
  protected:
    // A card with its traits stored directly, so that the pages read them as the store keeps them.
    static Card MakeCard(const std::string& name, int owner, int32_t gid, Traits traits = {});
    // Places a card into the cards in play and returns its number there.
    int Put(Card card);
    int Put(const std::string& name, int owner, int32_t gid, Traits traits = {});
    // Sets up player n with its colour and a player card in play.
    int AddPlayer(int n, const std::string& name, const std::string& colour, Traits traits = {});
    // The page text with this test's folder written as "{FOLDER}".
    std::string Portable(std::string text) const;
};

// Compares text with the golden file of that name beside the tests; with DV_UPDATE_GOLDEN=1 set
// the golden file is written instead. A mismatch shows the first differing tag and its context.
void ExpectGolden(const std::string& actual, const std::string& goldenName);

}  // namespace dv::test
