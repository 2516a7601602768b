#pragma once
// The deck manager window: the deck pane and the collection pane, eighteen pictures each with a
// scroll bar, the deck choice, the sort, deck and sale buttons, the "File" and "Help" menus, and
// the description viewer "Deckulk" on the right. It draws and forwards; DeckManagerLogic decides.
//
// How it is opened (the opener sets the hand-over values first, see deck_manager_modes.h):
//  - the game start and the main window's "Deck Manager" (mode 0) and a card pick for a menu
//    action (mode 4) through WindowCall::ShowDeckManager, which the program answers with
//    RunDeckManager;
//  - the card designer: RunOpponentDeckManager (mode 1, modal), OpenCardTestDeckManager (mode 2)
//    and OpenCardViewDeckManager (mode 3), both without waiting; the designer installs its
//    DesignerLink (designer_link.h) to take cards handed back.

#include <QDialog>
#include <QPointer>
#include <array>
#include <functional>

#include "ui/decks/deck_manager_logic.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class ulkBrowser;

namespace dv::ui {

class HandPictureWidget;

class DeckManager : public QDialog {
    Q_OBJECT

  public:
    // Loads and activates the window for the mode the opener set.
    explicit DeckManager(QWidget* parent = nullptr);

    ulkBrowser* Viewer() const { return deckulk_; }
    DeckManagerLogic& Logic() { return logic_; }

    // Closes through the closing by mode, as the close box does.
    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void BuildPanes(QWidget* area);
    void BuildButtons(QWidget* area);
    void BuildMenus();
    QPushButton* Button(const char* name, const char* caption, const char* tip,
                        std::function<DeckOutcome()> handler);

    // Runs a handler under its own name and does what its outcome asks.
    void Handle(const char* name, const std::function<DeckOutcome()>& handler);
    // A press made while this window waits for one of its pages is held, and run once the page
    // has loaded: neither inside the wait nor lost. A move over a picture is not held.
    void Hover(const char* name, const std::function<void(const PageShow&)>& describe);
    void Apply(const DeckOutcome& outcome);
    void Draw(const DeckView& view);
    void ShowControls(const ShownControls& shown);
    void ShowPage(const std::string& location);

    DeckManagerLogic logic_;
    bool closeDecided_ = false;

    std::array<HandPictureWidget*, kPaneSlots> deckPics_{};
    std::array<HandPictureWidget*, kPaneSlots> collectPics_{};
    QScrollBar* deckScroll_;
    QScrollBar* collectionScroll_;
    QComboBox* combo_;
    QLabel* tokens_;
    QLabel* cardCount_;
    std::array<QLineEdit*, 2> traitBoxes_{};
    QPushButton* done_;
    QPushButton* changeImage_;
    QPushButton* sell_;
    QAction* loadOpponent_;
    ulkBrowser* deckulk_;
};

// Shows the deck manager modally in the mode set (0, 1 or 4) and returns once it has closed.
void RunDeckManager(QWidget* parent);
// The card designer's openings: the opponent deck (modal; DeckManagerMode is 0 again afterwards),
// the card test and the card view (not modal: the window is returned and deletes itself when it
// closes).
void RunOpponentDeckManager(QWidget* parent);
DeckManager* OpenCardTestDeckManager(QWidget* parent);
DeckManager* OpenCardViewDeckManager(QWidget* parent);

}  // namespace dv::ui
