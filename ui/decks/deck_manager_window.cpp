#include "ui/decks/deck_manager_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPixmap>
#include <QPixmapCache>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <utility>

#include "engine/model/state.h"
#include "ui/common/engine_guard.h"
#include "ui/common/qt_dialogs.h"
#include "ui/common/qt_plain_text.h"
#include "ui/decks/deck_manager_modes.h"
#include "ui/main/hand_picture_widget.h"
#include "viewer/ulk_browser.h"

namespace dv::ui {
namespace {

constexpr int kColumns = 3;
constexpr int kPictureSize = 64;
// The scroll bars' range until the first drawing sets it, and what the card pick leaves.
constexpr int kScrollRange = 32767;
constexpr int kScrollArrowStep = kColumns;
constexpr const char* kSortTip =
    "Click here to sort your cards by a particular trait (specified above).";
constexpr const char* kSortByNameTip = "Click here to sort all of your cards by name.";

QPixmap Thumbnail(const std::string& location) {
    const QString path = ToQt(location);
    QPixmap pixmap;
    if (path.isEmpty()) return pixmap;
    // The designer writes a card's picture files anew under the same names: a picture is kept
    // by its file's time and size as well, so a rewritten file is read again.
    const QFileInfo file(path);
    const QString key = path + '|' + QString::number(file.lastModified().toMSecsSinceEpoch()) +
                        '|' + QString::number(file.size());
    if (!QPixmapCache::find(key, &pixmap)) {
        pixmap.load(path);
        QPixmapCache::insert(key, pixmap);
    }
    return pixmap;
}

void DrawSlot(QLabel* box, const SlotDraw& slot) {
    if (slot.change == SlotDraw::Change::Keep) return;
    if (slot.picture) box->setPixmap(Thumbnail(*slot.picture));
    box->setVisible(slot.change == SlotDraw::Change::Show);
}

// A wheel turned over a pane or one of its pictures moves the pane's scroll bar as a wheel over
// the bar itself would.
class WheelToBar : public QObject {
  public:
    WheelToBar(QScrollBar* bar, QObject* parent) : QObject(parent), bar_(bar) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Wheel) return false;
        QCoreApplication::sendEvent(bar_, event);
        return true;
    }

  private:
    QScrollBar* bar_;
};

QScrollBar* PaneScroll(const char* name, QWidget* parent) {
    auto* bar = new QScrollBar(Qt::Vertical, parent);
    bar->setObjectName(name);
    bar->setRange(1, kScrollRange);
    bar->setSingleStep(kScrollArrowStep);
    bar->setPageStep(kPaneSlots);
    return bar;
}

}  // namespace

DeckManager::DeckManager(QWidget* parent) : QDialog(parent) {
    setObjectName("DeckManager");
    setWindowTitle("Deck Manager");
    auto* root = new QVBoxLayout(this);
    BuildMenus();
    root->setMenuBar(findChild<QMenuBar*>("DeckManagerMenus"));

    auto* top = new QHBoxLayout;
    combo_ = new QComboBox(this);
    combo_->setObjectName("Combo1");
    combo_->setMinimumWidth(220);
    connect(combo_, &QComboBox::activated, this, [this](int entry) {
        Handle("Combo1_Click", [=, this] { return logic_.ChooseDeck(entry); });
    });
    tokens_ = NewPlainLabel(this, "Tokens");
    tokens_->setObjectName("Label1");
    tokens_->setToolTip(
        "This is how many tokens you have.  Tokens are used to purchase and enhance new cards at "
        "the card shop.");
    cardCount_ = NewPlainLabel(this, "Cards:");
    cardCount_->setObjectName("Cardcount");
    top->addWidget(combo_);
    top->addWidget(tokens_);
    top->addWidget(cardCount_);
    top->addStretch();
    root->addLayout(top);

    auto* area = new QWidget(this);
    BuildPanes(area);
    root->addWidget(area, 1);
    auto* buttons = new QWidget(this);
    BuildButtons(buttons);
    root->addWidget(buttons);
    resize(1100, 640);

    Handle("Form_Load", [this] { return logic_.Open(); });
}

void DeckManager::BuildPanes(QWidget* area) {
    auto* row = new QHBoxLayout(area);
    row->setContentsMargins(0, 0, 0, 0);
    auto pane = [&](std::array<HandPictureWidget*, kPaneSlots>& pictures, const char* name,
                    bool deck) {
        auto* paneArea = new QWidget(area);
        paneArea->setObjectName(QString("%1Pane").arg(name));
        auto* grid = new QGridLayout(paneArea);
        grid->setContentsMargins(0, 0, 0, 0);
        grid->setSpacing(4);
        for (int i = 0; i < kPaneSlots; ++i) {
            auto* picture = new HandPictureWidget(paneArea);
            picture->setObjectName(QString("%1_%2").arg(name).arg(i));
            picture->setFixedSize(kPictureSize, kPictureSize);
            picture->setFrameShape(QFrame::Box);
            picture->hide();
            if (deck) {
                connect(picture, &HandPictureWidget::Hovered, this, [this, i] {
                    Hover("DeckPic_MouseMove",
                          [this, i](const PageShow& show) { logic_.DescribeDeckCard(i, show); });
                });
                connect(picture, &HandPictureWidget::Released, this, [this, i] {
                    Handle("DeckPic_MouseUp", [=, this] { return logic_.DeckClick(i); });
                });
            } else {
                connect(picture, &HandPictureWidget::Hovered, this, [this, i] {
                    Hover("CollectPic_MouseMove", [this, i](const PageShow& show) {
                        logic_.DescribeCollectionCard(i, show);
                    });
                });
                connect(picture, &HandPictureWidget::Released, this, [this, i] {
                    Handle("CollectPic_MouseUp", [=, this] { return logic_.CollectionClick(i); });
                });
            }
            grid->addWidget(picture, i / kColumns, i % kColumns);
            pictures[i] = picture;
        }
        // Hidden pictures keep their room, so the grid never shifts.
        for (int r = 0; r < kPaneSlots / kColumns; ++r)
            grid->setRowMinimumHeight(r, kPictureSize);
        for (int c = 0; c < kColumns; ++c)
            grid->setColumnMinimumWidth(c, kPictureSize);
        row->addWidget(paneArea);
        auto* bar = PaneScroll(deck ? "VScroll1_0" : "VScroll1_1", area);
        auto* wheel = new WheelToBar(bar, paneArea);
        paneArea->installEventFilter(wheel);
        for (HandPictureWidget* picture : pictures)
            picture->installEventFilter(wheel);
        row->addWidget(bar);
        return bar;
    };
    deckScroll_ = pane(deckPics_, "DeckPic", true);
    collectionScroll_ = pane(collectPics_, "CollectPic", false);
    for (int bar = 0; bar < 2; ++bar) {
        connect(bar == 0 ? deckScroll_ : collectionScroll_, &QScrollBar::valueChanged, this,
                [this, bar](int value) {
                    Handle("VScroll1_Change", [=, this] { return logic_.Scroll(bar, value); });
                });
    }
    deckulk_ = new ulkBrowser(area);
    deckulk_->setObjectName("Deckulk");
    row->addWidget(deckulk_, 1);
}

QPushButton* DeckManager::Button(const char* name, const char* caption, const char* tip,
                                 std::function<DeckOutcome()> handler) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    if (tip) button->setToolTip(tip);
    const std::string slot = std::string(name) + "_Click";
    connect(button, &QPushButton::clicked, this,
            [this, slot, handler = std::move(handler)] { Handle(slot.c_str(), handler); });
    return button;
}

void DeckManager::BuildButtons(QWidget* area) {
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    for (int box = 0; box < 2; ++box) {
        auto* text = new QLineEdit(this);
        text->setObjectName(QString("Text1_%1").arg(box));
        text->setToolTip("Enter a trait name here for sorting.");
        const int button = box == 0 ? 0 : 3;
        connect(text, &QLineEdit::returnPressed, this, [this, button] {
            Handle("Text1_KeyUp", [=, this] {
                return logic_.Sort(button, FromQt(traitBoxes_[0]->text()),
                                   FromQt(traitBoxes_[1]->text()));
            });
        });
        traitBoxes_[box] = text;
    }
    static const char* const kSorts[] = {"Sort by Trait:", "Sort Deck by Name",
                                         "Sort Collection by Name",
                                         "Sort by Trait:", "Sort by Rarity"};
    static const char* const kSortTips[] = {kSortTip, kSortByNameTip, kSortByNameTip, kSortTip,
                                            kSortTip};
    static const char* const kSortNames[] = {"Command1_0", "Command1_1", "Command1_2", "Command1_3",
                                             "Command1_4"};
    std::array<QPushButton*, 5> sorts{};
    for (int i = 0; i < 5; ++i) {
        sorts[i] = Button(kSortNames[i], kSorts[i], kSortTips[i], [this, i] {
            return logic_.Sort(i, FromQt(traitBoxes_[0]->text()), FromQt(traitBoxes_[1]->text()));
        });
    }
    grid->addWidget(traitBoxes_[0], 0, 0);
    grid->addWidget(sorts[0], 1, 0);
    grid->addWidget(sorts[1], 1, 1);
    grid->addWidget(sorts[2], 1, 2);
    grid->addWidget(traitBoxes_[1], 0, 3);
    grid->addWidget(sorts[3], 1, 3);
    grid->addWidget(sorts[4], 1, 4);

    grid->addWidget(Button("ClearDeck", "Clear Deck",
                           "Click here to put all cards in this deck back in your collection.",
                           [this] { return logic_.ClearDeck(); }),
                    2, 0);
    grid->addWidget(Button("Command4", "Rename", "Click here to rename this deck.",
                           [this] { return logic_.RenameDeck(); }),
                    2, 1);
    grid->addWidget(Button("Command9", "New Deck", nullptr, [this] { return logic_.NewDeck(); }), 2,
                    2);
    grid->addWidget(
        Button("Command10", "Duplicate Deck", nullptr, [this] { return logic_.DuplicateDeck(); }),
        2, 3);
    sell_ = Button("Command5", "Sell Cards", nullptr, [this] { return logic_.SellCards(); });
    grid->addWidget(sell_, 2, 4);
    changeImage_ = Button("Command3", "Change Card Image",
                          "Click here to change the image one of your cards uses.",
                          [this] { return logic_.ChangeCardImage(); });
    grid->addWidget(changeImage_, 0, 4);
    done_ = Button("Command2", "DONE", "Start the game with the currently selected deck.",
                   [this] { return logic_.Done(); });
    grid->addWidget(done_, 2, 5);

    // Offered by no operation of the window: they stay hidden.
    QPushButton* hidden[] = {
        Button("Command6", "UN-sort", nullptr, [this] { return logic_.UnSort(); }),
        Button("Command7", "Randomize", nullptr, [this] { return logic_.RandomizeDeck(); }),
        Button("Command8", "Un-Uniqueify", nullptr, [this] { return logic_.UnUniqueify(); })};
    for (QPushButton* button : hidden) {
        button->hide();
        grid->addWidget(button, 3, 0);
    }
}

void DeckManager::BuildMenus() {
    auto* bar = new QMenuBar(this);
    bar->setObjectName("DeckManagerMenus");
    QMenu* file = bar->addMenu("File");
    file->setObjectName("filemen");
    auto item = [this](QMenu* menu, const char* name, const char* caption,
                       std::function<DeckOutcome()> handler) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        if (handler) {
            const std::string slot = std::string(name) + "_Click";
            connect(action, &QAction::triggered, this,
                    [this, slot, handler = std::move(handler)] { Handle(slot.c_str(), handler); });
        }
        return action;
    };
    item(file, "savedeckmen", "Save Player", [this] { return logic_.SavePlayerAs(); });
    item(file, "saveasopponent", "Save Current Deck as New Opponent",
         [this] { return logic_.SaveAsOpponent(); });
    loadOpponent_ = item(file, "loadoppmen", "Load Existing Opponent",
                         [this] { return logic_.LoadExistingOpponent(); });
    item(file, "savestarterdeckmen", "Save Current Deck as Starter Deck", nullptr);
    item(file, "loadplrmen", "Load Player", [this] { return logic_.LoadPlayer(); });
    item(file, "quitmen", "Quit", [this] { return logic_.Quit(); });
    QAction* help = bar->addAction("Help");
    help->setObjectName("helpmen");
    connect(help, &QAction::triggered, this,
            [this] { Handle("helpmen_Click", [this] { return logic_.Help(); }); });
}

void DeckManager::Handle(const char* name, const std::function<DeckOutcome()>& handler) {
    logic_.Presses().Run([this, name = std::string(name), handler] {
        DeckOutcome outcome;
        bool ran = false;
        RunCommand(name.c_str(), [&] {
            outcome = handler();
            ran = true;
        });
        if (ran) Apply(outcome);
    });
}

// A move over a picture made while a page loads is not held: the next move shows its card.
void DeckManager::Hover(const char* name, const std::function<void(const PageShow&)>& describe) {
    RunCommand(name,
               [&] { describe([this](const std::string& location) { ShowPage(location); }); });
    logic_.Presses().RunHeld();
}

void DeckManager::Apply(const DeckOutcome& outcome) {
    if (outcome.page)
        logic_.ShowOutcomePage(*outcome.page,
                               [this](const std::string& location) { ShowPage(location); });
    if (outcome.controls) ShowControls(*outcome.controls);
    if (outcome.view) Draw(*outcome.view);
    if (outcome.close) {
        closeDecided_ = true;
        close();
    }
}

void DeckManager::ShowPage(const std::string& location) {
    deckulk_->OpenURL(ToQt(location));
}

void DeckManager::ShowControls(const ShownControls& shown) {
    done_->setVisible(shown.done);
    sell_->setVisible(shown.sell);
    changeImage_->setVisible(shown.changeImage);
    loadOpponent_->setVisible(shown.loadOpponent);
}

void DeckManager::Draw(const DeckView& view) {
    {
        const QSignalBlocker quiet(combo_);
        combo_->clear();
        for (const std::string& name : view.deckNames)
            combo_->addItem(ToQt(name));
        combo_->setCurrentIndex(view.chosenDeck);
    }
    for (int i = 0; i < kPaneSlots; ++i) {
        DrawSlot(deckPics_[i], view.deck[i]);
        DrawSlot(collectPics_[i], view.collection[i]);
    }
    const std::pair<QScrollBar*, std::pair<const std::optional<int>*, int>> bars[] = {
        {deckScroll_, {&view.deckScrollMax, view.deckScroll}},
        {collectionScroll_, {&view.collectionScrollMax, view.collectionScroll}}};
    for (const auto& [bar, range] : bars) {
        const QSignalBlocker quiet(bar);
        if (*range.first) bar->setMaximum(**range.first);
        bar->setValue(range.second);
    }
    if (view.tokens) tokens_->setText(ToQt(*view.tokens));
    if (view.cardCount) cardCount_->setText(ToQt(*view.cardCount));
}

void DeckManager::reject() {
    close();
}

void DeckManager::closeEvent(QCloseEvent* event) {
    if (logic_.Presses().Hold([this] { close(); })) {
        event->ignore();
        return;
    }
    const bool decided = std::exchange(closeDecided_, false);
    bool mayClose = true;
    RunCommand("Form_QueryUnload", [&] { mayClose = logic_.Closing(decided); });
    if (!mayClose) {
        event->ignore();
        return;
    }
    event->accept();
    logic_.Presses().Drop();
    QDialog::done(QDialog::Accepted);
}

void DeckManager::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (width() == 0 || !isVisible()) return;
    EngineGuard guard;
    if (!guard) return;
    RunCommand("Form_Resize", [this] { Draw(logic_.UpdateDecks()); });
}

void RunDeckManager(QWidget* parent) {
    DeckManager window(parent);
    window.exec();
}

void RunOpponentDeckManager(QWidget* parent) {
    PrepareOpponentDeck();
    {
        ModalScope scope;
        RunDeckManager(parent);
    }
    FinishOpponentDeck();
}

namespace {

DeckManager* OpenWithoutWaiting(QWidget* parent) {
    // The window's load is part of the designer's command that opens it.
    ModalScope scope;
    auto* window = new DeckManager(parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}

}  // namespace

DeckManager* OpenCardTestDeckManager(QWidget* parent) {
    PrepareCardTest();
    return OpenWithoutWaiting(parent);
}

DeckManager* OpenCardViewDeckManager(QWidget* parent) {
    PrepareCardView();
    return OpenWithoutWaiting(parent);
}

}  // namespace dv::ui
