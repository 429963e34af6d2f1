// A named list of owned frames: the base of every sprite set.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/RleImage.h"

class CByteReader;
class CRFile;

class CSpriteSet {
public:
    enum Kind : uint32_t { kindTile = 0, kindAnim = 1, kindItem = 2, kindComposite = 3 };

    explicit CSpriteSet(uint32_t kind = kindTile) : m_kind(kind) {}
    virtual ~CSpriteSet() = default;
    CSpriteSet(const CSpriteSet&) = delete;
    CSpriteSet& operator=(const CSpriteSet&) = delete;

    // Reads the set from r at its position; 0, or -1 when the bytes are short
    // or damaged. A failed read leaves the set empty.
    virtual int Read(CByteReader& r) = 0;
    // Reads the set from the cursor of an open entry, which is left after
    // the set on success; 0 or -1.
    int Read(CRFile& file);
    // Reads the set from a whole archive entry; 0 or -1.
    virtual int Load(const char* name);
    // Deletes the frames.
    virtual void FreeFrames();
    virtual int GetAnimLength(int i) const;
    virtual int GetAnimFlag(int i) const;
    virtual void SetAnimation(const char (*names)[32], int n);
    virtual int FindAnimation(const char* name) const;
    virtual int GetAnimIndex(int k) const;

    // Frame i, or null when i is outside 0..count-1.
    CRleImage* GetFrame(int i) const;
    int GetFrameCount() const { return static_cast<int>(m_frames.size()); }
    uint32_t GetKind() const { return m_kind; }
    // The name, up to its NUL or the 32-byte slot's end.
    std::string GetName() const;

protected:
    // Frees everything the set holds (frames and tables).
    virtual void Reset() { FreeFrames(); }
    // The name and the frame count, checked against what the frames need
    // at least; false when short or impossible.
    bool ReadNameAndCount(CByteReader& r, uint32_t& count, size_t minFrame);
    // Reads count frames of type T after the count was checked.
    template <class T>
    bool ReadFrames(CByteReader& r, uint32_t count)
    {
        m_frames.reserve(count);
        for (uint32_t i = 0; i < count; ++i) {
            auto frame = std::make_unique<T>();
            if (frame->Read(r) != 0)
                return false;
            m_frames.push_back(std::move(frame));
        }
        return true;
    }
    // Reset and -1: how every reader fails.
    int Fail();
    // Reads the set from a whole archive entry after `header` bytes of file
    // header; 0 or -1.
    int LoadEntry(const char* name, size_t header);

    char m_name[32] = {};
    uint32_t m_kind;
    std::vector<std::unique_ptr<CRleImage>> m_frames;
};

// The middle class of the sets that carry animations.
class CSpriteSetEx : public CSpriteSet {
public:
    using CSpriteSet::CSpriteSet;
};
