// A side panel without text lines that does not slide: it is drawn where its
// position stands (the action, reaction and support windows).
#pragma once
#include "ui/SidePanel.h"

class CListSidePanel : public CSidePanel {
public:
    CListSidePanel(int32_t id, const char* slrName, int32_t openX, int32_t openY, int32_t closedX, int32_t closedY);

    void Update() override {}
};
