// Up to 100 texts at screen positions (names and values over characters),
// filled while the object layer draws a frame and drawn and cleared by it.
#pragma once
#include <array>
#include <cstdint>

class CFloatTextList {
public:
    static constexpr int kMaxEntries = 100;
    static constexpr int kTextSize = 132;
    static constexpr int kFormatSize = 80;

    struct Entry {
        int32_t x = 0;
        int32_t y = 0;
        char text[kTextSize] = {};
    };

    void Clear() { m_count = 0; }
    // Stores a copy (cut to 131 bytes on a character boundary) unless 100
    // entries are held.
    void Add(int x, int y, const char* text);
    void AddF(int x, int y, const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 4, 5)))
#endif
        ;
    // As Add with x moved left by half the text's width (6 pixels a byte).
    void AddCentered(int x, int y, const char* text);
    // Formats into an 80-byte buffer first.
    void AddCenteredF(int x, int y, const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 4, 5)))
#endif
        ;
    // The entries in the order added; Next gives null after the last.
    const Entry* First();
    const Entry* Next();
    int GetCount() const { return m_count; }

private:
    int32_t m_count = 0;
    int32_t m_cursor = 0;
    std::array<Entry, kMaxEntries> m_entries{};
};

extern CFloatTextList g_floatTexts;
