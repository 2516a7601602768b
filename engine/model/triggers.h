#pragma once
// Trigger names and numbers, the trigger registry and the trait requirement masks.

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/model/records.h"

namespace dv {

uint8_t GetTriggerNum(const std::string& name);
std::string GetTriggerName(uint8_t number);
void CreateBitLookup();
// Cuts name to its base name; word is 1 to 8, or -1 when the name table is full.
void gettraitmaskpos(std::string& name, int& word, int32_t& bit);
// The same for the part of a name before its first ":", leaving the name as it is.
void TraitMaskPosition(std::string_view name, int& word, int32_t& bit);
void ModActionMask(Card& card, int effectNumber, const std::string& traitName, int side, int kind);
void SetActionMasks(Card& card, int effectNumber);
// Sets only the effect's side requirement, which follows the card's owner, as SetActionMasks does.
void SetSideRequirement(const Card& card, Effect& effect);
// Registers an effect under its trigger, or with remove set takes every registration of the card
// out. An effect with an empty script, or a card slot with an empty name, is never left
// registered.
void RegisterAction(int cardNumber, int effectNumber, int16_t replace, int16_t remove);
void RegisterAllActions();
// Enters every effect of a card in the registry under its own card number.
void RegisterEffects(const Card& card);
// Takes every registration of a card number out of every slot: for a card leaving play or
// renamed to an empty name.
void UnregisterCard(int cardNumber);
// Takes one effect of a card out of every slot: for an effect that is deleted or freed.
void UnregisterAction(int cardNumber, int effectNumber);
// Takes the registrations of a card held in play out: of one effect, or of all its effects for
// effect number 0. A copy of the card (a trial run's) changes nothing.
void DropRegistrations(const Card& card, int effectNumber);
// Every change of the trigger registry is announced first: each open snapshot of play that has
// not yet copied the registry copies it then, as it stood when the snapshot was taken.
void RegistryWillChange();

}  // namespace dv
