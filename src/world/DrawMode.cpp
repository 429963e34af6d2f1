#include "world/DrawMode.h"

DrawModeChoice ChooseDrawMode(const DrawModeInput& in)
{
    const uint32_t tint = in.look & 63;
    if (in.fade >= 0 && in.fade <= 7)
        return {true, 4, static_cast<uint32_t>(in.fade)};
    if (!in.inBattle)
        return in.cls > 5 ? DrawModeChoice{true, 0, 0} : DrawModeChoice{true, 6, tint};
    const bool full = in.light >= 8;
    const uint32_t light = static_cast<uint32_t>(in.light < 0 ? 0 : in.light);
    if (in.frozen)
        return {true, 3, 4};
    if (in.cls > 6)
        return full ? DrawModeChoice{true, 0, 0} : DrawModeChoice{true, 3, light};
    if (in.hidden)
        return {in.seesHidden, 4, 3};
    return full ? DrawModeChoice{true, 6, tint} : DrawModeChoice{true, 7, light * 256 + tint};
}
