#include "ui/main/connection.h"

#include "engine/model/state.h"

namespace dv::ui {

bool SetConnection() {
    const bool changed = St().Connected == 0;
    St().Connected = 1;
    return changed;
}

}  // namespace dv::ui
