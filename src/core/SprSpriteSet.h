// A composite set (.spr): frames of CFrameImage and sequence groups; a group
// is a list of entries, an entry a list of parts, each part one frame drawn
// at an offset.
#pragma once
#include <vector>

#include "core/SpriteSet.h"

struct SprPart {
    uint32_t frame = 0;
    int32_t a = 0;
    int32_t b = 0;
};

struct SprEntry {
    char name[32] = {};
    std::vector<SprPart> parts;
};

struct SprSequence {
    std::vector<SprEntry> entries;
};

class CSprSpriteSet : public CSpriteSetEx {
public:
    // The file header in front of the set, and the set's own header.
    static constexpr size_t kFileHeader = 20;
    static constexpr size_t kSetHeader = 40;
    static constexpr size_t kPartRecord = 12;

    CSprSpriteSet() : CSpriteSetEx(kindComposite) {}

    using CSpriteSet::Read;
    // The 40-byte set header (name, u8 value at 32, u32 frame count at 36),
    // the frames, u32 group count and the groups.
    int Read(CByteReader& r) override;
    // A whole .spr entry: the file header, then the set.
    int Load(const char* name) override;
    // Entry count of group g; 0 when g is out of range.
    int GetAnimLength(int g) const override;
    // Group g, or null.
    virtual const SprSequence* GetSequence(int g) const;

    int GetSequenceCount() const { return static_cast<int>(m_sequences.size()); }
    // Part p of entry e of group g, or null.
    const SprPart* GetPart(int g, int e, int p) const;
    uint8_t GetHeaderValue() const { return m_headerValue; }

protected:
    void Reset() override;

    std::vector<SprSequence> m_sequences;
    uint8_t m_headerValue = 0;
};
