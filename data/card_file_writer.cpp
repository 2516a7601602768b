#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "data/card_file_items.h"
#include "data/card_file_writer_parts.h"
#include "data/card_files.h"
#include "engine/model/cards.h"
#include "engine/model/files.h"
#include "engine/model/guard.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "engine/model/trait_actions.h"
#include "engine/rules/card_life.h"

namespace dv {
namespace {

const std::string kStars(41, '*');

// A starter deck holds 80 cards; a store sells boosters of 8 cards for 5 tokens.
constexpr int kStarterDeckSize = 80;
constexpr int kBoosterSize = 8;
constexpr int kBoosterPrice = 5;

// The banner is skipped by the reader item by item, so a comma or line end in the name would
// let the rest of the name be read as a directive.
std::string BannerName(std::string name) {
    for (char& c : name)
        if (c == ',' || c == '\r' || c == '\n') c = ' ';
    return name;
}

// The card set a store or starter deck includes, named from the program folder when it lies
// inside it, as the sample game's files name theirs: a full path reads only on the machine and
// in the folder where the file was made.
std::string IncludedSetName(const std::string& setFile) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path program = fs::weakly_canonical(fs::absolute(St().ProgramFolder), ec);
    if (ec || St().ProgramFolder.empty()) return setFile;
    const fs::path set = fs::weakly_canonical(fs::absolute(setFile), ec);
    if (ec) return setFile;
    const fs::path relative = PathBelow(program, set);
    return relative.empty() ? setFile : relative.generic_string();
}

std::string TraitNameField(const Card& card, int slot) {
    if (!card.TraitNames.Has(slot)) return {};
    const std::string& name = card.TraitNames[slot];
    return name.substr(0, name.find(':'));
}

// The target as the file wrote it while it still reads as the effect's target type; a GIDCARD
// target carries the value expression that picks its card.
std::string TargetItem(const Effect& effect) {
    constexpr int kGidCard = 11;
    if (effect.TargetType == kGidCard && !effect.TargetText.empty()) return effect.TargetText;
    if (!effect.TargetText.empty() && GetTargetType(effect.TargetText) == effect.TargetType)
        return effect.TargetText;
    return GetTargetTypeString(effect.TargetType);
}

// A picture item as the file held it ("name.jpg:location") while the card keeps that name.
std::string PictureItem(const std::string& name, const std::string& asRead) {
    if (!asRead.empty() && asRead.substr(0, asRead.find(':')) == name) return asRead;
    return name;
}

// A menu action keeps its trigger and caption apart once read; it is written back in the menu
// form it was read from, or the next read would lose the menu.
std::string TriggerItem(const Effect& effect) {
    if (effect.MenuState != MenuState::None)
        return "MENU:" + effect.Trigger + ":" + effect.MenuText;
    return effect.Trigger;
}

std::string PictureData(const Card& card) {
    std::string data = card.ArtSource + "%" + card.BackSource + "%" + card.MiniSource + "%";
    for (std::size_t i = 0; i < card.ArtRegion.size(); ++i) {
        if (i > 0) data += "%";
        data += std::to_string(card.ArtRegion[i]);
    }
    return data;
}

std::string Line(const std::string& text) {
    return text + kCRLF;
}

// What the designer's card file held besides its cards, written before them: its starter mark,
// deck rules, random texts and "#INCLUDE" lines.
std::string LayoutLines(const CardFileLayout& layout) {
    std::string out;
    if (layout.StarterDeck) out += Line("#STARTERDECK") + kCRLF;
    if (layout.DeckRules) out += Line("#DECKRULES, " + PlainItem(*layout.DeckRules)) + kCRLF;
    for (const auto& [list, text] : layout.CustomStrings)
        out += Line("#CUSTOMSTRING, " + PlainItem(list) + ", " + PlainItem(text));
    if (!layout.CustomStrings.empty()) out += kCRLF;
    // The empty line after the name is the empty zone item; one after a zone is skipped.
    for (const IncludeLine& include : layout.Includes)
        out += Line("#INCLUDE, " + PlainItem(include.Name) +
                    (include.Zone.empty() ? "" : ", " + PlainItem(include.Zone))) +
               kCRLF;
    return out;
}

// A card as its file holds it, the set stamp aside: a save stamps it anew.
std::string AsWritten(Card card) {
    card.SetFile.clear();
    return CardBlock(card, "COLLECTION");
}

bool SameCard(const Card& a, const Card& b) {
    return a.GID == b.GID && a.UniqueName == b.UniqueName;
}

// Whether the card is one that a file the card file includes brought: such a card is that
// file's, and the card file's "#INCLUDE" line brings it again.
bool FromIncludedFile(const Card& card, const CardFileLayout& layout) {
    return std::any_of(layout.IncludedCards.begin(), layout.IncludedCards.end(),
                       [&](const auto& included) { return SameCard(card, included.second); });
}

// Whether the template is one that an included file brought, unchanged.
bool IncludedTemplate(const CardTemplate& t, const CardFileLayout& layout) {
    return std::any_of(layout.IncludedTemplates.begin(), layout.IncludedTemplates.end(),
                       [&](const auto& included) {
                           const CardTemplate& read = included.second;
                           return read.BackPicture == t.BackPicture && read.Extra == t.Extra &&
                                  read.Colour == t.Colour &&
                                  AsWritten(read.card) == AsWritten(t.card);
                       });
}

}  // namespace

std::vector<std::string> ChangedIncludedCards(const List<Card>& cards,
                                              const CardFileLayout& layout) {
    return Guarded("ChangedIncludedCards", std::vector<std::string>(), [&] {
        std::vector<std::string> changed;
        for (const auto& included : layout.IncludedCards) {
            const std::string& file = included.first;
            const Card& read = included.second;
            const auto kept = std::find_if(cards.begin(), cards.end(), [&](const Card& card) {
                return !card.Name.empty() && SameCard(card, read);
            });
            if (kept == cards.end())
                changed.push_back(read.Name + " (" + file + ", deleted)");
            else if (AsWritten(*kept) != AsWritten(read))
                changed.push_back(kept->Name + " (" + file + ")");
        }
        return changed;
    });
}

std::string CardBlock(Card& card, const std::string& zone) {
    RemoveAllTraitActions(card);
    std::string out;
    out += Line(kStars + " " + BannerName(card.Name));
    out += Line("#CARD, " + PlainItem(zone) + ", \"" + QuotedInside(card.Name) + "\", \"" +
                QuotedInside(card.UniqueName) + ":" + std::to_string(card.GID) + "\", " +
                PlainItem(card.SetFile) + ", " +
                PlainItem(PictureItem(card.Picture, card.PictureItem)) + ", " +
                PlainItem(PictureItem(card.Thumbnail, card.ThumbnailItem)) + ", " +
                PlainItem(card.Colour) + ", \"" + QuotedInside(card.Description) + "\"");
    if (zone == "PLAYERCARD" || zone == "#PLAYERCARD") return out + kCRLF;

    std::string traits;
    for (int i = 1; i <= card.TraitNames.size(); ++i) {
        if (card.TraitNames[i].empty()) continue;
        const std::string value = card.TraitValues.Has(i) ? card.TraitValues[i] : "";
        traits +=
            "#TRAIT, \"" + QuotedInside(card.TraitNames[i]) + ":" + QuotedInside(value) + "\", ";
    }
    if (!traits.empty()) out += Line(traits);

    for (int i = 1; i <= card.TraitActionDescs.size(); ++i) {
        if (card.TraitActionDescs[i].empty()) continue;
        // The name as the trait line writes it, so that the reader finds the trait again.
        out += Line("#TRAITACTIONDESC, " + PlainItem(TraitNameField(card, i)) + ", \"" +
                    QuotedInside(card.TraitActionDescs[i]) + "\"");
    }
    for (const Effect& effect : card.Effects) {
        if (effect.Text.empty()) continue;
        out += Line("#EFFECT, " + PlainItem(TargetItem(effect)) + ", " +
                    PlainItem(TriggerItem(effect)) + ", \"" + QuotedInside(effect.Text) + "\"");
    }
    out += Line("#EXTRADATA, " + std::to_string(card.Rarity) + ", " + PlainItem(card.StartTime) +
                ", " + PlainItem(card.Mods) + ", " + PlainItem(PictureData(card)) + ", ");
    return out + kCRLF;
}

std::string CardFileText(Card& card, const std::string& zone) {
    return Guarded("CardFileText", std::string(), [&] { return CardBlock(card, zone); });
}

std::string GenStoreText(const std::string& name, const std::string& picture,
                         const std::string& thumbnail, int boosterSize, int price) {
    return Guarded("GenStoreText", std::string(), [&] {
        const std::string size = std::to_string(boosterSize), cost = std::to_string(price);
        return StoreHead(name, picture, thumbnail) +
               Line("#EFFECT, SELF, " +
                    PlainItem("MENU:TURNSTART:Purchase a booster of " + size +
                              " new cards from the " + name + " set (" + cost + " tokens)") +
                    ", \"MODTOKENS:-" + cost +
                    ":ECHO:You tear open a pack of boosters!<br>The following cards have been "
                    "added to your collection.:BOOSTER:" +
                    size + "\"") +
               kCRLF;
    });
}

std::string GenStarterText(const std::string& name, const std::string& picture,
                           const std::string& thumbnail, int deckSize) {
    return Guarded("GenStarterText", std::string(), [&] {
        return StoreHead(name, picture, thumbnail) +
               Line(
                   "#EFFECT, ALL, GAMESTART, \"ECHO:Your new starter deck contains the following "
                   "cards.  Click on the menu above to save your new deck.:BOOSTER:" +
                   std::to_string(deckSize) + "\"") +
               kCRLF;
    });
}

std::string StoreHead(const std::string& name, const std::string& picture,
                      const std::string& thumbnail) {
    return Line("#NEUTRALCARD, " + PlainItem(name) + ", " + PlainItem(picture) + ", " +
                PlainItem(thumbnail) + ", #FFFFFF, , ,") +
           Line("#TRAIT, STORE") + Line("#EFFECT, ALL, OTHERENTERSPLAY, REQNOTRAIT:STORE:DESTROY");
}

std::string FileHeader() {
    return FileHeader(St().GameFile.empty() ? std::nullopt : std::optional(St().GameFile));
}

std::string FileHeader(const std::optional<std::string>& gameFile) {
    std::string out;
    out += Line(kStars);
    out += Line("***********  CARD DATA FILE *************");
    out += Line(kStars);
    out += kCRLF;
    out += Line("#TOKENS, " + std::to_string(St().Players[1].Tokens));
    out += kCRLF;
    if (gameFile) {
        out += kCRLF;
        out += Line("#GAMEFILE, " + PlainItem(*gameFile));
        out += kCRLF;
    }
    out += Line("#LASTMODIFIED, #" + NowStamp() + "#");
    out += kCRLF;
    return out;
}

SaveResult SaveCollectionReason(List<Card>& cards, const std::string& path, const std::string& zone,
                                const std::string& generatedName, int starter, PathOrigin origin) {
    std::string text;
    const bool built = Guarded("SaveCollection", false, [&] {
        State& s = St();
        // A card file the designer read is written with what it held, and without what the files
        // it includes brought; a new one takes the game file of the game.
        const bool cardFile = generatedName.empty() && starter == 0;
        const CardFileLayout none;
        const CardFileLayout& layout = cardFile ? s.CardSetLayout : none;
        text = layout.Read ? FileHeader(layout.GameFile) : FileHeader();
        text += LayoutLines(layout);
        const std::string include =
            s.CardSetFile.empty()
                ? ""
                : Line("#INCLUDE, " + PlainItem(IncludedSetName(s.CardSetFile))) + kCRLF;
        if (starter != 0) {
            text += GenStarterText(generatedName, "", "", kStarterDeckSize) + kCRLF;
            if (!include.empty()) {
                text += include;
                return true;
            }
        } else if (!generatedName.empty()) {
            text += GenStoreText(generatedName, "", "", kBoosterSize, kBoosterPrice) + kCRLF;
            if (!include.empty()) {
                text += include;
                return true;
            }
        }
        if (!s.CostCard.Name.empty()) {
            text += Line("*** Card Cost Calculator ***");
            std::string cost = CardBlock(s.CostCard, "#COSTCARD");
            // The cost card is written under its marker line in place of its card line.
            const auto cardLine = cost.find(kCRLF) + 2;
            const auto cardLineEnd = cost.find(kCRLF, cardLine);
            cost.replace(cardLine, cardLineEnd - cardLine, "#COSTCARD");
            text += cost + kCRLF + kCRLF;
        }
        for (CardTemplate& t : s.Templates) {
            if (t.card.Name.empty() || IncludedTemplate(t, layout)) continue;
            text += CardBlock(t.card, "#TEMPLATE") + kCRLF;
            FileNameOf(t.BackPicture);
            FileNameOf(t.Extra);
            text += Line("#TEMPLATEDATA, " + PlainItem(t.BackPicture) + ", " + PlainItem(t.Extra) +
                         ", " + std::to_string(t.Colour));
            text += std::string(kCRLF) + kCRLF;
        }
        for (Card& card : cards) {
            if (card.Name.empty() || FromIncludedFile(card, layout)) continue;
            text += CardBlock(card, zone) + kCRLF;
        }
        return true;
    });
    if (!built) return NotSaved("Error in SaveCollection", false);
    return SaveDataFileReason(St().CurrentFolder, path, text, origin);
}

bool SaveCollection(List<Card>& cards, const std::string& path, const std::string& zone,
                    const std::string& generatedName, int starter, PathOrigin origin) {
    return ShowUnsaved(SaveCollectionReason(cards, path, zone, generatedName, starter, origin));
}

}  // namespace dv
