#include "colony/TechCubeSlot.h"

#include "core/Blit.h"
#include "core/RleImage.h"
#include "rules/ItemData.h"

void CTechCubeSlot::MoveTo(int32_t fromX, int32_t fromY, int32_t itemId, CWidget* target)
{
    if (!target)
        return;
    const CPoint to = *target->GetPos();
    m_current = CPoint{fromX, fromY};
    m_delta = CPoint{static_cast<int32_t>((int64_t{to.x} - fromX) / kSteps),
                     static_cast<int32_t>((int64_t{to.y} - fromY) / kSteps)};
    m_steps = kSteps;
    m_itemId = itemId;
    m_target = target;
}

void CTechCubeSlot::Draw(uint8_t* surface)
{
    if (m_steps < 0)
        return;
    if (surface)
        if (CRleImage* icon = g_itemData.GetIconFrame(m_itemId))
            icon->Draw(m_current.x, m_current.y, ScreenTarget(surface));
    m_current.x += m_delta.x;
    m_current.y += m_delta.y;
    --m_steps;
}
