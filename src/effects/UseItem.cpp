#include "effects/UseItem.h"

#include "effects/EffectManager.h"

void CUseItem::Init(CEffectManager* manager, const CEffectSpriteSet* set, int x, int y, int colour, int hidden)
{
    InitTlr(manager, set, x, y - 5);
    m_plainX = x;
    m_plainY = y;
    m_colour = colour;
    m_hidden = hidden;
}

void CUseItem::Draw(uint8_t* dst)
{
    RunFrame(dst, m_hidden == 0);
    const int frame = GetCounter();
    if (!m_pManager || (frame != 1 && frame != 5 && frame != 15))
        return;
    if (m_colour == CEffectManager::colourGreen)
        m_pManager->StartUsedItemColor(CEffectManager::usedGreen1, m_plainX, m_plainY);
    else if (m_colour == CEffectManager::colourBase)
        m_pManager->StartUseItemWave(m_plainX, m_plainY);
}
