// Computer games of the sample game under fixed seeds, each held as digests of its report pages
// turn by turn (every echo line is in them) against digests recorded from an earlier engine.
// A change that makes any game take another course, or word one line of it differently, fails.
//
// To record the digests anew (only when a game is meant to change, and saying why), run
//     build/duvenhall_tests --gtest_filter='ReplayDigest*'
// with DV_RECORD_REPLAY_DIGESTS naming the file to write (tests/game/replay_digests.txt); the
// first test clears it, each adds its lines.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "data/card_files.h"
#include "engine/model/files.h"
#include "engine/model/play_index.h"
#include "engine/model/state.h"
#include "game/computer_games.h"
#include "game/deck_evolution.h"
#include "game/game_start.h"
#include "game/startup.h"
#include "game/turn.h"
#include "tests/game/computer_game_fixture.h"
#include "tests/support/recording_host.h"

namespace dv {
namespace {

namespace fs = std::filesystem;

const char* const kDecks[] = {"Bogwarden_Enemy.txt", "Mirewitch_Enemy.txt", "Reedmother_Enemy.txt",
                              "Lamplighter_Starter.txt"};

uint64_t Fnv1a(const std::string& text, uint64_t hash = 14695981039346656037ull) {
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string Hex(uint64_t value, int digits) {
    char buffer[17];
    std::snprintf(buffer, sizeof buffer, "%016llx", static_cast<unsigned long long>(value));
    return std::string(buffer + 16 - digits);
}

// The text with the program folder, which differs from run to run, named the same each time.
std::string WithoutFolder(std::string text) {
    const std::string folder = St().ProgramFolder.string();
    if (folder.empty()) return text;
    for (std::size_t at = text.find(folder); at != std::string::npos;
         at = text.find(folder, at + 1))
        text.replace(at, folder.size(), "<folder>");
    return text;
}

// Digests every turn's report page as the turn hands it to the window (a computer game keeps it
// in HTMLText, a player's game shows it), every page shown and every message, through the hooks
// of the host it is given.
class Digests {
  public:
    std::vector<std::string> turns;  // one short digest a turn
    uint64_t pages = Fnv1a("");

    explicit Digests(test::RecordingHost& host) : host_(host) {
        host.onCall[WindowCall::RedrawHand] = [this] {
            const std::string page = WithoutFolder(St().HTMLText) + shownPages_;
            shownPages_.clear();
            turns.push_back(Hex(Fnv1a(page), 8));
            pages = Fnv1a(page, pages);
        };
        host.onPageLoad = [this](const std::string& viewer, const std::string& location) {
            shownPages_ +=
                viewer + ": " + WithoutFolder(ReadWholeFile(location).value_or(location));
        };
    }
    uint64_t Messages() const {
        uint64_t shown = Fnv1a("");
        for (const std::string& text : host_.messages)
            shown = Fnv1a(WithoutFolder(text) + "\n", shown);
        return shown;
    }
    void Clear() {
        turns.clear();
        pages = Fnv1a("");
        shownPages_.clear();
        host_.messages.clear();
    }

  private:
    test::RecordingHost& host_;
    std::string shownPages_;  // since the last turn
};

// One recorded line: the case, its outcome, the digests of all pages and messages, and the
// turns' own digests so that a failure names the first turn that differs.
struct Record {
    std::string label;
    std::string outcome;
    std::string pages;
    std::string messages;
    std::vector<std::string> turns;

    std::string Line() const {
        std::string line = label + " | " + outcome + " | " + std::to_string(turns.size()) +
                           " pages " + pages + " | messages " + messages + " |";
        for (const std::string& turn : turns)
            line += " " + turn;
        return line;
    }
};

// The recorded lines, by label.
std::map<std::string, std::string> RecordedLines() {
    std::map<std::string, std::string> lines;
    std::ifstream in(fs::path(DV_TEST_DATA) / "game" / "replay_digests.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        lines[line.substr(0, line.find(" | "))] = line;
    }
    return lines;
}

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

// Where two lines of the same case part: the first turn whose digest differs, when any.
std::string FirstDifference(const std::string& recorded, const std::string& now) {
    const auto a = Words(recorded.substr(recorded.rfind('|') + 1));
    const auto b = Words(now.substr(now.rfind('|') + 1));
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (a[i] != b[i]) return "page " + std::to_string(i + 1) + " is the first that differs";
    if (a.size() != b.size()) return "the number of pages differs";
    return "the outcome or the messages differ";
}

class ReplayDigest : public test::SampleGameTest {
  protected:
    void SetUp() override {
        SampleGameTest::SetUp();
        host.onCall[WindowCall::ShowProfileMenu] = [] {
            State& st = St();
            LoadPlayerProfiles();
            st.CurrentProfile = st.PlayerProfiles[1];
            if (DataFileExists(st.CurrentFolder, st.CurrentProfile.PlayerFile))
                ReadCards(st.Collection, st.CurrentProfile.PlayerFile, st.Players[1]);
        };
        host.onCall[WindowCall::ShowDeckManager] = [] { St().CurrentDeck = 1; };
    }

    void TearDown() override {
        SetHost(nullptr);
        SampleGameTest::TearDown();
        const char* recordTo = std::getenv("DV_RECORD_REPLAY_DIGESTS");
        if (!recordTo) return;
        static bool cleared = false;
        std::ofstream out(recordTo, cleared ? std::ios::app : std::ios::trunc);
        if (!cleared)
            out << "# Digests of computer games of the sample game; see replay_digest_test.cpp.\n";
        cleared = true;
        for (const std::string& line : lines_)
            out << line << "\n";
    }

    // A fresh run of the program in the test's folder under the given seed.
    void FreshRun(double seed) {
        ResetState();
        SetHost(&host);
        State& st = St();
        st.ProgramFolder = Folder();
        st.CurrentFolder = Folder();
        st.SeedOverride = seed;
        digests.Clear();
    }

    void ChooseProfile() {
        LoadPlayerProfiles();
        St().CurrentProfile = St().PlayerProfiles[1];
    }

    // Checks the digests gathered since the last check against the recorded line of the case.
    void Check(const std::string& label, const std::string& outcome) {
        Record record{label, outcome, Hex(digests.pages, 16), Hex(digests.Messages(), 16),
                      digests.turns};
        digests.Clear();
        const std::string now = record.Line();
        lines_.push_back(now);
        if (std::getenv("DV_RECORD_REPLAY_DIGESTS")) return;
        static const std::map<std::string, std::string> recorded = RecordedLines();
        const auto found = recorded.find(label);
        ASSERT_NE(found, recorded.end()) << "no digests recorded for " << label;
        EXPECT_EQ(found->second, now)
            << label
            << " took another course or reads otherwise: " << FirstDifference(found->second, now);
    }

    // Every pairing of the four decks, the same deck against itself included, in one run.
    void PlayEveryPairing(double seed, const std::string& kind = "game") {
        FreshRun(seed);
        ChooseProfile();
        for (const char* first : kDecks) {
            for (const char* second : kDecks) {
                std::string loser;
                const std::string winner = PlayAIGame(first, second, loser);
                Check(kind + " " + Seed(seed) + " " + first + " against " + second,
                      winner + " won, " + std::to_string(St().TurnsPlayed) + " turns");
            }
        }
    }

    // The deck and set files of the sample game as they were before its cards came to keep their
    // texts where they meet. Their games reach rules that today's cards leave alone (their
    // Will-o'-Wisp sets a trait on a random enemy, tried on copies of each candidate, and takes
    // it off every card again), so a change of the engine that today's games would not show
    // still fails on them.
    void LayEarlierCards() {
        fs::copy(fs::path(DV_TEST_DATA) / "game" / "earlier_content", Folder(),
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    }

    static std::string Seed(double seed) { return std::to_string(static_cast<long long>(seed)); }

    Digests digests{host};

  private:
    std::vector<std::string> lines_;
};

// The tests index every board of two slots or more; the program indexes crowded boards only.
struct BoardsLeftUnindexed {
    BoardsLeftUnindexed() { PlayIndex::CheckAgainstCards(false); }
    ~BoardsLeftUnindexed() { PlayIndex::CheckAgainstCards(true); }
    BoardsLeftUnindexed(const BoardsLeftUnindexed&) = delete;
    BoardsLeftUnindexed& operator=(const BoardsLeftUnindexed&) = delete;
};

TEST_F(ReplayDigest, GamesBetweenDeckFilesUnderSeed2024) {
    PlayEveryPairing(2024);
}
// The program leaves the boards of the sample game unindexed.
TEST_F(ReplayDigest, GamesBetweenDeckFilesUnderSeed2024OnBoardsLeftUnindexed) {
    if (std::getenv("DV_RECORD_REPLAY_DIGESTS")) GTEST_SKIP() << "recorded by the test above";
    const BoardsLeftUnindexed unindexed;
    PlayEveryPairing(2024);
}
TEST_F(ReplayDigest, GamesBetweenDeckFilesUnderSeed4711) {
    PlayEveryPairing(4711);
}
TEST_F(ReplayDigest, GamesBetweenDeckFilesUnderSeed86420) {
    PlayEveryPairing(86420);
}

// Games between the deck files of an earlier sample game, its cards not as today's.
TEST_F(ReplayDigest, GamesBetweenEarlierDeckFilesUnderSeed2024) {
    LayEarlierCards();
    PlayEveryPairing(2024, "earlier cards");
}
TEST_F(ReplayDigest, GamesBetweenEarlierDeckFilesUnderSeed2024OnBoardsLeftUnindexed) {
    if (std::getenv("DV_RECORD_REPLAY_DIGESTS")) GTEST_SKIP() << "recorded by the test above";
    const BoardsLeftUnindexed unindexed;
    LayEarlierCards();
    PlayEveryPairing(2024, "earlier cards");
}
TEST_F(ReplayDigest, GamesBetweenEarlierDeckFilesUnderSeed4711) {
    LayEarlierCards();
    PlayEveryPairing(4711, "earlier cards");
}

// Games started from the games page as a player starts them: the player passes a few turns,
// then the computer plays both sides to the end.
TEST_F(ReplayDigest, GamesStartedFromTheGamesPage) {
    const char* const opponents[] = {"Bogwarden_Enemy.txt", "Mirewitch_Enemy.txt",
                                     "FirstLight.mis"};
    for (double seed : {2024, 4711, 86420}) {
        for (const char* opponent : opponents) {
            FreshRun(seed);
            Main();
            ASSERT_EQ(St().CurrentProfile.Name, "Guest");
            const std::string page = ReadWholeFile(Folder() / "Display.html").value_or("");
            const std::size_t end = page.find(opponent);
            ASSERT_NE(end, std::string::npos) << page;
            std::size_t start = page.rfind("GAME:", end);
            const std::size_t lower = page.rfind("game:", end);
            if (start == std::string::npos || (lower != std::string::npos && lower > start))
                start = lower;
            ASSERT_NE(start, std::string::npos);
            const std::string link = page.substr(start, end + strlen(opponent) - start);
            ASSERT_TRUE(StartGameFromLink(link));
            for (int turn = 0; turn < 3 && St().GameOver == 0; ++turn)
                PlayCards(0);
            PlayFullAIGame();
            Check("games page " + Seed(seed) + " " + opponent,
                  "winner " + std::to_string(St().Winner) + ", " +
                      std::to_string(St().TurnsPlayed) + " turns");
        }
    }
}

TEST_F(ReplayDigest, Tournament) {
    FreshRun(2024);
    ChooseProfile();
    RunTournament();
    Check("tournament 2024", "last game won by player " + std::to_string(St().Winner));
}

// Deck evolution: breeding from one deck, then two generations. The bred decks are part of the
// digest, so a changed draw of replacement cards shows too.
TEST_F(ReplayDigest, Evolution) {
    FreshRun(2024);
    ChooseProfile();
    List<std::string> decks(8);
    decks[1] = "Bogwarden_Enemy.txt";
    EvolveDecks(decks, 0);
    EvolveDecks(decks, 2);
    std::string bred;
    for (const BredDeck& deck : St().BredDecks) {
        bred += deck.Name + ":";
        for (const Card& card : deck.Cards)
            bred += card.Name + ",";
        bred += "\n";
    }
    std::string names;
    for (const std::string& name : decks)
        names += name + " ";
    Check("evolution 2024", names + "bred " + Hex(Fnv1a(bred), 16));
}

}  // namespace
}  // namespace dv
