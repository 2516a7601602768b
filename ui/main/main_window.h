#pragma once
// The main window: the board view in the middle, the hand strip with "Take Turn" and the
// queued-plays view on the left, the picture panel and the card view on the right, the chat panel
// under the board once connected. It draws and forwards; the logic lives in MainCommands,
// HandStrip and the link router.

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <string>

#include "ui/main/hand_strip.h"
#include "ui/main/main_commands.h"

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class ulkBrowser;

namespace dv::ui {

class HandPictureWidget;
class HelpWindow;
class QtConnection;

class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    explicit MainWindow(QWidget* parent = nullptr);

    ulkBrowser* BoardView() const { return board_; }
    ulkBrowser* QueueView() const { return queue_; }
    ulkBrowser* CardView() const { return cardView_; }
    ulkBrowser* ChatView() const { return chat_; }
    QtConnection& Connection() const { return *connection_; }
    void SetHelpWindow(HelpWindow* help);
    // "Card Editor" opens the designer through this; the item stays disabled until it is set.
    // The designer shows this window again through WindowCall::ShowMainWindow.
    void SetCardEditorOpener(std::function<void()> open);

    // Form_Load.
    void Load();
    // Form_Activate: at the first show and when the program's own deck manager or designer
    // hands back.
    void HandBack();

    // Window calls of the engine.
    void UpdateHand();
    void HideHand();
    void SetEndTurnCaption(const std::string& caption);
    void EnableDeckManagerMenu(bool enabled);
    void LoadCardPicture(const std::string& path);
    void StoreFullSizeTick();
    // "Debug Mode" carries its check mark exactly when DebugMode is 1.
    void ShowDebugMode();
    // Shows the window; coming back from hidden counts as a hand-back.
    void ShowFromEngine();
    // The program ends without the player file being saved.
    void CloseWithoutSaving();
    // Form_Resize.
    void Relayout();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildMenus();
    void BuildHand(QWidget* area);
    void BuildButtons(QWidget* area);
    // Every press of the window goes through this: one made while a hover's page loads is held
    // and runs once the page has loaded.
    void Press(HeldPresses::Press press);

    MainCommands commands_;
    HandStrip handStrip_;
    std::function<void()> openCardEditor_;
    QPointer<HelpWindow> help_;
    bool closingWithoutSaving_ = false;

    QWidget* area_;
    ulkBrowser* board_;
    ulkBrowser* queue_;
    ulkBrowser* cardView_;
    ulkBrowser* chat_;
    QLineEdit* chatLine_;
    QPushButton* colourButton_;
    QLabel* picture_;
    std::array<HandPictureWidget*, kHandSlots> handPictures_{};
    std::array<QLabel*, kHandSlots> handLabels_{};
    QPushButton* takeTurn_;
    QPushButton* backButton_;
    QAction* deckManagerItem_;
    QAction* cardEditorItem_;
    QAction* fullSizeItem_;
    QAction* debugItem_;
    QtConnection* connection_;
};

}  // namespace dv::ui
