// GTK's one start for the desktop dialogs: on first use, and only if GTK can
// reach the desktop; and the message loop's pass while one of GTK's modal
// loops runs.
#pragma once

namespace plat {

// True once GTK is up; the first call starts it (later calls repeat the
// first answer).
bool GtkDesktopReady();

// While a box or chooser runs GTK's own loop, the message loop goes on in
// it (CMessageLoop::PumpDuringBox every few milliseconds) from Start until
// Stop; Start's result is Stop's argument.
unsigned StartBoxPump();
void StopBoxPump(unsigned pump);

}  // namespace plat
