#include "social/RankWin.h"

#include "app/FrameClock.h"
#include "core/Blit.h"
#include "core/TextLayer.h"
#include "social/Ranking.h"
#include "ui/ButtonWidget.h"
#include "ui/TextCut.h"

CRankWin::CRankWin() : CEditWidget(kId, "RankWin.slr", 170, 100, -460, 100, 0, 0)
{
    m_sprite.Load("data\\RankWin.slr");
    m_sprite.ResetRects();
    AddChild(new CButtonWidget(0, "RnkRfsBtn.slr", this, 42, 300, 92, 30));
    AddChild(new CButtonWidget(0, "RnkFndBtn.slr", this, 163, 300, 93, 15));
    AddChild(new CButtonWidget(0, "MailDn.slr", this, 320, 294, 90, 15));
    AddChild(new CButtonWidget(0, "MailUp.slr", this, 365, 294, 91, 15));
}

void CRankWin::Refresh()
{
    for (int i = 0; i < kRankingEntries; ++i) {
        char* line = m_rankLines[static_cast<size_t>(i)].data();
        const SRankingEntry e = GetRankingEntry(i);
        if (e.value >= kRankingEmpty)
            line[0] = '\0';
        else if (!g_gmFlag)
            FormatTextCutF(line, kLineSize, "%15d                %-15s     %12d", e.value, e.name, e.score);
        else
            FormatTextCutF(line, kLineSize, "[%3d]%10d                %-15s     %12d", g_rankingPage + i, e.value,
                           e.name, e.score);
    }
}

void CRankWin::Draw(uint8_t* surface)
{
    CEditWidget::Draw(surface);
    if (m_state == kClosed || g_rankingPage == kRankingAwaited)
        return;
    if (CTextLayer* text = g_pTextLayer; text && surface)
        text->SetTarget(surface, kScreenWidth, kScreenHeight);
    for (int i = 0; i < kRankingEntries; ++i)
        DrawText(m_pos.x + 10, m_pos.y + 100 + 25 * i, m_rankLines[static_cast<size_t>(i)].data(), 1);
}

int CRankWin::OnLButtonDblClk(int32_t x, int32_t y)
{
    const int r = CEditWidget::OnLButtonDblClk(x, y);
    return m_state == kOpen ? 1 : r;
}

int CRankWin::OnLButtonDown(int32_t x, int32_t y)
{
    const int r = CEditWidget::OnLButtonDown(x, y);
    return m_state == kOpen ? 1 : r;
}

int CRankWin::OnMouseMove(int32_t x, int32_t y)
{
    const int r = CEditWidget::OnMouseMove(x, y);
    return m_state == kOpen ? 1 : r;
}
