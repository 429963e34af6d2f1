// A widget holding up to 128 children. Minimal form: adding children and
// finding them by id.
#pragma once
#include <array>
#include <cstdint>

#include "ui/Widget.h"

class CWidgetContainer : public CWidget {
public:
    static constexpr int kMaxChildren = 128;

    explicit CWidgetContainer(uint32_t id = 0) : CWidget(id) {}

    // 1 when added; 0 for null or a full container. The container does not
    // own its children.
    int AddChild(CWidget* child);
    void RemoveChild(CWidget* child);
    // The child with that id, or null.
    CWidget* FindChild(uint32_t id) const;
    int GetChildCount() const { return m_count; }

private:
    std::array<CWidget*, kMaxChildren> m_children{};
    int m_count = 0;
};
