#include "windows/GameMenuWin.h"

#include <iterator>

namespace {

// The side panels, the group window and the menu itself.
constexpr uint16_t kLinked[] = {10, 6, 7, 8, 9, 12, 35};
// Item 0 comes from above, items 1 and 2 from the lower corners.
constexpr std::array<CPoint, CMenuFan::kButtons> kStarts = {{{300, -40}, {-100, 600}, {800, 600}}};
constexpr std::array<CPoint, CMenuFan::kButtons> kEnds = {{{300, 200}, {300, 240}, {300, 280}}};

}  // namespace

CGameMenuWin::CGameMenuWin() : CWidget(kId, "data\\GameMenu.slr", 0, 0, 768, 0), m_fan(kStarts, kEnds)
{
    m_frame = -1;
    SetLinkedIds(kLinked, static_cast<int>(std::size(kLinked)));
}

void CGameMenuWin::Draw(uint8_t* surface)
{
    m_fan.Draw(*this, surface);
}

int CGameMenuWin::OnMouseMove(int32_t x, int32_t y)
{
    return m_fan.OnMouseMove(*this, x, y);
}

int CGameMenuWin::OnLButtonDown(int32_t x, int32_t y)
{
    return m_fan.OnLButtonDown(*this, x, y);
}
