// A layer holding up to eight child layers, drawn in the order they were
// added. The group does not own its children.
#pragma once
#include <array>

#include "core/Layer.h"

class CLayerGroup : public CLayer {
public:
    static constexpr int kMaxLayers = 8;

    CLayerGroup() = default;
    ~CLayerGroup() override;

    int Draw() override;
    virtual int SetPaletteEntries(const void* entries);
    virtual int DrawChildren(int unused);
    virtual int DrawSized(int w, int h);
    // 1 when added; 0 when the group is full, or for a null or already held
    // layer (a layer is held at most once, so removing it removes it).
    virtual int AddLayer(CLayer* layer);
    // Removes the layer when held; otherwise nothing changes.
    virtual void RemoveLayer(CLayer* layer);

    int GetCount() const { return m_count; }
    CLayer* GetChild(int i) const { return (i >= 0 && i < m_count) ? m_children[i] : nullptr; }
    bool Holds(const CLayer* layer) const;

protected:
    std::array<CLayer*, kMaxLayers> m_children{};
    int32_t m_count = 0;
    const void* m_pPaletteEntries = nullptr;
};
