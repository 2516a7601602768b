#pragma once

#include "engine/model/records.h"

namespace dv {

void ClearMenuActions(Card& card);

}  // namespace dv
