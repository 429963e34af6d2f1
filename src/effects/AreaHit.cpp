#include "effects/AreaHit.h"

namespace {
AreaHitHook g_maximumForceArea = nullptr;
AreaHitHook g_thunderBoltArea = nullptr;
}  // namespace

void SetMaximumForceAreaHook(AreaHitHook hook) { g_maximumForceArea = hook; }
void SetThunderBoltAreaHook(AreaHitHook hook) { g_thunderBoltArea = hook; }

void ApplyMaximumForceAreaHit(CObjLayer* layer, int tileX, int tileY, int id)
{
    if (g_maximumForceArea)
        g_maximumForceArea(layer, tileX, tileY, id);
}

void ApplyThunderBoltAreaHit(CObjLayer* layer, int tileX, int tileY, int id)
{
    if (g_thunderBoltArea)
        g_thunderBoltArea(layer, tileX, tileY, id);
}
