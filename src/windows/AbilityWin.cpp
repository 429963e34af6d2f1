#include "windows/AbilityWin.h"

#include "core/Blit.h"
#include "ui/ListWidget.h"
#include "ui/ScrollBarWidget.h"

CAbilityWin::CAbilityWin(const char* slrName, const char* shadowName, int32_t shadowX, int32_t shadowY)
    : CListSidePanel(kId, slrName, 800, 0, 800, 0), m_shadowX(shadowX), m_shadowY(shadowY)
{
    if (shadowName)
        m_shadow.Load(shadowName);
}

void CAbilityWin::AddListAndBar(CListWidget* list, const SPlace& at)
{
    if (m_listCount >= kMaxLists) {
        delete list;
        return;
    }
    m_lists[static_cast<size_t>(m_listCount++)] = list;
    AddChild(list);
    AddChild(new CScrollBarWidget(this, kArrowX, at.upY, kArrowX, at.downY, kTrackLeft, at.trackTop, kTrackRight,
                                  at.trackBottom, list));
}

void CAbilityWin::Draw(uint8_t* surface)
{
    CListSidePanel::Draw(surface);
    if (m_state != kClosed && surface && m_shadow.IsLoaded())
        m_shadow.Draw(0, m_pos.x + m_shadowX, m_pos.y + m_shadowY, ScreenTarget(surface));
}
