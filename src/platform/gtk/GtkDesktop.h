// GTK's one start for the desktop dialogs: on first use, and only if GTK can
// reach the desktop.
#pragma once

namespace plat {

// True once GTK is up; the first call starts it (later calls repeat the
// first answer).
bool GtkDesktopReady();

}  // namespace plat
