// How a creature's frame goes into the draw list: the draw mode and its
// parameter, chosen from the fade, the battle light of its cell and its
// state (the modes are the draw list's: 0 plain, 3 shade table, 4 blend
// level, 6 tint table, 7 shaded tint).
#pragma once
#include <cstdint>

struct DrawModeInput {
    int fade = -1;            // -1 as the creature is; 0..7 a blend level (dying)
    bool inBattle = false;
    int cls = 0;              // record class
    int light = 8;            // sight of its cell in battle, 0..8
    bool frozen = false;
    bool hidden = false;
    bool seesHidden = false;  // it is mine or of my group
    uint32_t look = 0;
};

struct DrawModeChoice {
    bool draw = true;
    int mode = 0;
    uint32_t param = 0;
};

DrawModeChoice ChooseDrawMode(const DrawModeInput& in);
