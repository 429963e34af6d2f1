// The text of a fixed name slot of a file record: up to the first NUL or
// the slot's end (a full slot keeps no NUL).
#pragma once
#include <cstddef>
#include <string_view>

inline std::string_view SlotText(const char* p, size_t n)
{
    size_t len = 0;
    while (len < n && p[len] != '\0')
        ++len;
    return {p, len};
}
