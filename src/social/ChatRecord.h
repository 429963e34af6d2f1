// The fields of a received chat record, read bounded: u16 sender id, a
// 12-byte CP949 name, u8 mode, u16 text length, then the text.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/ByteReader.h"

struct SChatRecord {
    enum : uint8_t { kModeWhisper = 1, kModeGroup = 3 };

    uint16_t sender = 0;
    char name[13] = {};
    uint8_t mode = 0;
    // The text, at most what the packet holds, terminated.
    char text[256] = {};
    bool ok = false;

    SChatRecord(const uint8_t* record, size_t size)
    {
        CByteReader r(record, record ? size : 0);
        sender = r.U16();
        r.Bytes(name, 12);
        mode = r.U8();
        const size_t length = std::min<size_t>(r.U16(), r.Remaining());
        ok = r.Ok();
        if (ok)
            r.Bytes(text, std::min(length, sizeof text - 1));
    }
    bool TextEmpty() const { return text[0] == '\0'; }
    // The text's first word (up to its first blank) is word.
    bool FirstWordIs(const char* word) const
    {
        const size_t n = std::strcspn(text, " ");
        return n == std::strlen(word) && std::memcmp(text, word, n) == 0;
    }
};
