#include "ui/FieldView.h"

int32_t g_fieldViewRight = 800;

int GetFieldViewRight()
{
    return g_fieldViewRight;
}

void SetFieldViewRight(int right)
{
    g_fieldViewRight = right;
}

void LowerFieldViewRight(int x)
{
    if (g_fieldViewRight > x)
        g_fieldViewRight = x;
}
