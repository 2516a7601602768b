// The deck manager among the program's real windows, on a copy of the sample game: the deck
// chosen and changed at a game start (a press on the games page's link) is the one played and the
// one saved, and a card sold from the "Deck Manager" menu stays sold, with its tokens, after the
// program starts again.

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

#include "engine/model/files.h"
#include "engine/model/state.h"
#include "tests/support/played_cards.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/ui/qt/support/designer_steps.h"
#include "tests/ui/qt/support/page_clicks.h"
#include "tests/ui/qt/support/program_steps.h"
#include "tests/ui/qt/support/window_steps.h"
#include "tests/ui/qt/support/window_test_main.h"
#include "ui/decks/deck_manager_window.h"
#include "ui/main/hand_picture_widget.h"
#include "ui/main/help_window.h"
#include "ui/main/main_window.h"
#include "ui/main/program.h"

namespace dv::ui {
namespace {

namespace fs = std::filesystem;

const char* kPlayerFile = "Mosslight_Guest.plr";
constexpr int kGameStartWaitMs = 60000;

std::string DeckBlock(const std::string& name, std::vector<int32_t> ids) {
    std::string text = "\"#DECK\",\"" + name + "\"\r\n";
    for (int32_t id : ids)
        text += std::to_string(id) + "\r\n";
    return text + "\"#ENDOFDECK\"\r\n\r\n";
}

std::vector<int32_t> Range(int32_t first, int32_t last) {
    std::vector<int32_t> ids;
    for (int32_t id = first; id <= last; ++id)
        ids.push_back(id);
    return ids;
}

// The identifiers of a deck list as the player file holds them.
std::vector<int32_t> SavedDeck(const std::string& file, const std::string& name) {
    std::vector<int32_t> ids;
    const std::size_t start = file.find("\"#DECK\",\"" + name + "\"");
    if (start == std::string::npos) return ids;
    const std::size_t end = file.find("\"#ENDOFDECK\"", start);
    std::size_t line = file.find('\n', start) + 1;
    while (line < end) {
        const std::size_t next = file.find('\n', line);
        ids.push_back(std::stoi(file.substr(line, next - line)));
        line = next + 1;
    }
    return ids;
}

bool Holds(const std::vector<int32_t>& ids, int32_t id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

}  // namespace

class DeckManagerGameTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        test::CopySampleGame(Folder());
    }
    void cleanup() {
        test::DropModalAnswers();
        program_.reset();
        ResetState();
    }

    void theDeckChosenAndChangedAtTheGameStartIsPlayedAndSaved() {
        Append(DeckBlock("Second Deck", Range(7001, 7035)));
        StartProgram();
        const QString link = OpponentLink("Bogwarden_Enemy.txt");
        QVERIFY(!link.isEmpty());

        bool answered = false;
        test::AnswerNextModal([&](QWidget* modal) {
            auto* window = qobject_cast<DeckManager*>(modal);
            QVERIFY(window);
            auto* combo = test::Child<QComboBox>(*window, "Combo1");
            combo->setFocus();
            QTest::keyClick(combo, Qt::Key_Down);
            QCOMPARE(combo->currentText(), QString("Second Deck"));
            QWidget* shrine = Showing(*window, "CollectPic", "Card-mothshrine-mini.jpg");
            QVERIFY(shrine);
            QTest::mouseClick(shrine, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
            QWidget* mossling = Showing(*window, "DeckPic", "Card-mossling-mini.jpg");
            QVERIFY(mossling);
            QTest::mouseClick(mossling, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
            test::ClickButton(*window, "Command2");  // DONE
            answered = true;
        });
        QVERIFY(test::PressLink(*program_->Window().BoardView(), link));
        QTRY_VERIFY_WITH_TIMEOUT(St().GameStarted == 1, kGameStartWaitMs);
        QVERIFY(answered);
        QVERIFY2(dialogs_.messages.empty(),
                 dialogs_.messages.empty() ? "" : dialogs_.messages[0].c_str());

        State& st = St();
        QCOMPARE(int(st.CurrentDeck), 2);
        const std::vector<std::string> played = test::PlayerOneCardNames();
        auto plays = [&](const char* name) {
            return std::count(played.begin(), played.end(), name);
        };
        QCOMPARE(int(played.size()), 35);
        QCOMPARE(int(plays("Moth Shrine")), 1);
        QCOMPARE(int(plays("Mossling")), 0);
        QCOMPARE(int(plays("Ember Newt")), 0);

        const std::string file = PlayerFile();
        QVERIFY(Holds(SavedDeck(file, "Second Deck"), 7036));
        QVERIFY(!Holds(SavedDeck(file, "Second Deck"), 7002));
        QVERIFY(Holds(SavedDeck(file, "Starter Deck"), 7002));
    }

    void aCardSoldFromTheMenuStaysSoldAfterARestart() {
        Append(
            "#CARD, COLLECTION, \"Ferryman\", \"ferryman:7043\", Mosslight_Set.txt, "
            "Card-ferryman.jpg, Card-ferryman-mini.jpg, #4C5F7A, \"A second ferryman.\"\r\n"
            "#TRAIT, \"CREATURE:\", #TRAIT, \"HP:3\", \r\n#EXTRADATA, 12, TURNSTART, , "
            "%%%0%0%0%0%0%0%0%0, \r\n\r\n" +
            DeckBlock("Second Deck", {7001, 7002, 7043}) + DeckBlock("Third Deck", {7043, 7005}));
        StartProgram();
        const int tokens = St().Players[1].Tokens;

        bool answered = false;
        test::AnswerNextModal([&](QWidget* modal) {
            auto* window = qobject_cast<DeckManager*>(modal);
            QVERIFY(window);
            test::ClickButton(*window, "Command5");  // "Sell Cards"
            QWidget* ferryman = Showing(*window, "CollectPic", "Card-ferryman-mini.jpg");
            QVERIFY(ferryman);
            QTest::mouseClick(ferryman, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
            QCOMPARE(St().Players[1].Tokens, tokens + 2);
            window->close();
            answered = true;
        });
        test::ChooseMenuItem(program_->Window(), "deckmanagermen");
        QVERIFY(answered);
        QCOMPARE(St().DeckManagerFromMenu, uint8_t{0});

        program_.reset();
        StartProgram();
        State& st = St();
        QCOMPARE(st.Players[1].Tokens, tokens + 2);
        for (const Card& card : st.Collection)
            QVERIFY2(card.GID != 7043, "the sold card came back");
        QCOMPARE(st.Decks.size(), 3);
        for (const DeckList& deck : st.Decks)
            for (int32_t id : deck.CardIds)
                QVERIFY2(id != 7043, deck.Name.c_str());
    }

  private:
    fs::path Folder() const { return folder_->path().toStdString(); }
    void Append(const std::string& text) {
        std::ofstream(Folder() / kPlayerFile, std::ios::binary | std::ios::app) << text;
    }
    std::string PlayerFile() const { return ReadWholeFile(Folder() / kPlayerFile).value_or(""); }

    // A fresh run of the program in the folder; the profile chooser takes "Guest".
    void StartProgram() {
        QVERIFY(test::StartWithFirstProfile(program_, Folder(), dialogs_, 2024));
        QVERIFY(QTest::qWaitForWindowExposed(&program_->Window()));
    }

    QString OpponentLink(const std::string& opponentFile) const {
        const std::string page = ReadWholeFile(Folder() / "Display.html").value_or("");
        const std::size_t end = page.find(opponentFile + "\"");
        if (end == std::string::npos) return {};
        const std::size_t start = page.rfind("\"GAME:", end);
        return QString::fromStdString(
            page.substr(start + 1, end + opponentFile.size() - start - 1));
    }

    // The picture of a pane that shows the thumbnail of that name, or nullptr.
    QWidget* Showing(DeckManager& window, const char* pane, const char* thumbnail) const {
        return test::PanePictureShowing(
            window, pane,
            QImage(QString::fromStdString((Folder() / "Pictures" / thumbnail).string())));
    }

    std::unique_ptr<QTemporaryDir> folder_;
    test::ScriptedDialogs dialogs_;
    std::unique_ptr<Program> program_;
};

}  // namespace dv::ui

int main(int argc, char** argv) {
    return dv::test::RunWindowTest<dv::ui::DeckManagerGameTest>(argc, argv);
}

#include "deck_manager_game_test.moc"
