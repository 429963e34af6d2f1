// Copies of game text into fixed buffers, cut so that a double-byte
// character (a lead byte of 128 or more and the byte after it) is never
// split: the widgets' lines, the message ring and the floating texts.
#pragma once
#include <cstdarg>
#include <cstddef>

// Width in bytes of the character at text[0]: 2 for a lead byte that is
// followed by a byte, 1 otherwise (0 at the NUL).
size_t CharWidth(const char* text);
// The longest prefix of text of at most limit bytes that ends on a character
// boundary, in bytes; it stops at the text's NUL.
size_t CutLength(const char* text, size_t limit);
// Copies at most size - 1 bytes of src so cut, always terminated; the length.
size_t CopyTextCut(char* dst, size_t size, const char* src);
// vsnprintf into dst (size bytes), then cut back to a character boundary.
size_t FormatTextCut(char* dst, size_t size, const char* format, va_list args)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 0)))
#endif
    ;
size_t FormatTextCutF(char* dst, size_t size, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;
