#include "core/TextLayer.h"

CTextLayer* g_pTextLayer;

int CTextLayer::LoadFonts(const char*, const char*)
{
    return 1;
}
