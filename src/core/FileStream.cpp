#include "core/FileStream.h"

CFileStream::CFileStream(const char* path, const char* mode)
    : m_file(path && mode ? std::fopen(path, mode) : nullptr)
{
}

CFileStream::~CFileStream()
{
    if (m_file)
        std::fclose(m_file);
}

void CFileStream::PutByte(uint8_t value)
{
    if (m_file)
        std::fputc(value, m_file);
}

void CFileStream::PutWord(uint16_t value)
{
    PutByte(static_cast<uint8_t>(value >> 8));
    PutByte(static_cast<uint8_t>(value));
}

void CFileStream::PutBytes(const uint8_t* data, int32_t n)
{
    for (int32_t i = 0; i < n; ++i)
        PutByte(data[i]);
}

int CFileStream::GetByte()
{
    if (!m_file)
        return -1;
    int c = std::fgetc(m_file);
    return c == EOF ? -1 : c;
}

uint8_t* CFileStream::GetBytes(uint8_t* dest, int32_t n)
{
    for (int32_t i = 0; i < n; ++i) {
        int c = GetByte();
        if (c < 0)
            break;
        *dest++ = static_cast<uint8_t>(c);
    }
    return dest;
}
