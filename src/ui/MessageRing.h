// The on-screen system messages at the bottom left of the field. Minimal
// form: the ring of lines; drawing comes with the widgets.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

class CMessageRing {
public:
    static constexpr int kMaxSlots = 30;
    static constexpr int kTextSize = 128;
    // Bytes a formatted line may take (with its NUL).
    static constexpr int kFormatSize = 80;

    struct Line {
        int32_t colour = 0;
        uint32_t unused = 0;
        char text[kTextSize] = {};
        int32_t age = 0;
    };

    // capacity is limited to 30 slots; the ring holds capacity - 1 lines.
    CMessageRing(int x, int y, int colour, int showFrames, int capacity);

    void Clear() { m_head = m_tail = 0; }
    // Appends a line (cut to 127 bytes); a full ring drops its oldest.
    void AddLine(const char* text);
    // Formats into the shared 80-byte buffer, then AddLine; gives the ring.
    static CMessageRing* AddLineF(CMessageRing* ring, const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    void Draw(uint8_t* /*surface*/) {}

    // Lines from the newest (n = 0); null past the oldest.
    const Line* GetLine(int n) const;
    int GetLineCount() const;
    void SetColour(int colour) { m_colour = colour; }
    // Where the newest line is drawn, and the drawn frames a line stays.
    int GetX() const { return m_x; }
    int GetY() const { return m_y; }
    int GetShowFrames() const { return m_showFrames; }

private:
    int32_t m_x;
    int32_t m_y;
    int32_t m_defaultColour;
    int32_t m_colour;
    int32_t m_showFrames;
    int32_t m_capacity;
    int32_t m_head = 0;
    int32_t m_tail = 0;
    std::array<Line, kMaxSlots> m_lines{};
};

// Newest line at (50, 380), colour 15, 300 drawn frames, 8 slots.
extern CMessageRing g_messageRing;
