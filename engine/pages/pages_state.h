#pragma once

#include <cstdint>
#include <string>

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

struct PagesState {
    std::string HTMLText;
    uint8_t HtmlBusy = 0;
    uint8_t HelpRaise = 0;
    List<TraitGraph> TraitGraphs = List<TraitGraph>(1);

    // Placeholder filling: 1 while the second pass of SwapCardStrings runs, and how deeply
    // fillings are nested (descriptions and trait boxes fill texts inside texts).
    uint8_t SwapSecondPass = 0;
    int SwapNesting = 0;
};

}  // namespace dv
