// Bounds-checked reading of little-endian (and big-endian) fields from a
// byte range. A read past the end fails, yields 0 and leaves the reader
// failed; callers check Ok() once after a group of reads.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

class CByteReader {
public:
    CByteReader(const void* data, size_t size)
        : m_data(static_cast<const uint8_t*>(data)), m_size(size) {}

    bool Ok() const { return m_ok; }
    size_t Pos() const { return m_pos; }
    size_t Size() const { return m_size; }
    size_t Remaining() const { return m_size - m_pos; }
    const uint8_t* Data() const { return m_data; }

    bool Seek(size_t pos)
    {
        if (pos > m_size)
            return Fail();
        m_pos = pos;
        return true;
    }
    bool Skip(size_t n)
    {
        if (n > Remaining())
            return Fail();
        m_pos += n;
        return true;
    }

    uint8_t U8()
    {
        if (Remaining() < 1) {
            Fail();
            return 0;
        }
        return m_data[m_pos++];
    }
    uint16_t U16()
    {
        if (Remaining() < 2) {
            Fail();
            return 0;
        }
        uint16_t v = static_cast<uint16_t>(m_data[m_pos] | (m_data[m_pos + 1] << 8));
        m_pos += 2;
        return v;
    }
    uint16_t U16BE()
    {
        if (Remaining() < 2) {
            Fail();
            return 0;
        }
        uint16_t v = static_cast<uint16_t>((m_data[m_pos] << 8) | m_data[m_pos + 1]);
        m_pos += 2;
        return v;
    }
    uint32_t U32()
    {
        if (Remaining() < 4) {
            Fail();
            return 0;
        }
        uint32_t v = static_cast<uint32_t>(m_data[m_pos]) | (static_cast<uint32_t>(m_data[m_pos + 1]) << 8) |
                     (static_cast<uint32_t>(m_data[m_pos + 2]) << 16) |
                     (static_cast<uint32_t>(m_data[m_pos + 3]) << 24);
        m_pos += 4;
        return v;
    }
    int16_t I16() { return static_cast<int16_t>(U16()); }
    int32_t I32() { return static_cast<int32_t>(U32()); }

    // Copies n bytes; on failure the destination is zero-filled.
    bool Bytes(void* dst, size_t n)
    {
        if (n > Remaining()) {
            std::memset(dst, 0, n);
            return Fail();
        }
        std::memcpy(dst, m_data + m_pos, n);
        m_pos += n;
        return true;
    }
    // A NUL-terminated text stored in a fixed field of n bytes; the text
    // stops at the first NUL or at the field's end.
    std::string FixedString(size_t n)
    {
        if (n > Remaining()) {
            Fail();
            return {};
        }
        const char* p = reinterpret_cast<const char*>(m_data + m_pos);
        size_t len = 0;
        while (len < n && p[len] != '\0')
            ++len;
        m_pos += n;
        return std::string(p, len);
    }

private:
    bool Fail()
    {
        m_ok = false;
        m_pos = m_size;
        return false;
    }

    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
    bool m_ok = true;
};
