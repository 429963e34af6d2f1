// What the object layer's grids hold: a 32-bit handle naming a pool and a
// slot in it, never a pointer. 0 is an empty cell and -1 a blocked one.
#pragma once
#include <cstdint>

using ObjHandle = uint32_t;

constexpr ObjHandle kCellEmpty = 0;
constexpr ObjHandle kCellBlocked = 0xFFFFFFFFu;

enum class ObjPool : uint32_t { character = 1, npc = 2, creatureAlt = 3, structure = 4 };

constexpr ObjHandle MakeObjHandle(ObjPool pool, uint32_t slot)
{
    return (static_cast<uint32_t>(pool) << 24) | (slot & 0xFFFFFFu);
}
constexpr uint32_t HandlePool(ObjHandle h) { return h >> 24; }
constexpr uint32_t HandleSlot(ObjHandle h) { return h & 0xFFFFFFu; }
