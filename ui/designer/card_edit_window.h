#pragma once
// The card designer window "CardEdit": it lays out the card form, its lists, buttons and menus,
// turns each widget event into one call on the designer's logic (ui/designer/card_designer.h)
// and redraws from what the logic holds.

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "ui/designer/card_designer.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;

namespace dv::ui {

class QtCardPictures;

// What the designer asks of the program around it.
struct CardEditHooks {
    // The main window again when a designer opened from its menu closes; by default the host's
    // WindowCall::ShowMainWindow.
    std::function<void()> showMainWindow;
};

class CardEditWindow : public QMainWindow, private DesignerPeers {
    Q_OBJECT

  public:
    CardEditWindow(DesignerOpener opener, CardEditHooks hooks, QWidget* parent = nullptr);
    ~CardEditWindow() override;

    Designer& Logic() { return designer_; }
    // The deck manager's card view hands back: the window shows again with card `slot` of
    // EditCards.
    void ShowCardOfList(int slot);
    // The deck manager or a test game hands back: the window shows again and is activated.
    void ComeBack();
    // The program is told to end: the designer asks about its cards as on closing, shown or
    // hidden during its card test. False when the author's save did not happen: the designer
    // stays as it was, and the program must go on. Once true, closing the window asks nothing.
    bool LetProgramEnd();

  signals:
    void closed();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildMenus();
    QWidget* BuildPicturePanel();
    QWidget* BuildCardFields();
    QGroupBox* BuildTraits();
    QGroupBox* BuildCaptions();
    QGroupBox* BuildActions();
    QWidget* BuildButtons();
    QPushButton* HelpButton(int index);

    // Runs one command of the window and redraws.
    template <class Body>
    void Command(const char* name, Body&& body);
    void Redraw();
    void DrawPictures();
    void ToggleExpand(int i);

    // DesignerPeers
    void EditEnemyDeck() override;
    void ShowDeckManagerFor(int mode) override;
    void UpdatePic(int mode) override;
    bool StorePictureFiles(const std::string& pictureName, const std::string& thumbnailName,
                           Card& stored) override;
    void UnloadPicPick() override;
    std::string PickEffect() override;
    void ShowMainWindow() override;

    CardEditHooks hooks_;
    Designer designer_;
    std::unique_ptr<QtCardPictures> pictures_;
    bool activated_ = false;
    bool closing_ = false;
    bool endAgreed_ = false;

    QMenu* fileMenu_ = nullptr;
    QLabel* mainPic_ = nullptr;
    QLabel* miniPic_ = nullptr;
    QLabel* colorLabel_ = nullptr;
    std::array<QLineEdit*, 3> cardText_{};
    QPlainTextEdit* descText_ = nullptr;
    QComboBox* activateCombo_ = nullptr;
    QLabel* rarityLabel_ = nullptr;
    QComboBox* rarityCombo_ = nullptr;
    QComboBox* cardCombo_ = nullptr;
    QLabel* cardTotal_ = nullptr;
    std::array<QLineEdit*, kShownRows> traitText_{};
    std::array<QPlainTextEdit*, kShownRows> valueText_{};
    std::array<QPushButton*, kShownRows> expandButton_{};
    std::array<QComboBox*, kShownRows> traitCombo_{};
    QScrollBar* traitScroll_ = nullptr;
    std::array<QLineEdit*, kShownRows> traitDescName_{};
    std::array<QLineEdit*, kShownRows> traitDescText_{};
    QScrollBar* traitDescScroll_ = nullptr;
    QGroupBox* actionFrame_ = nullptr;
    std::array<QComboBox*, kShownRows> triggerCombo_{};
    std::array<QComboBox*, kShownRows> targetCombo_{};
    std::array<QLineEdit*, kShownRows> effText_{};
    QScrollBar* effScroll_ = nullptr;
    QWidget* buttonFrame_ = nullptr;
    QComboBox* templateCombo_ = nullptr;
    QPushButton* costButton_ = nullptr;
    QPlainTextEdit* outputText_ = nullptr;
};

// The designer window that is open, if any: the deck manager and the test game hand back to it.
CardEditWindow* TheCardEditor();
// Asked before the program ends, by every way it ends: whether the designer from the menu, if one
// is open, lets it end.
bool CardEditorLetsProgramEnd();
// "Card Editor" of the main window: the designer, not modal; it deletes itself once closed.
CardEditWindow* OpenCardEditor(CardEditHooks hooks);
// The main window makes way for the designer: the one hidden during a test game comes back,
// else a new one opens from the menu.
void ShowCardEditor(CardEditHooks hooks);
// The deck manager's hand-over of one collection card (in CurrentCard): the designer, modal;
// when it returns CurrentCard holds the edited card.
void EditCollectionCard(QWidget* parent);
// Lets the deck manager hand cards to the designer (ui/decks/designer_link.h).
void InstallDesignerLink();

}  // namespace dv::ui
