#pragma once
// The beginning of network play: nothing listens or connects, but once a connection is made the
// chat panel shows under the board view.

namespace dv::ui {

// Connected from now on. True when this changed anything: a second connection shows nothing new.
bool SetConnection();

}  // namespace dv::ui
