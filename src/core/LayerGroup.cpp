#include "core/LayerGroup.h"

CLayerGroup::~CLayerGroup()
{
    for (int i = 0; i < m_count; ++i)
        --m_children[i]->m_groupRefs;
    m_count = 0;
}

int CLayerGroup::Draw()
{
    for (int i = 0; i < m_count; ++i)
        m_children[i]->Draw();
    return 1;
}

int CLayerGroup::SetPaletteEntries(const void* entries)
{
    m_pPaletteEntries = entries;
    return 1;
}

int CLayerGroup::DrawChildren(int)
{
    return CLayerGroup::Draw();
}

int CLayerGroup::DrawSized(int, int)
{
    return CLayerGroup::Draw();
}

bool CLayerGroup::Holds(const CLayer* layer) const
{
    for (int i = 0; i < m_count; ++i)
        if (m_children[i] == layer)
            return true;
    return false;
}

int CLayerGroup::AddLayer(CLayer* layer)
{
    if (m_count >= kMaxLayers || layer == nullptr || layer == this || Holds(layer))
        return 0;
    m_children[m_count++] = layer;
    ++layer->m_groupRefs;
    return 1;
}

void CLayerGroup::RemoveLayer(CLayer* layer)
{
    int out = 0;
    for (int i = 0; i < m_count; ++i) {
        if (m_children[i] == layer) {
            --layer->m_groupRefs;
            continue;
        }
        m_children[out++] = m_children[i];
    }
    for (int i = out; i < m_count; ++i)
        m_children[i] = nullptr;
    m_count = out;
}
