#include "core/PaletteManager.h"

CPaletteManager* g_pPalette;

int CPaletteManager::LoadPalette(const char* name)
{
    m_paletteName = name ? name : "";
    return 1;
}

int CPaletteManager::LoadTransTable(const char*)
{
    return 1;
}
