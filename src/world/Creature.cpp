#include "world/Creature.h"

#include "world/ObjLayer.h"
#include "world/ObrEntry.h"

void CCreature::Spawn(CObjLayer* layer, int id, int x, int y, const CObrCharEntry* entry,
                      const CharacterRecord& record)
{
    Place(layer, record.Name(), x, y);
    m_active = 1;
    m_alive = 1;
    m_serverId = id;
    m_serverTileX = x;
    m_serverTileY = y;
    m_leavingX = x;
    m_leavingY = y;
    m_groupKey.fill(0);
    m_pEntry = entry;
    m_record = record;
    m_fieldsRequested = 1;
    m_direction = 0;
    m_statusFlags = 0;
    m_myTurn = 0;
    SetOnGrid(1);
}

void CCreature::RemoveFromMap()
{
    CObj::RemoveFromMap();
    m_pEntry = nullptr;
}

void CCreature::SetOnGrid(int on)
{
    if (!m_pLayer)
        return;
    if (on) {
        m_pLayer->SetObjectCell(m_tileX, m_tileY, m_handle);
        m_pLayer->SetIdCell(m_serverTileX, m_serverTileY, static_cast<uint32_t>(m_serverId));
        return;
    }
    m_pLayer->ClearObjectCellOf(m_tileX, m_tileY, m_handle);
    m_pLayer->ClearObjectCellOf(m_leavingX, m_leavingY, m_handle);
}
