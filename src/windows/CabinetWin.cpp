#include "windows/CabinetWin.h"

#include "app/CommandRing.h"
#include "core/Blit.h"
#include "windows/CabinetCell.h"

namespace {
// The bank's cabinet button: it closes the cabinet as well.
constexpr int32_t kCabinetCommand = 125;
}  // namespace

CCabinetWin::CCabinetWin() : CWidgetWindow(kId, "data\\cabinet.slr", 133, 93, -328, 93, 0)
{
    m_header.Load("data\\itemsgreen.slr");
    m_cell = new CCabinetCell(this, 328, 306);
    AddChild(m_cell);
}

void CCabinetWin::Draw(uint8_t* surface)
{
    if (m_state != kClosed && surface && m_header.IsLoaded())
        m_header.Draw(0, m_pos.x, m_pos.y - 25, ScreenTarget(surface));
    CWidgetWindow::Draw(surface);
}

int32_t CCabinetWin::OnEscape()
{
    g_commandRing.Push(kCabinetCommand);
    return kId;
}
