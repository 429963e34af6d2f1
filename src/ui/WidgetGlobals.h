// The widget framework's single objects back as the program starts them
// (between tests): the message ring, the floating texts, the notice records,
// the input focus, the field's right edge, the UI ticks of the frame and the
// player's ability set.
#pragma once

void ResetWidgetGlobals();
