#include "colony/PanelCanvas.h"

#include <algorithm>
#include <cstddef>

#include "core/RleFrame.h"
#include "core/TextLayer.h"
#include "ui/Widget.h"

CPanelCanvas::CPanelCanvas(CWidget& panel) : m_panel(panel)
{
    if (CTextLayer* t = g_pTextLayer) {
        m_savedTarget = t->GetTarget();
        m_savedWidth = t->GetTargetWidth();
        m_savedHeight = t->GetTargetHeight();
    }
    m_panel.GetSprite()->SetAsTextTarget(0);
}

CPanelCanvas::~CPanelCanvas()
{
    if (CTextLayer* t = g_pTextLayer)
        t->SetTarget(m_savedTarget, m_savedWidth, m_savedHeight);
}

void CPanelCanvas::SetColors(uint8_t text, uint8_t shadow)
{
    if (g_pTextLayer)
        g_pTextLayer->SetColors(text, shadow);
}

void CPanelCanvas::DrawText(int x, int y, const char* text) { CWidget::DrawText(x, y, text, 1); }

void CPanelCanvas::DrawTextCentered(int x, int y, const char* text) { CWidget::DrawTextCentered(x, y, text, 1); }

void CPanelCanvas::FillRect(int x0, int y0, int x1, int y1, uint8_t colour)
{
    CSlrList& pic = *m_panel.GetSprite();
    uint8_t* frame = pic.GetFrame(0);
    const size_t size = pic.GetFrameSize(0);
    if (!frame || pic.IsRle() || size < kRleHeader)
        return;
    const int w = static_cast<int>(RleFrameWidth(frame, size));
    const int h = static_cast<int>(RleFrameHeight(frame, size));
    if (w <= 0 || h <= 0 || static_cast<size_t>(w) * static_cast<size_t>(h) > size - kRleHeader)
        return;
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, w);
    y1 = std::min(y1, h);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            frame[kRleHeader + static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] = colour;
}
