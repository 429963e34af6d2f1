#include "social/FaceButton.h"

#include "core/Blit.h"
#include "core/SlrList.h"

CFaceButton::CFaceButton(int32_t id, CWidget* owner, int32_t x, int32_t y, int32_t* selection,
                         const CSlrList* portraits)
    : CFaceButtonBase(id, owner, x, y, selection), m_portraits(portraits)
{
}

void CFaceButton::Draw(uint8_t* surface)
{
    if (m_state == kClosed)
        return;
    Update();
    // A negative index (no member) draws nothing.
    if (!IsFace(m_charId) || !surface || !m_owner || !m_portraits || m_charId >= m_portraits->GetFrameCount())
        return;
    const int32_t x = m_owner->GetPos()->x + m_offsetX;
    const int32_t y = m_owner->GetPos()->y + m_offsetY;
    m_portraits->Draw(m_charId, x, y, ScreenTarget(surface));
    DrawName(surface, x + kNameDx, y + kNameDy, m_name);
}
