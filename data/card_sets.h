#pragma once
// Card sets: fetching a card of a set through the cache, and refreshing owned cards from newer
// versions of their sets.

#include <string>

#include "engine/model/files.h"
#include "engine/model/records.h"

namespace dv {

// A copy of the first card of that name in the set file; an empty card when there is none, or
// when the set file may not be read (FindNamedFile). A set is read once and kept by the file
// found, however its name is spelt.
Card GetCardsetCard(const std::string& cardName, const std::string& setFile);
// The same for a set file already found.
Card GetCardsetCard(const std::string& cardName, const NamedFile& set);
// Refreshes the cards of the list from the sets they name that are not older than the player's
// LastModified. Cards carrying "NOMRP" keep their version.
void MRPCards(List<Card>& cards, Player& player);
// The slot of a unique name in MRPTable: the one that holds it, or the free one it would take.
int GetMRPHash(const std::string& uniqueName);
// Stamps the set file name, and missing unique names, onto the collection's cards; mode 0 fills
// only empty set file names.
void SetColFileName(const std::string& fileName, int mode);
// Brings the card-test lists up to the cards open in the designer.
void MRPForTesting();

}  // namespace dv
