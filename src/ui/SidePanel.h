// A window docked on the right that narrows the visible field to its left
// edge while it is drawn.
#pragma once
#include "ui/WidgetWindow.h"

class CSidePanel : public CWidgetWindow {
public:
    CSidePanel(int32_t id, const char* slrName, int32_t openX, int32_t openY, int32_t closedX, int32_t closedY,
               int32_t lineCount);

    void Draw(uint8_t* surface) override;
};
