#include "social/ChatWin.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/Blit.h"
#include "core/TextLayer.h"
#include "rules/CalcData.h"
#include "windows/DaradirUzedo.h"
#include "windows/PlayerInfo.h"
#include "world/CharacterRecord.h"

namespace {

constexpr int32_t kScreenW = 800, kScreenH = 600;

struct SGauge {
    int32_t x, y;
    uint8_t colour;
};
constexpr SGauge kGaugeAt[CChatWin::kGauges] = {
    {677, 450, 152}, {602, 479, 119}, {602, 509, 197}, {602, 539, 152},
    {602, 569, 152}, {722, 479, 152}, {722, 509, 152}, {722, 539, 152},
};
// The number printed beside the gauges, centred on x + 27.
constexpr int32_t kNumberX = 722, kNumberY = 569;
constexpr uint8_t kNumberColour = 152;
constexpr int32_t kCellX = 674, kCellY = 446;
// The second picture sits this far above the window.
constexpr int32_t kPanelRise = 29;
// Divisors of the fixed-scale gauges.
constexpr int64_t kLevelScale = 80;
constexpr int64_t kMonths = 12;
constexpr int64_t kStatScale = 180;
constexpr int64_t kRemainExpScale = 500;

// Lines of a store on a sprite (Refresh) or the screen (the overlay).
void DrawLine(CTextLayer* text, int32_t x, int32_t y, const char* line, int32_t colour)
{
    text->SetColor(0);
    text->SetColors(static_cast<uint8_t>(colour), 255);
    text->DrawText(x, y, line, 0);
}

// The window's clean picture with lines first..last of a store on it, the
// newest lowest: line i at (25, top + 14 * (last - i)).
void DrawHistory(CSlrList& sprite, const CSlrList* clean, char** lines, const int32_t* attrs, int32_t first,
                 int32_t last, int32_t top)
{
    CTextLayer* text = g_pTextLayer;
    if (!text || !sprite.IsLoaded() || !clean || !lines || !attrs)
        return;
    sprite.CopyFrom(*clean);
    sprite.SetAsTextTarget(0);
    for (int32_t i = first; i <= last; ++i)
        DrawLine(text, 25, top + 14 * (last - i), lines[i], attrs[i]);
}

}  // namespace

CChatWin::CChatWin() : CWidgetWindow(kId, "data\\ChatWin.slr", 0, 448, 0, 629, kLines)
{
    m_state = kOpen;
    m_pos = m_openPos;
}

int32_t CChatWin::GaugeWidth(int64_t value, int64_t divisor, int32_t max)
{
    if (divisor <= 0)
        return max;
    return static_cast<int32_t>(std::clamp<int64_t>(value * max / divisor, 1, max));
}

void CChatWin::GaugeWidths(int32_t (&out)[kGauges])
{
    const CharacterRecord* rec = g_playerInfo.GetMyRecord();
    if (!rec) {
        std::fill(std::begin(out), std::end(out), 1);
        return;
    }
    const int64_t nextExp = CalcNextRemainExp(*rec);
    out[0] = GaugeWidth(rec->I32(CharacterRecord::kLevel), kLevelScale, kLevelGaugeWidth);
    out[1] = GaugeWidth(rec->I32(CharacterRecord::kHp), CalcMaxHp(*rec), kGaugeWidth);
    out[2] = GaugeWidth(rec->I32(CharacterRecord::kMp), CalcMaxMp(*rec), kGaugeWidth);
    out[3] = GaugeWidth(rec->I32(CharacterRecord::kExperience), nextExp, kGaugeWidth);
    out[4] = GaugeWidth(GetGameMonth(*rec), kMonths, kGaugeWidth);
    out[5] = GaugeWidth(CalcAttack(*rec), kStatScale, kGaugeWidth);
    out[6] = GaugeWidth(CalcDefence(*rec), kStatScale, kGaugeWidth);
    out[7] = GaugeWidth(nextExp, kRemainExpScale, kGaugeWidth);
}

void CChatWin::DrawGauges(uint8_t* surface)
{
    int32_t widths[kGauges];
    GaugeWidths(widths);
    const BlitTarget target = ScreenTarget(surface);
    for (int i = 0; i < kGauges; ++i)
        ScreenFillRect(target, kGaugeAt[i].x, kGaugeAt[i].y, widths[i], kGaugeHeight, kGaugeAt[i].colour);
    CTextLayer* text = g_pTextLayer;
    const CharacterRecord* rec = g_playerInfo.GetMyRecord();
    if (!text || !rec)
        return;
    char number[16];
    std::snprintf(number, sizeof number, "%d", rec->I32(CharacterRecord::kRemain));
    const auto len = static_cast<int32_t>(std::strlen(number));
    text->SetTarget(surface, kScreenW, kScreenH);
    text->SetColor(0);
    text->SetColors(kNumberColour, 255);
    text->DrawText(kNumberX + 27 - len * 6 / 2, kNumberY - 2, number, 1);
}

void CChatWin::DrawOverlay()
{
    CDaradirUzedo* ui = g_layerHolder.GetLayer();
    if (!ui || ui->m_chatOverlayExpired >= kOverlayExpired)
        return;
    if (ui->m_gmChatIdle == 0)
        ui->m_chatOverlayTimer = 0;
    if (ui->m_chatOverlayTimer > kOverlayRestartAbove)
        ui->m_chatOverlayTimer = kOverlayRestart;
    ++ui->m_chatOverlayTimer;
    if (ui->m_chatOverlayTimer % kOverlayFadeFrames == 0)
        ++ui->m_chatOverlayExpired;
}

void CChatWin::Draw(uint8_t* surface)
{
    if (m_state == kClosed) {
        DrawOverlay();
        CDaradirUzedo* ui = g_layerHolder.GetLayer();
        CTextLayer* text = g_pTextLayer;
        if (ui && text && surface && ui->m_chatOverlayExpired < kOverlayExpired) {
            text->SetTarget(surface, kScreenW, kScreenH);
            const int32_t last = std::min<int32_t>(ui->m_chatOverlayShown - ui->m_chatOverlayExpired - 1, kLines - 1);
            for (int32_t i = 1; i <= last; ++i)
                DrawLine(text, 40, 28 + 16 * (5 - i - ui->m_chatOverlayExpired), m_lines[static_cast<size_t>(i)],
                         m_lineAttrs[static_cast<size_t>(i)]);
        }
        WindowDraw(surface);
        return;
    }
    WindowDraw(surface);
    if (!m_extrasTried) {
        m_extrasTried = true;
        if (!m_panel.IsLoaded())
            m_panel.Load("data\\ChatWin2.slr");
        if (!m_cell.IsLoaded())
            m_cell.Load("data\\interface_cell.slr");
    }
    if (!surface)
        return;
    const BlitTarget target = ScreenTarget(surface);
    if (m_panel.IsLoaded())
        m_panel.Draw(0, 0, m_pos.y - kPanelRise, target);
    DrawGauges(surface);
    if (m_cell.IsLoaded())
        m_cell.Draw(0, kCellX, kCellY, target);
}

void CChatWin::SetState(int32_t state)
{
    CWidgetWindow::SetState(state);
    if (state == kOpening)
        m_extrasTried = false;
}

void CChatWin::Refresh()
{
    if (m_state == kClosed || m_state == kClosing)
        return;
    LoadImageOnDemand();
    DrawHistory(m_sprite, m_cleanImage.get(), m_lines.get(), m_lineAttrs.get(), 1, kPanelLines, 21);
}

void CChatWin::GetInputPos(CPoint* out)
{
    if (out)
        *out = CPoint{kInputX, kInputY};
}

void CChatWin::Clear()
{
    ClearInput();
}

// ---- the big chat window ---------------------------------------------------------

CBigChatWin::CBigChatWin(CWidgetWindow* chat)
    : CWidgetWindow(kId, "data\\BigChat.slr", 0, 0, 0, -448, 0), m_chat(chat)
{
    SetMaxLen(kLineMaxLen);
}

void CBigChatWin::Refresh()
{
    if (m_state == kClosed || m_state == kClosing || !m_chat)
        return;
    LoadImageOnDemand();
    DrawHistory(m_sprite, m_cleanImage.get(), m_chat->GetLines(), m_chat->GetLineAttrs(), kFirstLine,
                std::min(kLastLine, m_chat->GetLineCount() - 1), 30);
}

void CBigChatWin::SubmitText()
{
    if (!m_chat)
        return;
    m_chat->SubmitText();
    m_chat->Refresh();
    Refresh();
}

void CBigChatWin::GetInputPos(CPoint* out)
{
    if (m_chat)
        m_chat->GetInputPos(out);
}

char** CBigChatWin::GetLines() { return m_chat ? m_chat->GetLines() : nullptr; }
int32_t* CBigChatWin::GetLineAttrs() { return m_chat ? m_chat->GetLineAttrs() : nullptr; }
char* CBigChatWin::GetText() { return m_chat ? m_chat->GetText() : nullptr; }
int32_t CBigChatWin::GetMaxLen() { return m_chat ? m_chat->GetMaxLen() : 0; }

int CBigChatWin::OnChatMessage(const uint8_t* record, size_t size)
{
    if (!m_chat)
        return 0;
    const int taken = m_chat->OnChatMessage(record, size);
    if (taken)
        Refresh();
    return taken;
}
