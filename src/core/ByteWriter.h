// Little-endian (and big-endian) field writing into a growing buffer, the
// counterpart of CByteReader. Packets and files are built field by field.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

class CByteWriter {
public:
    CByteWriter() = default;
    explicit CByteWriter(size_t reserve) { m_buf.reserve(reserve); }

    CByteWriter& U8(uint32_t v)
    {
        m_buf.push_back(static_cast<uint8_t>(v));
        return *this;
    }
    CByteWriter& U16(uint32_t v)
    {
        m_buf.push_back(static_cast<uint8_t>(v));
        m_buf.push_back(static_cast<uint8_t>(v >> 8));
        return *this;
    }
    CByteWriter& U16BE(uint32_t v)
    {
        m_buf.push_back(static_cast<uint8_t>(v >> 8));
        m_buf.push_back(static_cast<uint8_t>(v));
        return *this;
    }
    CByteWriter& U32(uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            m_buf.push_back(static_cast<uint8_t>(v >> (8 * i)));
        return *this;
    }
    CByteWriter& Bytes(const void* data, size_t n)
    {
        const auto* p = static_cast<const uint8_t*>(data);
        m_buf.insert(m_buf.end(), p, p + n);
        return *this;
    }
    // The text in a field of n bytes: cut to fit, NUL-padded (a text of n
    // or more bytes keeps n - 1 and the terminator).
    CByteWriter& FixedString(std::string_view text, size_t n)
    {
        if (n == 0)
            return *this;
        size_t len = text.size() < n ? text.size() : n - 1;
        Bytes(text.data(), len);
        m_buf.insert(m_buf.end(), n - len, 0);
        return *this;
    }
    CByteWriter& Zeros(size_t n)
    {
        m_buf.insert(m_buf.end(), n, 0);
        return *this;
    }
    // Overwrites a u32 already written at pos.
    void PatchU32(size_t pos, uint32_t v)
    {
        if (pos + 4 > m_buf.size())
            return;
        for (int i = 0; i < 4; ++i)
            m_buf[pos + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
    }

    const std::vector<uint8_t>& Buffer() const { return m_buf; }
    std::vector<uint8_t>& Buffer() { return m_buf; }
    const uint8_t* Data() const { return m_buf.data(); }
    size_t Size() const { return m_buf.size(); }
    int SizeInt() const { return static_cast<int>(m_buf.size()); }

private:
    std::vector<uint8_t> m_buf;
};
