#include "social/HairColorWin.h"

#include "core/Blit.h"
#include "core/TextLayer.h"
#include "ui/ButtonWidget.h"
#include "windows/DaradirUzedo.h"

namespace {

// Screen rectangles, inclusive: the area that takes clicks, the swatch
// columns and the two rows (colours 0..3 above, 4..7 below).
constexpr int32_t kAreaLeft = 211, kAreaRight = 614, kAreaTop = 102, kAreaBottom = 315;
constexpr int32_t kColumns[4][2] = {{346, 369}, {381, 405}, {418, 437}, {453, 473}};
constexpr int32_t kRows[2][2] = {{169, 194}, {216, 244}};
constexpr int32_t kCmdApply = 117, kCmdClose = 118;
constexpr int32_t kNameX = 415, kNameY = 279;
constexpr uint8_t kNameColour = 60;

bool Within(int32_t v, const int32_t (&range)[2]) { return v >= range[0] && v <= range[1]; }

}  // namespace

CHairColorWin::CHairColorWin() : CWidgetWindow(kId, "data\\basic2.slr", 208, 100, -384, 100, 0)
{
    AddChild(new CButtonWidget(0, "oka.slr", this, 282, 69, kCmdApply, CButtonWidget::kRepeatFrames));
    AddChild(new CButtonWidget(0, "cancela.slr", this, 282, 131, kCmdClose, CButtonWidget::kRepeatFrames));
}

int32_t CHairColorWin::SwatchAt(int32_t x, int32_t y)
{
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 4; ++col)
            if (Within(y, kRows[row]) && Within(x, kColumns[col]))
                return row * 4 + col;
    return -1;
}

void CHairColorWin::SetState(int32_t state)
{
    CWidgetWindow::SetState(state);
    if (m_state != kOpening)
        return;
    if (CDaradirUzedo* ui = g_layerHolder.GetLayer())
        ui->m_pendingHairColor = -1;
    m_selected = 0;
    m_previewsTried = false;
}

int CHairColorWin::OnLButtonDown(int32_t x, int32_t y)
{
    if (m_state != kOpen || x < kAreaLeft || x > kAreaRight || y < kAreaTop || y > kAreaBottom)
        return 0;
    const int32_t colour = SwatchAt(x, y);
    if (colour >= 0) {
        m_selected = colour;
        if (CDaradirUzedo* ui = g_layerHolder.GetLayer())
            ui->m_pendingHairColor = colour;
    }
    CWidgetWindow::OnLButtonDown(x, y);
    return 1;
}

void CHairColorWin::Draw(uint8_t* surface)
{
    if (m_state != kClosed && !m_previewsTried) {
        m_previewsTried = true;
        if (!m_previews.IsLoaded())
            m_previews.Load("data\\group8.slr");
    }
    WindowDraw(surface);
    if (m_state == kClosed || !surface)
        return;
    if (m_selected < m_previews.GetFrameCount())
        m_previews.Draw(m_selected, m_pos.x + 35, m_pos.y + 53, ScreenTarget(surface));
    if (CTextLayer* text = g_pTextLayer) {
        text->SetTarget(surface, kScreenWidth, kScreenHeight);
        text->SetColor(0);
        text->SetColors(kNameColour, 255);
        DrawTextCentered(kNameX, kNameY, kNames[m_selected], 0);
    }
}
