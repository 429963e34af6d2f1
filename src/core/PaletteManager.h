// The game palette and every colour table built from it: the blend table
// ("data\TransTable.tbl"), shade and tint tables, and the palette effects
// (fades, greyscale, colour cycling, light level) stepped once per frame.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/Layer.h"

class CLayerGroup;

// Shows "Error Msg" with text, then the program ends in order (app/FatalError).
void ShowFatalError(const char* text);

class CPaletteManager : public CLayer {
public:
    static constexpr int kLevels = 8;
    static constexpr size_t kBlendTableSize = kLevels * 256 * 256;  // 524,288
    static constexpr int kTintCount = 64;
    static constexpr size_t kPalFileSize = 808;  // 40-byte header, 768 bytes RGB
    static constexpr int kCycleSlots = 4;

    using Rgb = std::array<uint8_t, 768>;

    // The palette goes to display->SetPaletteEntries (256 x R, G, B, flags).
    explicit CPaletteManager(CLayerGroup* display);
    ~CPaletteManager() override;

    // Missing entries end the game: ShowFatalError, and 0 is returned.
    int LoadPalette(const char* name);
    // Reads an open .PAL entry: 1 when taken and sent, 0 (nothing changed)
    // for a bad header or a short entry.
    int ReadPalette(int handle);
    int ReadPalette(const uint8_t* data, size_t size);
    void ApplyPalette();
    // The blend table; the entry must hold exactly kBlendTableSize bytes.
    int LoadTransTable(const char* name);
    void BuildShadeTables();
    void BuildTintTables();

    // Effects, carried out by Update.
    void StartFade(int duration);
    void FadeToColor(int red, int green, int blue, int duration);
    void SetRangeColor(int red, int green, int blue, int first, int last);
    void StartGreyscale(int first, int last);
    void ApplyNow();
    void SetCycle(int slot, int active, int from, int to, int period);
    void SetLightLevel(int value);
    // Once per frame, after the display has presented.
    void Update();

    // Tables.
    uint8_t* GetBlendTable() { return m_blend.data(); }
    const uint8_t* GetBlendTable(int level) const { return m_blend.data() + (level & 7) * 65536; }
    const uint8_t* GetShadeTable(int i) const { return m_shade[i & 7].data(); }
    const uint8_t* GetTintTable(int i) const { return m_tint[i & 63].data(); }
    const uint8_t* GetTintedShadeTable(int level, int i) const { return m_tintShade[level & 7][i & 63].data(); }
    const Rgb& GetLoadedRgb() const { return m_loaded; }
    const Rgb& GetShownRgb() const { return m_shown; }
    const Rgb& GetTargetRgb() const { return m_target; }
    int GetFadeMode() const { return m_fadeMode; }

    // Nearest colour of the palette rgb to (r, g, b) by squared distance,
    // the lowest index winning ties; colours with excluded[i] set are never
    // chosen.
    static int NearestColor(const Rgb& rgb, int r, int g, int b, const std::array<bool, 256>& excluded);
    // The blend table of a palette: byte [k * 65536 + s * 256 + d] is the
    // colour nearest to s at weight (k + 1) / 9 over d.
    static void BuildTransTable(const Rgb& rgb, uint8_t* out);
    // Which light level a light value gives (-7..8), and the step m(v) of
    // a channel value.
    static int LightLevelOf(int value);
    static int LightStep(int v);

private:
    struct Cycle {
        int32_t active = 0, from = 0, to = 0, period = 0, counter = 0;
    };

    void Send(const Rgb& rgb);
    void BuildTint(int level, int a, int b, uint8_t* out, const uint8_t* base) const;

    CLayerGroup* m_pDisplay;
    std::array<uint8_t, kBlendTableSize> m_blend{};
    std::array<std::array<uint8_t, 256>, kLevels> m_shade{};
    std::array<std::array<uint8_t, 256>, kTintCount> m_tint{};
    std::array<std::array<std::array<uint8_t, 256>, kTintCount>, kLevels> m_tintShade{};
    Rgb m_loaded{};
    std::array<uint8_t, 1024> m_entries{};

    int32_t m_fadeMode = 0, m_fadeFirst = 0, m_fadeEnd = 255, m_fadeElapsed = 0, m_fadeDuration = 0;
    int32_t m_greyMode = 0, m_greyFirst = 0, m_greyLast = 255;
    std::array<Cycle, kCycleSlots> m_cycles{};
    Rgb m_shown{};
    Rgb m_target{};
};

extern CPaletteManager* g_pPalette;

// The count of cycle steps behind the direction change of slots 0 and 1;
// process-wide, as the palette manager may be rebuilt.
void ResetPaletteCycleCount();
