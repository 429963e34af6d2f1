#include "effects/Poseidon.h"

#include "audio/SoundManager.h"
#include "core/SprSpriteSet.h"
#include "effects/AreaHit.h"
#include "effects/EffectManager.h"

void CPoseidon::Init(CEffectManager* manager, int x, int y, const CSprSpriteSet* set, int id)
{
    InitSpr(manager, x, y, set, 0);
    m_id = id;
    g_soundManager.PlayAt("maxforce.wav", 0, 0);
}

void CPoseidon::Draw(uint8_t* dst)
{
    const SprEntry* entry = DrawStep(dst, kLift);
    if (entry && m_step == kStrikeStep) {
        int tx = 0, ty = 0;
        CBGLayer::PixelToTile(m_x, m_y, tx, ty);
        for (size_t i = 0; i < entry->parts.size(); ++i) {
            if (m_pManager)
                m_pManager->StartPoseidonWave(m_x - 30, m_y + 40, 0);
            ApplyMaximumForceAreaHit(Layer(), tx, ty, m_id);
        }
    }
    NextStep();
}
