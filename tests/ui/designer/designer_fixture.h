#pragma once
// A designer over a fresh program folder: scripted dialogs, recording fakes for the windows it
// hands over to, and card files written in a line or two.

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "data/card_files.h"
#include "engine/model/state.h"
#include "tests/support/dialogs_fixture.h"
#include "ui/designer/card_designer.h"
#include "ui/designer/card_pictures.h"

namespace dv::test {

class FakePeers : public ui::DesignerPeers {
  public:
    std::vector<std::string> calls;
    std::vector<std::string> savedPictures;
    std::string pickedEffect;
    // What the deck manager's opponent editing saw of EnemyCards.
    std::vector<std::string> enemyNames;
    // What the deck manager does while the designer has handed over to it.
    std::function<void()> handedOver = [] {};
    // Picture work that fails, as a picture that cannot be read does.
    bool failPictures = false;
    // The window's own picture work, when a test runs it; recorded only otherwise.
    ui::CardPictures* pictures = nullptr;

    void EditEnemyDeck() override {
        calls.push_back("EditEnemyDeck:" + std::to_string(St().DeckManagerMode));
        enemyNames.clear();
        for (const Card& card : St().EnemyCards)
            enemyNames.push_back(card.Name);
        handedOver();
    }
    void ShowDeckManagerFor(int mode) override {
        calls.push_back("ShowDeckManagerFor:" + std::to_string(mode));
        handedOver();
    }
    void UpdatePic(int mode) override {
        calls.push_back("UpdatePic:" + std::to_string(mode));
        if (failPictures) throw std::runtime_error("the picture cannot be read");
        if (pictures) pictures->UpdatePic(mode);
    }
    bool StorePictureFiles(const std::string& picture, const std::string& thumbnail,
                           Card& stored) override {
        if (pictures) return pictures->StorePictureFiles(picture, thumbnail, stored);
        savedPictures.push_back(picture);
        savedPictures.push_back(thumbnail);
        St().CurrentCard.Picture = stored.Picture = picture;
        St().CurrentCard.Thumbnail = stored.Thumbnail = thumbnail;
        return true;
    }
    void UnloadPicPick() override { calls.push_back("UnloadPicPick"); }
    std::string PickEffect() override {
        calls.push_back("PickEffect");
        return pickedEffect;
    }
    void ShowMainWindow() override { calls.push_back("ShowMainWindow"); }
};

// One card as a card data file holds it.
struct CardText {
    std::string name;
    std::string uniqueName;
    std::vector<std::string> traits;    // "NAME:value"
    std::vector<std::string> effects;   // whole "#EFFECT, ..." lines
    std::vector<std::string> captions;  // whole "#TRAITACTIONDESC, ..." lines
    std::string picture = "Card-x.jpg";
    std::string colour = "#FF0000";
    int rarity = 5;
};

class DesignerTest : public DialogsTest {
  protected:
    void SetUp() override {
        DialogsTest::SetUp();
        St().Players[1].Id = 1;
        St().Players[2].Id = 2;
        St().FixedNow = "2024-05-01 10:00:00";
    }
    static std::string FileText(const std::vector<CardText>& cards);
    // Writes the cards as a card file in the test's folder and gives its full path.
    std::string WriteCards(const std::string& name, const std::vector<CardText>& cards);
    // Opens the designer from the main menu and loads the file.
    void OpenWith(const std::string& file);
    std::string ReadFile(const std::string& path) const;
    // "Test Cards", "View Cards" and "Create Custom Enemy" each refuse for want of a card file.
    void ExpectCardFileNeeded(ui::Designer& shown);
    // The names of EditCards in slot order, free slots as "".
    static std::vector<std::string> EditNames();

    FakePeers peers;
    ui::Designer designer{peers};
};

}  // namespace dv::test
