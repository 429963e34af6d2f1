#include "effects/Poseidon.h"

#include "audio/SoundManager.h"
#include "core/SprSpriteSet.h"
#include "effects/AreaHit.h"
#include "effects/EffectManager.h"

void CPoseidon::Init(CEffectManager* manager, int x, int y, const CSprSpriteSet* set, int id)
{
    m_pManager = manager;
    m_x = x;
    m_y = y;
    m_pSet = set;
    m_anim = 0;
    m_id = id;
    m_step = 0;
    m_active = 1;
    g_soundManager.PlayAt("maxforce.wav", 0, 0);
}

void CPoseidon::Draw(uint8_t* dst)
{
    const int steps = m_pSet ? m_pSet->GetAnimLength(m_anim) : 0;
    if (m_step < steps && Presented()) {
        const SprSequence* seq = m_pSet->GetSequence(m_anim);
        for (const SprPart& part : seq->entries[static_cast<size_t>(m_step)].parts) {
            int sx = 0, sy = 0;
            ToScreen(m_x + part.a, m_y + part.b - 80, sx, sy);
            DrawImage(m_pSet->GetFrame(static_cast<int>(part.frame)), sx, sy, dst);
        }
    }
    if (m_step == kStrikeStep && m_step < steps) {
        if (m_pManager)
            m_pManager->StartPoseidonWave(m_x - 30, m_y + 40, 0);
        int tx = 0, ty = 0;
        CBGLayer::PixelToTile(m_x, m_y, tx, ty);
        ApplyMaximumForceAreaHit(Layer(), tx, ty, m_id);
    }
    if (++m_step >= steps)
        m_active = 0;
}
