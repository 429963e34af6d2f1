// The game palette and its colour tables. Minimal form: it remembers what
// it was asked to load; tables and fades are still to come.
#pragma once
#include <string>

#include "core/Layer.h"

class CDisplay;

class CPaletteManager : public CLayer {
public:
    explicit CPaletteManager(CDisplay* display) : m_pDisplay(display) {}

    // 1 on success; a palette that cannot be read ends the game.
    int LoadPalette(const char* name);
    int LoadTransTable(const char* name);
    void BuildShadeTables() {}
    void BuildTintTables() {}
    // The per-frame step of fades and colour cycling.
    void Update() { ++m_updates; }

    unsigned Updates() const { return m_updates; }
    const std::string& PaletteName() const { return m_paletteName; }

private:
    [[maybe_unused]] CDisplay* m_pDisplay;
    std::string m_paletteName;
    unsigned m_updates = 0;
};

extern CPaletteManager* g_pPalette;
