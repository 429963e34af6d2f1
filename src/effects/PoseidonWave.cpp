#include "effects/PoseidonWave.h"

#include "core/EffectSpriteSet.h"

void CPoseidonWave::Init(CEffectManager* manager, int x, int y, const CEffectSpriteSet* set, int a)
{
    m_pManager = manager;
    m_x = x;
    m_y = y;
    m_pSet = set;
    m_value1 = a;
    m_step = 0;
    m_active = 1;
}

void CPoseidonWave::Draw(uint8_t* dst)
{
    const int count = m_pSet ? m_pSet->GetFrameCount() : 0;
    if (Presented() && m_step < count) {
        int sx = 0, sy = 0;
        ToScreen(m_x, m_y, sx, sy);
        DrawSetFrame(m_pSet, m_step, sx, sy, dst, false, true);
    }
    if (++m_step >= count)
        m_active = 0;
}
