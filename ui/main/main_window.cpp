#include "ui/main/main_window.h"

#include <QCloseEvent>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>

#include "engine/model/state.h"
#include "ui/common/engine_guard.h"
#include "ui/common/qt_dialogs.h"
#include "ui/common/qt_plain_text.h"
#include "ui/main/hand_picture_widget.h"
#include "ui/main/help_window.h"
#include "ui/main/link_router.h"
#include "ui/main/main_layout.h"
#include "ui/main/qt_connection.h"
#include "ui/main/qt_host.h"
#include "viewer/ulk_browser.h"

namespace dv::ui {
namespace {

void Place(QWidget* widget, const Rect& r) {
    widget->setGeometry(r.left, r.top, r.width, r.height);
}

// The link under the pointer at the press: the element's own, or, for a picture or text inside
// a link, its parent's.
std::string ClickedLink(const ulkBrowser* view) {
    const ulkElement element = view->CurrentElement();
    return FromQt(element.href.isEmpty() ? element.parentHref : element.href);
}

ulkBrowser* NewViewer(QWidget* parent, const char* name, const Rect& where) {
    auto* viewer = new ulkBrowser(parent);
    viewer->setObjectName(name);
    Place(viewer, where);
    return viewer;
}

QPushButton* NewButton(QWidget* parent, const char* name, const char* caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName("MainWindow");
    setWindowTitle("Duvenhall Version Beta 2.12");
    area_ = new QWidget(this);
    area_->setMinimumSize(kMinimumWidth, kMinimumHeight);
    area_->installEventFilter(this);
    setCentralWidget(area_);

    board_ = NewViewer(area_, "ulkBrowser1", design::kBoard);
    queue_ = NewViewer(area_, "InPlayulk", design::kQueue);
    cardView_ = NewViewer(area_, "CardDescULK", design::kCardView);
    chat_ = NewViewer(area_, "ChatWindow", design::kChat);
    chatLine_ = new QLineEdit(area_);
    chatLine_->setObjectName("Text1");
    Place(chatLine_, design::kChatLine);
    colourButton_ = NewButton(area_, "TextColorButton", "");
    colourButton_->setStyleSheet("background-color: white;");
    Place(colourButton_, design::kColourButton);
    picture_ = new QLabel(area_);
    picture_->setObjectName("Picture1");
    picture_->setAlignment(Qt::AlignCenter);
    Place(picture_, design::kPicture);
    BuildHand(area_);
    BuildButtons(area_);
    BuildMenus();

    connection_ = new QtConnection(this);
    connect(connection_, &QtConnection::Connected, this, &MainWindow::Relayout);

    // The link is read at the press: a held press must not take the link of a later one.
    connect(board_, &ulkBrowser::HTMLClick, this,
            [this] { Press([href = ClickedLink(board_)] { BoardClick(href); }); });
    connect(cardView_, &ulkBrowser::HTMLClick, this,
            [this] { Press([href = ClickedLink(cardView_)] { CardViewClick(href); }); });
    connect(board_, &ulkBrowser::ViewerError, this, [](int number, const QString& description) {
        ViewerError(number, FromQt(description));
    });

    resize(design::kWidth, design::kHeight + menuBar()->sizeHint().height());
    Relayout();
}

void MainWindow::BuildHand(QWidget* area) {
    for (int slot = 1; slot <= kHandSlots; ++slot) {
        auto* picture = new HandPictureWidget(area);
        picture->setObjectName(QString("Picture2_%1").arg(slot));
        Place(picture, HandPicture(slot));
        connect(picture, &HandPictureWidget::Hovered, this,
                [this, slot] { handStrip_.Hover(slot); });
        connect(picture, &HandPictureWidget::Released, this, [this, slot](Qt::MouseButton button) {
            Press([this, slot, right = button == Qt::RightButton] {
                handStrip_.Release(slot, right);
            });
        });
        handPictures_[slot - 1] = picture;

        QLabel* label = NewPlainLabel(area);
        label->setObjectName(QString("HandLabel_%1").arg(slot - 1));
        label->setAutoFillBackground(true);
        label->setStyleSheet("background-color: black; color: white;");
        Place(label, HandLabel(slot));
        handLabels_[slot - 1] = label;
    }
}

void MainWindow::BuildButtons(QWidget* area) {
    takeTurn_ = NewButton(area, "Command1", "Take Turn");
    Place(takeTurn_, design::kTakeTurn);
    connect(takeTurn_, &QPushButton::clicked, this,
            [this] { Press([this] { commands_.TakeTurn(); }); });

    // The computer's buttons start hidden and nothing shows them.
    struct Hidden {
        const char* name;
        const char* caption;
        bool (MainCommands::*command)();
    };
    const Hidden hidden[] = {{"AITurnButton", "AI Turn", &MainCommands::ComputerTurn},
                             {"AIGameButton", "AI Game", &MainCommands::ComputerGame},
                             {"Command2_0", "AI Game Test", &MainCommands::Tournament},
                             {"Command3", "Evolve a Deck", &MainCommands::EvolveDeck}};
    for (const Hidden& h : hidden) {
        QPushButton* button = NewButton(area, h.name, h.caption);
        button->hide();
        const auto command = h.command;
        connect(button, &QPushButton::clicked, this,
                [this, command] { Press([this, command] { (commands_.*command)(); }); });
    }

    backButton_ = NewButton(area, "backbutton", "<<< Back to Game");
    Place(backButton_, design::kBackButton);
    backButton_->hide();
    connect(backButton_, &QPushButton::clicked, this, [this] {
        Press([this] {
            commands_.BackToGame();
            backButton_->hide();
        });
    });
}

void MainWindow::BuildMenus() {
    auto item = [this](QMenu* menu, const char* name, const char* caption, auto slot) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    QMenu* file = menuBar()->addMenu("File");
    file->setObjectName("filemen");
    item(file, "newgamemen", "Quit / New Game", [this] { Press([this] { commands_.NewGame(); }); });
    deckManagerItem_ = item(file, "deckmanagermen", "Deck Manager",
                            [this] { Press([this] { commands_.OpenDeckManager(); }); });
    cardEditorItem_ = item(file, "EditMen", "Card Editor", [this] {
        Press([this] {
            if (!openCardEditor_ || !commands_.LeaveForDesigner()) return;
            openCardEditor_();
            hide();
        });
    });
    cardEditorItem_->setEnabled(false);
    item(file, "saveplrmen", "Save Current Player",
         [this] { Press([this] { commands_.SaveCurrentPlayer(); }); });
    item(file, "savehtmlmen", "Save HTML Snapshot", [] {});

    QMenu* options = menuBar()->addMenu("Options");
    options->setObjectName("optionmen");
    fullSizeItem_ = item(options, "fullsizemen", "Full Sized Images",
                         [this] { commands_.SetFullSize(fullSizeItem_->isChecked()); });
    fullSizeItem_->setCheckable(true);
    debugItem_ = item(options, "debugmen", "Debug Mode",
                      [this] { debugItem_->setChecked(commands_.ToggleDebugMode()); });
    debugItem_->setCheckable(true);

    QAction* help = menuBar()->addAction("Help");
    help->setObjectName("helpmen");
    connect(help, &QAction::triggered, this, [this] { Press([this] { commands_.ShowHelp(); }); });
}

void MainWindow::SetHelpWindow(HelpWindow* help) {
    help_ = help;
}

void MainWindow::SetCardEditorOpener(std::function<void()> open) {
    openCardEditor_ = std::move(open);
    cardEditorItem_->setEnabled(static_cast<bool>(openCardEditor_));
}

void MainWindow::Load() {
    commands_.Load();
}

void MainWindow::HandBack() {
    const Activation activation = commands_.Activate();
    deckManagerItem_->setEnabled(activation.deckManagerEnabled);
    ShowDebugMode();
    // Only a help window still open comes to the front: one the player closed stays closed.
    if (activation.raiseHelp && help_ && help_->isVisible()) help_->ShowInFront();
}

void MainWindow::ShowDebugMode() {
    debugItem_->setChecked(St().DebugMode == 1);
}

void MainWindow::UpdateHand() {
    const auto views = handStrip_.Redraw();
    RunCommand("UpdateHand", [&] {
        for (int i = 0; i < kHandSlots; ++i) {
            const HandSlotView& view = views[i];
            handPictures_[i]->setVisible(view.visible);
            handLabels_[i]->setVisible(view.visible);
            if (!view.visible) continue;
            handPictures_[i]->setPixmap(QPixmap(ToQt(view.picture)));
            handLabels_[i]->setText(ToQt(view.name));
            handLabels_[i]->setStyleSheet(
                QString("background-color: black; color: rgb(%1, %2, %3);")
                    .arg(view.red)
                    .arg(view.green)
                    .arg(view.blue));
        }
    });
}

void MainWindow::HideHand() {
    handStrip_.Hide();
    for (int i = 0; i < kHandSlots; ++i) {
        handPictures_[i]->hide();
        handLabels_[i]->hide();
    }
}

void MainWindow::SetEndTurnCaption(const std::string& caption) {
    takeTurn_->setText(ToQt(caption));
}

void MainWindow::EnableDeckManagerMenu(bool enabled) {
    deckManagerItem_->setEnabled(enabled);
}

void MainWindow::LoadCardPicture(const std::string& path) {
    const QPixmap pixmap(ToQt(path));
    if (pixmap.isNull()) {
        picture_->clear();
        return;
    }
    picture_->setPixmap(
        pixmap.scaled(picture_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void MainWindow::StoreFullSizeTick() {
    commands_.SetFullSize(fullSizeItem_->isChecked());
}

void MainWindow::ShowFromEngine() {
    if (isVisible()) return;
    show();
    HandBack();
}

void MainWindow::CloseWithoutSaving() {
    closingWithoutSaving_ = true;
    close();
}

void MainWindow::Relayout() {
    RunCommand("Form_Resize", [&] {
        if (isMinimized()) return;
        const MainLayout l = LayOut(area_->width(), area_->height(), St().Connected != 0);
        Place(board_, l.board);
        Place(queue_, l.queue);
        Place(cardView_, l.cardView);
        Place(picture_, l.picture);
        Place(chat_, l.chat);
        Place(chatLine_, l.chatLine);
        Place(colourButton_, l.colourButton);
        chat_->setVisible(l.chatShown);
        chatLine_->setVisible(l.chatShown);
        colourButton_->setVisible(l.chatShown);
    });
}

void MainWindow::Press(HeldPresses::Press press) {
    handStrip_.Presses().Run(std::move(press));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (closingWithoutSaving_) {
        event->accept();
        return;
    }
    if (handStrip_.Presses().Hold([this] { close(); })) {
        event->ignore();
        return;
    }
    switch (commands_.Close()) {
        case CloseOutcome::Refused:
            event->ignore();
            return;
        case CloseOutcome::BackToDesigner:
            event->ignore();
            hide();
            if (openCardEditor_) openCardEditor_();
            return;
        case CloseOutcome::Closed:
            // The designer's cards are asked about first: a save that did not happen keeps this
            // window open as well.
            if (!ProgramMayEnd()) {
                event->ignore();
                return;
            }
            if (help_) help_->close();
            handStrip_.Presses().Drop();
            event->accept();
            // The player file is saved: the program ends, whatever runs beneath this close.
            EndEventLoop();
            return;
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == area_ && event->type() == QEvent::Resize) Relayout();
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace dv::ui
