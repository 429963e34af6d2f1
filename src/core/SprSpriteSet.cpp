#include "core/SprSpriteSet.h"

#include "core/ByteReader.h"
#include "core/FrameImage.h"
#include "core/SpriteEntry.h"

namespace {
constexpr size_t kMinFrame = CFrameImage::kRecordHead + kRleHeader;
// name and part count of an entry with no parts.
constexpr size_t kMinEntry = 32 + 4;
}  // namespace

int CSprSpriteSet::Read(CByteReader& r)
{
    Reset();
    r.Bytes(m_name, sizeof(m_name));
    m_headerValue = r.U8();
    r.Skip(3);
    const uint32_t count = r.U32();
    if (!SpriteCountFits(r, count, kMinFrame) || !ReadFrames<CFrameImage>(r, count))
        return Fail();
    const uint32_t groups = r.U32();
    if (!SpriteCountFits(r, groups, 4))
        return Fail();
    m_sequences.resize(groups);
    for (SprSequence& seq : m_sequences) {
        const uint32_t entries = r.U32();
        if (!SpriteCountFits(r, entries, kMinEntry))
            return Fail();
        seq.entries.resize(entries);
        for (SprEntry& entry : seq.entries) {
            r.Bytes(entry.name, sizeof(entry.name));
            const uint32_t parts = r.U32();
            if (!SpriteCountFits(r, parts, kPartRecord))
                return Fail();
            entry.parts.resize(parts);
            for (SprPart& part : entry.parts) {
                part.a = r.I32();
                part.b = r.I32();
                part.frame = r.U32();
            }
        }
    }
    if (!r.Ok())
        return Fail();
    return 0;
}

int CSprSpriteSet::Load(const char* name)
{
    return LoadEntry(name, kFileHeader);
}

int CSprSpriteSet::GetAnimLength(int g) const
{
    const SprSequence* seq = GetSequence(g);
    return seq != nullptr ? static_cast<int>(seq->entries.size()) : 0;
}

const SprSequence* CSprSpriteSet::GetSequence(int g) const
{
    if (g < 0 || static_cast<size_t>(g) >= m_sequences.size())
        return nullptr;
    return &m_sequences[static_cast<size_t>(g)];
}

const SprPart* CSprSpriteSet::GetPart(int g, int e, int p) const
{
    const SprSequence* seq = GetSequence(g);
    if (seq == nullptr || e < 0 || static_cast<size_t>(e) >= seq->entries.size())
        return nullptr;
    const SprEntry& entry = seq->entries[static_cast<size_t>(e)];
    if (p < 0 || static_cast<size_t>(p) >= entry.parts.size())
        return nullptr;
    return &entry.parts[static_cast<size_t>(p)];
}

void CSprSpriteSet::Reset()
{
    CSpriteSetEx::Reset();
    m_sequences.clear();
    m_sequences.shrink_to_fit();
    m_headerValue = 0;
}
