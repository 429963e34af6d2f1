// The colony's UI commands and windows: the dispatcher hands the command ids
// of the colony panels here, the UI layer's creation table builds the
// colony windows here.
#pragma once
#include <cstdint>

class CTechCube;
class CWidget;

// Commands 76..88 and 250: false for any other id.
bool DispatchColonyCommand(int id);

// The colony window with that id (51 tax rate, 59 parameters, 60 HQ, 61
// base facility, 64 activation, 65 tech-cube box, 49 tech window, 50 cube
// cells flying the given cube); null for another id. The UI layer puts the
// base-facility panel into the colony panel list as it adds it.
CWidget* CreateColonyWindow(int32_t id, CTechCube* flying = nullptr);
