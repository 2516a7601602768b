#pragma once
// The fields a card data file holds of a card, of a card file's layout and of a template, one to
// a line: what a read gives compares with what a read of the written file gives, with a readable
// difference.

#include <sstream>
#include <string>

#include "engine/model/records.h"

namespace dv::test {

inline std::string CardFields(const Card& c) {
    std::ostringstream o;
    o << "Name=" << c.Name << "\nUniqueName=" << c.UniqueName << "\nGID=" << c.GID
      << "\nSetFile=" << c.SetFile << "\nPicture=" << c.Picture << " [" << c.PictureItem << "]"
      << "\nThumbnail=" << c.Thumbnail << " [" << c.ThumbnailItem << "]"
      << "\nColour=" << c.Colour << "\nDescription=" << c.Description << "\n";
    for (int i = 1; i <= c.TraitNames.size(); ++i) {
        if (c.TraitNames[i].empty()) continue;
        o << "Trait " << c.TraitNames[i] << "=" << (c.TraitValues.Has(i) ? c.TraitValues[i] : "")
          << " {" << (c.TraitActionDescs.Has(i) ? c.TraitActionDescs[i] : "") << "}\n";
    }
    for (const Effect& e : c.Effects) {
        if (e.Text.empty()) continue;
        o << "Effect " << e.TargetType << " " << e.TargetText << " | " << e.Trigger << " | "
          << static_cast<int>(e.MenuState) << " " << e.MenuText << " | " << e.Text << "\n";
    }
    o << "Rarity=" << static_cast<int>(c.Rarity) << "\nStartTime=" << c.StartTime
      << "\nMods=" << c.Mods << "\nSources=" << c.ArtSource << "%" << c.BackSource << "%"
      << c.MiniSource << "\nRegion=";
    for (int16_t v : c.ArtRegion)
        o << v << " ";
    return o.str() + "\n";
}

inline std::string TemplateFields(const CardTemplate& t) {
    return CardFields(t.card) + "Back=" + t.BackPicture + "\nExtra=" + t.Extra +
           "\nTemplateColour=" + std::to_string(t.Colour) + "\n";
}

// The lines of the file itself, not what its included files brought.
inline std::string LayoutFields(const CardFileLayout& l) {
    std::string out = "GameFile=" + (l.GameFile ? "[" + *l.GameFile + "]" : std::string("none")) +
                      "\nStarterDeck=" + std::to_string(l.StarterDeck) +
                      "\nDeckRules=" + (l.DeckRules ? "[" + *l.DeckRules + "]" : "none") + "\n";
    for (const auto& [list, text] : l.CustomStrings)
        out += "CustomString " + list + "=" + text + "\n";
    for (const IncludeLine& include : l.Includes)
        out += "Include " + include.Name + " zone " + include.Zone + "\n";
    return out;
}

}  // namespace dv::test
