#include "windows/MouseCursor.h"

CMouseCursor g_mouseCursor;
CMouseCursor g_lastMouseCursor;
