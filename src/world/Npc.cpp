#include "world/Npc.h"

#include <algorithm>
#include <cstdlib>

#include "core/AnimSpriteSet.h"
#include "core/RleImage.h"
#include "windows/UiService.h"
#include "world/BGLayer.h"
#include "world/Character.h"
#include "world/ObjLayer.h"
#include "world/ObrEntry.h"

namespace {

constexpr int kStandTicks = 6;
constexpr int kFarCells = 14;

}  // namespace

void CNpc::Spawn(CObjLayer* layer, std::string_view name, int x, int y, const CObrCharEntry* entry)
{
    Place(layer, name, x, y);
    m_active = 1;
    m_alive = 1;
    m_direction = 0;
    m_animTick = 0;
    m_removeWhenFar = 0;
    m_value = 0;
    m_battle = 0;
    m_pEntry = entry;
    SetOnGrid(1);
}

void CNpc::RemoveFromMap()
{
    CObj::RemoveFromMap();
    m_pEntry = nullptr;
    m_battle = 0;
}

void CNpc::SetOnGrid(int on)
{
    if (!m_pLayer)
        return;
    if (on)
        m_pLayer->SetObjectCell(m_tileX, m_tileY, m_handle);
    else
        m_pLayer->ClearObjectCellOf(m_tileX, m_tileY, m_handle);
}

void CNpc::Update()
{
    if (!m_active || !m_pLayer)
        return;
    CObjLayer& layer = *m_pLayer;
    const CAnimSpriteSet* set = m_pEntry ? m_pEntry->GetSpriteSet() : nullptr;
    const int anim = set ? set->GetAnimIndex(CCreature::kAnimStand + m_direction) : -1;
    const int len = (set && anim >= 0) ? set->GetAnimLength(anim) : 0;
    if (len > 0) {
        m_animTick %= kStandTicks * len;
        const AnimStep* step = set->GetStep(anim, m_animTick / kStandTicks);
        CRleImage* frame = step ? set->GetFrame(static_cast<int>(step->frame)) : nullptr;
        ++m_animTick;
        int sx = m_pixelX, sy = m_pixelY;
        if (CBGLayer* bg = layer.GetBackground())
            bg->WorldToScreen(m_pixelX, m_pixelY, sx, sy);
        if (frame) {
            const int64_t left = static_cast<int64_t>(sx) - frame->GetHotSpot().x;
            const int64_t top = static_cast<int64_t>(sy) - frame->GetHotSpot().y;
            if (left + frame->GetDataWidth() > layer.GetViewLeft() && left < layer.GetViewRight() &&
                top + frame->GetDataHeight() > layer.GetViewTop() && top < layer.GetViewBottom()) {
                layer.AddDrawItem(this, sx, sy, 0, frame, 0, 0);
                if (layer.m_pHoverNpc == this) {
                    char name[kNameSize];
                    const std::string_view shown = GetName();
                    shown.copy(name, sizeof name - 1);
                    name[std::min(shown.size(), sizeof name - 1)] = '\0';
                    Ui().AddFloatText(sx, static_cast<int>(top), name);
                }
            }
        }
    }
    const CCharacter* me = layer.GetMyCharacter();
    if (m_removeWhenFar && me &&
        (std::abs(m_tileX - me->GetTileX()) >= kFarCells || std::abs(m_tileY - me->GetTileY()) >= kFarCells))
        RemoveFromMap();
}
