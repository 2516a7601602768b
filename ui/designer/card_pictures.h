#pragma once
// The card designer's picture work: the card picture and its thumbnail composed from an art
// picture (a region of it for each), a back picture and a thumbnail border; the commands that
// choose those pictures, the regions and the name colour; and the picture files written when a
// card is stored. The designer window keeps the state below and calls one function per command;
// the pictures themselves, the picker window and the image files are the platform's
// (QtCardPictures in ui/designer/qt_card_pictures.h). The card worked on is St().CurrentCard.

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>

#include "engine/model/records.h"
#include "ui/designer/picture_region.h"

namespace dv::ui {

// The designer window's members that the picture work reads and writes.
struct CardPictureState {
    std::string BackPath = "backs-generic.bmp";  // back picture of the card being designed
    std::string ArtPath;                         // art picture
    std::string MiniPath;                        // thumbnail border picture
    std::string CardFolder;          // folder of the last card file opened; empty for none
    uint32_t NameColour = 0xFFFFFF;  // the card's colour, red in the low byte
    PicRegion Region;                // the regions as the picker and the composition use them
};

// The pictures one composition paints from: files that can be loaded, empty for none.
struct PictureSources {
    std::string back;
    std::string art;
    std::string border;
    PicRegion region;
    uint32_t nameColour = 0xFFFFFF;
};

// Whether a picture file was written, and if not, why.
struct PictureSave {
    bool written = false;
    std::string reason;
};

// Whether a composition drew the card's picture, and if not, why: empty when no picture was
// given to compose from.
struct PictureCompose {
    bool composed = false;
    std::string reason;
};

// What the picture work needs of the windows.
class PicturePlatform {
  public:
    virtual ~PicturePlatform() = default;
    // The picture picker, modal, showing `prompt`: the chosen file's full path, nullopt when it
    // was closed without a choice. In region mode the user goes on to click the four corners into
    // `region` (all 0 at the call); closing before the last one is a cancel too.
    virtual std::optional<std::string> PickPicture(const std::string& prompt, bool regionMode,
                                                   PicRegion& region) = 0;
    // The folder the picker shows.
    virtual std::string PickerFolder() = 0;
    // "Generating new image..." in place of the card picture until EndComposing.
    virtual void BeginComposing() = 0;
    // Loads the card's saved picture files into the card picture and thumbnail; an empty path,
    // or a file that cannot be read, leaves that box empty. Why a file given could not be read;
    // empty when both were shown.
    virtual std::string ShowSavedPictures(const std::string& picture,
                                          const std::string& thumbnail) = 0;
    // Composes both pictures from the art picture, or without one from the back alone (the
    // thumbnail then is blank). Not composed when the picture to draw could not be read (then with
    // the reason) or none was given (then with no reason).
    virtual PictureCompose ComposePictures(const PictureSources& sources) = 0;
    virtual void EndComposing() = 0;
    // Write the card picture (JPEG quality 100) and the thumbnail (quality 85) to a file whose
    // extension names the format.
    virtual PictureSave SaveImage(const std::string& path) = 0;
    virtual PictureSave SaveMini(const std::string& path) = 0;
};

class CardPictures {
  public:
    // `commit` stores the window into EditCards(EditIndex); the picture menus commit first.
    CardPictures(CardPictureState& state, PicturePlatform& platform, std::function<void()> commit);

    // Composes or reloads the card picture and thumbnail; mode 1 drops the card's saved picture
    // name first and composes anew. Loading a card (0), new and duplicated cards (0). A picture
    // that cannot be composed (its art cannot be found or read) is never written: the card keeps
    // the picture files it had, and the author is told why, once for each reason.
    void UpdatePic(int mode);

    // A click on the card picture, and "Load new Foreground Image": the art picture and its two
    // regions from the picker. Cancelling the picker, or "No" to making a new picture, changes
    // nothing.
    void MainPicClick();
    // "Load Existing Card Image": an existing card picture and thumbnail file, shown where they
    // were picked; when they cannot be shown the author is told why.
    void LoadExistingCardImage();
    // "Load new Background Image".
    void LoadBackgroundImage();
    // "Load new Thumbnail Border Image".
    void LoadThumbnailBorderImage();
    // "Save Card Image As...": the card picture to the chosen file (".jpg" when the name has no
    // extension), the thumbnail beside it with "-mini" before the extension. An export: the card
    // is left as it was. An existing thumbnail file is replaced only when the user agrees.
    void SaveCardImageAs();
    // "Card Name Color (Click to change)": the colour dialog; the card's colour and
    // state.NameColour take the choice (redraw the label from it) and the picture is composed
    // anew. Cancel changes nothing.
    void ChooseNameColour();
    // "Random Pic": a random "*.jpg" of the picker's folder, whole, as the card's art.
    void RandomPic();

    // The store of a card that has no picture file: writes the shown picture and thumbnail under
    // the two names (a bare name goes into the card file's folder, else the current folder) and
    // gives CurrentCard and `stored` those names and the written files as their locations. When a
    // file cannot be written it says why and leaves the names empty, so the next store tries
    // again; false then. Pictures that were not composed for the card are not written: false.
    bool StorePictureFiles(const std::string& pictureName, const std::string& thumbnailName,
                           Card& stored);

  private:
    // The card's picture files, by name and by where they are.
    struct PictureFiles {
        std::string picture, pictureUrl, thumbnail, thumbnailUrl;
    };
    static PictureFiles FilesOf(const Card& card);

    bool Editing() const;
    std::optional<std::string> Pick(const std::string& prompt);
    // UpdatePic for a card that had the picture files `had` before the command changed it; why
    // its saved picture files could not be shown, empty when they were or none were shown.
    std::string Update(int mode, const PictureFiles& had);
    void NotComposed(const std::string& reason, const PictureFiles& had);
    std::string InCardFolder(const std::string& name) const;
    // Where a picture the card names is read, empty when nowhere: one the author chose here is
    // read where it is; a name that came with a card file is looked up beside the card file, then
    // as a card's pictures are, inside the folders only. The name itself is never changed.
    std::string Find(const std::string& name) const;
    // A saved picture file: at the location the author picked it from, else found by its name.
    std::string FindSaved(const std::string& name, const std::string& location) const;
    std::string ShowSaved(const Card& card);
    bool IsChosenFile(const std::string& path) const;
    const std::string& Chosen(const std::string& path);

    CardPictureState& state_;
    PicturePlatform& platform_;
    std::function<void()> commit_;
    // Whether the pictures on show were composed for the card shown: only those are written.
    bool shownComposed_ = false;
    std::set<std::string> told_;
    std::set<std::string> chosen_;
};

// The designer's picture controls: texts and, for each item of the "Graphic" menu in its order,
// the item's name, caption and command.
inline constexpr const char* kMainPicTip =
    "This is the image used for the card.  Click to select a new image to use.";
inline constexpr const char* kGenImageText = "Generating new image...";
inline constexpr const char* kColorLabelText = "Card Name Color (Click to change)";
inline constexpr const char* kRandomPicText = "Random Pic";
inline constexpr const char* kGraphicMenuText = "Graphic";

struct PictureMenuItem {
    const char* name;
    const char* caption;
    void (CardPictures::*command)();
};
inline constexpr PictureMenuItem kGraphicMenu[] = {
    {"loadgraphicmen", "Load Existing Card Image", &CardPictures::LoadExistingCardImage},
    {"loadformen", "Load new Foreground Image", &CardPictures::MainPicClick},
    {"loadbackmen", "Load new Background Image", &CardPictures::LoadBackgroundImage},
    {"loadminimen", "Load new Thumbnail Border Image", &CardPictures::LoadThumbnailBorderImage},
    {"saveimagemen", "Save Card Image As...", &CardPictures::SaveCardImageAs},
};

}  // namespace dv::ui
