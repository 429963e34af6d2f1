// The game's text renderer: its two bitmap fonts (a 16 x 16 Hangul font
// composed from jamo pieces, an 8 x 16 single-byte font), the current
// colours, and the one edit line with its own two-set Hangul composition.
//
// Text goes into the blit module's surface context (SetTarget), so it can be
// written on the back buffer or into a decoded sprite. Game text is Johab;
// the convert flag of the drawing calls takes CP949 (KS X 1001) syllables.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/Layer.h"

class CDisplay;

class CTextLayer : public CLayer {
public:
    // Font files: initial consonants (8 sets x 20), medial vowels (4 x 22)
    // and final consonants (4 x 28), 32 bytes a glyph; glyph 0 of every set
    // is empty. Then 256 single-byte glyphs of 16 bytes.
    static constexpr int kGlyphBytes = 32;
    static constexpr int kInitialOffset = 0;
    static constexpr int kMedialOffset = 5120;
    static constexpr int kFinalOffset = 7936;
    static constexpr int kInitialGlyphs = 20;
    static constexpr int kMedialGlyphs = 22;
    static constexpr int kFinalGlyphs = 28;
    static constexpr int kHangulFontSize = 11520;
    static constexpr int kEnglishFontSize = 4096;

    static constexpr uint8_t kTransparent = 255;
    static constexpr uint8_t kShadowColour = 114;
    static constexpr int kHangulAdvance = 12;  // 16-pixel cells overlap by 4
    static constexpr int kAsciiAdvance = 6;    // 8-pixel cells overlap by 2
    static constexpr int kLineHeight = 16;
    static constexpr int kTabColumn = 96;

    // The edit buffers the game hands out hold 255 bytes.
    static constexpr int kEditBufferSize = 255;

    explicit CTextLayer(CDisplay* display);

    // Reads both fonts from the archive: 1, or 0 after telling the player
    // that a font is missing or damaged (the caller then ends the game).
    int LoadFonts(const char* hangulFont, const char* englishFont);
    // The same from bytes in memory; false when one is too short.
    bool SetFontData(const uint8_t* hangul, size_t hangulSize, const uint8_t* english, size_t englishSize);

    // Background 255 is transparent.
    void SetColors(uint8_t text, uint8_t background);
    // Bit 0: drop shadow.
    void SetColor(uint32_t style);
    uint8_t GetTextColor() const { return m_textColor; }
    uint8_t GetBackColor() const { return m_backColor; }
    uint32_t GetStyle() const { return m_style; }

    // The surface text is drawn into (row length = width), clipped to all of it.
    void SetTarget(uint8_t* bits, int width, int height);
    // Inclusive clip inside the target.
    void SetClipRect(int left, int top, int right, int bottom);

    // CR moves down a line, LF back to the starting x (a line break is CR LF),
    // TAB to x = 96; a byte above 127 and the next one are one 12-pixel
    // character, any other byte a 6-pixel one. convert: the text is CP949.
    void DrawText(int x, int y, const char* text, int convert);
    void DrawTextColored(int x, int y, const char* text, uint8_t textColor, uint8_t backColor, int convert);
    void DrawHangul(int x, int y, uint8_t lead, uint8_t trail, int convert);
    void DrawAscii(int x, int y, uint8_t ch);

    // A KS X 1001 syllable (lead 0xB0..0xC8, trail 0xA1..0xFE) becomes its
    // Johab code in place; any other pair is left as it is.
    static void WansungToJohab(uint8_t& lead, uint8_t& trail);
    // The 16 rows (most significant bit leftmost) of a Johab syllable.
    void ComposeHangul(uint16_t johab, uint16_t rows[16]) const;

    // ---- the edit line ----------------------------------------------------

    // The buffer the line edits (null: none) and its size in bytes; the line
    // never writes past it and always leaves a NUL in it.
    void SetInputText(char* buffer, int capacity);
    template <size_t N>
    void SetInputText(char (&buffer)[N])
    {
        SetInputText(buffer, static_cast<int>(N));
    }
    // Starts the line at (x, y) for texts of up to maximum - 1 bytes, on an
    // empty buffer. Does nothing while the line is active.
    void BeginInput(int x, int y, int maximum);
    // The same, keeping the buffer's text.
    void BeginInputWithText(int x, int y, int maximum);
    int IsInputActive() const { return m_active ? 1 : 0; }
    void EndInputFocus();
    void ClearInput();
    void ResetInputState() { m_stateWord = 0; }
    // The Hangul/Latin toggle: takes effect at the next typed character.
    void RequestModeSwitch() { m_modeSwitchRequest = 1; }

    // The editing keys by scan code, from the view's key latch; each acts
    // once per press. 1 when the pressed key belongs to the edit line.
    int HandleEditKeys();
    // 1 while Tab is the pressed key.
    int HandleEditTab();
    // A typed character (WM_CHAR).
    void OnEditChar(uint32_t ch);

    void DrawEditLine();
    void DrawPasswordLine();

    // The object layer's test whether a form window has the text focus; the
    // line then leaves Tab and drawing its text to the form.
    void SetFormFieldCheck(bool (*check)()) { m_formFieldCheck = check; }

    // State, for the owners of the line and for tests.
    char* GetInputBuffer() const { return m_pBuffer; }
    int GetInputLength() const { return m_length; }
    int GetCursor() const { return m_cursor; }
    int GetMaxLength() const { return m_maxLength; }
    int GetComposeState() const { return m_composeState; }
    bool IsHangulMode() const { return m_hangulMode != 0; }
    bool IsInsertMode() const { return m_insertMode != 0; }
    uint32_t LastChar() const { return m_lastChar; }
    CDisplay* GetDisplay() const { return m_pDisplay; }

private:
    // The surface text goes into: the same target and clip the blit
    // module's surface context is given, kept here so that glyphs can be
    // copied straight from their bits.
    struct Target {
        uint8_t* base = nullptr;
        int width = 0;  // also the row length
        int height = 0;
        int clipLeft = 0;  // inclusive
        int clipTop = 0;
        int clipRight = -1;
        int clipBottom = -1;
    };

    // 16 rows of up to 16 pixels; width 8 or 16.
    void DrawGlyph(int x, int y, const uint16_t rows[16], int width, uint8_t text, uint8_t back);
    void FillRect(int x, int y, int w, int h, uint8_t colour);
    void DrawString(int x, int y, const char* text, uint8_t textColor, uint8_t backColor, int convert);
    void DrawCursor();
    bool FormFieldActive() const { return m_formFieldCheck && m_formFieldCheck(); }

    int CharWidthAt(int pos) const;
    int PrevCharStart(int pos) const;
    void ZeroAfterText();
    void Commit();
    bool OpenRoom(int n);
    bool InsertByte(uint8_t ch);
    void RemoveAt(int pos, int n);
    void Backspace();
    void Delete();
    void InsertTab();
    void DoEditKey(int index);
    void ComposeKey(char letter);
    bool StartSyllable(int initial, int medial, int final);
    uint16_t SyllableAtCursor() const;
    void SetSyllableAtCursor(uint16_t code);

    CDisplay* m_pDisplay;
    uint8_t m_textColor = 15;
    uint8_t m_backColor = kTransparent;
    uint32_t m_style = 1;
    Target m_target;

    std::array<uint8_t, kHangulFontSize> m_hangulFont{};
    std::array<uint8_t, kEnglishFontSize> m_englishFont{};

    // Edit line. While a buffer is set: 0 <= cursor <= length < capacity,
    // maxLength < capacity, buffer[length] == 0; typing never takes the
    // text past maxLength (a text handed in may already be longer).
    uint32_t m_composeState = 0;  // 0 none, 1 initial, 2 + vowel, 3 + final, 4 + compound final
    char* m_pBuffer = nullptr;
    int m_capacity = 0;
    int m_length = 0;
    int m_cursor = 0;
    int m_maxLength = 80;
    uint32_t m_stateWord = 0;
    uint32_t m_hangulMode = 1;
    uint32_t m_insertMode = 1;
    int m_x = 0;
    int m_y = 0;
    bool m_active = false;
    uint32_t m_blink = 0;
    uint32_t m_modeSwitchRequest = 0;
    uint32_t m_keyHold = 0;  // one bit per editing key while it stays down
    uint32_t m_lastChar = 0;
    bool (*m_formFieldCheck)() = nullptr;
};

extern CTextLayer* g_pTextLayer;
