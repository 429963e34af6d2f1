// The game layer: it stands in the display in place of the object layer
// while the colony mode is on. Its frame ticks the game clock, hands the
// mouse to the in-game windows, takes screenshots, scrolls and draws the
// colony map, and draws the windows, the colony cursor and the messages.
#pragma once
#include "core/Layer.h"

class CDisplay;

class CGameLayer : public CLayer {
public:
    // The mouse within this many pixels of an edge scrolls the colony map.
    static constexpr int kEdge = 6;

    explicit CGameLayer(CDisplay* display) : m_pDisplay(display) {}
    int Draw() override;

private:
    CDisplay* m_pDisplay;
};
