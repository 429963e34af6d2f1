#include "effects/FireStomMain.h"

#include "effects/AreaHit.h"
#include "effects/EffectManager.h"
#include "rules/CalcData.h"

void CFireStomMain::Init(CEffectManager* manager, int x, int y, CCreature* caster)
{
    m_pManager = manager;
    m_x = x;
    m_y = y;
    m_pCaster = caster;
    CBGLayer::PixelToTile(x, y, m_tileX, m_tileY);
    m_step = 0;
    m_active = 1;
}

void CFireStomMain::Draw(uint8_t* /*dst*/)
{
    if (m_step == 0 && m_pManager)
        m_pManager->StartFireStom(m_x, m_y, 0);
    if (CBGLayer* ground = Ground(); ground && InMap(m_tileX, m_tileY))
        ground->MarkSight(m_tileX, m_tileY, m_step % 6 < 2 ? 8 : 6);
    if (m_step == kHitFrame) {
        ForEachAreaTarget(Layer(), m_pCaster, m_tileX, m_tileY, 2, [&](CCreature& target, int distance) {
            int damage = m_pCaster->CalcAbilityDamage(8, target);
            if (distance == 0)
                damage = damage * 15 / 10;
            else if (distance == 2)
                damage = damage * 8 / 10;
            target.SetPendingSkill(m_pCaster, target.GetTileX(), target.GetTileY(), -damage, 0);
        });
    }
    if (++m_step >= kFrames)
        m_active = 0;
}
