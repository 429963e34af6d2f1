#include "ui/SidePanel.h"

#include "ui/FieldView.h"

CSidePanel::CSidePanel(int32_t id, const char* slrName, int32_t openX, int32_t openY, int32_t closedX,
                       int32_t closedY, int32_t lineCount)
    : CWidgetWindow(id, slrName, openX, openY, closedX, closedY, lineCount)
{
    SetDelays(0, 25);
}

void CSidePanel::Draw(uint8_t* surface)
{
    WindowDraw(surface);
    LowerFieldViewRight(m_pos.x);
}
