#include <algorithm>
#include <cmath>

#include "engine/model/cards.h"
#include "engine/model/guard.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "engine/pages/card_pages.h"
#include "engine/pages/page_helpers.h"

namespace dv {
namespace {

constexpr int kCardsPerRow = 6;

uint8_t FlagValue(const std::string& text) {
    const double n = std::nearbyint(ReadNumber(text));
    return static_cast<uint8_t>(std::clamp(n, 0.0, 255.0));
}

std::string InPlayTitle(const Player& player) {
    if (St().DeckManagerMode == 2) return "Test Deck " + std::to_string(player.Id);
    std::string title;
    if (const Card* card = InPlayCard(player.CardIndex)) title = card->Name;
    if (player.Id == 1 && St().Decks.Has(St().CurrentDeck))
        title = St().Decks[St().CurrentDeck].Name;
    return title;
}

bool ShowsOnBoard(Card& card, const Player& player) {
    return !card.Name.empty() && card.Dead != 1 && card.Owner == player.Id &&
           !HasTrait(card, "INVISIBLE");
}

// Brings the entry's picture location up to date for this card.
void LocatePicture(int index, Card& card) {
    TraitGraph& entry = St().TraitGraphs[index];
    const std::string picture = entry.Picture;
    if (entry.PerCard == 1) {
        const std::string location = GetImagePath(FilledForCard(card, picture), 0, "");
        St().TraitGraphs[index].PictureLocation = location;
        return;
    }
    if (!entry.PictureLocation.empty() || picture.empty()) return;
    const std::string filled = FilledForCard(card, picture);
    std::string location;
    if (!filled.empty() && filled != picture) {
        St().TraitGraphs[index].PerCard = 1;
        location = GetImagePath(FilledForCard(card, picture), 0, "");
    } else {
        location = GetImagePath(picture, 0, "");
    }
    St().TraitGraphs[index].PictureLocation = location;
}

bool ShownInMode(const TraitGraph& entry, int mode) {
    if (mode == 0) return entry.CardViewFlag != 0;
    if (mode == 1) return entry.BoardFlag != 0;
    if (mode == 2) return entry.PlayerBoxFlag != 0;
    return true;
}

}  // namespace

void AddTraitGraph(const std::string& name, const std::string& picture, const std::string& colour,
                   const std::string& label, const std::string& cardViewFlag,
                   const std::string& boardFlag, const std::string& playerBoxFlag,
                   const std::string& title) {
    Guarded("AddTraitGraph", [&] {
        auto& graphs = St().TraitGraphs;
        if (graphs.empty()) graphs.Resize(1);
        int index = 0;
        for (int i = 1; i <= graphs.size() && index == 0; ++i)
            if (graphs[i].Name == name) index = i;
        if (index == 0) index = graphs.PushBack(TraitGraph());
        TraitGraph& entry = graphs[index];
        entry.Name = name;
        entry.Picture = picture;
        entry.Colour = colour;
        entry.Label = label;
        entry.CardViewFlag = FlagValue(cardViewFlag);
        entry.BoardFlag = FlagValue(boardFlag);
        entry.PlayerBoxFlag = FlagValue(playerBoxFlag);
        entry.Title = title;
    });
}

std::string GenHP(Card& card, int withLabel) {
    return Guarded("GenHP", std::string(), [&] {
        const double hp = std::max(0.0, GetTrait(card, "HP").Num());
        double max = GetTrait(card, "HPMAX").Num();
        if (max == 0) max = hp;
        const double ratio = max == 0 ? 0 : hp / max;
        std::string colour = ratio > 1 ? "#FFFFFF" : "#00FF00";
        if (ratio < 0.75) colour = "#FFFF00";
        if (ratio < 0.5) colour = "#FF9900";
        if (ratio < 0.25) colour = "#FF0000";
        std::string text;
        text.reserve(128);
        if (withLabel == 1) text += "<font color=\"#FFFFFF\">HP:</font>";
        text += "<font color=\"";
        text += colour;
        text += "\"> ";
        text += NumberText(hp);
        text += "</font><font color=#FFFFFF>/</font><font color=#DDDDDD>";
        text += NumberText(max);
        text += "</font>";
        return text;
    });
}

std::string GenInPlay(Player& player) {
    return Guarded("GenInPlay", std::string(), [&] {
        const std::string shade8 = ColourShade(player.Colour, 8);
        const std::string shade4 = ColourShade(player.Colour, 4);
        std::string table = "<center><table align=center border=1 bordercolorlight=" + shade4 +
                            " bordercolordark=" + shade8 +
                            "><tr><td colspan=80 bgcolor = " + shade4 +
                            "><font color = " + player.Colour + "><center>" + InPlayTitle(player) +
                            "</font></td></tr>";
        int placed = 0;
        for (int i = 1; i <= St().InPlay.size(); ++i) {
            Card& card = St().InPlay[i];
            if (!ShowsOnBoard(card, player)) continue;
            if (placed % kCardsPerRow == 0) table += "<tr>";
            table += "<td width = 80 bgcolor = ";
            table += shade8;
            table += " valign=top><center>";
            table += CLink(card, 0, 0);
            table += "<br>";
            AppendDCard(table, card);
            table += "<br>";
            table += GenTraitsDesc(card, 1);
            if (GetTrait(card, "HP").Num() > 0) {
                table += GenHP(card, 1);
                table += "<br>";
            }
            table += "<td>";
            if (++placed % kCardsPerRow == 0) table += "</tr>";
        }
        return table + "</table></center>";
    });
}

std::string GenTraitHTML(Card& card, const std::string& /*traitName*/, int mode) {
    return Guarded("GenTraitHTML", std::string(), [&] {
        std::string result;
        const int last = St().TraitGraphs.size();
        for (int i = 1; i <= last; ++i) {
            if (St().TraitGraphs[i].Name.empty()) continue;
            LocatePicture(i, card);
            // A copy: filling the label may compose other trait boxes.
            const TraitGraph entry = St().TraitGraphs[i];
            if (entry.Name != "#ANY#" && !HasTrait(card, entry.Name, 0)) continue;
            if (!ShownInMode(entry, mode)) continue;
            const std::string label = FilledForCard(card, entry.Label);
            std::string picturePart;
            if (!entry.Picture.empty())
                picturePart = "<font size=+3 color=" + entry.Colour + "><img src=\"" +
                              entry.PictureLocation + "\"></img>";
            result += "<font size=+1 color=" + entry.Colour + ">" + picturePart + label +
                      "</font></font>";
        }
        if (card.Dead == 1) result += "<font color=grey size=-2>(Out of play)</font>";
        return result;
    });
}

}  // namespace dv
