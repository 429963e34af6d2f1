#include "ui/FieldView.h"

namespace {
int g_fieldViewRight = 800;
}

int GetFieldViewRight() { return g_fieldViewRight; }

void SetFieldViewRight(int right) { g_fieldViewRight = right; }

void LowerFieldViewRight(int x)
{
    if (x < g_fieldViewRight)
        g_fieldViewRight = x;
}
