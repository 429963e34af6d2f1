#include "core/SpriteEntry.h"

#include "core/ResFile.h"

bool ReadSpriteEntry(const char* name, std::vector<uint8_t>& out)
{
    out.clear();
    if (name == nullptr)
        return false;
    try {
        CRFile file(name, CRFile::modeReadWrite);
        long start = 0;
        return ReadSpriteRest(file, out, start);
    } catch (const CRFileException&) {
        return false;
    }
}

bool ReadSpriteRest(CRFile& file, std::vector<uint8_t>& out, long& start)
{
    out.clear();
    const int h = file.GetHandle();
    const long size = file.GetSize();
    start = ResTell(h);
    if (size < 0 || start < 0 || start > size)
        return false;
    out.resize(static_cast<size_t>(size - start));
    if (out.empty())
        return true;
    const uint32_t n = file.Read(out.data(), static_cast<uint32_t>(out.size()));
    if (n != out.size()) {
        out.clear();
        return false;
    }
    return true;
}
