#include "ui/ListSidePanel.h"

CListSidePanel::CListSidePanel(int32_t id, const char* slrName, int32_t openX, int32_t openY, int32_t closedX,
                               int32_t closedY)
    : CSidePanel(id, slrName, openX, openY, closedX, closedY, 0)
{
}
