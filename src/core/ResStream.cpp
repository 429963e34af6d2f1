#include "core/ResStream.h"

#include "core/ResFile.h"

CResStream::CResStream(const char* name) : m_handle(ResOpen(name))
{
}

CResStream::~CResStream()
{
    if (m_handle != -1)
        ResClose(m_handle);
}

int CResStream::GetByte()
{
    uint8_t b = 0;
    if (ResRead(&b, 1, 1, m_handle) != 1)
        return -1;
    return b;
}

uint8_t* CResStream::GetBytes(uint8_t* dest, int32_t n)
{
    if (n <= 0)
        return dest;
    return dest + ResRead(dest, 1, static_cast<size_t>(n), m_handle);
}
