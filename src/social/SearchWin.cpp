#include "social/SearchWin.h"

#include "ui/ButtonWidget.h"
#include "ui/ToggleButton.h"

namespace {
constexpr int32_t kCmdSearch = 68;
// The text cursor sits this far into the window.
constexpr int32_t kCursorDx = 30;
constexpr int32_t kCursorDy = 30;
}  // namespace

CSearchWin::CSearchWin() : CWidgetWindow(kId, "data\\SearchWin.slr", 288, 221, 800, 221, 0)
{
    AddChild(new CToggleButton(0, "data\\SearchDat.slr", this, 25, 65, kByDate, &m_selection));
    AddChild(new CToggleButton(0, "data\\SearchTTL.slr", this, 85, 65, kByTitle, &m_selection));
    AddChild(new CToggleButton(0, "data\\SearchID.slr", this, 145, 65, kById, &m_selection));
    AddChild(new CButtonWidget(0, "data\\Searching.slr", this, 26, 103, kCmdSearch, CButtonWidget::kRepeatFrames));
    SetInputRect(CRect{25, 25, 25 + 200, 25 + 50});
    SetMaxLen(kTextMaxLen);
}

void CSearchWin::GetInputPos(CPoint* out)
{
    if (out)
        *out = CPoint{m_pos.x + kCursorDx, m_pos.y + kCursorDy};
}

