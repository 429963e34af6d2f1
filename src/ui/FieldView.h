// The right edge of the visible field: the in-game UI sets it to 800 at the
// start of its frame and every side panel it draws lowers it to the panel's
// left edge; the map layer and the object-layer frame clip the field to it.
#pragma once
#include <cstdint>

extern int32_t g_fieldViewRight;

int GetFieldViewRight();
void SetFieldViewRight(int right);
// Lowers the edge to x when x is smaller.
void LowerFieldViewRight(int x);
