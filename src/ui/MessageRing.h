// The on-screen system messages at the bottom left of the field: a ring of
// lines, the newest at (x, y) and older ones 16 pixels above each other. A
// line disappears once it has been drawn showFrames frames after the lines
// before it have gone; at most one leaves per frame.
#pragma once
#include <array>
#include <cstdint>

class CMessageRing {
public:
    static constexpr int kMaxSlots = 30;
    static constexpr int kMinSlots = 2;
    static constexpr int kTextSize = 128;
    // Bytes a formatted line may take (with its NUL).
    static constexpr int kFormatSize = 80;
    static constexpr int kLinePitch = 16;

    struct Line {
        int32_t colour = 0;
        uint32_t unused = 0;
        char text[kTextSize] = {};
        int32_t age = 0;
    };

    // The capacity is held to 2..30 slots; the ring holds capacity - 1 lines.
    CMessageRing(int x, int y, int colour, int showFrames, int capacity);

    void Clear() { m_head = m_tail = 0; }
    // Appends a line (cut to 127 bytes on a character boundary) in the
    // current colour, which then returns to the default; a full ring drops
    // its oldest line.
    void AddLine(const char* text);
    // Formats into an 80-byte buffer, then AddLine; gives the ring.
    static CMessageRing* AddLineF(CMessageRing* ring, const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    // Draws the lines with the text layer (when there is one) and ages them.
    void Draw(uint8_t* surface);

    // The newest line, then older ones; null after the oldest.
    Line* First();
    Line* Next();
    // Null when the ring is empty.
    Line* GetOldest();
    void DropOldest();

    // Lines from the newest (n = 0); null past the oldest.
    const Line* GetLine(int n) const;
    int GetLineCount() const;
    int GetCapacity() const { return m_capacity; }
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
    int32_t m_cursor = 0;
    int32_t m_head = 0;
    int32_t m_tail = 0;
    std::array<Line, kMaxSlots> m_lines{};
};

// Newest line at (50, 380), colour 15, 300 drawn frames, 8 slots.
extern CMessageRing g_messageRing;
// The global ring as the program starts (between tests).
void ResetMessageRing();
