#include <charconv>
#include <cmath>
#include <string>
#include <utility>

#include "engine/model/cards.h"
#include "engine/model/guard.h"
#include "engine/model/state.h"
#include "engine/model/text_utils.h"
#include "engine/pages/card_pages.h"
#include "engine/pages/page_buffer.h"
#include "engine/pages/page_helpers.h"

namespace dv {
namespace {

void AppendCardAnchor(std::string& out, const Card& card) {
    char digits[16];
    const char* const end = std::to_chars(digits, digits + sizeof digits, card.GID).ptr;
    out += "<a href=\"CARD";
    out.append(digits, static_cast<std::size_t>(end - digits));
    out += "\">";
}

std::string CardAnchor(const Card& card) {
    std::string anchor;
    AppendCardAnchor(anchor, card);
    return anchor;
}

// The side a picture leans to: toward its owner's half of the page.
std::string Alignment(const Card& card, int side) {
    if (side == 1) return card.Owner == 1 ? " align = left " : " align = right ";
    if (side == 2) return card.Owner == 2 ? " align = left " : " align = right ";
    return "";
}

const FrameShades& FrameShadesOf(const std::string& colour) {
    std::vector<FrameShades>& cache = St().FrameShadeCache;
    for (const FrameShades& shades : cache)
        if (shades.Colour == colour) return shades;
    if (cache.size() >= kMaxFrameShades) cache.erase(cache.begin());
    cache.push_back(
        {colour, ColourShade(colour, 8), ColourShade(colour, 2), ColourShade(colour, 4)});
    return cache.back();
}

void LoadCardPicture(Card& card) {
    if (card.Picture.empty()) return;
    TheHost().Call(WindowCall::LoadCardPicture, GetImagePath(card.Picture, 0, ""));
}

}  // namespace

std::string ColourShade(const std::string& colour, int divisor) {
    long long blue = 0, green = 0, red = 0;
    SplitColor(static_cast<long long>(ColorValue(colour).Num()), blue, green, red);
    auto part = [&](long long component) {
        return static_cast<long long>(std::nearbyint(static_cast<double>(component) / divisor));
    };
    return RGBHex(part(red), part(green), part(blue));
}

void AppendDCard(std::string& out, Card& card) {
    if (card.Colour.empty()) card.Colour = "#FFFFFF";
    out += "<font color=";
    out += card.Colour;
    out += ">";
    out += card.Name;
    out += "</font>";
}

std::string DCard(Card& card) {
    std::string name;
    name.reserve(20 + card.Colour.size() + card.Name.size());
    AppendDCard(name, card);
    return name;
}

std::string GenCostDesc(const std::string& /*costList*/) {
    return "";
}

std::string GenTraitsDesc(Card& card, int mode) {
    return GenTraitHTML(card, "", mode);
}

void ReadyForCLink(Card& card, int size) {
    if (card.Owner > 2) card.Owner = 1;
    if (size != 0 && !card.Picture.empty() && card.Colour.empty()) card.Colour = "#FFFFFF";
}

std::string CLink(Card& card, int size, int side) {
    return Guarded("CLink", std::string(), [&] {
        ReadyForCLink(card, size);
        // A neutral card has no player entry; its frame stays black.
        const Player* player = PlayerNumbered(card.Owner);
        static const std::string kNoColour;
        const std::string& colour = player ? player->Colour : kNoColour;
        if (card.ThumbnailUrl.empty()) card.ThumbnailUrl = GetImagePath(card.Thumbnail, 1, "");
        if (card.PictureUrl.empty()) card.PictureUrl = GetImagePath(card.Picture, 1, "");
        const std::string align = Alignment(card, side);
        if (size == 0) {
            if (card.Thumbnail.empty()) return std::string();
            std::string link;
            link.reserve(64 + align.size() + card.ThumbnailUrl.size());
            AppendCardAnchor(link, card);
            link += "<img ";
            link += align;
            link += " border = \"0\" src=\"";
            link += card.ThumbnailUrl;
            link += "\"></img></a>";
            return link;
        }
        if (card.Picture.empty()) return std::string();
        const FrameShades& shades = FrameShadesOf(colour);
        std::string link;
        link.reserve(320 + card.PictureUrl.size() + card.Name.size());
        link += "<table";
        link += align;
        link += " bgcolor=";
        link += shades.Dark;
        link += " border = 1 bordercolorlight=";
        link += shades.Light;
        link += " bordercolordark = ";
        link += shades.Middle;
        link += "><tr><td>";
        AppendCardAnchor(link, card);
        link += "<img ";
        link += align;
        link += "hspace=5 width = 150 height = 225 border = \"0\" src=\"";
        link += card.PictureUrl;
        link += "\"></img></a><br></td></tr><tr><td><center>";
        AppendDCard(link, card);
        link += "</center></td></tr></table>";
        return link;
    });
}

std::string FullDesc(Card& card, int pictureMode, int side) {
    return Guarded("FullDesc", std::string(), [&] {
        if (card.Name.empty()) return std::string("Non-existant card referenced.<br>");
        if (card.Picture.empty()) return std::string();
        std::string align = " align = left ";
        if (side == 1) align = Alignment(card, 1);
        std::string picturePart;
        if (pictureMode != 0) {
            std::string location =
                GetImagePath(pictureMode == 1 ? card.Thumbnail : card.Picture, 1, "");
            FillAll(location, "\\", "/");
            if (location.rfind("file://", 0) != 0) location = "file://" + location;
            picturePart = CardAnchor(card) + "<img " + align +
                          "hspace=5 width = 150 height = 225 border = \"0\" src=\"" + location +
                          "\"></img></a>";
        }
        std::string description = card.Description;
        FillAll(description, "$MYDESC", "");
        FillAll(description, "$TARGETDESC", "");
        return "<table width=100%><tr><td bgcolor=#0>" + picturePart + "<p>" + DCard(card) +
               "</p>" + "<p>" + GenTraitsDesc(card, 0) + "</p>" + "<p>" +
               FilledForCard(card, description) + "</p>" + "</td></tr></table><br>";
    });
}

std::string GenPlayerDesc(Player& player) {
    return Guarded("GenPlayerDesc", std::string(), [&] {
        Card* found = InPlayCard(player.CardIndex);
        if (!found || found->Name.empty()) return std::string();
        Card& card = *found;
        const std::string heading = DCard(card);
        const std::string hp = GetTrait(card, "HP").Text();
        const std::string picture = CLink(card, 1, 2);
        return "<center><table border=\"1\"><th>" + heading +
               "</th><tr><td><center>HP: <font color=\"#00FF00\">" + hp + "</font><br>" + picture +
               "<br>" + GenTraitsDesc(card, 2) + "</tr></td></table></center>";
    });
}

std::string AllTraitsDesc(Card& card) {
    return Guarded("AllTraitsDesc", std::string(), [&] {
        std::string text = "Card #" + std::to_string(card.Index) +
                           "<br>Global ID: " + std::to_string(card.GID) + ", ";
        for (int i = 1; i <= card.TraitNames.size(); ++i) {
            const std::string& name = std::as_const(card.TraitNames)[i];
            if (name.empty()) continue;
            const auto colon = name.find(':');
            std::string qualifier;
            if (colon != std::string::npos) {
                const auto next = name.find(':', colon + 1);
                qualifier = name.substr(
                    colon + 1, next == std::string::npos ? std::string::npos : next - colon - 1);
            }
            const std::string value =
                card.TraitValues.Has(i) ? std::as_const(card.TraitValues)[i] : "";
            text += name.substr(0, colon) + ": " + value;
            text += qualifier.empty() ? ", " : " (" + qualifier + "), ";
        }
        return text;
    });
}

void DisplayCard(Card& card, int withTraits) {
    Guarded("DisplayCard", [&] {
        LoadCardPicture(card);
        std::string& page = St().HTMLText;
        page = "<p>" + DCard(card) + "</p><p>" + GenCostDesc(card.CostDesc) + "</p>";
        if (withTraits == 1) page += "<p>" + GenTraitsDesc(card, 0) + "</p>";
        if (card.Active == 1) page += "<p>" + GetActionMenu2(card) + "</p>";
        page += "<p>" + card.Description + "</p>";
        // The buffer is filled through a copy: filling may compose pages of its own.
        std::string filled = FilledForCard(card, page);
        St().HTMLText = std::move(filled);
        if (St().DebugMode == 1) {
            std::string debug = "<br>Card #" + std::to_string(card.Index) +
                                "<br>Rarity:" + std::to_string(card.Rarity) + "<br><br>" +
                                AllTraitsDesc(card);
            for (int e = 1; e <= card.Effects.size(); ++e) {
                const Effect& effect = card.Effects[e];
                debug += "Action #" + std::to_string(e) + "<br>Target: Card #" +
                         std::to_string(effect.Target) + "<br>Trigger: " + effect.Trigger +
                         "<br>Action:<br>" + effect.Text + "<br><br>";
            }
            St().HTMLText += debug;
        }
    });
    CreateHTML("CardDesc.html", "#000000");
    HTMLDisplay2(kCardViewer, "CardDesc.html");
}

void DisplayCard2(Card& card, int withTraits) {
    Guarded("DisplayCard2", [&] {
        LoadCardPicture(card);
        std::string page = "<p>" + DCard(card) + "</p>";
        if (withTraits == 1) page += "<p>" + GenTraitsDesc(card, 0) + "</p>";
        page += "<p>" + card.Description + "</p>";
        St().HTMLText = FilledForCard(card, page);
    });
}

std::string GetActionMenu2(Card& card) {
    if (card.Owner == 2) return "";
    std::string menu;
    for (int i = 1; i <= card.Effects.size(); ++i) {
        const Effect& effect = std::as_const(card.Effects)[i];
        if (effect.MenuState == MenuState::None) continue;
        menu += "<a href=\"MENUACTION:" + std::to_string(card.GID) + ":" + std::to_string(i) +
                "\">" + effect.MenuText + "</a><br>";
    }
    return menu;
}

}  // namespace dv
