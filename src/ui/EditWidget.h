// A window that slides in along one axis and leaves through the far screen
// edge: the NPC, region-map, market, ranking and board-search windows.
#pragma once
#include "ui/WidgetWindow.h"

class CEditWidget : public CWidgetWindow {
public:
    CEditWidget(int32_t id, const char* slrName, int32_t openX, int32_t openY, int32_t closedX, int32_t closedY,
                int32_t lineCount, int vertical);

    void Update() override;

protected:
    // The slide leaves bit 1 of x clear; windows built on it that keep their
    // x as it comes turn this off.
    bool m_clearXBit = true;

private:
    // 1: slides along y; anything else along x.
    int32_t m_vertical;
};
