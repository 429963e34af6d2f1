// The facility that follows the mouse while the player places one: drawn
// only where a base may be placed.
#pragma once
#include "colony/SimFacility.h"

class CSimCursorFacility : public CSimFacility {
public:
    static constexpr int kParkedAt = 999;

    CSimCursorFacility() : CSimFacility(0, kParkedAt, kParkedAt, 0, 0, kNoOverlay) {}

    // Place mode: moves to the map cell under the mouse, re-sorts the
    // colony and is drawn (and the cursor valid) only where the placement
    // check passes. The other modes: the cursor is valid while the mouse is
    // over an object.
    void Draw(uint8_t* pixels) override;
    // It stays where it was last drawn while the player picks or
    // demolishes: never under the mouse, so that the facility placed there
    // can be picked and demolished.
    int HitTest(int, int) const override { return 0; }
};
