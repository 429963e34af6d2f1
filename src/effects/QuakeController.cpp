#include "effects/QuakeController.h"

#include "effects/AreaHit.h"
#include "effects/EffectManager.h"
#include "rules/CalcData.h"
#include "world/Character.h"

bool CentreSeesPoint(const CBGLayer* ground, int x, int y)
{
    int left = x - 400, top = y - 240, right = x + 400, bottom = y + 240;
    if (ground) {
        ground->WorldToScreen(x - 400, y - 240, left, top);
        ground->WorldToScreen(x + 400, y + 240, right, bottom);
    }
    return left < 401 && right >= 400 && top < 241 && bottom >= 240;
}

void CQuakeController::Init(CEffectManager* manager, int x, int y, int amplitude, int duration, CCreature* caster)
{
    m_pManager = manager;
    m_x = x;
    m_y = y;
    m_amplitude = amplitude;
    m_duration = duration;
    m_pCaster = caster;
    CBGLayer::PixelToTile(x, y, m_tileX, m_tileY);
    m_step = 0;
    m_frame = 0;
    m_active = 1;
}

void CQuakeController::Draw(uint8_t* /*dst*/)
{
    CObjLayer* layer = Layer();
    if (m_frame % 3 == 0) {
        ++m_step;
        if (layer && CentreSeesPoint(Ground(), m_x, m_y)) {
            int fx = 0, fy = 0;
            layer->GetFocusPixel(fx, fy);
            switch (m_step % 4) {
            case 0: fy += m_amplitude; break;
            case 1: fy -= m_amplitude; break;
            case 2: fx += m_amplitude; break;
            default: fx -= m_amplitude; break;
            }
            layer->SetFocusPixel(fx, fy);
        }
    }
    if (m_step >= m_duration)
        m_active = 0;
    ++m_frame;
    if (m_frame == 1 && layer && m_pManager) {
        if (const CCreature* me = layer->GetMyCharacter())
            m_pManager->StartEarthquake(me->GetPixelX() - 30, me->GetPixelY() + 120);
    }
    if (m_frame == kHitFrame && m_pCaster) {
        const int cx = m_pCaster->GetTileX(), cy = m_pCaster->GetTileY();
        ForEachAreaTarget(layer, m_pCaster, m_tileX, m_tileY, kHitRadius, [&](CCreature& target, int) {
            const int damage = m_pCaster->CalcAbilityDamage(11, target);
            target.SetPendingSkill(m_pCaster, cx, cy, -damage, 0);
        });
    }
}
