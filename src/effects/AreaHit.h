// The area hits of the spells: every character on the tiles around a
// tile that is not the caster, stands on exactly that tile and belongs to
// another group. The tile range is clipped to the map.
#pragma once
#include <algorithm>
#include <cstdlib>

#include "world/BGLayer.h"
#include "world/Creature.h"
#include "world/ObjLayer.h"

// Calls hit(target, tileDistance) for each such character within radius
// tiles (Chebyshev) of (tx, ty).
template <class Hit>
void ForEachAreaTarget(CObjLayer* layer, const CCreature* caster, int tx, int ty, int radius, Hit&& hit)
{
    if (!layer || !caster)
        return;
    const CBGLayer* ground = layer->GetBackground();
    const int width = ground ? std::min(ground->GetMapWidth(), 512) : 512;
    const int height = ground ? std::min(ground->GetMapHeight(), 512) : 512;
    const int x0 = std::max(tx - radius, 0), y0 = std::max(ty - radius, 0);
    const int x1 = std::min(tx + radius, width - 1), y1 = std::min(ty + radius, height - 1);
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            // Empty and blocked cells resolve to null.
            CObj* obj = layer->ResolveHandle(layer->GetObjectCell(x, y));
            if (!obj || obj->GetKind() != CObj::kindCharacter || obj == caster)
                continue;
            if (obj->GetTileX() != x || obj->GetTileY() != y)
                continue;
            auto* target = static_cast<CCreature*>(obj);
            if (target->GetGroupId() == caster->GetGroupId())
                continue;
            hit(*target, std::max(std::abs(x - tx), std::abs(y - ty)));
        }
    }
}

// The battle's area hits, which the battle code installs; nothing happens
// while none is installed.
using AreaHitHook = void (*)(CObjLayer* layer, int tileX, int tileY, int id);
void SetMaximumForceAreaHook(AreaHitHook hook);
void SetThunderBoltAreaHook(AreaHitHook hook);
void ApplyMaximumForceAreaHit(CObjLayer* layer, int tileX, int tileY, int id);
void ApplyThunderBoltAreaHit(CObjLayer* layer, int tileX, int tileY, int id);
