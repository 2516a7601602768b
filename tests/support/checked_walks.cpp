// Every test indexes the walks over play from two slots on and checks each look against the
// cards, so that a change to play the index does not see ends the run at once.
#include "engine/model/play_index.h"

namespace {

const bool kChecked = [] {
    dv::PlayIndex::CheckAgainstCards(true);
    return true;
}();

}  // namespace
