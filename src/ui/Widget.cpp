#include "ui/Widget.h"

#include <algorithm>
#include <cstring>

#include "core/Blit.h"
#include "core/Locale.h"
#include "core/TextLayer.h"
#include "social/ListStream.h"
#include "ui/WidgetContainer.h"
#include "windows/DaradirUzedo.h"

uint32_t g_uiFrameTicks = 0;

namespace {

// The root container of the UI layer; null without one (the login scene,
// tests of single widgets), and then no linked window is looked up.
CWidgetContainer* UiRoot()
{
    CDaradirUzedo* ui = g_layerHolder.GetLayer();
    return ui ? ui->GetRootContainer() : nullptr;
}

int32_t Clamp32(int64_t v)
{
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// One axis of the straight move to the open position: 32 x t at a time.
int32_t Approach(int32_t pos, int32_t target, int64_t t)
{
    const int64_t way = static_cast<int64_t>(target) - pos;
    const int64_t reach = CWidget::kFastStep * t;
    if (way > reach)
        return Clamp32(pos + reach);
    if (way < -reach)
        return Clamp32(pos - reach);
    return target;
}

}  // namespace

int32_t CWidget::SlideStep(int32_t open, int32_t closed)
{
    const int64_t d = static_cast<int64_t>(open) - closed;
    if (d > kFastStep)
        return kFastStep;
    if (d < -kFastStep)
        return -kFastStep;
    return d == 0 ? 0 : kShortStep;
}

CWidget::CWidget(int32_t id, const char* slrName, int32_t openX, int32_t openY, int32_t closedX, int32_t closedY)
    : m_openPos{openX, openY},
      m_closedPos{closedX, closedY},
      m_pos{closedX, closedY},
      m_step{SlideStep(openX, closedX), SlideStep(openY, closedY)},
      m_id(id)
{
    if (slrName) {
        m_sprite.Load(slrName);
        m_sprite.ResetRects();
    }
}

CWidget::CWidget(int32_t id) : CWidget(id, nullptr, 800, 0, 800, 0) {}

CWidget::~CWidget() = default;

void CWidget::Slide()
{
    const int64_t t = g_uiFrameTicks;
    if (m_state == kMovingOpen) {
        m_pos.x = Approach(m_pos.x, m_openPos.x, t);
        m_pos.y = Approach(m_pos.y, m_openPos.y, t);
        if (m_pos == m_openPos)
            m_state = kOpen;  // no linked windows, pinned or not
    }
    if (m_state == kOpening) {
        if (m_countdown > 0) {
            m_countdown = Clamp32(int64_t{m_countdown} - t);
        } else {
            m_pos.x = Clamp32(m_pos.x + m_step.x * t);
            m_pos.y = Clamp32(m_pos.y + m_step.y * t);
            const int64_t ax = (static_cast<int64_t>(m_openPos.x) - m_pos.x) * m_step.x;
            const int64_t ay = (static_cast<int64_t>(m_openPos.y) - m_pos.y) * m_step.y;
            if (ax < 1 && ay < 1) {
                SetState(kOpen);
                m_pos = m_openPos;
                m_countdown = m_closeDelay;
            }
        }
    }
    if (m_state == kClosing) {
        if (m_countdown > 0) {
            m_countdown = Clamp32(int64_t{m_countdown} - t);
        } else {
            m_pos.x = Clamp32(m_pos.x - m_step.x * t);
            m_pos.y = Clamp32(m_pos.y - m_step.y * t);
            const int64_t ax = (static_cast<int64_t>(m_closedPos.x) - m_pos.x) * m_step.x;
            const int64_t ay = (static_cast<int64_t>(m_closedPos.y) - m_pos.y) * m_step.y;
            if (ax >= 0 && ay >= 0) {
                SetState(kClosed);
                m_pos = m_closedPos;
                m_countdown = m_openDelay;
            }
        }
    }
}

void CWidget::Update()
{
    Slide();
}

void CWidget::BaseToggle()
{
    if (m_pinned)
        return;
    if (m_state == kClosed || m_state == kClosing)
        SetState(kOpening);
    else
        SetState(kClosing);
}

void CWidget::Toggle()
{
    BaseToggle();
}

void CWidget::BaseSetState(int32_t state)
{
    if (m_pinned)
        return;
    if (state == kOpening) {
        if (CWidgetContainer* root = UiRoot()) {
            for (uint16_t id : m_linkedIds) {
                if (id == 0)
                    break;
                CWidget* w = root->FindChild(id);
                if (w && (w->GetState() == kOpening || w->GetState() == kOpen))
                    w->Toggle();
            }
        }
    }
    m_state = state;
}

void CWidget::SetState(int32_t state)
{
    BaseSetState(state);
}

int CWidget::OnLButtonDblClk(int32_t, int32_t) { return 0; }
int CWidget::OnLButtonDown(int32_t, int32_t) { return 0; }
int CWidget::OnRButtonDown(int32_t, int32_t) { return 0; }
int CWidget::OnMouseMove(int32_t, int32_t) { return 0; }
int CWidget::OnRButtonUp(int32_t, int32_t) { return 0; }
int CWidget::OnLButtonUp(int32_t, int32_t) { return 0; }
void CWidget::MoveToFront(int32_t) {}

void CWidget::BaseDraw(uint8_t* surface)
{
    if (m_state == kClosed || !m_sprite.IsLoaded())
        return;
    Update();
    if (surface)
        m_sprite.Draw(m_frame, m_pos.x, m_pos.y, ScreenTarget(surface));
}

void CWidget::Draw(uint8_t* surface)
{
    BaseDraw(surface);
}

void CWidget::Refresh() {}
void CWidget::ScrollUp() {}
void CWidget::ScrollDown() {}
void CWidget::MoveToOpenPos() { m_state = kMovingOpen; }

void CWidget::GetInputPos(CPoint* out)
{
    if (out)
        *out = CPoint{};
}

void CWidget::SubmitText() {}
char** CWidget::GetLines() { return nullptr; }
int32_t* CWidget::GetLineAttrs() { return nullptr; }
bool CWidget::AddChild(CWidget*) { return false; }
void CWidget::ItemCommandA(int32_t) {}
void CWidget::ItemCommandB(int32_t, int32_t) {}
void CWidget::ItemCommandC(int32_t) {}
void CWidget::ItemCommandDone() {}
CWidget* CWidget::FindChild(int32_t) { return nullptr; }
void CWidget::SetFace(const char*, const char*) {}
void CWidget::ReloadData() {}

void CWidget::GetScrollFraction(double* top, double* bottom)
{
    if (top)
        *top = 0.0;
    if (bottom)
        *bottom = 0.0;
}

int32_t CWidget::GetTopIndex() { return 0; }
void CWidget::SetScrollFraction(double) {}
void CWidget::SetTopIndex(int32_t) {}
void CWidget::NextPage() {}
void CWidget::PrevPage() {}
void CWidget::OnListReply() {}
void CWidget::OpenConnection(const char*) {}
void CWidget::CloseConnection() {}
void CWidget::ResetRequest(CMySocket*) {}
// The board and mail windows read their records from the board stream.
int CWidget::ReadListRecord(uint8_t* out)
{
    return g_boardReceiveStream.ReadRecord(out, kBoardRecordSize, CListStream::kListMode);
}
int CWidget::ReadTextRecord(uint8_t* out)
{
    return g_boardReceiveStream.ReadRecord(out, kMailRecordSize, CListStream::kListMode);
}
void CWidget::RequestEntry(CWidget*) {}
void CWidget::SetPageText(int32_t, const char*) {}
void CWidget::Search(int32_t, const char*) {}
char* CWidget::GetText() { return nullptr; }
int32_t CWidget::GetSelection() { return -1; }
int CWidget::OnReply() { return 1; }
int CWidget::OnChatMessage(const uint8_t*, size_t) { return 0; }
void CWidget::DeleteEntry() {}

void CWidget::DrawTooltip(int32_t x, int32_t y, uint8_t* surface)
{
    CTextLayer* text = g_pTextLayer;
    if (!m_tooltip || !text || !surface)
        return;
    text->SetTarget(surface, kScreenWidth, kScreenHeight);
    text->SetColors(60, 255);
    text->DrawText(x, y, m_tooltip, 1);
}

void CWidget::Activate() {}
int32_t CWidget::GetMaxLen() { return 0; }
int CWidget::IsInputEnabled() { return 0; }
void CWidget::SetInputEnabled(int) {}
void CWidget::AddTextLine(const char*, int32_t) {}
void CWidget::SetFaceInfo(int32_t, const char*) {}
void CWidget::SetTabFrame(int32_t) {}
void CWidget::LoadImageOnDemand() {}
void CWidget::ScheduleImageUnload() {}

int32_t CWidget::OnEscape()
{
    Toggle();
    return m_id;
}

void CWidget::SetText(const char*) {}
void CWidget::TakeFocus() {}
void CWidget::Clear() {}
void CWidget::SetAndDrawText(const char*) {}

CWidget* CWidget::SetDelays(int32_t openDelay, int32_t closeDelay)
{
    m_openDelay = openDelay;
    m_closeDelay = closeDelay;
    return this;
}

void CWidget::SetTooltip(const char* korean, const char* english)
{
    m_tooltip = IsNonKoreanLocale() ? english : korean;
}

void CWidget::SetLinkedIds(const uint16_t* ids, int count)
{
    m_linkedIds.fill(0);
    const int n = std::clamp(count, 0, kLinkedIds);
    for (int i = 0; i < n && ids; ++i)
        m_linkedIds[static_cast<size_t>(i)] = ids[i];
}

void CWidget::DrawText(int32_t x, int32_t y, const char* text, int mode)
{
    CTextLayer* layer = g_pTextLayer;
    if (!layer || !text)
        return;
    layer->SetColor(1);
    layer->DrawText(x, y, text, mode);
}

void CWidget::DrawTextCentered(int32_t x, int32_t y, const char* text, int mode)
{
    if (!text)
        return;
    const int64_t len = static_cast<int64_t>(std::strlen(text));
    DrawText(Clamp32(x - len * 6 / 2), y - 7, text, mode);
}
