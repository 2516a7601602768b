#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/model/list.h"

namespace dv {

struct TraitGraph {
    std::string Name;
    std::string Picture;
    std::string PictureLocation;
    std::string Colour;
    std::string Label;
    uint8_t CardViewFlag = 0;
    uint8_t BoardFlag = 0;
    uint8_t PlayerBoxFlag = 0;
    std::string Title;
    uint8_t PerCard = 0;
};

// The frame shades of a card picture in one player colour: dark, light and middle.
struct FrameShades {
    std::string Colour;
    std::string Dark;
    std::string Light;
    std::string Middle;
};

// Colours whose frame shades are kept; the oldest goes first beyond this.
inline constexpr std::size_t kMaxFrameShades = 8;

struct PagesState {
    std::string HTMLText;
    uint8_t HtmlBusy = 0;
    uint8_t HelpRaise = 0;
    List<TraitGraph> TraitGraphs = List<TraitGraph>(1);

    // Placeholder filling: 1 while the second pass of SwapCardStrings runs, and how deeply
    // fillings are nested (descriptions and trait boxes fill texts inside texts).
    uint8_t SwapSecondPass = 0;
    int SwapNesting = 0;

    // Every effect run draws its cards in their owners' colours: the shades are worked out once.
    std::vector<FrameShades> FrameShadeCache;
};

}  // namespace dv
