// The objects' part of the object layer's frame: their updates, the depth
// sort and the drawing of the draw list in each entry's mode.
#include "core/Display.h"
#include "core/FrameShadowImage.h"
#include "core/PaletteManager.h"
#include "core/RleImage.h"
#include "ui/FloatTextList.h"
#include "ui/NoticeList.h"
#include "world/BGLayer.h"
#include "world/ObjLayer.h"
#include "world/ObjLayerPools.h"

void CObjLayer::UpdateObjects()
{
    for (CCharacter& c : m_pools->characters)
        if (c.IsActive())
            c.Update();
    for (CCharacter& c : m_pools->characters)
        if (c.IsActive())
            c.ProcessPendingHit();
    for (CCharacter& c : m_pools->characters)
        if (c.IsActive())
            c.ResetPendingHit();
    for (CNpc& n : m_pools->npcs)
        if (n.IsActive())
            n.Update();
    for (CStructureObj& s : m_pools->structures)
        if (s.IsActive())
            s.Update();
}

void CObjLayer::DrawSortedList(uint8_t* bits)
{
    if (!bits)
        return;
    const BlitTarget target = ScreenTarget(bits);
    const int scroll = m_pBackground ? m_pBackground->GetScrollX() + m_pBackground->GetScrollY() : 0;
    const CPaletteManager* palette = g_pPalette;
    for (int i = 0; i < m_drawList.GetCount(); ++i) {
        const DrawEntry& e = m_drawList.GetSorted(i);
        CRleImage* image = e.image;
        // Draw positions are kept in 16 bits: a frame above or left of the
        // screen has a negative one.
        const int ex = static_cast<int16_t>(e.x), ey = static_cast<int16_t>(e.y), ez = static_cast<int16_t>(e.z);
        const int x = ex - image->GetHotSpot().x;
        const int y = ey - ez - image->GetHotSpot().y;
        switch (e.mode) {
        case 0: image->Draw(x, y, target); break;
        case 1: image->DrawStipple(x, y, target, e.param); break;
        case 2: image->DrawChecker(x, y, target, static_cast<uint32_t>(ex + ey + scroll) & 1); break;
        case 3:
            if (palette)
                image->DrawRemap(x, y, target, palette->GetShadeTable(static_cast<int>(e.param)));
            break;
        case 4:
            if (palette)
                image->DrawBlend(x, y, target, palette->GetBlendTable(static_cast<int>(e.param)));
            break;
        case 5:
            if (auto* shadow = dynamic_cast<CFrameShadowImage*>(image); shadow && palette)
                shadow->DrawBlendLevels(x, y, target, palette->GetBlendTable(0));
            break;
        case 6:
            if (palette)
                image->DrawRemap(x, y, target, palette->GetTintTable(static_cast<int>(e.param)));
            break;
        case 7:
            if (palette)
                image->DrawRemap(x, y, target,
                                 palette->GetTintedShadeTable(static_cast<int>(e.param / 256), static_cast<int>(e.param % 256)));
            break;
        default: break;
        }
    }
}
