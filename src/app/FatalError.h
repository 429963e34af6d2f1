// A fatal error: the box, then the message loop ends and the program tears
// down in order.
#pragma once

// text is CP949. The process exits with code 1.
void ShowFatalError(const char* text);
