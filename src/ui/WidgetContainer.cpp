#include "ui/WidgetContainer.h"

#include "platform/Debug.h"

namespace {

// Esc never closes these windows (the chat line and the main bars).
constexpr int32_t kEscapeExempt[] = {2, 4, 42, 69};
constexpr int32_t kMainWindows[] = {4, 6, 9, 12, 35, 7, 8};

bool EscapeExempt(int32_t id)
{
    for (int32_t e : kEscapeExempt)
        if (e == id)
            return true;
    return false;
}

}  // namespace

CWidgetContainer::CWidgetContainer(int32_t id, const char* slrName, int32_t openX, int32_t openY,
                                   int32_t closedX, int32_t closedY)
    : CWidget(id, slrName, openX, openY, closedX, closedY)
{
}

CWidgetContainer::CWidgetContainer(int32_t id) : CWidgetContainer(id, nullptr, 800, 0, 800, 0) {}

CWidgetContainer::~CWidgetContainer()
{
    DeleteChildren();
}

void CWidgetContainer::DeleteChildren()
{
    for (int i = 0; i < m_childCount; ++i) {
        delete m_children[static_cast<size_t>(i)];
        m_children[static_cast<size_t>(i)] = nullptr;
    }
    m_childCount = 0;
    m_refused.clear();
}

void CWidgetContainer::ContainerToggle()
{
    if (m_id != kRootId)
        BaseToggle();
    for (int i = 0; i < m_childCount; ++i)
        m_children[static_cast<size_t>(i)]->Toggle();
}

void CWidgetContainer::Toggle()
{
    ContainerToggle();
}

void CWidgetContainer::ContainerSetState(int32_t state)
{
    if (m_id != kRootId)
        BaseSetState(state);
    for (int i = 0; i < m_childCount; ++i)
        m_children[static_cast<size_t>(i)]->SetState(state);
}

void CWidgetContainer::SetState(int32_t state)
{
    ContainerSetState(state);
}

int CWidgetContainer::OnLButtonDblClk(int32_t x, int32_t y)
{
    return Route([=](CWidget* w) { return w->OnLButtonDblClk(x, y); });
}

int CWidgetContainer::OnLButtonDown(int32_t x, int32_t y)
{
    return Route([=](CWidget* w) { return w->OnLButtonDown(x, y); });
}

int CWidgetContainer::OnRButtonDown(int32_t x, int32_t y)
{
    return Route([=](CWidget* w) { return w->OnRButtonDown(x, y); });
}

int CWidgetContainer::OnMouseMove(int32_t x, int32_t y)
{
    return Route([=](CWidget* w) { return w->OnMouseMove(x, y); });
}

int CWidgetContainer::OnRButtonUp(int32_t x, int32_t y)
{
    return Route([=](CWidget* w) { return w->OnRButtonUp(x, y); });
}

int CWidgetContainer::OnLButtonUp(int32_t x, int32_t y)
{
    return Route([=](CWidget* w) { return w->OnLButtonUp(x, y); });
}

void CWidgetContainer::ContainerDraw(uint8_t* surface)
{
    BaseDraw(surface);
    for (int i = 0; i < m_childCount; ++i)
        m_children[static_cast<size_t>(i)]->Draw(surface);
}

void CWidgetContainer::Draw(uint8_t* surface)
{
    ContainerDraw(surface);
}

void CWidgetContainer::Refresh()
{
    for (int i = 0; i < m_childCount; ++i)
        m_children[static_cast<size_t>(i)]->Refresh();
}

bool CWidgetContainer::AddChild(CWidget* child)
{
    if (!child)
        return false;
    if (m_childCount >= kMaxChildren) {
        plat::DebugPrintf("widget %d: child %d refused, %d children held\n", m_id, child->GetId(), kMaxChildren);
        m_refused.emplace_back(child);
        return false;
    }
    m_children[static_cast<size_t>(m_childCount++)] = child;
    return true;
}

CWidget* CWidgetContainer::FindChild(int32_t id)
{
    for (int i = 0; i < m_childCount; ++i)
        if (m_children[static_cast<size_t>(i)]->GetId() == id)
            return m_children[static_cast<size_t>(i)];
    return nullptr;
}

void CWidgetContainer::ReloadData()
{
    for (int i = 0; i < m_childCount; ++i)
        m_children[static_cast<size_t>(i)]->ReloadData();
}

int32_t CWidgetContainer::OnEscape()
{
    if (m_id != kRootId)
        CWidget::OnEscape();
    for (int i = m_childCount - 1; i >= 0; --i) {
        CWidget* w = m_children[static_cast<size_t>(i)];
        if (EscapeExempt(w->GetId()))
            continue;
        if (w->GetState() == kOpening || w->GetState() == kOpen)
            return w->OnEscape();
    }
    return 0;
}

void CWidgetContainer::PinMainWindows(int flag)
{
    for (int32_t id : kMainWindows)
        if (CWidget* w = FindChild(id))
            w->SetPinned(flag & 0xFF);
}
