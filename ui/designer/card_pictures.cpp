#include "ui/designer/card_pictures.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "engine/model/files.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "ui/common/dialogs.h"
#include "ui/designer/picture_files.h"

namespace dv::ui {
namespace {

constexpr const char* kTitle = "Duvenhall";
// The designer writes its card pictures as JPEG files.
constexpr const char* kPictureExtension = "jpg";

bool IsRegularFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

}  // namespace

CardPictures::CardPictures(CardPictureState& state, PicturePlatform& platform,
                           std::function<void()> commit)
    : state_(state), platform_(platform), commit_(std::move(commit)) {}

bool CardPictures::Editing() const {
    return St().EditIndex != 0;
}

std::optional<std::string> CardPictures::Pick(const std::string& prompt) {
    PicRegion unused;
    std::optional<std::string> chosen = platform_.PickPicture(prompt, false, unused);
    if (!chosen || chosen->empty()) return std::nullopt;
    return Chosen(*chosen);
}

// The picker hands the author's choice, from any folder, as a full path.
const std::string& CardPictures::Chosen(const std::string& path) {
    return *chosen_.insert(path).first;
}

bool CardPictures::IsChosenFile(const std::string& path) const {
    return chosen_.count(path) && fs::path(path).is_absolute() && IsRegularFile(path);
}

std::string CardPictures::Find(const std::string& name) const {
    if (name.empty()) return {};
    if (IsChosenFile(name)) return name;
    // The designer writes a card's pictures beside its card file, and a received set brings them
    // there: a name of the card file's own folder is read there, and only there.
    if (!state_.CardFolder.empty()) {
        const fs::path beside = ResolveDataPath(state_.CardFolder, name);
        if (IsRegularFile(beside) && LiesInside(beside, {fs::path(state_.CardFolder)}))
            return beside.string();
    }
    return GetImagePath(name, 0);
}

std::string CardPictures::FindSaved(const std::string& name, const std::string& location) const {
    return IsChosenFile(location) ? location : Find(name);
}

std::string CardPictures::ShowSaved(const Card& card) {
    return platform_.ShowSavedPictures(FindSaved(card.Picture, card.PictureUrl),
                                       FindSaved(card.Thumbnail, card.ThumbnailUrl));
}

CardPictures::PictureFiles CardPictures::FilesOf(const Card& card) {
    return {card.Picture, card.PictureUrl, card.Thumbnail, card.ThumbnailUrl};
}

// A bare name is a file of the card file's folder, or without one, of the current folder.
std::string CardPictures::InCardFolder(const std::string& name) const {
    const fs::path path(name);
    if (path.is_absolute()) return name;
    const fs::path folder =
        state_.CardFolder.empty() ? St().CurrentFolder : fs::path(state_.CardFolder);
    return (folder / path).string();
}

void CardPictures::UpdatePic(int mode) {
    Update(mode, FilesOf(St().CurrentCard));
}

std::string CardPictures::Update(int mode, const PictureFiles& had) {
    auto& st = St();
    Card& card = st.CurrentCard;
    st.CurrentFolder = st.ProgramFolder;
    if (mode == 1) {
        card.Picture.clear();
        card.PictureUrl.clear();
        platform_.BeginComposing();
    }
    // The names are the card's: a look-up finds the files to show and leaves the names as they
    // are, so that the card is saved as it came.
    const std::string namedArt = card.ArtSource;
    const std::string namedBack = card.BackSource;
    const bool namedBorder = !card.MiniSource.empty();
    state_.ArtPath = card.ArtSource;
    state_.MiniPath = card.MiniSource;
    state_.BackPath = card.BackSource;
    state_.Region = RegionOfCard(card.ArtRegion);

    shownComposed_ = false;
    std::string unshown;
    if (!card.Picture.empty()) {
        unshown = ShowSaved(card);
    } else {
        const std::string art = Find(state_.ArtPath);
        const std::string back = Find(state_.BackPath);
        const PictureCompose made = platform_.ComposePictures(
            {back, art, Find(state_.MiniPath), state_.Region, state_.NameColour});
        // An art picture named but not found leaves the back alone, which is no picture of the
        // card.
        const bool artMissing = !namedArt.empty() && art.empty();
        shownComposed_ = made.composed && !artMissing;
        if (shownComposed_) {
            // The card's picture files are written into the folder of its card file.
            if (!state_.CardFolder.empty()) st.CurrentFolder = state_.CardFolder;
        } else if (artMissing) {
            NotComposed("\"" + namedArt + "\" cannot be found", had);
        } else if (namedArt.empty() && !namedBack.empty() && back.empty()) {
            NotComposed("\"" + namedBack + "\" cannot be found", had);
        } else if (made.reason.empty() && namedBorder) {
            // The border is laid over the art only: alone it makes no picture.
            NotComposed("the card has a thumbnail border but no art or back picture", had);
        } else {
            NotComposed(made.reason, had);
        }
    }
    platform_.EndComposing();
    return unshown;
}

void CardPictures::NotComposed(const std::string& reason, const PictureFiles& had) {
    Card& card = St().CurrentCard;
    // The blank boxes are no picture of the card: the files it had are its pictures still.
    if (card.Picture.empty() && !had.picture.empty()) {
        card.Picture = had.picture;
        card.PictureUrl = had.pictureUrl;
        card.Thumbnail = had.thumbnail;
        card.ThumbnailUrl = had.thumbnailUrl;
        ShowSaved(card);
    }
    // A card is composed again on every showing: each reason is told once.
    if (reason.empty() || !told_.insert(reason).second) return;
    TheDialogs().Message("The card picture could not be made: " + reason +
                             ". The card's picture files are left as they were.",
                         kTitle);
}

void CardPictures::MainPicClick() {
    if (!Editing()) return;
    commit_();
    Card& card = St().CurrentCard;
    if (!card.Picture.empty() &&
        !TheDialogs().YesNo(
            "This card already has an image file saved.  Do you want to make a new one?", kTitle))
        return;
    PicRegion region;
    const std::optional<std::string> art = platform_.PickPicture("", true, region);
    if (!art || art->empty()) return;
    const PictureFiles had = FilesOf(card);
    // The located files go with the names: a location left from the old picture would show it.
    card.Picture.clear();
    card.PictureUrl.clear();
    card.Thumbnail.clear();
    card.ThumbnailUrl.clear();
    SwapReversedCorners(region);
    card.ArtSource = Chosen(*art);
    card.BackSource = state_.BackPath;
    card.MiniSource = state_.MiniPath;
    card.ArtRegion = ArtRegionOf(region);
    state_.Region = region;
    Update(1, had);
}

void CardPictures::LoadExistingCardImage() {
    if (!Editing()) return;
    commit_();
    const std::optional<std::string> picture = Pick("Choose the main card pic.");
    if (!picture) return;
    const std::optional<std::string> thumbnail = Pick("Choose the thumbnail pic.");
    if (!thumbnail) return;
    Card& card = St().CurrentCard;
    // The files the author picked are shown where they are, from any folder.
    auto location = [this](const std::string& picked) {
        return IsChosenFile(picked) ? picked : GetImagePath(BareFileName(picked), 0);
    };
    card.Picture = BareFileName(*picture);
    card.PictureUrl = location(*picture);
    card.Thumbnail = BareFileName(*thumbnail);
    card.ThumbnailUrl = location(*thumbnail);
    std::string why = Update(0, FilesOf(card));
    for (const auto& [picked, found] :
         {std::pair{*thumbnail, card.ThumbnailUrl}, std::pair{*picture, card.PictureUrl}})
        if (found.empty()) why = "\"" + picked + "\" cannot be found";
    if (!why.empty()) TheDialogs().Message("The picture cannot be shown: " + why + ".", kTitle);
}

void CardPictures::LoadBackgroundImage() {
    if (!Editing()) return;
    commit_();
    const std::optional<std::string> back = Pick("");
    if (!back) return;
    Card& card = St().CurrentCard;
    const PictureFiles had = FilesOf(card);
    card.Picture.clear();
    card.PictureUrl.clear();
    card.BackSource = *back;
    state_.BackPath = *back;
    Update(1, had);
}

void CardPictures::LoadThumbnailBorderImage() {
    if (!Editing()) return;
    commit_();
    const std::optional<std::string> border = Pick("");
    if (!border) return;
    St().CurrentCard.MiniSource = *border;
    UpdatePic(1);
}

void CardPictures::SaveCardImageAs() {
    const std::optional<std::string> file = TheDialogs().SaveFile(
        "Save Card Image As...", St().CurrentFolder.string(), "", "", kPictureExtension);
    if (!file || file->empty()) return;
    // The dialog asked about the picture's file; the thumbnail's beside it is asked about here,
    // before either is written.
    const std::string thumbnailName = MiniFileName(*file);
    std::error_code ec;
    if (fs::exists(fs::symlink_status(thumbnailName, ec)) &&
        !TheDialogs().YesNo(
            BareFileName(thumbnailName) + " already exists. Do you want to replace it?", kTitle))
        return;
    const PictureSave picture = platform_.SaveImage(*file);
    if (!picture.written) {
        TheDialogs().Message(picture.reason, kTitle);
        return;
    }
    // An export: the card keeps the picture files it names.
    const PictureSave thumbnail = platform_.SaveMini(thumbnailName);
    if (!thumbnail.written) TheDialogs().Message(thumbnail.reason, kTitle);
}

void CardPictures::ChooseNameColour() {
    const std::optional<uint32_t> colour = TheDialogs().Colour(state_.NameColour);
    if (!colour) return;
    state_.NameColour = *colour & 0xFFFFFF;
    const Rgb c = RgbOfColour(state_.NameColour);
    St().CurrentCard.Colour = "#" + RGBHex(c.r, c.g, c.b);
    UpdatePic(1);
}

void CardPictures::RandomPic() {
    const std::string folder = FolderWithSeparator(platform_.PickerFolder());
    const std::string art = pickrandomfile(folder, "*.jpg");
    if (art == folder) return;  // the folder holds no such picture
    state_.ArtPath = Chosen(art);
    state_.Region = {};
    Card& card = St().CurrentCard;
    card.ArtSource = art;
    card.ArtRegion = {};
    UpdatePic(0);
}

bool CardPictures::StorePictureFiles(const std::string& pictureName,
                                     const std::string& thumbnailName, Card& stored) {
    // The author was told why when the composition failed.
    if (!shownComposed_) return false;
    auto written = [](const PictureSave& result) {
        if (!result.written) TheDialogs().Message(result.reason, kTitle);
        return result.written;
    };
    const std::string picturePath = InCardFolder(pictureName);
    const std::string thumbnailPath = InCardFolder(thumbnailName);
    // The files are named for the card, and the card's name comes from a card file: a link that
    // stands under that name (a shared archive can hold one) is replaced, not written through.
    for (const std::string& path : {picturePath, thumbnailPath}) {
        std::error_code ec;
        if (fs::is_symlink(path, ec)) fs::remove(path, ec);
    }
    if (!written(platform_.SaveImage(picturePath)) || !written(platform_.SaveMini(thumbnailPath)))
        return false;
    // The deck manager's panes and the board show a card by these locations: the files just
    // written, not those of the card the design started from.
    Card& current = St().CurrentCard;
    current.Picture = stored.Picture = pictureName;
    current.PictureUrl = stored.PictureUrl = picturePath;
    current.Thumbnail = stored.Thumbnail = thumbnailName;
    current.ThumbnailUrl = stored.ThumbnailUrl = thumbnailPath;
    return true;
}

}  // namespace dv::ui
