#include "ui/designer/card_pictures.h"

#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "engine/model/state.h"
#include "tests/support/dialogs_fixture.h"
#include "tests/ui/designer/picture_printers.h"

namespace dv::ui {
namespace {

// The windows' side, scripted: picks come from a queue (nullopt: closed), saves succeed unless a
// file is named to fail, and every call is recorded.
class FakePlatform : public PicturePlatform {
  public:
    struct Pick {
        std::optional<std::string> file;
        PicRegion region;
    };
    std::deque<Pick> picks;
    std::vector<std::string> prompts;
    std::vector<bool> regionModes;
    std::vector<PictureSources> composed;
    std::vector<std::pair<std::string, std::string>> shown;
    std::vector<std::string> saved;  // "image:path" or "mini:path"
    std::string failing;             // a path whose save fails
    std::string unreadable;          // an art picture that cannot be read
    std::string folder;
    int begun = 0;
    int ended = 0;

    std::optional<std::string> PickPicture(const std::string& prompt, bool regionMode,
                                           PicRegion& region) override {
        prompts.push_back(prompt);
        regionModes.push_back(regionMode);
        if (picks.empty()) return std::nullopt;
        Pick pick = picks.front();
        picks.pop_front();
        region = pick.region;
        return pick.file;
    }
    std::string PickerFolder() override { return folder; }
    void BeginComposing() override { ++begun; }
    std::string ShowSavedPictures(const std::string& picture,
                                  const std::string& thumbnail) override {
        shown.emplace_back(picture, thumbnail);
        for (const std::string& file : {picture, thumbnail})
            if (!unreadable.empty() && file == unreadable)
                return "\"" + file + "\" cannot be read as a picture";
        return {};
    }
    PictureCompose ComposePictures(const PictureSources& sources) override {
        composed.push_back(sources);
        if (!unreadable.empty() && sources.art == unreadable)
            return {false, "\"" + unreadable + "\" cannot be read as a picture"};
        // As the program's: the art picture, or without one the back alone.
        return {!sources.art.empty() || !sources.back.empty(), ""};
    }
    void EndComposing() override { ++ended; }
    PictureSave SaveImage(const std::string& path) override { return Save("image:", path); }
    PictureSave SaveMini(const std::string& path) override { return Save("mini:", path); }

  private:
    PictureSave Save(const std::string& kind, const std::string& path) {
        if (path == failing) return {false, "The picture was not saved: " + path};
        saved.push_back(kind + path);
        return {true, ""};
    }
};

class CardPicturesTest : public test::DialogsTest {
  protected:
    void SetUp() override {
        DialogsTestOn::SetUp();
        St().EditIndex = 1;
        Card& card = St().CurrentCard;
        card.Name = "Goblin";
        card.Picture = "Card-Goblin1.jpg";
        card.Thumbnail = "Card-Goblin1-mini.jpg";
        card.ArtSource = "old-art.jpg";
        card.ArtRegion = {1, 2, 3, 4, 5, 6, 7, 8};
        card.Colour = "#FFFFFF";
        WriteFile("Pictures/Art/old-art.jpg", "j");
    }
    // The card's picture names and sources, to see that a command changed nothing.
    static std::vector<std::string> PictureFields() {
        const Card& c = St().CurrentCard;
        return {c.Picture,      c.PictureUrl, c.Thumbnail,
                c.ThumbnailUrl, c.ArtSource,  c.BackSource,
                c.MiniSource,   c.Colour,     std::to_string(c.ArtRegion[0] + 10 * c.ArtRegion[7])};
    }

  public:  // the table rows act on the fixture through a reference
    using DialogsTestOn::dialogs;
    FakePlatform platform;
    CardPictureState state;
    int commits = 0;
    CardPictures pictures{state, platform, [this] { ++commits; }};
};

TEST_F(CardPicturesTest, CancelAndNoChangeNothingSoTheNextStoreWritesNoNewPicture) {
    struct Row {
        const char* what;
        std::function<void(CardPicturesTest&)> act;
    };
    const Row rows[] = {
        {"no to making a new card picture",
         [](CardPicturesTest& t) {
             t.dialogs.answers.push_back(false);
             t.pictures.MainPicClick();
         }},
        {"the picker closed after yes",
         [](CardPicturesTest& t) {
             t.dialogs.answers.push_back(true);
             t.pictures.MainPicClick();
         }},
        {"the picker closed with an empty choice",
         [](CardPicturesTest& t) {
             t.dialogs.answers.push_back(true);
             t.platform.picks.push_back({std::string(), {}});
             t.pictures.MainPicClick();
         }},
        {"the colour dialog cancelled", [](CardPicturesTest& t) { t.pictures.ChooseNameColour(); }},
        {"the back picture's picker closed",
         [](CardPicturesTest& t) { t.pictures.LoadBackgroundImage(); }},
        {"the border picture's picker closed",
         [](CardPicturesTest& t) { t.pictures.LoadThumbnailBorderImage(); }},
        {"the second of two existing pictures not chosen",
         [](CardPicturesTest& t) {
             t.platform.picks.push_back({"/p/Card-A.jpg", {}});
             t.pictures.LoadExistingCardImage();
         }},
        {"Save As cancelled", [](CardPicturesTest& t) { t.pictures.SaveCardImageAs(); }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        const std::vector<std::string> before = PictureFields();
        platform = FakePlatform();
        r.act(*this);
        EXPECT_EQ(PictureFields(), before);
        EXPECT_TRUE(platform.composed.empty());
        EXPECT_TRUE(platform.shown.empty());
        EXPECT_TRUE(platform.saved.empty());
        EXPECT_EQ(platform.ended, 0);
    }
}

TEST_F(CardPicturesTest, ANewArtPictureTakesTheClickedRegionsTheRightWayRoundAndComposesAnew) {
    state.BackPath = "backs-generic.bmp";
    state.MiniPath = "/borders/gold.bmp";
    WriteFile("art/Dragon.jpg", "j");
    const std::string art = (Folder() / "art/Dragon.jpg").string();
    St().CurrentCard.PictureUrl = "/pictures/Card-Goblin1.jpg";
    St().CurrentCard.ThumbnailUrl = "/pictures/Card-Goblin1-mini.jpg";
    dialogs.answers.push_back(true);
    platform.picks.push_back({art, {400, 100, 50, 300, 90, 10, 20, 80}});
    pictures.MainPicClick();

    EXPECT_EQ(commits, 1);
    EXPECT_EQ(platform.regionModes, std::vector<bool>{true});
    const Card& card = St().CurrentCard;
    EXPECT_EQ(card.Picture, "");
    EXPECT_EQ(card.PictureUrl, "");
    EXPECT_EQ(card.Thumbnail, "");
    EXPECT_EQ(card.ThumbnailUrl, "") << "the old thumbnail would still show in the panes";
    EXPECT_EQ(card.ArtSource, art);
    // No such back picture anywhere: the card still names it, as it did.
    EXPECT_EQ(card.BackSource, "backs-generic.bmp");
    EXPECT_EQ(card.MiniSource, "/borders/gold.bmp");
    EXPECT_EQ(card.ArtRegion, (std::array<int16_t, 8>{100, 50, 400, 300, 10, 20, 90, 80}));
    ASSERT_EQ(platform.composed.size(), 1u);
    EXPECT_EQ(platform.begun, 1);
    EXPECT_EQ(platform.ended, 1);
    EXPECT_EQ(platform.composed[0].region, (PicRegion{100, 400, 50, 300, 10, 90, 20, 80}));
}

TEST_F(CardPicturesTest, PictureCommandsWaitForACardBeingEdited) {
    St().EditIndex = 0;
    dialogs.answers.push_back(true);
    platform.picks.push_back({"/art/x.jpg", {}});
    pictures.MainPicClick();
    pictures.LoadBackgroundImage();
    pictures.LoadThumbnailBorderImage();
    pictures.LoadExistingCardImage();
    EXPECT_EQ(commits, 0);
    EXPECT_TRUE(platform.prompts.empty());
}

TEST_F(CardPicturesTest, UpdatePicShowsSavedFilesOrComposesFromTheFoundSources) {
    WriteFile("Pictures/Card-Goblin1.jpg", "j");
    WriteFile("Pictures/Card-Goblin1-mini.jpg", "j");
    WriteFile("Pictures/Art/old-art.jpg", "j");
    WriteFile("backs-generic.bmp", "b");
    St().CurrentCard.BackSource = "backs-generic.bmp";
    state.CardFolder = (Folder() / "cards").string();

    pictures.UpdatePic(0);
    ASSERT_EQ(platform.shown.size(), 1u);
    EXPECT_EQ(platform.shown[0].first, (Folder() / "Pictures/Card-Goblin1.jpg").string());
    EXPECT_EQ(platform.shown[0].second, (Folder() / "Pictures/Card-Goblin1-mini.jpg").string());
    EXPECT_TRUE(platform.composed.empty());
    EXPECT_EQ(platform.begun, 0);
    EXPECT_EQ(St().CurrentFolder, Folder());

    pictures.UpdatePic(1);
    const Card& card = St().CurrentCard;
    EXPECT_EQ(card.Picture, "");
    EXPECT_EQ(card.Thumbnail, "Card-Goblin1-mini.jpg");
    // The search finds the file to compose from; the card keeps the name it came with.
    EXPECT_EQ(card.ArtSource, "old-art.jpg");
    EXPECT_EQ(state.ArtPath, card.ArtSource);
    EXPECT_EQ(card.BackSource, "backs-generic.bmp");
    ASSERT_EQ(platform.composed.size(), 1u);
    EXPECT_EQ(platform.composed[0].art, (Folder() / "Pictures/Art/old-art.jpg").string());
    EXPECT_EQ(platform.composed[0].back, (Folder() / "backs-generic.bmp").string());
    EXPECT_EQ(platform.composed[0].border, "");
    EXPECT_EQ(platform.composed[0].region, RegionOfCard(card.ArtRegion));
    // The new picture files will go beside the card file.
    EXPECT_EQ(St().CurrentFolder, Folder() / "cards");

    // Without an art picture nothing is composed from it, and the folder stays the program's.
    St().CurrentCard.ArtSource = "gone.jpg";
    pictures.UpdatePic(0);
    EXPECT_EQ(platform.composed.back().art, "");
    EXPECT_EQ(St().CurrentFolder, Folder());
}

TEST_F(CardPicturesTest, ColourChoiceColoursTheCardAndComposesAnew) {
    dialogs.colours.push_back(200 | (100 << 8) | (4 << 16));
    pictures.ChooseNameColour();
    EXPECT_EQ(St().CurrentCard.Colour, "#C86404");
    EXPECT_EQ(state.NameColour, 200u | (100 << 8) | (4 << 16));
    EXPECT_EQ(St().CurrentCard.Picture, "");
    ASSERT_EQ(platform.composed.size(), 1u);
    EXPECT_EQ(platform.composed[0].nameColour, state.NameColour);
}

TEST_F(CardPicturesTest, MenusSetBackBorderAndExistingPictures) {
    WriteFile("Pictures/Card-A.jpg", "a");
    WriteFile("p/back.bmp", "b");
    WriteFile("p/border.bmp", "b");
    const std::string back = (Folder() / "p/back.bmp").string();
    const std::string border = (Folder() / "p/border.bmp").string();
    platform.picks.push_back({back, {}});
    pictures.LoadBackgroundImage();
    EXPECT_EQ(St().CurrentCard.Picture, "");
    EXPECT_EQ(St().CurrentCard.BackSource, back);
    EXPECT_EQ(state.BackPath, back);
    ASSERT_EQ(platform.composed.size(), 1u);
    EXPECT_EQ(platform.composed[0].back, back);

    platform.picks.push_back({border, {}});
    pictures.LoadThumbnailBorderImage();
    EXPECT_EQ(St().CurrentCard.MiniSource, border);
    EXPECT_EQ(platform.composed.back().border, border);

    platform.picks.push_back({"/elsewhere/Card-A.jpg", {}});
    platform.picks.push_back({"/elsewhere/Card-A-mini.jpg", {}});
    pictures.LoadExistingCardImage();
    const Card& card = St().CurrentCard;
    EXPECT_EQ(card.Picture, "Card-A.jpg");
    EXPECT_EQ(card.PictureUrl, (Folder() / "Pictures/Card-A.jpg").string());
    EXPECT_EQ(card.Thumbnail, "Card-A-mini.jpg");
    EXPECT_EQ(platform.prompts.back(), "Choose the thumbnail pic.");
    EXPECT_EQ(platform.regionModes, (std::vector<bool>{false, false, false, false}));
    EXPECT_EQ(commits, 3);
}

TEST_F(CardPicturesTest, SaveAsWritesThePictureAndItsMiniBesideItOrSaysWhyNot) {
    const std::vector<std::string> before = PictureFields();
    dialogs.files.push_back("/out/Dragon.jpeg");
    pictures.SaveCardImageAs();
    EXPECT_EQ(PictureFields(), before) << "Save Card Image As changed the card";
    EXPECT_EQ(platform.saved,
              (std::vector<std::string>{"image:/out/Dragon.jpeg", "mini:/out/Dragon-mini.jpeg"}));
    // An export: the card keeps the picture files it names.
    EXPECT_EQ(St().CurrentCard.Thumbnail, "Card-Goblin1-mini.jpg");
    EXPECT_EQ(St().CurrentCard.ThumbnailUrl, "");
    EXPECT_EQ(St().CurrentCard.Picture, "Card-Goblin1.jpg");

    struct Row {
        const char* failing;
        std::size_t savedFiles;
    };
    for (const Row& r : {Row{"/out/Wyrm.jpg", 0}, Row{"/out/Wyrm-mini.jpg", 1}}) {
        SCOPED_TRACE(r.failing);
        platform = FakePlatform();
        platform.failing = r.failing;
        dialogs.messages.clear();
        dialogs.files.push_back("/out/Wyrm.jpg");
        pictures.SaveCardImageAs();
        EXPECT_EQ(platform.saved.size(), r.savedFiles);
        EXPECT_EQ(dialogs.messages,
                  std::vector<std::string>{"The picture was not saved: " + std::string(r.failing)});
        EXPECT_EQ(St().CurrentCard.Thumbnail, "Card-Goblin1-mini.jpg");
    }
}

TEST_F(CardPicturesTest, StoreNamesThePicturesOnlyWhenBothFilesWereWritten) {
    Card& current = St().CurrentCard;
    current.Picture.clear();
    current.Thumbnail.clear();
    // Located files of the card the design started from, as a template's card carries them.
    current.PictureUrl = "/pictures/Card-Mossling.jpg";
    current.ThumbnailUrl = "/pictures/Card-Mossling-mini.jpg";
    pictures.UpdatePic(0);  // composed from the art
    Card stored = current;
    platform.failing = (Folder() / "Card-Goblin1-mini.jpg").string();
    EXPECT_FALSE(pictures.StorePictureFiles("Card-Goblin1.jpg", "Card-Goblin1-mini.jpg", stored));
    EXPECT_EQ(dialogs.messages.size(), 1u);
    for (const Card* card : {&current, &stored}) {
        EXPECT_EQ(card->Picture, "");
        EXPECT_EQ(card->Thumbnail, "");
    }

    platform.failing.clear();
    // A link under the card's picture name must not lead the picture onto a file elsewhere.
    WriteFile("theirs.txt", "the user's own");
    std::filesystem::create_symlink(Folder() / "theirs.txt", Folder() / "Card-Goblin1.jpg");
    EXPECT_TRUE(pictures.StorePictureFiles("Card-Goblin1.jpg", "Card-Goblin1-mini.jpg", stored));
    EXPECT_FALSE(std::filesystem::is_symlink(Folder() / "Card-Goblin1.jpg"));
    EXPECT_TRUE(std::filesystem::exists(Folder() / "theirs.txt"));
    EXPECT_EQ(platform.saved.back(), "mini:" + (Folder() / "Card-Goblin1-mini.jpg").string());
    for (const Card* card : {&current, &stored}) {
        EXPECT_EQ(card->Picture, "Card-Goblin1.jpg");
        EXPECT_EQ(card->Thumbnail, "Card-Goblin1-mini.jpg");
        // The panes and the board show these: the old ones would show the template's picture.
        EXPECT_EQ(card->PictureUrl, (Folder() / "Card-Goblin1.jpg").string());
        EXPECT_EQ(card->ThumbnailUrl, (Folder() / "Card-Goblin1-mini.jpg").string());
    }
}

// An art picture that cannot be read once left the blank boxes to be written as the card's
// picture files, flat grey, into the program folder, and told nobody.
TEST_F(CardPicturesTest, APictureThatCouldNotBeComposedIsNeverWrittenAndIsToldOnce) {
    WriteFile("art/notes.jpg", "plain text");
    const std::string text = (Folder() / "art/notes.jpg").string();
    platform.unreadable = text;
    const std::vector<std::string> before = PictureFields();

    dialogs.answers.push_back(true);
    platform.picks.push_back({text, {}});
    pictures.MainPicClick();
    const Card& card = St().CurrentCard;
    EXPECT_EQ(card.Picture, "Card-Goblin1.jpg") << "the card keeps the picture files it had";
    EXPECT_EQ(card.Thumbnail, "Card-Goblin1-mini.jpg");
    EXPECT_EQ(PictureFields()[1], before[1]);
    EXPECT_EQ(PictureFields()[3], before[3]);
    ASSERT_FALSE(platform.shown.empty()) << "and shows them again";
    EXPECT_EQ(dialogs.messages,
              std::vector<std::string>{"The card picture could not be made: \"" + text +
                                       "\" cannot be read as a picture. The card's picture files "
                                       "are left as they were."});

    // A card of no picture files with that art: composed on every showing, told once, and its
    // store writes nothing.
    Card& bare = St().CurrentCard;
    bare.Picture.clear();
    bare.PictureUrl.clear();
    bare.Thumbnail.clear();
    bare.ThumbnailUrl.clear();
    bare.ArtSource = text;
    pictures.UpdatePic(0);
    pictures.UpdatePic(1);
    EXPECT_EQ(dialogs.messages.size(), 1u);
    Card stored = bare;
    EXPECT_FALSE(pictures.StorePictureFiles("Card-Goblin1.jpg", "Card-Goblin1-mini.jpg", stored));
    EXPECT_TRUE(platform.saved.empty());
    EXPECT_EQ(stored.Picture, "");
    EXPECT_EQ(St().CurrentCard.Thumbnail, "");

    // An art picture that is nowhere to be found is not composed either.
    St().CurrentCard.ArtSource = "gone.jpg";
    pictures.UpdatePic(0);
    EXPECT_FALSE(pictures.StorePictureFiles("Card-Goblin1.jpg", "Card-Goblin1-mini.jpg", stored));
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].find("The card picture could not be made: \"gone.jpg\" cannot "
                                       "be found."),
              0u);
    EXPECT_TRUE(platform.saved.empty());
}

// A card with a back picture but no art got no picture files, and the author was told nothing.
TEST_F(CardPicturesTest, ACardOfABackAloneGetsItsPictureFilesOrTheAuthorIsToldWhyNot) {
    WriteFile("back.bmp", "b");
    WriteFile("rim.bmp", "b");
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"back.bmp", "", ""},
        {"gone.bmp", "", "\"gone.bmp\" cannot be found"},
        {"", "rim.bmp", "the card has a thumbnail border but no art or back picture"}};
    for (const auto& [back, border, why] : rows) {
        Card& card = St().CurrentCard;
        card.Picture.clear();
        card.ArtSource.clear();
        card.BackSource = back;
        card.MiniSource = border;
        dialogs.messages.clear();
        pictures.UpdatePic(0);
        Card stored = card;
        EXPECT_EQ(pictures.StorePictureFiles("Card-G.jpg", "Card-G-mini.jpg", stored), !*why);
        EXPECT_EQ(dialogs.messages.empty(), !*why);
        if (*why) {
            EXPECT_NE(dialogs.messages[0].find(why), std::string::npos);
        }
    }
}

// A received card file whose art named a picture outside the program folder by its full path had
// it read and composed into the card's picture; the author's own pick from there still is.
TEST_F(CardPicturesTest, OnlyTheAuthorsOwnPickIsReadFromOutsideTheFolders) {
    const fs::path outside = Folder().string() + "-outside";
    fs::create_directories(outside);
    const std::string art = (outside / "far.jpg").string();
    std::ofstream(art) << "j";
    Card& card = St().CurrentCard;
    card.Picture.clear();
    card.ArtSource = art;
    pictures.UpdatePic(0);
    ASSERT_EQ(platform.composed.size(), 1u);
    EXPECT_EQ(platform.composed[0].art, "");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].find("cannot be found"), std::string::npos);

    dialogs.answers.push_back(true);
    platform.picks.push_back({art, {}});
    pictures.MainPicClick();
    EXPECT_EQ(platform.composed.back().art, art);
    fs::remove_all(outside);
}

// Viewing a card replaced the names of its art, back and border by what the search found: empty
// when not found, a full path of this machine when found under Pictures, so the next save wrote
// the card without its pictures or with this machine's paths.
TEST_F(CardPicturesTest, ViewingACardLeavesThePictureNamesItCameWith) {
    // Where the one picture the card names lies, below the program folder; empty: nowhere.
    state.CardFolder = (Folder() / "set").string();
    fs::create_directories(state.CardFolder);
    for (const char* file : {"set/redfox.jpg", "Pictures/redfox.jpg", ""}) {
        SCOPED_TRACE(file);
        fs::remove(Folder() / "set/redfox.jpg");
        fs::remove(Folder() / "Pictures/redfox.jpg");
        if (*file) WriteFile(file, "j");
        for (const char* picture : {"", "Card-Fox.jpg"}) {
            Card& card = St().CurrentCard;
            card.Picture = picture;
            card.Thumbnail = *picture ? "Card-Fox-mini.jpg" : "";
            card.ArtSource = "redfox.jpg";
            card.BackSource = "redfox.jpg";
            card.MiniSource = "redfox.jpg";
            const std::vector<std::string> before = PictureFields();
            platform = FakePlatform();
            pictures.UpdatePic(0);
            EXPECT_EQ(PictureFields(), before);
            if (!*picture) {
                ASSERT_EQ(platform.composed.size(), 1u);
                const std::string found = *file ? (Folder() / file).string() : "";
                EXPECT_EQ(platform.composed[0].art, found);
                EXPECT_EQ(platform.composed[0].back, found);
            }
        }
    }
    // The designer's own picture files, written beside the card file, are shown from there.
    WriteFile("set/Card-Fox.jpg", "j");
    platform = FakePlatform();
    pictures.UpdatePic(0);
    ASSERT_EQ(platform.shown.size(), 1u);
    EXPECT_EQ(platform.shown[0].first, (Folder() / "set/Card-Fox.jpg").string());
}

// A name that came with a card file leads out of its folder only through the folders' gate.
TEST_F(CardPicturesTest, ANameBesideTheCardFileStaysInsideIt) {
    const fs::path outside = Folder().string() + "-outside";
    fs::create_directories(outside);
    std::ofstream(outside / "far.jpg") << "j";
    fs::create_directories(Folder() / "set");
    fs::create_symlink(outside / "far.jpg", Folder() / "set/link.jpg");
    state.CardFolder = (Folder() / "set").string();
    Card& card = St().CurrentCard;
    card.Picture.clear();
    for (const std::string& name : {"../../" + outside.filename().string() + "/far.jpg",
                                    std::string("link.jpg"), (outside / "far.jpg").string()}) {
        SCOPED_TRACE(name);
        card.ArtSource = name;
        pictures.UpdatePic(0);
        EXPECT_EQ(platform.composed.back().art, "");
    }
    fs::remove_all(outside);
}

// Load Existing Card Image of a picture the author picked outside the program folder showed
// nothing and said nothing.
TEST_F(CardPicturesTest, ExistingPicturesPickedAnywhereAreShownOrTheAuthorIsToldWhyNot) {
    const fs::path outside = Folder().string() + "-picked";
    fs::create_directories(outside);
    const std::string picture = (outside / "Card-A.jpg").string();
    const std::string thumbnail = (outside / "Card-A-mini.jpg").string();
    std::ofstream(picture) << "j";
    std::ofstream(thumbnail) << "j";
    struct Row {
        const char* what;
        std::string unreadable;
        std::string thumbnailPicked;
        const char* told;
    };
    const Row rows[] = {
        {"shown where picked", "", thumbnail, ""},
        {"not a picture", picture, thumbnail, "cannot be read as a picture"},
        {"gone before it was shown", "", (outside / "gone-mini.jpg").string(), "cannot be found"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        platform = FakePlatform();
        platform.unreadable = r.unreadable;
        dialogs.messages.clear();
        platform.picks = {{picture, {}}, {r.thumbnailPicked, {}}};
        pictures.LoadExistingCardImage();
        const Card& card = St().CurrentCard;
        EXPECT_EQ(card.Picture, "Card-A.jpg");
        EXPECT_EQ(card.PictureUrl, picture);
        ASSERT_EQ(platform.shown.size(), 1u);
        EXPECT_EQ(platform.shown[0].first, picture);
        if (!*r.told) {
            EXPECT_EQ(platform.shown[0].second, thumbnail);
            EXPECT_TRUE(dialogs.messages.empty());
        } else {
            ASSERT_EQ(dialogs.messages.size(), 1u);
            EXPECT_NE(dialogs.messages[0].find(r.told), std::string::npos) << dialogs.messages[0];
        }
    }
    fs::remove_all(outside);
}

// Save Card Image As wrote the thumbnail beside the picture over a file of that name unasked.
TEST_F(CardPicturesTest, SaveAsAsksBeforeItReplacesTheThumbnailBesideThePicture) {
    WriteFile("Dragon-mini.jpg", "the author's own");
    for (bool yes : {false, true}) {
        dialogs.files = {(Folder() / "Dragon").string()};
        dialogs.answers = {yes};
        pictures.SaveCardImageAs();
        EXPECT_EQ(dialogs.asked.back(),
                  "Dragon-mini.jpg already exists. Do you want to replace it?");
        EXPECT_EQ(platform.saved.size(), yes ? 2u : 0u);
    }
    EXPECT_EQ(platform.saved[0], "image:" + (Folder() / "Dragon.jpg").string());
}

// Composed pictures are written beside the card file even when something else moved the current
// folder since they were composed.
TEST_F(CardPicturesTest, ComposedPicturesAreWrittenIntoTheCardFilesFolder) {
    state.CardFolder = (Folder() / "cards").string();
    St().CurrentCard.Picture.clear();
    pictures.UpdatePic(0);
    St().CurrentFolder = St().ProgramFolder;
    Card stored = St().CurrentCard;
    ASSERT_TRUE(pictures.StorePictureFiles("Card-Goblin1.jpg", "Card-Goblin1-mini.jpg", stored));
    EXPECT_EQ(platform.saved, (std::vector<std::string>{
                                  "image:" + (Folder() / "cards/Card-Goblin1.jpg").string(),
                                  "mini:" + (Folder() / "cards/Card-Goblin1-mini.jpg").string()}));
}

TEST_F(CardPicturesTest, RandomPicTakesAWholeJpegOfThePickersFolder) {
    WriteFile("art/only.JPG", "j");
    WriteFile("art/other.bmp", "b");
    platform.folder = (Folder() / "art").string();
    St().CurrentCard.Picture.clear();
    pictures.RandomPic();
    EXPECT_EQ(St().CurrentCard.ArtSource, (Folder() / "art/only.JPG").string());
    EXPECT_EQ(St().CurrentCard.ArtRegion, (std::array<int16_t, 8>{}));
    ASSERT_EQ(platform.composed.size(), 1u);
    EXPECT_EQ(platform.composed[0].region, PicRegion{});

    // A folder without one changes nothing.
    platform.folder = (Folder() / "none").string();
    pictures.RandomPic();
    EXPECT_EQ(platform.composed.size(), 1u);
}

}  // namespace
}  // namespace dv::ui
