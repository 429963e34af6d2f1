#include "effects/GhostCalling.h"

#include "audio/SoundManager.h"

namespace {
constexpr int kOffsets[CGhostCalling::kGhosts][2] = {{70, 0}, {0, 70}, {-70, 0}, {0, -70}};
}

int CGhostCalling::Reset()
{
    m_active = 0;
    m_phase = 0;
    m_tick = 0;
    return 0;
}

void CGhostCalling::Init(CEffectManager* manager, int x, int y, const Sets& sets, int a)
{
    m_pManager = manager;
    m_x = x;
    m_y = y;
    m_value1 = a;
    for (size_t i = 0; i < m_ghosts.size(); ++i)
        m_ghosts[i] = {sets[i], 0, 0};
    m_phase = 0;
    m_tick = 0;
    m_active = 1;
    g_soundManager.PlayAt("ghost.wav", 0, 0);
}

void CGhostCalling::Draw(uint8_t* dst)
{
    int sx = 0, sy = 0;
    ToScreen(m_x, m_y, sx, sy);
    if (Presented()) {
        for (size_t i = 0; i < m_ghosts.size(); ++i) {
            const Ghost& g = m_ghosts[i];
            DrawSetFrame(g.set, g.frame, sx + kOffsets[i][0], sy + kOffsets[i][1] - g.rise, dst);
        }
    }
    auto advance = [&] {
        for (Ghost& g : m_ghosts)
            ++g.frame;
    };
    if (m_phase == 0 && m_tick > 20) {
        advance();
        m_phase = 1;
    } else if (m_phase == 1 && m_tick > 45) {
        advance();
        m_phase = 2;
    } else if (m_phase == 2 && m_tick > 400) {
        for (Ghost& g : m_ghosts)
            g.frame = 0;
        m_tick = 0;
        m_phase = 0;
        m_active = 0;
        return;
    }
    if (m_tick > 0)
        for (Ghost& g : m_ghosts)
            ++g.rise;
    if (m_tick > 10) {
        m_ghosts[0].rise += (m_tick & 2) ? 1 : 0;
        m_ghosts[1].rise += 1;
        m_ghosts[2].rise += (m_tick & 3) ? 1 : 0;
        m_ghosts[3].rise += 1;
    }
    if (m_tick > 20) {
        m_ghosts[0].rise += (m_tick & 3) ? 1 : 0;
        m_ghosts[1].rise += (m_tick & 2) ? 1 : 0;
        m_ghosts[2].rise += 1;
        m_ghosts[3].rise += (m_tick & 3) ? 1 : 0;
    }
    ++m_tick;
}
