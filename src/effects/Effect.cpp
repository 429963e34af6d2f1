#include "effects/Effect.h"

#include <cstring>

#include "app/FrameClock.h"
#include "core/Blit.h"
#include "core/EffectSpriteSet.h"
#include "core/PaletteManager.h"
#include "effects/EffectManager.h"
#include "world/BGLayer.h"
#include "world/ObjLayer.h"

CEffect::CEffect() = default;

void CEffect::SetName(const char* text)
{
    std::memset(m_name, 0, sizeof(m_name));
    if (text)
        std::strncpy(m_name, text, sizeof(m_name) - 1);
}

CObjLayer* CEffect::Layer() const { return m_pManager ? m_pManager->GetObjLayer() : nullptr; }

CBGLayer* CEffect::Ground() const
{
    CObjLayer* layer = Layer();
    return layer ? layer->GetBackground() : nullptr;
}

void CEffect::ToScreen(int x, int y, int& sx, int& sy) const
{
    if (CBGLayer* ground = Ground()) {
        ground->WorldToScreen(x, y, sx, sy);
        return;
    }
    sx = x;
    sy = y;
}

bool CEffect::Presented() { return g_frameNotPresented == 0; }

void CEffect::DrawImage(CRleImage* image, int sx, int sy, uint8_t* dst)
{
    if (!image || !dst)
        return;
    image->Draw(sx - image->GetHotSpot().x, sy - image->GetHotSpot().y, ScreenTarget(dst));
}

void CEffect::DrawImageBlend(CRleImage* image, int sx, int sy, uint8_t* dst, int level)
{
    if (!image || !dst || !g_pPalette)
        return;
    image->DrawBlend(sx - image->GetHotSpot().x, sy - image->GetHotSpot().y, ScreenTarget(dst),
                     g_pPalette->GetBlendTable(level));
}

void CEffect::DrawSetFrame(const CEffectSpriteSet* set, int i, int sx, int sy, uint8_t* dst, bool image, bool second)
{
    if (!set || !dst)
        return;
    if (image)
        DrawImage(set->GetFrame(i), sx, sy, dst);
    if (second && g_pPalette) {
        // The second image's pixels name their own blend level: the whole
        // table from level 0.
        if (CFrameShadowImage* shadow = set->GetSecondFrame(i))
            shadow->DrawBlendLevels(sx - shadow->GetHotSpot().x, sy - shadow->GetHotSpot().y, ScreenTarget(dst),
                                    g_pPalette->GetBlendTable(0));
    }
}
