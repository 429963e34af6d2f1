#include "core/MemStream.h"

#include <cstring>

void CMemStream::PutByte(uint8_t value)
{
    if (Left() >= 1)
        *m_pos++ = value;
}

void CMemStream::PutWord(uint16_t value)
{
    if (Left() < 2)
        return;
    m_pos[0] = static_cast<uint8_t>(value);
    m_pos[1] = static_cast<uint8_t>(value >> 8);
    m_pos += 2;
}

void CMemStream::PutBytes(const uint8_t* data, int32_t n)
{
    if (n <= 0)
        return;
    size_t count = static_cast<size_t>(n) < Left() ? static_cast<size_t>(n) : Left();
    std::memmove(m_pos, data, count);
    m_pos += count;
}

int CMemStream::GetByte()
{
    if (Left() < 1)
        return -1;
    return *m_pos++;
}

int CMemStream::GetWord()
{
    if (Left() < 2)
        return -1;
    int value = m_pos[0] | (m_pos[1] << 8);
    m_pos += 2;
    return value;
}

uint8_t* CMemStream::GetBytes(uint8_t* dest, int32_t n)
{
    if (n <= 0)
        return dest;
    size_t count = static_cast<size_t>(n) < Left() ? static_cast<size_t>(n) : Left();
    std::memmove(dest, m_pos, count);
    m_pos += count;
    return dest + count;
}
