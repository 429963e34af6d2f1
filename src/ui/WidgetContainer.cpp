#include "ui/WidgetContainer.h"

int CWidgetContainer::AddChild(CWidget* child)
{
    if (!child || m_count >= kMaxChildren)
        return 0;
    m_children[m_count++] = child;
    return 1;
}

void CWidgetContainer::RemoveChild(CWidget* child)
{
    for (int i = 0; i < m_count; ++i) {
        if (m_children[i] == child) {
            for (int j = i + 1; j < m_count; ++j)
                m_children[j - 1] = m_children[j];
            m_children[--m_count] = nullptr;
            return;
        }
    }
}

CWidget* CWidgetContainer::FindChild(uint32_t id) const
{
    for (int i = 0; i < m_count; ++i)
        if (m_children[i]->GetId() == id)
            return m_children[i];
    return nullptr;
}
