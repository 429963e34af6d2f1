#include "colony/TechCubeButton.h"

#include "colony/SimBuildingTable.h"
#include "colony/SimCursor.h"
#include "core/Blit.h"

CTechCubeButton::CTechCubeButton(CWidget* owner)
    : CButtonWidget(0, "TechCubeBtn.slr", owner, 31, 98, kCommand, kRepeatFrames)
{
}

void CTechCubeButton::Draw(uint8_t* surface)
{
    ButtonDraw(surface);
    if (m_state == kClosed || !surface)
        return;
    const int d = m_look == kLookPressed ? 3 : 0;
    const auto& recipe = g_simBuildingTable.GetType(g_simCursor.GetPickedFacility()->m_type).recipe;
    for (size_t i = 0; i < recipe.size(); ++i) {
        if (recipe[i] == kNoCube)
            continue;
        g_techCubeSprites.Draw(CubeFrame(recipe[i], m_counters[i]), m_pos.x + 70 * static_cast<int>(i) + d - 15,
                               m_pos.y + d - 15, ScreenTarget(surface));
        m_counters[i] = m_counters[i] == INT32_MAX ? 0 : m_counters[i] + 1;
    }
}
