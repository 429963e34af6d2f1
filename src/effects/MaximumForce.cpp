#include "effects/MaximumForce.h"

#include <algorithm>

#include "core/EffectSpriteSet.h"

namespace {

// The screen sign of each cell step: 0 is (-1, 0) in cells, up and left.
constexpr int kScreenDir[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}};

}  // namespace

void CMaximumForce::Init(CEffectManager* manager, int x, int y, int direction, int bursts,
                         const CEffectSpriteSet* set)
{
    m_pManager = manager;
    m_x = x;
    m_y = y;
    m_direction = direction & 7;
    m_bursts = std::clamp(bursts, 1, kMaxBursts);
    m_pSet = set;
    m_step = 0;
    m_active = 1;
}

void CMaximumForce::Draw(uint8_t* dst)
{
    const int images = m_pSet ? m_pSet->GetFrameCount() : 0;
    const int life = kFramesPerImage * images;
    int sx = 0, sy = 0;
    ToScreen(m_x, m_y, sx, sy);
    for (int i = 0; i < m_bursts; ++i) {
        // Burst i starts i images after the first.
        const int counter = m_step - kFramesPerImage * i;
        if (counter < 0 || counter >= life || !Presented())
            continue;
        const int off = kBurstStep * i;
        DrawSetFrame(m_pSet, counter / kFramesPerImage, sx + kScreenDir[m_direction][0] * off,
                     sy + kScreenDir[m_direction][1] * off, dst);
    }
    if (++m_step >= life + kFramesPerImage * (m_bursts - 1))
        m_active = 0;
}
