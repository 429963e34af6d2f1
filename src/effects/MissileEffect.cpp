#include "effects/MissileEffect.h"

#include "world/TileGeometry.h"

void CMissileEffect::Init(CEffectManager* manager, int mode, int x0, int y0, int x1, int y1, int split,
                          CRleImage* imageA, CRleImage* imageB)
{
    m_pManager = manager;
    m_active = 1;
    m_step = m_tick = 0;
    m_mode = mode;
    m_x0 = x0;
    m_y0 = y0;
    m_x1 = x1;
    m_y1 = y1;
    if (mode == 1) {
        m_x = x0;
        m_y = y0;
    }
    m_trail = kTrail;
    m_split = split;
    m_pImageA = imageA;
    m_pImageB = imageB;
    m_pOwner = nullptr;
}

void CMissileEffect::Draw(uint8_t* dst)
{
    const int d = GetChebyshevDistance(m_x0, m_y0, m_x1, m_y1);
    bool onLine = false;
    for (int k = 0; k < m_trail; ++k) {
        const int i = m_step - k;
        if (i < 0)
            continue;
        int px = 0, py = 0;
        const int covered = GetEasedLinePoint(m_x0, m_y0, m_x1, m_y1, d, kTrail, i, &px, &py);
        if (covered < 0)
            continue;
        onLine = true;
        if (k == 0) {
            m_x = px;
            m_y = py;
        }
        if (!Presented())
            continue;
        int sx = 0, sy = 0;
        ToScreen(px, py, sx, sy);
        if (m_mode == 5 && covered >= m_split)
            DrawImage(m_pImageB, sx, sy, dst);
        else
            DrawImageBlend(m_pImageA, sx, sy, dst, 3);
    }
    if (++m_tick >= kFramesPerPoint) {
        m_tick = 0;
        ++m_step;
    }
    if (!onLine)
        m_active = 0;
}
