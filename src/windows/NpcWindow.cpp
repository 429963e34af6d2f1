#include "windows/NpcWindow.h"

CNpcWindow::CNpcWindow(int32_t id, const char* slrName) : CEditWidget(id, slrName, 240, 123, -320, 123, 0, 0) {}

// The root widget's slide: back out to the left when closing.
void CNpcWindow::Update()
{
    CWidget::Update();
}

int CNpcWindow::OnLButtonDown(int32_t x, int32_t y)
{
    if (m_state != kOpen)
        return 0;
    CWidgetWindow::OnLButtonDown(x, y);
    return 1;
}

int CNpcWindow::OnLButtonDblClk(int32_t x, int32_t y)
{
    if (m_state != kOpen)
        return 0;
    CWidgetContainer::OnLButtonDblClk(x, y);
    return 1;
}
