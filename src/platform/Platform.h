// Choosing and tearing down a platform backend. A backend installs every
// service of this folder (clock, settings, dialogs, window, loop backend);
// the game then reaches them through the accessors of each service.
#pragma once
#include <string>

namespace plat {

enum class BackendKind { Sdl, Headless };

// The backend named by QUORVEL_PLATFORM ("sdl" or "headless"), SDL by
// default when it was built.
BackendKind ChosenBackend();

// Restores every service to its do-nothing default and resets the loop.
void UninstallServices();

}  // namespace plat
