// Plays computer games of the sample starter deck against an opponent whose cards create cards
// from a large card set, and times the start and the first turns: one card that creates a hundred
// cards a turn (REPEAT), and a thousand cards that each create one for every card in play (ALL).
//
//     build/card_set_timing [turns, default 3] [cards in the set, default 20000] [case 1 or 2]

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/sample_game_folder.h"
#include "data/card_files.h"
#include "engine/model/state.h"
#include "game/game_start.h"
#include "game/startup.h"
#include "game/turn.h"

namespace {

// A #DUPLICATE line copies the card at most this many times.
constexpr int kMaxCopiesPerLine = 1000;

// Cards of about two hundred bytes each, every one of its own name.
std::string BigSet(int cards) {
    std::string text;
    for (int c = 1; c <= cards; ++c) {
        const std::string name = "Sprite" + std::to_string(c);
        text += "#CARD, INDECK, \"" + name + "\", \"sprite:" + std::to_string(c) +
                "\", , , , #6A8F4A, \"A small light of the marsh, one of many.\"\r\n"
                "#TRAIT, \"CREATURE:\", #TRAIT, \"HP:2\", \r\n"
                "#EFFECT, SELF, TURNSTART, \"REQTRAIT:HP:ECHOMINOR:flicker\"\r\n";
    }
    return text;
}

std::string MakerDeck(int copies, const std::string& trigger, const std::string& script) {
    std::string text =
        "#CARD, INDECK, \"Maker\", \"maker:9902\", , , , #6A8F4A, \"It calls sprites.\"\r\n"
        "#TRAIT, \"CREATURE:\", #TRAIT, \"HP:5\", #TRAIT, \"STARTSINPLAY:\", \r\n"
        "#EFFECT, " +
        trigger + ", \"" + script + "\"\r\n";
    for (int left = copies - 1; left > 0; left -= kMaxCopiesPerLine)
        text += "#DUPLICATE, " + std::to_string(std::min(left, kMaxCopiesPerLine)) + "\r\n";
    return text;
}

bool Write(const std::filesystem::path& path, const std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace dv;
    const int turns = argc > 1 ? std::max(0, std::atoi(argv[1])) : 3;
    const int setCards = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20000;
    const int only = argc > 3 ? std::atoi(argv[3]) : 0;
    const std::string created = "Sprite" + std::to_string(setCards / 2);
    struct Case {
        const char* label;
        int copies;
        std::string trigger, script;
    };
    const Case cases[] = {
        {"one card, REPEAT:SELF:100", 1, "SELF, PHASE1",
         "REPEAT:SELF:100:CREATECARD:1:" + created + ":Big_Set.txt"},
        {"1000 cards, ALL", 1000, "ALL, PHASE1", "CREATECARD:1:" + created + ":Big_Set.txt"},
    };
    for (const Case& c : cases) {
        if (only != 0 && &c != &cases[only - 1]) continue;
        bench::SampleGameFolder folder(2024);
        State& st = St();
        const std::filesystem::path deck = st.ProgramFolder / "Maker_Enemy.txt";
        if (!Write(st.ProgramFolder / "Big_Set.txt", BigSet(setCards)) ||
            !Write(deck, MakerDeck(c.copies, c.trigger, c.script)))
            return 1;
        bench::ReadyComputerGame(deck);

        auto start = std::chrono::steady_clock::now();
        StartGame(1);
        std::printf("%s, set of %d: game start %8.3f s\n", c.label, setCards,
                    bench::Seconds(start));
        for (int t = 1; t <= turns && st.GameOver == 0; ++t) {
            start = std::chrono::steady_clock::now();
            PlayCards(0);
            std::printf("%s, set of %d: turn %d     %8.3f s, %d cards queued\n", c.label, setCards,
                        t, bench::Seconds(start), st.RunBudget.TurnQueuedCards);
        }
        // The same in every build of the engine: the timings are of the same game.
        std::printf("runs asked %lld, dropped %lld; %llu draws\n", st.RunBudget.Asked,
                    st.RunBudget.Dropped, static_cast<unsigned long long>(st.Random.Draws()));
        st.AIGameRunning = 0;
    }
    std::printf("peak memory %9.1f MB\n", bench::PeakMegabytes());
    return 0;
}
