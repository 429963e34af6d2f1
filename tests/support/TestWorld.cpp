#include "support/TestWorld.h"

#include "support/Harness.h"
#include "world/BGLayer.h"
#include "world/ObrItemEntry.h"

CTestWorld::CTestWorld(const CArchiveBuilder& archive)
    : m_archive(archive, false),
      m_ground(std::make_unique<CBGLayer>(nullptr)),
      m_layer(std::make_unique<CObjLayer>(nullptr, m_ground.get()))
{
    ResetGameGlobals();
    m_view.m_pObjLayer = m_layer.get();
}

CTestWorld::~CTestWorld()
{
    m_view.m_pObjLayer = nullptr;
    m_layer.reset();
    m_ground.reset();
    ResetGameGlobals();
}

void CTestWorld::AddItem(int id, const ItemRecord& rec, CAnimSpriteSet* set)
{
    while (static_cast<int>(m_layer->m_itemEntryCount) < id)
        m_layer->AddItemEntry(std::make_unique<CObrItemEntry>());
    auto entry = std::make_unique<CObrItemEntry>();
    entry->GetRecord() = rec;
    entry->SetSpriteSet(set);
    m_layer->AddItemEntry(std::move(entry));
    g_itemData.Reset();
}
