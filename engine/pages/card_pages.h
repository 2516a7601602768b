#pragma once
// Text placeholders, card and player descriptions, the board and the trait boxes.

#include <string>

#include "engine/model/records.h"
#include "engine/model/value.h"

namespace dv {

// Called, when given, before a picture is filled in: the links may be built only when a text
// shows them.
using PictureBuild = void (*)();
void SwapCardStrings(Card& source, Card& target, std::string& text,
                     const std::string& sourcePicture, const std::string& targetPicture,
                     const Value& spare, Value& amount, PictureBuild build = nullptr);
void SwapTraitStrings(Card& source, Card& target, std::string& text);

std::string DCard(Card& card);
// The same, added to the end of out.
void AppendDCard(std::string& out, Card& card);
std::string GenCostDesc(const std::string& costList);
std::string GenTraitsDesc(Card& card, int mode);
std::string CLink(Card& card, int size, int side);
// What CLink changes of the card, without building the link: a card of no side is the first
// side's, and one shown with its picture gets the default colour.
void ReadyForCLink(Card& card, int size);
std::string FullDesc(Card& card, int pictureMode, int side);
std::string GenPlayerDesc(Player& player);
// The links of a card's menu actions, "MENUACTION:" with its GID and the effect number.
std::string GetActionMenu2(Card& card);
std::string AllTraitsDesc(Card& card);
void DisplayCard(Card& card, int withTraits);
void DisplayCard2(Card& card, int withTraits);

void AddTraitGraph(const std::string& name, const std::string& picture, const std::string& colour,
                   const std::string& label, const std::string& cardViewFlag,
                   const std::string& boardFlag, const std::string& playerBoxFlag,
                   const std::string& title);
std::string GenHP(Card& card, int withLabel);
std::string GenInPlay(Player& player);
std::string GenTraitHTML(Card& card, const std::string& traitName, int mode);

}  // namespace dv
