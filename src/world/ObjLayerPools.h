// The object layer's pools and grids, kept off the layer object itself
// (they take some 10 MB). Included only by the layer's own sources.
#pragma once
#include <array>
#include <cstdint>

#include "world/Character.h"
#include "world/CreatureAlt.h"
#include "world/MapGrid.h"
#include "world/Npc.h"
#include "world/ObjLayer.h"
#include "world/StructureObj.h"

struct CObjLayer::Grids {
    std::array<ObjHandle, kMapCellCount> object{};
    std::array<uint32_t, kMapCellCount> path{};
    std::array<uint16_t, kMapCellCount> groundItem{};
    std::array<uint16_t, kMapCellCount> spare{};
    std::array<uint32_t, kMapCellCount> id{};
    std::array<ObjHandle, kMapCellCount> structure{};

    void Clear()
    {
        object.fill(0);
        path.fill(0);
        groundItem.fill(0);
        spare.fill(0);
        id.fill(0);
        structure.fill(0);
    }
};

struct CObjLayer::Pools {
    std::array<CNpc, kNpcs> npcs;
    std::array<CCharacter, kCharacters> characters;
    std::array<CCreatureAlt, kCreatureAlts> alts;
    std::array<CStructureObj, kStructures> structures;
};
