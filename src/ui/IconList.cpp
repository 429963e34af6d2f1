#include "ui/IconList.h"

#include <algorithm>

#include "ui/ActionItemList.h"

CIconList::CIconList(int32_t pageCount, int32_t id, int32_t openX, int32_t openY, int32_t closedX, int32_t closedY)
    : CWidget(id, nullptr, openX, openY, closedX, closedY), m_pageCount(std::max(0, pageCount))
{
    SetDelays(0, 25);
    m_pages.resize(static_cast<size_t>(m_pageCount));
    m_order.resize(static_cast<size_t>(m_pageCount));
    for (int32_t i = 0; i < m_pageCount; ++i)
        m_order[static_cast<size_t>(i)] = i;
}

CIconList::~CIconList() = default;

CWidget* CIconList::GetPage(int32_t index) const
{
    return index >= 0 && index < m_pageCount ? m_pages[static_cast<size_t>(index)].get() : nullptr;
}

int32_t CIconList::GetOrder(int32_t i) const
{
    return i >= 0 && i < m_pageCount ? m_order[static_cast<size_t>(i)] : -1;
}

CWidget* CIconList::Front() const
{
    return m_pageCount > 0 ? GetPage(m_order[0]) : nullptr;
}

CIconList* CIconList::SetItem(int32_t index, CWidget* page)
{
    if (index < 0 || index >= m_pageCount)
        delete page;
    else
        m_pages[static_cast<size_t>(index)].reset(page);
    return this;
}

void CIconList::Toggle()
{
    BaseToggle();
    if (m_state == kOpening)
        if (CActionItemList* items = CActionItemList::Registered())
            items->ReloadData();
}

int CIconList::OnLButtonDblClk(int32_t x, int32_t y)
{
    return ToFront([=](CWidget* p) { return p->OnLButtonDblClk(x, y); });
}

int CIconList::OnLButtonDown(int32_t x, int32_t y)
{
    return ToFront([=](CWidget* p) { return p->OnLButtonDown(x, y); });
}

int CIconList::OnRButtonDown(int32_t x, int32_t y)
{
    return ToFront([=](CWidget* p) { return p->OnRButtonDown(x, y); });
}

int CIconList::OnMouseMove(int32_t x, int32_t y)
{
    return ToFront([=](CWidget* p) { return p->OnMouseMove(x, y); });
}

int CIconList::OnRButtonUp(int32_t x, int32_t y)
{
    return ToFront([=](CWidget* p) { return p->OnRButtonUp(x, y); });
}

int CIconList::OnLButtonUp(int32_t x, int32_t y)
{
    return ToFront([=](CWidget* p) { return p->OnLButtonUp(x, y); });
}

void CIconList::MoveToFront(int32_t page)
{
    auto it = std::find(m_order.begin(), m_order.end(), page);
    if (it == m_order.end())
        return;
    std::rotate(m_order.begin(), it, it + 1);
}

void CIconList::Draw(uint8_t* surface)
{
    // The pages do not slide: the stack does, and takes them along.
    Update();
    // Back to front: the front page ends on top.
    for (int32_t i = m_pageCount - 1; i >= 0; --i) {
        CWidget* page = GetPage(m_order[static_cast<size_t>(i)]);
        if (!page)
            continue;
        page->SetPos(m_pos);
        page->SetState(m_state);
        page->Draw(surface);
    }
}

void CIconList::Refresh()
{
    for (auto& page : m_pages)
        if (page)
            page->Refresh();
}

void CIconList::ReloadData()
{
    for (auto& page : m_pages)
        if (page)
            page->ReloadData();
}
