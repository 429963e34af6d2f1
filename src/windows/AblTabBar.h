// The ability windows' tab bar: three tabs (action, reaction, support); Esc
// closes the ability windows.
#pragma once
#include "app/CommandRing.h"
#include "ui/ButtonRow.h"

class CAblTabBar : public CButtonRow {
public:
    CAblTabBar(const char* slrName, int32_t openX, int32_t openY, int32_t closedX, int32_t closedY,
               const int32_t* commands, const char* const* korean, const char* const* english)
        : CButtonRow(7, slrName, openX, openY, closedX, closedY, 3, 70, commands, korean, english)
    {
    }
    int32_t OnEscape() override
    {
        g_commandRing.Push(5);
        return 7;
    }
};
