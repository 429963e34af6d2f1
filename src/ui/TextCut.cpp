#include "ui/TextCut.h"

#include <cstdio>
#include <cstring>

size_t CharWidth(const char* text)
{
    if (text[0] == '\0')
        return 0;
    return static_cast<unsigned char>(text[0]) >= 0x80 && text[1] != '\0' ? 2 : 1;
}

size_t CutLength(const char* text, size_t limit)
{
    size_t n = 0;
    for (;;) {
        const size_t w = CharWidth(text + n);
        if (w == 0 || n + w > limit)
            return n;
        n += w;
    }
}

size_t CopyTextCut(char* dst, size_t size, const char* src)
{
    if (!dst || size == 0)
        return 0;
    const size_t n = src ? CutLength(src, size - 1) : 0;
    if (n)
        std::memmove(dst, src, n);
    dst[n] = '\0';
    return n;
}

size_t FormatTextCut(char* dst, size_t size, const char* format, va_list args)
{
    if (!dst || size == 0)
        return 0;
    dst[0] = '\0';
    if (!format)
        return 0;
    const int full = std::vsnprintf(dst, size, format, args);
    size_t n = CutLength(dst, size - 1);
    // A cut text may end in the lead byte of a character whose second byte
    // was cut off.
    if (full >= 0 && static_cast<size_t>(full) >= size && n > 0 && static_cast<unsigned char>(dst[n - 1]) >= 0x80) {
        size_t last = 0;
        for (size_t i = 0; i < n; i += CharWidth(dst + i))
            last = i;
        if (last == n - 1)
            --n;
    }
    dst[n] = '\0';
    return n;
}

size_t FormatTextCutF(char* dst, size_t size, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const size_t n = FormatTextCut(dst, size, format, args);
    va_end(args);
    return n;
}
