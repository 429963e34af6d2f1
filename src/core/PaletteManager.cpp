#include "core/PaletteManager.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "core/ByteReader.h"
#include "core/LayerGroup.h"
#include "core/ResFile.h"
#include "platform/Dialogs.h"
#include "platform/Loop.h"

CPaletteManager* g_pPalette;

namespace {

constexpr const char* kPaletteNotFound = "error! Palette file not found~\n";

int g_cycleSteps;

using Excluded = std::array<bool, 256>;

Excluded MakeExcluded(std::initializer_list<std::pair<int, int>> ranges)
{
    Excluded e{};
    for (auto [lo, hi] : ranges)
        for (int i = lo; i <= hi; ++i)
            e[static_cast<size_t>(i)] = true;
    return e;
}

// Colours no remap, shade or tint search may give: black, the cycling ramps
// and the transparent key.
const Excluded kReserved = MakeExcluded({{0, 0}, {16, 19}, {21, 35}, {255, 255}});
// The blend table's searches also leave out 20..22.
const Excluded kBlendExcluded = MakeExcluded({{0, 0}, {16, 22}, {27, 35}, {255, 255}});

bool IsRamp(int c) { return (c >= 16 && c <= 19) || (c >= 21 && c <= 32); }

// The eight base colours of the tint tables.
constexpr uint8_t kBaseColors[8][3] = {
    {255, 255, 255}, {89, 145, 115}, {192, 159, 176}, {127, 157, 170},
    {219, 203, 149}, {173, 98, 51},  {118, 114, 109}, {52, 52, 42},
};

// The search with the palette split into channels, so the compiler can run
// the distance loop and the minimum over all 256 colours at once.
struct Searcher {
    std::array<int32_t, 256> r{}, g{}, b{}, penalty{};
    Searcher(const CPaletteManager::Rgb& rgb, const Excluded& excluded)
    {
        for (int i = 0; i < 256; ++i) {
            r[i] = rgb[i * 3];
            g[i] = rgb[i * 3 + 1];
            b[i] = rgb[i * 3 + 2];
            // Larger than any real distance (3 x 255^2).
            penalty[i] = excluded[i] ? (1 << 30) : 0;
        }
    }
    int Nearest(int tr, int tg, int tb) const
    {
        std::array<int32_t, 256> d;
        int32_t best = INT32_MAX;
        for (int i = 0; i < 256; ++i) {
            const int32_t dr = r[i] - tr, dg = g[i] - tg, db = b[i] - tb;
            d[i] = dr * dr + dg * dg + db * db + penalty[i];
            best = std::min(best, d[i]);
        }
        for (int i = 0; i < 256; ++i)
            if (d[i] == best)
                return i;
        return 0;
    }
};

int ClampIndex(int i) { return std::clamp(i, 0, 255); }
uint8_t ClampChannel(int v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); }

}  // namespace

void ResetPaletteCycleCount() { g_cycleSteps = 0; }

CPaletteManager::CPaletteManager(CLayerGroup* display) : m_pDisplay(display) {}

CPaletteManager::~CPaletteManager() = default;

// ---- loading ---------------------------------------------------------------

int CPaletteManager::LoadPalette(const char* name)
{
    const int h = ResOpen(name);
    if (h < 0) {
        ShowFatalError(kPaletteNotFound);
        return 0;
    }
    const int ok = ReadPalette(h);
    ResClose(h);
    return ok;
}

int CPaletteManager::ReadPalette(int handle)
{
    const long size = ResSize(handle);
    if (size < static_cast<long>(kPalFileSize))
        return 0;
    std::array<uint8_t, kPalFileSize> data;
    if (ResRead(data.data(), 1, data.size(), handle) != data.size())
        return 0;
    return ReadPalette(data.data(), data.size());
}

int CPaletteManager::ReadPalette(const uint8_t* data, size_t size)
{
    if (!data || size < kPalFileSize)
        return 0;
    CByteReader in(data, size);
    std::array<uint8_t, 40> header;
    in.Bytes(header.data(), header.size());
    // Compared as a string: "PAL" then its terminator.
    if (std::memcmp(header.data(), "PAL", 4) != 0)
        return 0;
    Rgb rgb;
    in.Bytes(rgb.data(), rgb.size());
    if (!in.Ok())
        return 0;
    if (header[38] != 0) {
        // Reduced values: red and green were stored >> 2, blue >> 1. The
        // game's palettes were made through this scaling; kept to 8 bits.
        for (size_t i = 0; i < 256; ++i) {
            rgb[i * 3] = static_cast<uint8_t>(rgb[i * 3] << 2);
            rgb[i * 3 + 1] = static_cast<uint8_t>(rgb[i * 3 + 1] << 2);
            rgb[i * 3 + 2] = static_cast<uint8_t>(rgb[i * 3 + 2] << 1);
        }
    }
    m_loaded = rgb;
    for (size_t i = 0; i < 256; ++i) {
        m_entries[i * 4] = rgb[i * 3];
        m_entries[i * 4 + 1] = rgb[i * 3 + 1];
        m_entries[i * 4 + 2] = rgb[i * 3 + 2];
        m_entries[i * 4 + 3] = 1;
    }
    m_shown = m_loaded;
    if (m_pDisplay)
        m_pDisplay->SetPaletteEntries(m_entries.data());
    return 1;
}

void CPaletteManager::ApplyPalette()
{
    m_shown = m_loaded;
    Send(m_loaded);
}

int CPaletteManager::LoadTransTable(const char* name)
{
    const int h = ResOpen(name);
    // A table of another size is as unusable as a missing one.
    if (h < 0 || ResSize(h) != static_cast<long>(kBlendTableSize) ||
        ResRead(m_blend.data(), 1, m_blend.size(), h) != m_blend.size()) {
        if (h >= 0)
            ResClose(h);
        ShowFatalError(kPaletteNotFound);
        return 0;
    }
    ResClose(h);
    return 1;
}

void CPaletteManager::Send(const Rgb& rgb)
{
    std::array<uint8_t, 1024> entries;
    for (size_t i = 0; i < 256; ++i) {
        entries[i * 4] = rgb[i * 3];
        entries[i * 4 + 1] = rgb[i * 3 + 1];
        entries[i * 4 + 2] = rgb[i * 3 + 2];
        entries[i * 4 + 3] = 1;
    }
    if (m_pDisplay)
        m_pDisplay->SetPaletteEntries(entries.data());
}

// ---- tables ----------------------------------------------------------------

int CPaletteManager::NearestColor(const Rgb& rgb, int r, int g, int b, const std::array<bool, 256>& excluded)
{
    return Searcher(rgb, excluded).Nearest(r, g, b);
}

void CPaletteManager::BuildTransTable(const Rgb& rgb, uint8_t* out)
{
    const Searcher search(rgb, kBlendExcluded);
    for (int k = 0; k < kLevels; ++k) {
        const int w = ((k + 1) * 256) / 9;
        for (int s = 0; s < 256; ++s)
            for (int d = 0; d < 256; ++d) {
                const int tr = (rgb[s * 3] * w + rgb[d * 3] * (256 - w)) / 256;
                const int tg = (rgb[s * 3 + 1] * w + rgb[d * 3 + 1] * (256 - w)) / 256;
                const int tb = (rgb[s * 3 + 2] * w + rgb[d * 3 + 2] * (256 - w)) / 256;
                out[k * 65536 + s * 256 + d] = static_cast<uint8_t>(search.Nearest(tr, tg, tb));
            }
    }
}

void CPaletteManager::BuildShadeTables()
{
    const Searcher search(m_loaded, kReserved);
    for (int i = 0; i < kLevels; ++i) {
        const int s = ((i + 1) * 256) / 9;
        for (int c = 0; c < 256; ++c)
            m_shade[i][c] = static_cast<uint8_t>(
                search.Nearest(m_loaded[c * 3] * s / 256, m_loaded[c * 3 + 1] * s / 256, m_loaded[c * 3 + 2] * s / 256));
    }
}

// One tint table. base holds the level's results for the colours that are
// not ramps (they do not depend on the base colours), so that only the ramps
// are searched per table.
void CPaletteManager::BuildTint(int level, int a, int b, uint8_t* out, const uint8_t* base) const
{
    const Searcher search(m_loaded, kReserved);
    const int k = level + 1;
    int ca[3], cb[3];
    for (int i = 0; i < 3; ++i) {
        ca[i] = kBaseColors[a][i];
        cb[i] = kBaseColors[b][i];
        if (level != 8) {
            ca[i] = ca[i] * k / 9;
            cb[i] = cb[i] * k / 9;
        }
    }
    for (int c = 0; c < 256; ++c) {
        if (!IsRamp(c)) {
            out[c] = base[c];
            continue;
        }
        const int d = c <= 24 ? (c < 20 ? c - 16 : c - 17) : c - 25;
        const int t = d * 32 + 16;
        const int* col = c <= 24 ? ca : cb;
        out[c] = static_cast<uint8_t>(search.Nearest(t * col[0] / 256, t * col[1] / 256, t * col[2] / 256));
    }
}

void CPaletteManager::BuildTintTables()
{
    const Searcher search(m_loaded, kReserved);
    // The colours that are not ramps, per level (8 stands for the tint
    // tables themselves, which keep every colour that is not reserved).
    auto baseFor = [&](int level) {
        std::array<uint8_t, 256> base;
        const int k = level + 1;
        for (int c = 0; c < 256; ++c) {
            if (level == 8 && !kReserved[c]) {
                base[c] = static_cast<uint8_t>(c);
                continue;
            }
            int t[3];
            for (int i = 0; i < 3; ++i)
                t[i] = ((m_loaded[c * 3 + i] << 8) * k / 9) / 256;
            base[c] = static_cast<uint8_t>(search.Nearest(t[0], t[1], t[2]));
        }
        return base;
    };
    const std::array<uint8_t, 256> top = baseFor(8);
    for (int a = 0; a < 8; ++a)
        for (int b = 0; b < 8; ++b)
            BuildTint(8, a, b, m_tint[a * 8 + b].data(), top.data());
    for (int level = 0; level < kLevels; ++level) {
        const std::array<uint8_t, 256> base = baseFor(level);
        for (int a = 0; a < 8; ++a)
            for (int b = 0; b < 8; ++b)
                BuildTint(level, a, b, m_tintShade[level][a * 8 + b].data(), base.data());
    }
}

// ---- effects -----------------------------------------------------------------

void CPaletteManager::StartFade(int duration)
{
    m_fadeMode = 1;
    m_fadeElapsed = 0;
    m_fadeDuration = duration;
}

void CPaletteManager::FadeToColor(int red, int green, int blue, int duration)
{
    for (size_t i = 0; i < 255; ++i) {
        m_target[i * 3] = ClampChannel(red);
        m_target[i * 3 + 1] = ClampChannel(green);
        m_target[i * 3 + 2] = ClampChannel(blue);
    }
    m_fadeMode = 2;
    m_fadeElapsed = duration;
    m_fadeDuration = duration;
    m_fadeFirst = 0;
    m_fadeEnd = 256;
}

void CPaletteManager::SetRangeColor(int red, int green, int blue, int first, int last)
{
    first = ClampIndex(first);
    last = ClampIndex(last);
    for (int i = first; i <= last; ++i) {
        m_shown[i * 3] = ClampChannel(red);
        m_shown[i * 3 + 1] = ClampChannel(green);
        m_shown[i * 3 + 2] = ClampChannel(blue);
    }
    m_fadeFirst = first;
    m_fadeEnd = last;
}

void CPaletteManager::StartGreyscale(int first, int last)
{
    m_greyMode = 1;
    m_greyFirst = ClampIndex(first);
    m_greyLast = ClampIndex(last);
}

void CPaletteManager::ApplyNow()
{
    m_greyMode = 0;
    Send(m_loaded);
}

void CPaletteManager::SetCycle(int slot, int active, int from, int to, int period)
{
    if (slot < 0 || slot >= kCycleSlots)
        return;
    m_cycles[slot] = Cycle{active, ClampIndex(from), ClampIndex(to), period, 0};
}

int CPaletteManager::LightLevelOf(int value)
{
    if (value < 0)
        return 0;
    // The first value of each level from -7 up to 8.
    static constexpr int kStarts[] = {0, 6, 12, 18, 25, 31, 37, 43, 50, 56, 62, 69, 75, 81, 87, 93};
    int level = -7;
    for (size_t i = 1; i < std::size(kStarts) && value >= kStarts[i]; ++i)
        ++level;
    return level;
}

int CPaletteManager::LightStep(int v)
{
    if (v < 2 || v >= 248)
        return 0;
    if (v < 120)
        return v / 8 + 1;
    if (v < 136)
        return 16;
    return 15 - (v - 136) / 8;
}

void CPaletteManager::SetLightLevel(int value)
{
    const int level = LightLevelOf(value);
    m_shown = m_loaded;
    for (size_t i = 0; i < 255 * 3; ++i) {
        const int v = m_shown[i];
        m_shown[i] = static_cast<uint8_t>(std::clamp(v + LightStep(v) * level, 1, 254));
    }
    for (size_t i = 0; i < 256; ++i) {
        m_entries[i * 4] = m_shown[i * 3];
        m_entries[i * 4 + 1] = m_shown[i * 3 + 1];
        m_entries[i * 4 + 2] = m_shown[i * 3 + 2];
        m_entries[i * 4 + 3] = 1;
    }
    if (m_pDisplay)
        m_pDisplay->SetPaletteEntries(m_entries.data());
}

void CPaletteManager::Update()
{
    // Colour cycling: every slot reads the palettes as they were before this
    // step and writes into the working copies.
    bool anyCycle = false;
    for (const Cycle& c : m_cycles)
        anyCycle = anyCycle || c.active != 0;
    if (anyCycle) {
        Rgb shown = m_shown, target = m_target;
        for (Cycle& c : m_cycles) {
            if (!c.active)
                continue;
            if (c.counter-- > 0)
                continue;
            c.counter = c.period;
            auto rotate = [&](Rgb& dst, const Rgb& src) {
                auto put = [&](int to, int from) {
                    std::memcpy(&dst[static_cast<size_t>(to) * 3], &src[static_cast<size_t>(from) * 3], 3);
                };
                if (c.from < c.to) {
                    for (int i = c.from; i < c.to; ++i)
                        put(i + 1, i);
                } else {
                    for (int i = c.to + 1; i <= c.from; ++i)
                        put(i - 1, i);
                }
                put(c.from, c.to);
            };
            // A slot with from = to has nothing to rotate.
            if (c.from != c.to) {
                rotate(shown, m_shown);
                rotate(target, m_target);
            }
        }
        m_shown = shown;
        m_target = target;
        if (++g_cycleSteps >= 4) {
            std::swap(m_cycles[0].from, m_cycles[0].to);
            std::swap(m_cycles[1].from, m_cycles[1].to);
            g_cycleSteps = 0;
        }
    }

    if (m_greyMode) {
        for (int i = m_greyFirst; i <= m_greyLast; ++i) {
            const int grey = (m_loaded[i * 3] * 30 + m_loaded[i * 3 + 1] * 59 + m_loaded[i * 3 + 2] * 11) / 100;
            m_shown[i * 3] = m_shown[i * 3 + 1] = m_shown[i * 3 + 2] = static_cast<uint8_t>(grey);
        }
    }

    if (m_fadeMode == 1) {
        if (++m_fadeElapsed >= m_fadeDuration)
            m_fadeMode = 0;
    } else if (m_fadeMode == 2) {
        if (--m_fadeElapsed <= 0) {
            m_fadeMode = 0;
            m_fadeElapsed = 0;
        }
    }
    if (m_fadeMode != 0) {
        // Here 0 < elapsed < duration (fading in) or 0 < elapsed <= duration
        // (fading out), so every fade reaches its end whatever its length.
        const int d = m_fadeDuration, e = m_fadeElapsed;
        const int first = ClampIndex(m_fadeFirst), end = std::clamp(m_fadeEnd, 0, 256);
        for (int i = first * 3; i < end * 3; ++i)
            m_shown[i] = static_cast<uint8_t>((m_target[i] * (d - e) + m_loaded[i] * e) / d);
    }

    if (m_greyMode == 0 && m_fadeMode == 0 && !anyCycle)
        return;
    Send(m_shown);
}
