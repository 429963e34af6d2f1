#include "colony/SimFeature.h"

#include "colony/SimBuildingTable.h"
#include "colony/SimTerrain.h"

void CSimFeature::Draw(uint8_t* pixels)
{
    const ScreenPoint p = g_simTerrain.MapToScreen(m_x, m_y);
    m_screenX = p.x;
    m_screenY = p.y;
    int32_t frame = m_variant;
    DrawAnimated(g_simBuildingTable.GetType(m_type), pixels, frame, false, p.x, p.y);
}
