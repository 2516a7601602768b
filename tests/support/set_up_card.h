#pragma once
// A card as set up cards are, without drawing an identifier: a name, an owner, twenty empty trait
// slots and one free effect slot. Set up already, so that adding an effect does not set it up
// afresh and lose its traits.

#include <cstdint>
#include <string>

#include "engine/model/records.h"

namespace dv::test {

inline Card MakeCard(const std::string& name, int owner = 1, int32_t gid = 0) {
    Card c;
    c.Name = name;
    c.Owner = static_cast<uint8_t>(owner);
    c.GID = gid;
    c.Initialised = 1;
    c.TraitNames = List<std::string>(20);
    c.TraitValues = List<std::string>(20);
    c.TraitActionDescs = List<std::string>(20);
    c.Effects = List<Effect>(1);
    return c;
}

}  // namespace dv::test
