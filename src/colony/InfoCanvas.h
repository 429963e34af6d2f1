// Where a facility's info page is drawn: a colony panel's picture, or a
// recording stand-in. Positions are relative to the picture; texts are
// CP949.
#pragma once
#include <cstdint>

class CInfoCanvas {
public:
    virtual ~CInfoCanvas() = default;
    // Shadow colour 255: no shadow.
    virtual void SetColors(uint8_t text, uint8_t shadow) = 0;
    virtual void DrawText(int x, int y, const char* text) = 0;
    virtual void DrawTextCentered(int x, int y, const char* text) = 0;
    // The pixels x0 <= x < x1, y0 <= y < y1 take the colour.
    virtual void FillRect(int x0, int y0, int x1, int y1, uint8_t colour) = 0;
};
