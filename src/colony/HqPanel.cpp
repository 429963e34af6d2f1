#include "colony/HqPanel.h"

#include <array>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/CommandRing.h"
#include "colony/ColonyService.h"
#include "colony/SimColony.h"
#include "core/TextLayer.h"
#include "ui/ButtonWidget.h"
#include "ui/InputFocus.h"

namespace {

constexpr int32_t kCmdPlace = 77;
constexpr int32_t kCmdDemolish = 78;
constexpr int32_t kInputX = 190;
constexpr int32_t kInputY = 175;
constexpr int32_t kFiguresX = 200;

}  // namespace

CHqPanel::CHqPanel() : CColonyPanel(kId, "HQ.slr", 1)
{
    AddChild(new CButtonWidget(0, "BuildBtn.slr", this, 15, 540, kCmdPlace, CButtonWidget::kRepeatFrames));
    AddChild(new CButtonWidget(0, "Destruct.slr", this, 115, 540, kCmdDemolish, CButtonWidget::kRepeatFrames));
    SetInputRect(CRect{180, 175, 230, 190});
    SetMaxLen(kMaxRateChars);
}

void CHqPanel::GetInputPos(CPoint* out)
{
    if (out)
        *out = CPoint{m_pos.x + kInputX, kInputY};
}

void CHqPanel::SetState(int32_t state)
{
    CColonyPanel::SetState(state);
    if (state == kOpening) {
        g_inputFocus.SetFocusWidget(this);
        std::snprintf(m_input.data(), m_input.size(), "%d", g_simColony.m_rate);
        g_commandRing.Push(0);
    } else if (state == kClosing) {
        if (g_inputFocus.GetFocusWidget() == this)
            g_inputFocus.ClearFocus();
        g_inputFocus.RestoreFocus();
        Colony().SendResources();
    }
}

void CHqPanel::ApplyRateEntry()
{
    m_input[static_cast<size_t>(kMaxRateChars)] = '\0';
    errno = 0;
    const long long typed = std::strtoll(m_input.data(), nullptr, 10);
    if (typed < 0)
        g_simColony.m_rate = 0;
    else if (typed <= kMaxRate && errno == 0)
        g_simColony.m_rate = static_cast<int32_t>(typed);
    std::snprintf(m_input.data(), m_input.size(), "%d", g_simColony.m_rate);
}

void CHqPanel::Draw(uint8_t* surface)
{
    CColonyPanel::Draw(surface);
    CTextLayer* text = g_pTextLayer;
    if (m_state == kClosed || !text)
        return;
    std::array<int64_t, 5> deltas{};
    g_simColony.SumProduction(deltas);
    const struct {
        int32_t y;
        int64_t value;
    } figures[] = {
        {110, CSimColony::GetHqValue()},
        {147, g_simColony.m_colonyValue},
        {218, g_simColony.ComputeIncome()},
        {255, deltas[0]},
        {290, g_simColony.GetResource(CSimColony::kMoney)},
        {342, g_simColony.m_wood},
        {399, g_simColony.m_stone},
        {455, g_simColony.m_iron},
        {510, g_simColony.m_crystal},
    };
    text->SetColors(kTextColour, 255);
    char buf[32];
    for (const auto& f : figures) {
        std::snprintf(buf, sizeof buf, "%" PRId64, f.value);
        DrawTextCentered(m_pos.x + kFiguresX, m_pos.y + f.y, buf, 1);
    }
    if (m_state != kOpen)
        return;
    ApplyRateEntry();
    CPoint at;
    GetInputPos(&at);
    DrawText(at.x, at.y, m_input.data(), 1);
}
