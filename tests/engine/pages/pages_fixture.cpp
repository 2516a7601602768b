#include "tests/engine/pages/pages_fixture.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "engine/model/state.h"

namespace dv::test {
namespace {

std::string GoldenPath(const std::string& name) {
    return std::string(DV_TEST_DATA) + "/engine/pages/golden/" + name;
}

// Pages are long single lines; one tag per line makes a difference readable.
std::vector<std::string> TagLines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '<' && !lines.back().empty()) lines.emplace_back();
        lines.back() += c;
        if (c == '\n') lines.emplace_back();
    }
    return lines;
}

}  // namespace

Card PagesTest::MakeCard(const std::string& name, int owner, int32_t gid, Traits traits) {
    Card card;
    card.Name = name;
    card.UniqueName = name;
    card.Owner = static_cast<uint8_t>(owner);
    card.GID = gid;
    card.TraitNames.Resize(20);
    card.TraitValues.Resize(20);
    card.TraitActionDescs.Resize(20);
    int slot = 0;
    for (const auto& [traitName, value] : traits) {
        ++slot;
        card.TraitNames[slot] = traitName;
        card.TraitValues[slot] = value;
    }
    return card;
}

int PagesTest::Put(Card card) {
    const int number = St().InPlay.PushBack(std::move(card));
    St().InPlay[number].Index = number;
    return number;
}

int PagesTest::Put(const std::string& name, int owner, int32_t gid, Traits traits) {
    return Put(MakeCard(name, owner, gid, traits));
}

int PagesTest::AddPlayer(int n, const std::string& name, const std::string& colour, Traits traits) {
    Player& player = St().Players[n];
    player.Name = name;
    player.Id = static_cast<uint8_t>(n);
    player.Colour = colour;
    player.CardIndex = Put(name, n, 1000 + n, traits);
    return player.CardIndex;
}

std::string PagesTest::Portable(std::string text) const {
    const std::string folder = Folder().generic_string();
    for (auto at = text.find(folder); at != std::string::npos; at = text.find(folder, at))
        text.replace(at, folder.size(), "{FOLDER}");
    return text;
}

void ExpectGolden(const std::string& actual, const std::string& goldenName) {
    const std::string path = GoldenPath(goldenName);
    if (const char* update = std::getenv("DV_UPDATE_GOLDEN");
        update && std::string(update) == "1") {
        std::ofstream(path, std::ios::binary) << actual;
        return;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << "golden page missing: " << path;
    std::stringstream expected;
    expected << in.rdbuf();
    if (expected.str() == actual) return;

    const auto want = TagLines(expected.str());
    const auto got = TagLines(actual);
    std::size_t i = 0;
    while (i < want.size() && i < got.size() && want[i] == got[i])
        ++i;
    std::ostringstream diff;
    diff << goldenName << " differs at tag " << i + 1 << ":\n";
    for (std::size_t k = i >= 2 ? i - 2 : 0; k < i; ++k)
        diff << "    " << want[k] << "\n";
    diff << "  - " << (i < want.size() ? want[i] : "(end of golden page)") << "\n";
    diff << "  + " << (i < got.size() ? got[i] : "(end of page)") << "\n";
    ADD_FAILURE() << diff.str();
}

}  // namespace dv::test
