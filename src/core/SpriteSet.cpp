#include "core/SpriteSet.h"

#include <cstring>

#include "core/ByteReader.h"
#include "core/ResFile.h"
#include "core/SpriteEntry.h"

int CSpriteSet::Read(CRFile& file)
{
    std::vector<uint8_t> bytes;
    long start = 0;
    if (!ReadSpriteRest(file, bytes, start))
        return Fail();
    CByteReader r(bytes.data(), bytes.size());
    if (Read(r) != 0)
        return -1;
    file.Seek(start + static_cast<long>(r.Pos()), 0);
    return 0;
}

int CSpriteSet::Load(const char* name)
{
    return LoadEntry(name, 0);
}

int CSpriteSet::LoadEntry(const char* name, size_t header)
{
    std::vector<uint8_t> bytes;
    if (!ReadSpriteEntry(name, bytes))
        return Fail();
    CByteReader r(bytes.data(), bytes.size());
    if (!r.Skip(header))
        return Fail();
    return Read(r);
}

void CSpriteSet::FreeFrames()
{
    m_frames.clear();
    m_frames.shrink_to_fit();
}

int CSpriteSet::GetAnimLength(int) const
{
    return 0;
}

int CSpriteSet::GetAnimFlag(int) const
{
    return 0;
}

void CSpriteSet::SetAnimation(const char (*)[32], int)
{
}

int CSpriteSet::FindAnimation(const char*) const
{
    return -1;
}

int CSpriteSet::GetAnimIndex(int) const
{
    return 0;
}

CRleImage* CSpriteSet::GetFrame(int i) const
{
    if (i < 0 || static_cast<size_t>(i) >= m_frames.size())
        return nullptr;
    return m_frames[static_cast<size_t>(i)].get();
}

std::string CSpriteSet::GetName() const
{
    size_t len = 0;
    while (len < sizeof(m_name) && m_name[len] != '\0')
        ++len;
    return std::string(m_name, len);
}

bool CSpriteSet::ReadNameAndCount(CByteReader& r, uint32_t& count, size_t minFrame)
{
    r.Bytes(m_name, sizeof(m_name));
    count = r.U32();
    return r.Ok() && SpriteCountFits(r, count, minFrame);
}

int CSpriteSet::Fail()
{
    Reset();
    std::memset(m_name, 0, sizeof(m_name));
    return -1;
}
