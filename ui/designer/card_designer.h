#pragma once
// The card designer's commands: its life cycle, the commands on the card being designed, the
// commands on whole card files and the hand-overs to the deck manager. No Qt: questions and file
// choices go through the dialog seam, the other windows through DesignerPeers.

#include <optional>
#include <string>

#include "ui/designer/card_form.h"
#include "ui/designer/designer_peers.h"

namespace dv::ui {

enum class DesignerOpener {
    MainMenu,     // the designer works on card files and starts a new game when it closes
    DeckManager,  // the deck manager handed one collection card over in CurrentCard
};

class Designer {
  public:
    explicit Designer(DesignerPeers& peers) : form(peers), peers_(peers) {}

    CardForm form;

    // The window's load, its activation (at first show and when a window of the program hands
    // back), and its closing. Close answers whether the window may close: not when the author
    // asked to save the cards and the save was cancelled or failed.
    void Open(DesignerOpener opener);
    void Activate();
    bool Close();
    // The program is told to end: the author is asked about the cards as on closing, and true
    // means the program may end (saved, or No) without a new game. False when the save did not
    // happen: the designer stays as it was, a hand-over to its card test included.
    bool LetProgramEnd();
    // The deck manager or a test game hands back: the card the designer was showing when it
    // handed over is its card again, then the activation.
    void ComeBack();

    void DuplicateCard();
    void NewCardFromTemplate();
    void SaveAsTemplate();
    void DeleteCard();
    void SaveCard();
    void CalculateCost();
    // "Add Effect" of shown action row i.
    void AddEffectToRow(int i);
    // A pick in the target list of shown action row i.
    void TargetClick(int i, int position);
    void ShowHelpText(int index);
    void GenerateCardText();
    void ErrorCheck();
    void Help();

    void LoadCards();
    void AddCardsFromFile();
    void SaveCards();
    void SaveCardsAs();
    void CreateCustomEnemy();
    void EditExistingEnemy();
    void CreateCardStore();
    void CreateStarterDeckBuilder();
    void TestCards();
    void ViewCards();

    // The deck manager's card view hands back with card `slot` of EditCards to show.
    void ShowCardOfList(int slot);

    // The help text of a "?" button; empty for a button without one.
    static std::string HelpText(int index);

    // The cost card and tokens of the designer's card file: what it brought when it was loaded,
    // or its author added. Only these are written into it; the game's cost card, or one another
    // file brought, may price its cards but never goes into it. Its game file and other lines are
    // in the file's layout (CardSetLayout).
    struct CardFileParts {
        Card costCard;  // an empty name: none
        int32_t tokens = 0;
    };

  private:
    // What a designer opened by the deck manager changes of the designer session around it (a
    // designer from the menu, hidden during its test game): put back when it closes.
    struct OuterSession {
        List<Card> EditCards;
        int16_t EditIndex = 0;
        List<CardTemplate> Templates;
        std::string CardSetFile;
        uint8_t EditorTest = 0;
        uint8_t DesignerActive = 0;
        CardFileLayout CardSetLayout;
    };

    enum class FileChoice { Open, Save };
    // A card file chosen in a file dialog; nothing when the dialog was cancelled.
    std::optional<std::string> AskCardFile(FileChoice choice, const char* title) const;
    void NewSlotFor(bool duplicate);
    void WriteStoreOrStarter(const char* title, const char* prompt, const char* unnamed,
                             int starter);
    bool NeedsCardFile();
    // The windows the designer hands over to may change CurrentCard (a sort empties its name)
    // and reorder EditCards (their sorts): the card shown, the list and the slot are kept until
    // the designer comes back.
    void HandOverCard();
    void TakeBackCard();
    // "Save cards now?" and the save it offers: false when Yes was answered and the save did not
    // happen.
    bool OfferToSave();
    // Whether the designer holds cards, a card on its form or templates that a load would replace.
    bool HoldsWork() const;

    enum class SaveWay {
        CardFile,  // Save Cards: the card file (asked for when there is none yet), sorted
        Offered,   // the save offered on closing, on ending the program and before a load
        NewFile,   // Save Cards As: always asks
    };
    // Every save of the card file: commits the form, stamps each card with the file as its set
    // and writes the file with its own parts. Whether it was written; only a written file
    // becomes the designer's card file, and a save that did not happen leaves the cards as
    // they were.
    bool SaveCardFile(SaveWay way);

    // What the designer showed when it handed over: the card, its list and the slot.
    struct HandOver {
        Card card;
        List<Card> cards;
        int16_t index = 0;
    };

    DesignerPeers& peers_;
    std::optional<OuterSession> outer_;
    std::optional<HandOver> handedOver_;
    CardFileParts fileParts_;
};

}  // namespace dv::ui
