// The deck manager's window: the pointer over a picture shows that card's page once, the scroll
// bar moves the collection pane, the deck choice shows the deck chosen, and a refused DONE keeps
// the window open with the rule's message.

#include "ui/decks/deck_manager_window.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWheelEvent>
#include <utility>

#include "engine/model/cards.h"
#include "engine/model/state.h"
#include "engine/rules/trait_changes.h"
#include "tests/ui/qt/support/page_clicks.h"
#include "tests/ui/qt/support/window_seams.h"
#include "tests/ui/qt/support/window_test_main.h"
#include "ui/main/hand_picture_widget.h"
#include "viewer/ulk_browser.h"

namespace dv::ui {

// Pages load slowly on a busy machine.
constexpr int kLoadWaitMs = 60000;

class DeckManagerWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        seams_.Install(folder_->path().toStdString());
        State& st = St();
        // 25 cards; deck "Red" holds the first three, deck "Empty" none.
        const std::string thumbnail =
            std::string(DV_SOURCE_DIR) + "/content/Pictures/Card-boghound-mini.jpg";
        for (int i = 1; i <= 25; ++i) {
            Card card;
            InitCard(card, 1, 0);
            card.Name = "Card " + std::to_string(i);
            card.GID = i;
            card.Thumbnail = "Card-boghound-mini.jpg";
            card.ThumbnailUrl = thumbnail;
            SetTrait(card, "CREATURE", "", 1);
            st.Collection.PushBack(card);
        }
        st.Decks = List<DeckList>(2);
        st.Decks[1] = DeckList{"Red", {1, 2, 3}, {0, 0, 0}};
        st.Decks[2] = DeckList{"Empty", {0}, {0}};
        st.Players[1].Tokens = 75;
    }
    void cleanup() {
        const std::vector<std::string>& messages = seams_.host.messages;
        QVERIFY2(messages.empty(), messages.empty() ? "" : messages[0].c_str());
        seams_.Remove();
    }

    void thePointerShowsACardsPageOncePerCard() {
        DeckManager window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // A first page settles the new viewer before the loads are counted.
        window.Viewer()->OpenURL(
            QString::fromStdString(std::string(DV_SOURCE_DIR) + "/content/blank.htm"));
        window.Viewer()->setLoadTimeLimit(kLoadWaitMs);
        QSignalSpy loads(window.Viewer()->Document(), &QWebEnginePage::loadFinished);

        HandPictureWidget* first = Picture(window, "CollectPic", 0);
        QVERIFY(first->isVisible());
        QTest::mouseMove(first, QPoint(10, 10));
        QTRY_COMPARE_WITH_TIMEOUT(loads.count(), 1, kLoadWaitMs);
        QVERIFY(test::PageText(*window.Viewer()).contains("Card 4"));
        QTest::mouseMove(first, QPoint(30, 30));
        QTest::mouseMove(Picture(window, "DeckPic", 0), QPoint(10, 10));
        QTRY_COMPARE_WITH_TIMEOUT(loads.count(), 2, kLoadWaitMs);
        QVERIFY(test::PageText(*window.Viewer()).contains("Card 1"));
        QTest::mouseMove(first, QPoint(20, 20));
        QTest::qWait(300);
        QCOMPARE(loads.count(), 2);
        QVERIFY2(test::PageText(*window.Viewer()).contains("Card 1"),
                 "the page was rebuilt for the card last shown");
    }

    void theScrollBarMovesTheCollectionPaneByCards() {
        DeckManager window;
        window.show();
        auto* bar = window.findChild<QScrollBar*>("VScroll1_1");
        QCOMPARE(bar->maximum(), 8);
        QCOMPARE(bar->singleStep(), 3);
        QCOMPARE(bar->pageStep(), 18);
        QCOMPARE(VisibleCount(window, "CollectPic"), 18);
        bar->setValue(8);
        QCOMPARE(window.Logic().CollectionScrollPos(), 8);
        // From the eighth shown card (card 11) on: 15 cards remain.
        QCOMPARE(VisibleCount(window, "CollectPic"), 15);
        QCOMPARE(St().ColDisplay[1], 11);
        QCOMPARE(bar->value(), 8);
    }

    void aClickOnAPictureWhileItsPageLoadsIsTaken() {
        DeckManager window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.Viewer()->setLoadTimeLimit(kLoadWaitMs);
        // Another card first: the pointer may have rested on the picture when the window showed.
        QTest::mouseMove(Picture(window, "CollectPic", 1), QPoint(10, 10));
        QSignalSpy loads(window.Viewer()->Document(), &QWebEnginePage::loadFinished);
        HandPictureWidget* picture = Picture(window, "CollectPic", 0);
        bool clicked = false;
        bool clickedWhileLoading = false;
        QString countAfterClick;
        // The pointer reaches the picture, which shows its page; the click comes while it loads,
        // through the window as the player's would, and is taken once the page has loaded.
        connect(
            window.Viewer()->Document(), &QWebEnginePage::loadStarted, this,
            [&] {
                if (std::exchange(clicked, true)) return;
                clickedWhileLoading = loads.count() == 0;
                QTest::mouseClick(window.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                                  picture->mapTo(&window, QPoint(10, 10)));
                countAfterClick = window.findChild<QLabel*>("Cardcount")->text();
            },
            Qt::QueuedConnection);
        QTest::mouseMove(picture, QPoint(10, 10));
        QTRY_VERIFY_WITH_TIMEOUT(clicked, kLoadWaitMs);
        QVERIFY(clickedWhileLoading);
        QCOMPARE(countAfterClick, QString("Cards: 3"));  // not run inside the page's wait
        QTRY_COMPARE(window.findChild<QLabel*>("Cardcount")->text(), QString("Cards: 4"));
        QCOMPARE(VisibleCount(window, "DeckPic"), 4);
    }

    void theWheelOverAPaneMovesItsScrollBar_data() {
        QTest::addColumn<QString>("pane");
        QTest::addColumn<QString>("bar");
        QTest::addColumn<QString>("otherBar");
        QTest::newRow("deck") << "DeckPic"
                              << "VScroll1_0"
                              << "VScroll1_1";
        QTest::newRow("collection") << "CollectPic"
                                    << "VScroll1_1"
                                    << "VScroll1_0";
    }
    void theWheelOverAPaneMovesItsScrollBar() {
        QFETCH(QString, pane);
        QFETCH(QString, bar);
        QFETCH(QString, otherBar);
        // Both panes longer than they show: the deck holds 20 of the 25 cards.
        DeckList& red = St().Decks[1];
        for (int32_t gid = 4; gid <= 20; ++gid) {
            red.CardIds.PushBack(gid);
            red.Positions.PushBack(0);
        }
        DeckManager window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* scroll = window.findChild<QScrollBar*>(bar);
        auto* other = window.findChild<QScrollBar*>(otherBar);
        QCOMPARE(scroll->value(), 1);
        QVERIFY(scroll->maximum() > 1);
        HandPictureWidget* picture = Picture(window, pane.toLatin1().constData(), 0);
        QVERIFY(picture->isVisible());
        const QPointF at(10, 10);
        QWheelEvent down(at, picture->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(picture, &down);
        QVERIFY(scroll->value() > 1);
        QCOMPARE(other->value(), 1);
        const int shown = pane == "DeckPic" ? window.Logic().DeckScrollPos()
                                            : window.Logic().CollectionScrollPos();
        QCOMPARE(shown, scroll->value());
    }

    // The first click of a double-click moved the card and re-sorted the pane; the second moved
    // the card that had taken its slot.
    void aDoubleClickOnADeckCardMovesOneCard() {
        DeckManager window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.Viewer()->setLoadTimeLimit(kLoadWaitMs);
        QCOMPARE(VisibleCount(window, "DeckPic"), 3);
        // Through the window, as the player's: press, release, press (the double-click), release.
        QTest::mouseDClick(window.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                           Picture(window, "DeckPic", 0)->mapTo(&window, QPoint(10, 10)));
        // A click made while the card's page loads is taken once it has loaded.
        QTRY_COMPARE_WITH_TIMEOUT(window.findChild<QLabel*>("Cardcount")->text(),
                                  QString("Cards: 2"), kLoadWaitMs);
        QTest::qWait(QApplication::doubleClickInterval());
        QCOMPARE(window.findChild<QLabel*>("Cardcount")->text(), QString("Cards: 2"));
        QCOMPARE(St().Decks[1].CardIds[1], 2);  // the card clicked went, the next one stayed
    }

    void theDeckChoiceShowsTheDeckChosen() {
        DeckManager window;
        window.show();
        auto* combo = window.findChild<QComboBox*>("Combo1");
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->currentText(), QString("Red"));
        QCOMPARE(VisibleCount(window, "DeckPic"), 3);
        QCOMPARE(window.findChild<QLabel*>("Label1")->text(), QString("Tokens: 75"));
        QCOMPARE(window.findChild<QLabel*>("Cardcount")->text(), QString("Cards: 3"));

        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(St().CurrentDeck, 2);
        QCOMPARE(combo->currentText(), QString("Empty"));
        QCOMPARE(VisibleCount(window, "DeckPic"), 0);
        QCOMPARE(window.findChild<QLabel*>("Cardcount")->text(), QString("Cards: 0"));
        QCOMPARE(VisibleCount(window, "CollectPic"), 18);
    }

    void aRefusedDoneKeepsTheWindowOpenAndTheCloseBoxSaves() {
        State& st = St();
        st.DeckRules = "TRAITMINIMUM:#ANY#:30";
        st.Games = List<GameInfo>(1);
        st.Games[1].Name = "Zeta";
        st.CurrentGame = 1;
        st.CurrentProfile.Name = "Guest";
        DeckManager window;
        window.show();
        QCOMPARE(window.findChild<QPushButton*>("Command2")->toolTip(),
                 QString("Start the game with the currently selected deck."));
        QTest::mouseClick(window.findChild<QPushButton*>("Command2"), Qt::LeftButton);
        QVERIFY(window.isVisible());
        QCOMPARE(seams_.dialogs.messages,
                 std::vector<std::string>{"You must have at least 30 cards in your play deck."});
        QVERIFY(!QFile::exists(folder_->filePath("Zeta_Guest.plr")));
        window.close();
        QVERIFY(!window.isVisible());
        QCOMPARE(st.DeckRejected, uint8_t{1});
        QVERIFY(QFile::exists(folder_->filePath("Zeta_Guest.plr")));
    }

  private:
    static HandPictureWidget* Picture(DeckManager& window, const char* pane, int slot) {
        return window.findChild<HandPictureWidget*>(QString("%1_%2").arg(pane).arg(slot));
    }
    static int VisibleCount(DeckManager& window, const char* pane) {
        int count = 0;
        for (int i = 0; i < kPaneSlots; ++i)
            count += Picture(window, pane, i)->isVisible() ? 1 : 0;
        return count;
    }

    std::unique_ptr<QTemporaryDir> folder_;
    test::WindowSeams seams_;
};

}  // namespace dv::ui

int main(int argc, char** argv) {
    return dv::test::RunWindowTest<dv::ui::DeckManagerWindowTest>(argc, argv);
}

#include "deck_manager_window_test.moc"
