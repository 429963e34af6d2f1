#include "world/Npc.h"

#include "world/ObjLayer.h"

void CNpc::Spawn(CObjLayer* layer, std::string_view name, int x, int y, const CObrCharEntry* entry)
{
    Place(layer, name, x, y);
    m_active = 1;
    m_alive = 1;
    m_direction = 0;
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
