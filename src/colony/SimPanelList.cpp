#include "colony/SimPanelList.h"

#include <cstddef>

#include "ui/Widget.h"

CSimPanelList g_simPanelList;

int CSimPanelList::Add(CWidget* panel)
{
    if (!panel || m_count >= kMaxPanels)
        return 0;
    m_panels[static_cast<std::size_t>(m_count++)] = panel;
    return 1;
}

CWidget* CSimPanelList::FindOpen() const
{
    for (int i = 0; i < m_count; ++i)
        if (m_panels[static_cast<std::size_t>(i)]->GetState() == CWidget::kOpen)
            return m_panels[static_cast<std::size_t>(i)];
    return m_count > 0 ? m_panels[0] : nullptr;
}

void CSimPanelList::Clear()
{
    m_panels.fill(nullptr);
    m_count = 0;
}
