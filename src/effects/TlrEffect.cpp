#include "effects/TlrEffect.h"

#include "core/EffectSpriteSet.h"

void CTlrEffect::InitTlr(CEffectManager* manager, const CEffectSpriteSet* set, int x, int y)
{
    m_pManager = manager;
    m_pSet = set;
    m_x = x;
    m_y = y;
    m_step = 0;
    m_tick = 0;
    m_active = 1;
}

void CTlrEffect::RunFrame(uint8_t* dst, bool visible)
{
    const int count = m_pSet ? m_pSet->GetFrameCount() : 0;
    if (visible && Presented() && count > 0) {
        int sx = 0, sy = 0;
        ToScreen(m_x, m_y, sx, sy);
        DrawSetFrame(m_pSet, m_step / kFramesPerImage, sx, sy, dst);
    }
    ++m_step;
    if (m_step >= kFramesPerImage * count)
        m_active = 0;
}
