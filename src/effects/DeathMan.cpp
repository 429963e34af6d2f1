#include "effects/DeathMan.h"

#include "audio/SoundManager.h"
#include "core/EffectSpriteSet.h"
#include "world/Creature.h"
#include "world/ObjLayer.h"

void CDeathMan::Init(CEffectManager* manager, int x, int y, const CEffectSpriteSet* set, int a)
{
    m_pManager = manager;
    m_x = x;
    m_y = y - 130;
    m_pSet = set;
    m_value1 = a;
    m_step = 0;
    m_counter = m_cycle = m_bob = m_bobUp = m_alive = 0;
    m_active = 1;
    g_soundManager.PlayAt("18.wav", 0, 0);
}

void CDeathMan::Draw(uint8_t* dst)
{
    CObjLayer* layer = Layer();
    if (!layer)
        return;
    const int frames = m_pSet ? m_pSet->GetFrameCount() : 0;
    for (const CObjLayer::DeathMarkPair& pair : layer->m_deathMarks) {
        const CCreature* marked = pair.first;
        if (!marked)
            continue;
        m_x = marked->GetPixelX();
        m_y = marked->GetPixelY() - 130;
        m_alive = 1;
        if (Presented()) {
            int sx = 0, sy = 0;
            ToScreen(m_x, m_y, sx, sy);
            DrawSetFrame(m_pSet, 0, sx, sy + m_bob, dst);
        }
        if (++m_counter >= 3 * frames)
            m_counter = 0;
        ++m_cycle;
        if (m_cycle % 60 == 0)
            m_bobUp ^= 1;
        if (m_cycle % 10 == 0)
            m_bob += m_bobUp ? -1 : 1;
    }
}
