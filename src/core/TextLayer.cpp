#include "core/TextLayer.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

#include "app/MouseState.h"
#include "core/Blit.h"
#include "core/ByteReader.h"
#include "core/HanCodeTables.inc"
#include "core/ResFile.h"
#include "platform/Dialogs.h"
#include "platform/Input.h"

CTextLayer* g_pTextLayer;

namespace {

// ---- glyph composition -------------------------------------------------------

// Piece sets by medial index (T1, T2, T5) and by initial index (T3, T4).
// Without a final: initial set T1, medial set T3; with one: T2 and T4.
constexpr uint8_t kInitialSetNoFinal[22] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 3, 3, 3, 1, 2, 4, 4, 4, 2, 1, 3, 0};
constexpr uint8_t kInitialSetFinal[22] = {1, 5, 5, 5, 5, 5, 5, 5, 5, 6, 7, 7, 7, 6, 6, 7, 7, 7, 6, 6, 7, 5};
constexpr uint8_t kMedialSetNoFinal[20] = {0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 1, 1};
constexpr uint8_t kMedialSetFinal[20] = {2, 2, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 2, 3, 3, 3};
constexpr uint8_t kFinalSet[22] = {0, 0, 2, 0, 2, 1, 2, 1, 2, 3, 0, 2, 1, 3, 3, 1, 2, 1, 3, 3, 1, 1};

// Johab field values to glyph indices (0: the empty glyph).
constexpr int InitialIndex(int i5) { return i5 >= 2 && i5 <= 20 ? i5 - 1 : 0; }

constexpr int MedialIndex(int m5)
{
    if (m5 >= 3 && m5 <= 7)
        return m5 - 2;
    if (m5 >= 10 && m5 <= 15)
        return m5 - 4;
    if (m5 >= 18 && m5 <= 23)
        return m5 - 6;
    if (m5 >= 26 && m5 <= 29)
        return m5 - 8;
    return 0;
}

constexpr int FinalIndex(int f5)
{
    if (f5 >= 2 && f5 <= 17)
        return f5 - 1;
    if (f5 >= 19 && f5 <= 29)
        return f5 - 2;
    return 0;
}

// For each byte, eight 0xFF/0x00 bytes: a pixel mask, leftmost pixel from
// the most significant bit, in memory order.
struct ByteMasks {
    uint64_t m[256];
};

constexpr ByteMasks BuildByteMasks()
{
    ByteMasks t{};
    for (int b = 0; b < 256; ++b) {
        uint64_t v = 0;
        for (int bit = 0; bit < 8; ++bit)
            if (b & (0x80 >> bit))
                v |= uint64_t{0xFF} << (8 * bit);  // little-endian: pixel `bit` is byte `bit`
        t.m[b] = v;
    }
    return t;
}

constexpr ByteMasks kByteMasks = BuildByteMasks();
static_assert(std::endian::native == std::endian::little, "pixel masks are laid out for little-endian loads");

constexpr uint64_t Splat(uint8_t c) { return uint64_t{c} * 0x0101010101010101ull; }

void ShowFontError(const char* what, const char* name)
{
    plat::MessageBox("Error Msg", std::string(what) + name);
}

// ---- the edit line -----------------------------------------------------------

// Editing keys by set-1 scan code, in the order they are tried; the index is
// also the key's bit in the hold word.
constexpr uint8_t kEditKeys[8] = {82 /*Insert*/, 83 /*Delete*/, 14 /*Backspace*/, 75 /*Left*/,
                                  77 /*Right*/,  71 /*Home*/,   79 /*End*/,       15 /*Tab*/};
constexpr int kKeyTab = 7;
// Keys the line swallows: Up, Down, PgUp, PgDn, keypad 5.
constexpr uint8_t kSwallowedKeys[5] = {72, 80, 73, 81, 76};

// Johab fields: fill initial 1, fill medial 2, no final 1.
constexpr int kFillInitial = 1;
constexpr int kFillMedial = 2;
constexpr int kNoFinal = 1;

constexpr uint16_t MakeJohab(int i5, int m5, int f5)
{
    return static_cast<uint16_t>(0x8000 | (i5 << 10) | (m5 << 5) | f5);
}

// A key of the two-set layout: a consonant as its initial index (0..18:
// ㄱ ㄲ ㄴ ㄷ ㄸ ㄹ ㅁ ㅂ ㅃ ㅅ ㅆ ㅇ ㅈ ㅉ ㅊ ㅋ ㅌ ㅍ ㅎ), a vowel as its Johab
// medial value.
struct Jamo {
    bool vowel;
    uint8_t value;
};

constexpr Jamo kLayout[26] = {
    {false, 6},  {true, 26}, {false, 14}, {false, 11}, {false, 3},  {false, 5},  {false, 18},  // a..g
    {true, 13},  {true, 5},  {true, 7},   {true, 3},   {true, 29},  {true, 27},  {true, 20},   // h..n
    {true, 4},   {true, 10}, {false, 7},  {false, 0},  {false, 2},  {false, 9},  {true, 11},   // o..u
    {false, 17}, {false, 12}, {false, 16}, {true, 19}, {false, 15},                            // v..z
};

Jamo KeyJamo(char letter, bool shift)
{
    Jamo j = kLayout[letter - 'a'];
    if (!shift)
        return j;
    if (!j.vowel) {
        switch (j.value) {
        case 0: case 3: case 7: case 9: case 12:  // ㄱ ㄷ ㅂ ㅅ ㅈ -> ㄲ ㄸ ㅃ ㅆ ㅉ
            ++j.value;
            break;
        default:
            break;
        }
    } else if (j.value == 4 || j.value == 10) {  // ㅐ ㅔ -> ㅒ ㅖ
        j.value += 2;
    }
    return j;
}

struct Combo {
    uint8_t first;
    uint8_t second;
    uint8_t result;
};

// Initial + initial -> double initial (initial indices).
constexpr Combo kDoubleInitials[] = {{0, 0, 1}, {3, 3, 4}, {7, 7, 8}, {9, 9, 10}, {12, 12, 13}};
// Medial + medial -> compound vowel (Johab medial values).
constexpr Combo kCompoundVowels[] = {{3, 29, 4},   {5, 29, 6},   {7, 29, 10},  {11, 29, 12},
                                     {13, 3, 14},  {13, 29, 18}, {13, 4, 15},  {20, 7, 21},
                                     {20, 29, 23}, {20, 10, 22}, {27, 29, 28}};
// Final (Johab value) + consonant (initial index) -> compound final.
constexpr Combo kCompoundFinals[] = {{2, 0, 3},   {2, 9, 4},   {5, 12, 6},  {5, 18, 7},  {9, 0, 10},
                                     {9, 6, 11},  {9, 7, 12},  {9, 9, 13},  {9, 16, 14}, {9, 17, 15},
                                     {9, 18, 16}, {19, 9, 20}, {21, 9, 22}};

// The Johab final of a consonant; 0 for ㄸ ㅃ ㅉ, which cannot end a syllable.
constexpr uint8_t kFinalOfInitial[19] = {2, 3, 5, 8, 0, 9, 17, 19, 0, 21, 22, 23, 24, 0, 25, 26, 27, 28, 29};

int Combine(const Combo* table, size_t n, int first, int second)
{
    for (size_t i = 0; i < n; ++i)
        if (table[i].first == first && table[i].second == second)
            return table[i].result;
    return -1;
}

// The initial index of a simple final, -1 when none.
int InitialOfFinal(int f5)
{
    for (int i = 0; i < 19; ++i)
        if (kFinalOfInitial[i] == f5 && f5 != 0)
            return i;
    return -1;
}

}  // namespace

CTextLayer::CTextLayer(CDisplay* display) : m_pDisplay(display) {}

// ---- fonts ---------------------------------------------------------------------

int CTextLayer::LoadFonts(const char* hangulFont, const char* englishFont)
{
    struct FontFile {
        const char* name;
        uint8_t* dst;
        size_t size;
    };
    const FontFile files[2] = {{hangulFont, m_hangulFont.data(), m_hangulFont.size()},
                               {englishFont, m_englishFont.data(), m_englishFont.size()}};
    for (const FontFile& f : files) {
        const int h = ResOpen(f.name);
        if (h == -1) {
            ShowFontError("Font file not found: ", f.name);
            return 0;
        }
        const long size = ResSize(h);
        if (size < static_cast<long>(f.size) || ResRead(f.dst, 1, f.size, h) != f.size) {
            ResClose(h);
            std::memset(f.dst, 0, f.size);
            ShowFontError("Font file is damaged: ", f.name);
            return 0;
        }
        ResClose(h);
    }
    return 1;
}

bool CTextLayer::SetFontData(const uint8_t* hangul, size_t hangulSize, const uint8_t* english,
                             size_t englishSize)
{
    CByteReader h(hangul, hangul ? hangulSize : 0);
    CByteReader e(english, english ? englishSize : 0);
    if (h.Size() < m_hangulFont.size() || e.Size() < m_englishFont.size())
        return false;
    h.Bytes(m_hangulFont.data(), m_hangulFont.size());
    e.Bytes(m_englishFont.data(), m_englishFont.size());
    return h.Ok() && e.Ok();
}

// ---- colours and target ------------------------------------------------------------

void CTextLayer::SetColors(uint8_t text, uint8_t background)
{
    m_textColor = text;
    m_backColor = background;
}

void CTextLayer::SetColor(uint32_t style)
{
    m_style = style;
}

void CTextLayer::SetTarget(uint8_t* bits, int width, int height)
{
    ScreenInitSurface(bits, width, height);
    if (!bits || width <= 0 || height <= 0) {
        m_target = Target{};
        return;
    }
    m_target = Target{bits, width, height, 0, 0, width - 1, height - 1};
}

void CTextLayer::SetClipRect(int left, int top, int right, int bottom)
{
    ScreenSetClip(left, top, right, bottom);
    // Never outside the surface.
    m_target.clipLeft = std::max(left, 0);
    m_target.clipTop = std::max(top, 0);
    m_target.clipRight = std::min(right, m_target.width - 1);
    m_target.clipBottom = std::min(bottom, m_target.height - 1);
}

// ---- drawing ---------------------------------------------------------------------

void CTextLayer::WansungToJohab(uint8_t& lead, uint8_t& trail)
{
    if (lead < 0xB0 || lead > 0xC8 || trail < 0xA1 || trail > 0xFE)
        return;
    const uint16_t code = hantables::kKsSyllableJohab[(lead - 0xB0) * 94 + (trail - 0xA1)];
    lead = static_cast<uint8_t>(code >> 8);
    trail = static_cast<uint8_t>(code);
}

void CTextLayer::ComposeHangul(uint16_t johab, uint16_t rows[16]) const
{
    const int i = InitialIndex((johab >> 10) & 31);
    const int m = MedialIndex((johab >> 5) & 31);
    const int f = FinalIndex(johab & 31);
    const int initialSet = f == 0 ? kInitialSetNoFinal[m] : kInitialSetFinal[m];
    const int medialSet = f == 0 ? kMedialSetNoFinal[i] : kMedialSetFinal[i];
    const int finalSet = kFinalSet[m];
    const uint8_t* a = m_hangulFont.data() + kInitialOffset + (initialSet * kInitialGlyphs + i) * kGlyphBytes;
    const uint8_t* b = m_hangulFont.data() + kMedialOffset + (medialSet * kMedialGlyphs + m) * kGlyphBytes;
    const uint8_t* c = m_hangulFont.data() + kFinalOffset + (finalSet * kFinalGlyphs + f) * kGlyphBytes;
    for (int r = 0; r < 16; ++r) {
        const int hi = a[2 * r] | b[2 * r] | c[2 * r];
        const int lo = a[2 * r + 1] | b[2 * r + 1] | c[2 * r + 1];
        rows[r] = static_cast<uint16_t>((hi << 8) | lo);
    }
}

void CTextLayer::DrawGlyph(int x, int y, const uint16_t rows[16], int width, uint8_t text, uint8_t back)
{
    // What is drawn: without shadow, one keyed copy of the glyph in the text
    // colour on the background; with shadow, keyed copies at (+1, +1) and
    // (+2, +2) in the shadow colour on the background, then one at (0, 0)
    // in the text colour on nothing. Keyed: colour 255 is never written.
    // The copies are merged row by row as bit masks (which pixel ends in
    // the text, shadow or background colour), so every target byte is
    // written once.
    const Target& t = m_target;
    if (!t.base)
        return;
    const bool shadow = (m_style & 1) != 0;
    const int spread = shadow ? 2 : 0;  // how far right and down the shadow reaches
    const int64_t x0 = std::max<int64_t>(x, t.clipLeft);
    const int64_t x1 = std::min<int64_t>(int64_t{x} + width - 1 + spread, t.clipRight);
    const int64_t y0 = std::max<int64_t>(y, t.clipTop);
    const int64_t y1 = std::min<int64_t>(int64_t{y} + 15 + spread, t.clipBottom);
    if (x0 > x1 || y0 > y1)
        return;

    // Masks over the columns from x: column c is bit 31 - c.
    const uint32_t cover = ~uint32_t{0} << (32 - width);
    auto rowBits = [&](int64_t r, int dx) -> uint32_t {
        return r >= 0 && r <= 15 ? (uint32_t{rows[r]} << 16) >> dx : 0;
    };
    auto rowCover = [&](int64_t r, int dx) -> uint32_t { return r >= 0 && r <= 15 ? cover >> dx : 0; };
    const bool textShows = text != kTransparent;
    const bool backShows = back != kTransparent;
    const uint64_t fgText = Splat(text);
    const uint64_t fgShadow = Splat(kShadowColour);
    const uint64_t bgBack = Splat(back);
    const int groups = (width + spread + 7) / 8;

    for (int64_t row = y0; row <= y1; ++row) {
        const int64_t r = row - y;
        const uint32_t glyph = rowBits(r, 0);
        const uint32_t textMask = textShows ? glyph : 0;
        uint32_t shadowMask = 0;
        uint32_t backMask = 0;
        if (shadow) {
            const uint32_t s1 = rowBits(r - 1, 1);
            const uint32_t s2 = rowBits(r - 2, 2);
            const uint32_t w1 = s1 | (backShows ? rowCover(r - 1, 1) & ~s1 : 0);
            const uint32_t w2 = s2 | (backShows ? rowCover(r - 2, 2) & ~s2 : 0);
            shadowMask = ~textMask & (s2 | (~w2 & s1));
            backMask = ~textMask & ((w2 & ~s2) | (~w2 & w1 & ~s1));
        } else if (backShows) {
            backMask = rowCover(r, 0) & ~glyph;
        }
        if ((textMask | shadowMask | backMask) == 0)
            continue;
        uint8_t* dst = t.base + row * t.width;
        for (int g = 0; g < groups; ++g) {
            const int shift = 24 - 8 * g;
            const uint64_t tm = kByteMasks.m[(textMask >> shift) & 0xFF];
            const uint64_t sm = kByteMasks.m[(shadowMask >> shift) & 0xFF];
            const uint64_t bm = kByteMasks.m[(backMask >> shift) & 0xFF];
            const uint64_t write = tm | sm | bm;
            if (write == 0)
                continue;
            const uint64_t value = (tm & fgText) | (sm & fgShadow) | (bm & bgBack);
            const int64_t gx = int64_t{x} + 8 * g;
            if (gx >= x0 && gx + 7 <= x1) {
                uint64_t d;
                std::memcpy(&d, dst + gx, 8);
                d = (d & ~write) | (value & write);
                std::memcpy(dst + gx, &d, 8);
                continue;
            }
            for (int64_t c = std::max(gx, x0); c <= std::min(gx + 7, x1); ++c) {
                const int byte = static_cast<int>(c - gx) * 8;
                if ((write >> byte) & 0xFF)
                    dst[c] = static_cast<uint8_t>(value >> byte);
            }
        }
    }
}

void CTextLayer::FillRect(int x, int y, int w, int h, uint8_t colour)
{
    const Target& t = m_target;
    if (!t.base)
        return;
    const int64_t x0 = std::max<int64_t>(x, t.clipLeft);
    const int64_t x1 = std::min<int64_t>(int64_t{x} + w - 1, t.clipRight);
    const int64_t y0 = std::max<int64_t>(y, t.clipTop);
    const int64_t y1 = std::min<int64_t>(int64_t{y} + h - 1, t.clipBottom);
    for (int64_t row = y0; x0 <= x1 && row <= y1; ++row)
        std::memset(t.base + row * t.width + x0, colour, static_cast<size_t>(x1 - x0 + 1));
}

void CTextLayer::DrawHangul(int x, int y, uint8_t lead, uint8_t trail, int convert)
{
    if (convert)
        WansungToJohab(lead, trail);
    uint16_t rows[16];
    ComposeHangul(static_cast<uint16_t>((lead << 8) | trail), rows);
    DrawGlyph(x, y, rows, 16, m_textColor, m_backColor);
}

void CTextLayer::DrawAscii(int x, int y, uint8_t ch)
{
    if (ch == ' ' && m_backColor == kTransparent)
        return;
    uint16_t rows[16];
    const uint8_t* g = m_englishFont.data() + ch * 16;
    for (int r = 0; r < 16; ++r)
        rows[r] = static_cast<uint16_t>(g[r] << 8);
    DrawGlyph(x, y, rows, 8, m_textColor, m_backColor);
}

void CTextLayer::DrawString(int x, int y, const char* text, uint8_t textColor, uint8_t backColor, int convert)
{
    if (!text)
        return;
    const uint8_t savedText = m_textColor;
    const uint8_t savedBack = m_backColor;
    m_textColor = textColor;
    m_backColor = backColor;
    const auto* p = reinterpret_cast<const uint8_t*>(text);
    int penX = x;
    int penY = y;
    while (*p) {
        const uint8_t c = *p;
        if (c == '\r') {
            penY += kLineHeight;
            ++p;
        } else if (c == '\n') {
            penX = x;
            ++p;
        } else if (c == '\t') {
            penX = kTabColumn;
            ++p;
        } else if (c > 127) {
            if (p[1] == 0)
                break;  // a lone lead byte: the NUL still ends the text
            DrawHangul(penX, penY, c, p[1], convert);
            penX += kHangulAdvance;
            p += 2;
        } else {
            DrawAscii(penX, penY, c);
            penX += kAsciiAdvance;
            ++p;
        }
    }
    m_textColor = savedText;
    m_backColor = savedBack;
}

void CTextLayer::DrawText(int x, int y, const char* text, int convert)
{
    DrawString(x, y, text, m_textColor, m_backColor, convert);
}

void CTextLayer::DrawTextColored(int x, int y, const char* text, uint8_t textColor, uint8_t backColor,
                                 int convert)
{
    DrawString(x, y, text, textColor, backColor, convert);
}

// ---- edit line: buffer ------------------------------------------------------------

void CTextLayer::SetInputText(char* buffer, int capacity)
{
    if (!buffer || capacity < 1)
        return;
    m_pBuffer = buffer;
    m_capacity = capacity;
    // The buffer may arrive without a NUL: its last byte becomes one.
    m_length = static_cast<int>(strnlen(buffer, static_cast<size_t>(capacity - 1)));
    m_maxLength = std::min(m_maxLength, capacity - 1);
    m_cursor = m_length;
    m_composeState = 0;
    ZeroAfterText();
}

void CTextLayer::BeginInput(int x, int y, int maximum)
{
    if (m_active)
        return;
    m_x = x;
    m_y = y;
    m_maxLength = std::max(0, maximum - 1);
    if (m_pBuffer)
        m_maxLength = std::min(m_maxLength, m_capacity - 1);
    m_active = true;
    m_blink = 0;
    m_length = m_cursor = 0;
    m_modeSwitchRequest = 0;
    m_composeState = 0;
    if (m_pBuffer)
        std::memset(m_pBuffer, 0, static_cast<size_t>(m_capacity));
}

void CTextLayer::BeginInputWithText(int x, int y, int maximum)
{
    m_x = x;
    m_y = y;
    m_maxLength = std::max(0, maximum - 1);
    m_length = m_cursor = 0;
    m_composeState = 0;
    if (!m_pBuffer)
        return;
    m_maxLength = std::min(m_maxLength, m_capacity - 1);
    m_length = static_cast<int>(strnlen(m_pBuffer, static_cast<size_t>(m_capacity - 1)));
    m_cursor = m_length;
    ZeroAfterText();
}

void CTextLayer::EndInputFocus()
{
    if (m_active)
        m_lastChar = 0;
}

void CTextLayer::ClearInput()
{
    if (m_pBuffer)
        std::memset(m_pBuffer, 0, static_cast<size_t>(m_capacity));
    m_length = m_cursor = 0;
    m_composeState = 0;
}

int CTextLayer::CharWidthAt(int pos) const
{
    // Any byte below 0x80 stands alone; a higher one takes the next byte
    // with it, unless that is past the text.
    return static_cast<uint8_t>(m_pBuffer[pos]) >= 0x80 && pos + 1 < m_length ? 2 : 1;
}

int CTextLayer::PrevCharStart(int pos) const
{
    // Boundaries are only known from the start of the text: a Johab trail
    // byte can look like anything.
    int prev = 0;
    for (int i = 0; i < pos; i += CharWidthAt(i))
        prev = i;
    return prev;
}

void CTextLayer::ZeroAfterText()
{
    std::memset(m_pBuffer + m_length, 0, static_cast<size_t>(m_capacity - m_length));
}

void CTextLayer::Commit()
{
    if (m_composeState != 0)
        m_cursor = std::min(m_cursor + 2, m_length);
    m_composeState = 0;
}

bool CTextLayer::OpenRoom(int n)
{
    // Nothing is ever written past the maximum length.
    if (m_cursor + n > m_maxLength)
        return false;
    if (m_insertMode && m_length + n <= m_maxLength) {
        std::memmove(m_pBuffer + m_cursor + n, m_pBuffer + m_cursor, static_cast<size_t>(m_length - m_cursor));
        m_length += n;
        return true;
    }
    // Overwrite (also when a full line has no room to insert): a two-byte
    // character cut by the end of the overwritten bytes leaves a blank.
    const int end = m_cursor + n;
    int i = m_cursor;
    while (i < end && i < m_length)
        i += CharWidthAt(i);
    if (i > end && i <= m_length)
        m_pBuffer[end] = ' ';
    m_length = std::max(m_length, end);
    return true;
}

bool CTextLayer::InsertByte(uint8_t ch)
{
    if (!OpenRoom(1))
        return false;
    m_pBuffer[m_cursor] = static_cast<char>(ch);
    ++m_cursor;
    m_composeState = 0;
    return true;
}

void CTextLayer::RemoveAt(int pos, int n)
{
    std::memmove(m_pBuffer + pos, m_pBuffer + pos + n, static_cast<size_t>(m_length - pos - n));
    m_length -= n;
    ZeroAfterText();
}

// ---- edit line: keys --------------------------------------------------------------

void CTextLayer::Delete()
{
    if (m_cursor >= m_length)
        return;
    // While composing, the syllable under the cursor is what goes.
    m_composeState = 0;
    RemoveAt(m_cursor, CharWidthAt(m_cursor));
}

void CTextLayer::Backspace()
{
    if (m_hangulMode && m_composeState != 0) {
        // Undo the last jamo.
        const uint16_t code = SyllableAtCursor();
        switch (m_composeState) {
        case 1:
            RemoveAt(m_cursor, 2);
            m_composeState = 0;
            break;
        case 2:
            SetSyllableAtCursor(static_cast<uint16_t>((code & ~(31 << 5)) | (kFillMedial << 5)));
            m_composeState = 1;
            break;
        default:
            SetSyllableAtCursor(static_cast<uint16_t>((code & ~31) | kNoFinal));
            m_composeState = 2;
            break;
        }
        return;
    }
    m_composeState = 0;
    if (m_cursor == 0)
        return;
    const int start = PrevCharStart(m_cursor);
    RemoveAt(start, m_cursor - start);
    m_cursor = start;
}

void CTextLayer::InsertTab()
{
    if (FormFieldActive())
        return;
    Commit();
    // Blanks up to the next multiple of 8 (at least one), as room allows.
    while (InsertByte(' ')) {
        if (m_cursor % 8 == 0 || m_cursor >= m_maxLength - 1)
            break;
    }
}

void CTextLayer::DoEditKey(int index)
{
    switch (index) {
    case 0:  // Insert
        m_insertMode = !m_insertMode;
        Commit();
        break;
    case 1:
        Delete();
        break;
    case 2:
        Backspace();
        break;
    case 3:  // Left
        Commit();
        m_cursor = PrevCharStart(m_cursor);
        break;
    case 4:  // Right
        if (m_cursor < m_length)
            m_cursor = std::min(m_cursor + CharWidthAt(m_cursor), m_length);
        m_composeState = 0;
        break;
    case 5:  // Home
        Commit();
        m_cursor = 0;
        break;
    case 6:  // End
        Commit();
        m_cursor = m_length;
        break;
    case kKeyTab:
        InsertTab();
        break;
    default:
        break;
    }
}

int CTextLayer::HandleEditKeys()
{
    // A key acts once per press: its hold bit stays set until it is released.
    for (int k = 0; k < 8; ++k)
        if (g_keyState[kEditKeys[k]] == 0)
            m_keyHold &= ~(1u << k);

    const uint32_t key = g_lastKey & 255;
    if (key == 0 || g_keyState[key] == 0)
        return 0;
    for (int k = 0; k < 8; ++k) {
        if (key != kEditKeys[k])
            continue;
        // Ctrl+Tab belongs to the hot keys.
        if (k == kKeyTab && g_keyState[plat::kScanCtrl] != 0)
            return 0;
        if (!(m_keyHold & (1u << k))) {
            m_keyHold |= 1u << k;
            if (m_pBuffer)
                DoEditKey(k);
        }
        return 1;
    }
    for (uint8_t s : kSwallowedKeys)
        if (key == s)
            return 1;
    return 0;
}

int CTextLayer::HandleEditTab()
{
    const uint32_t key = g_lastKey & 255;
    return key == kEditKeys[kKeyTab] && g_keyState[key] != 0 ? 1 : 0;
}

// ---- edit line: typing ------------------------------------------------------------

uint16_t CTextLayer::SyllableAtCursor() const
{
    return static_cast<uint16_t>((static_cast<uint8_t>(m_pBuffer[m_cursor]) << 8) |
                                 static_cast<uint8_t>(m_pBuffer[m_cursor + 1]));
}

void CTextLayer::SetSyllableAtCursor(uint16_t code)
{
    m_pBuffer[m_cursor] = static_cast<char>(code >> 8);
    m_pBuffer[m_cursor + 1] = static_cast<char>(code & 0xFF);
}

bool CTextLayer::StartSyllable(int initial, int medial, int final)
{
    Commit();
    if (!OpenRoom(2))
        return false;
    SetSyllableAtCursor(MakeJohab(initial, medial, final));
    return true;
}

void CTextLayer::ComposeKey(char letter)
{
    const bool shift = g_keyState[plat::kScanLShift] != 0 || g_keyState[plat::kScanRShift] != 0;
    const Jamo j = KeyJamo(letter, shift);
    // A key that would start a syllable where none fits does nothing, so
    // that the syllable being composed stays as it is.
    const int nextStart = m_cursor + (m_composeState != 0 ? 2 : 0);
    const bool roomForNew = nextStart + 2 <= m_maxLength;

    auto startWithInitial = [&](int idx) {
        if (roomForNew && StartSyllable(idx + 2, kFillMedial, kNoFinal))
            m_composeState = 1;
    };
    auto startWithVowel = [&](int initialIdx, int m5) {
        const int i5 = initialIdx < 0 ? kFillInitial : initialIdx + 2;
        if (roomForNew && StartSyllable(i5, m5, kNoFinal))
            m_composeState = 2;
    };

    const uint16_t code = m_composeState != 0 ? SyllableAtCursor() : 0;
    const int i5 = (code >> 10) & 31;
    const int m5 = (code >> 5) & 31;
    const int f5 = code & 31;

    switch (m_composeState) {
    case 0:
        if (j.vowel)
            startWithVowel(-1, j.value);
        else
            startWithInitial(j.value);
        break;
    case 1:
        if (j.vowel) {
            SetSyllableAtCursor(MakeJohab(i5, j.value, f5));
            m_composeState = 2;
        } else if (const int d = Combine(kDoubleInitials, std::size(kDoubleInitials), i5 - 2, j.value); d >= 0) {
            SetSyllableAtCursor(MakeJohab(d + 2, m5, f5));
        } else {
            startWithInitial(j.value);
        }
        break;
    case 2:
        if (j.vowel) {
            if (const int v = Combine(kCompoundVowels, std::size(kCompoundVowels), m5, j.value); v >= 0)
                SetSyllableAtCursor(MakeJohab(i5, v, f5));
            else
                startWithVowel(-1, j.value);
        } else if (kFinalOfInitial[j.value] != 0) {
            SetSyllableAtCursor(MakeJohab(i5, m5, kFinalOfInitial[j.value]));
            m_composeState = 3;
        } else {
            startWithInitial(j.value);
        }
        break;
    case 3:
        if (j.vowel) {
            // The final moves on to begin the next syllable.
            const int moved = InitialOfFinal(f5);
            if (!roomForNew || moved < 0)
                break;
            SetSyllableAtCursor(MakeJohab(i5, m5, kNoFinal));
            startWithVowel(moved, j.value);
        } else if (const int c = Combine(kCompoundFinals, std::size(kCompoundFinals), f5, j.value); c >= 0) {
            SetSyllableAtCursor(MakeJohab(i5, m5, c));
            m_composeState = 4;
        } else {
            startWithInitial(j.value);
        }
        break;
    default:
        if (j.vowel) {
            // The compound final splits: its second part begins the next syllable.
            for (const Combo& c : kCompoundFinals) {
                if (c.result != f5)
                    continue;
                if (!roomForNew)
                    break;
                SetSyllableAtCursor(MakeJohab(i5, m5, c.first));
                startWithVowel(c.second, j.value);
                break;
            }
        } else {
            startWithInitial(j.value);
        }
        break;
    }
}

void CTextLayer::OnEditChar(uint32_t ch)
{
    if (HandleEditKeys())
        return;
    m_lastChar = ch;
    if (m_modeSwitchRequest) {
        if (m_hangulMode)
            Commit();
        m_hangulMode = !m_hangulMode;
        m_composeState = 0;
        m_modeSwitchRequest = 0;
    }
    // Only bytes of text: control characters and anything beyond one byte
    // (the line holds single bytes and the syllables it composes) are left out.
    if (ch < 32 || ch > 127 || !m_pBuffer)
        return;
    if (m_hangulMode) {
        const char lower = static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch + 32 : ch);
        if (lower >= 'a' && lower <= 'z') {
            ComposeKey(lower);
            return;
        }
        Commit();
    }
    InsertByte(static_cast<uint8_t>(ch));
}

// ---- edit line: drawing -----------------------------------------------------------

void CTextLayer::DrawCursor()
{
    m_blink = (m_blink + 1) % 20;
    if (m_blink >= 10)
        return;
    const int width = m_pBuffer && m_cursor < m_length && CharWidthAt(m_cursor) == 2 ? 12 : 5;
    const int height = m_insertMode ? 2 : 14;
    const int top = m_insertMode ? m_y + 14 : m_y;
    FillRect(m_x + m_cursor * kAsciiAdvance, top, width, height, m_textColor);
}

void CTextLayer::DrawEditLine()
{
    if (!m_active)
        return;
    DrawCursor();
    if (m_pBuffer && !FormFieldActive())
        DrawTextColored(m_x, m_y, m_pBuffer, m_textColor, m_backColor, 0);
}

void CTextLayer::DrawPasswordLine()
{
    if (!m_active)
        return;
    DrawCursor();
    // One star per byte of text.
    for (int i = 0; i < m_length; ++i)
        DrawAscii(m_x + i * kAsciiAdvance, m_y, '*');
}
