#include "core/RleImage.h"

#include "core/ByteReader.h"
#include "core/SpriteEntry.h"

void CRleImage::Draw(int x, int y, const BlitTarget& target)
{
    if (!m_data.empty())
        BlitRle(x, y, m_data.data(), m_data.size(), target);
}

void CRleImage::DrawRemap(int x, int y, const BlitTarget& target, const uint8_t* table)
{
    if (!m_data.empty() && table != nullptr)
        BlitRleRemap(x, y, m_data.data(), m_data.size(), target, table);
}

void CRleImage::DrawBlend(int x, int y, const BlitTarget& target, const uint8_t* table)
{
    if (!m_data.empty() && table != nullptr)
        BlitRleBlend(x, y, m_data.data(), m_data.size(), target, table);
}

void CRleImage::DrawStipple(int x, int y, const BlitTarget& target, uint32_t phase)
{
    if (!m_data.empty())
        BlitRleStipple(x, y, m_data.data(), m_data.size(), target, phase);
}

void CRleImage::DrawChecker(int x, int y, const BlitTarget& target, uint32_t phase)
{
    if (!m_data.empty())
        BlitRleChecker(x, y, m_data.data(), m_data.size(), target, phase);
}

int CRleImage::Read(CByteReader&)
{
    return 0;
}

const RleRect* CRleImage::GetRect(int) const
{
    return nullptr;
}

const RlePoint* CRleImage::GetPoint(int) const
{
    return nullptr;
}

int CRleImage::Load(const char* name)
{
    std::vector<uint8_t> bytes;
    if (!ReadSpriteEntry(name, bytes))
        return -1;
    CByteReader r(bytes.data(), bytes.size());
    return Read(r);
}

bool CRleImage::ReadData(CByteReader& r, uint32_t size, int pixelBytes)
{
    return RleReadFrame(r, size, pixelBytes, m_data);
}
