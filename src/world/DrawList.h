// The depth-sorted list through which the field's objects are drawn: every
// frame it is emptied, the objects add their frames, it is sorted and drawn
// from the first key to the last (later keys appear in front).
//
// Sort key = (sort y << 19) + (sort x << 6) + sort z in 32-bit arithmetic
// from the signed 16-bit sort position, compared as a signed value, so an
// object partly above the view keeps its place behind the others.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

class CObj;
class CRleImage;

struct DrawEntry {
    uint16_t x = 0;  // draw position
    uint16_t y = 0;
    uint16_t z = 0;
    int16_t sortX = 0;
    int16_t sortY = 0;
    int16_t sortZ = 0;
    CRleImage* image = nullptr;  // never null in a held entry
    uint8_t mode = 0;
    uint32_t param = 0;
    CObj* owner = nullptr;
};

struct DrawKey {
    int32_t key = 0;
    uint32_t index = 0;  // the entry, in the order added
};

class CDrawList {
public:
    static constexpr int kCapacity = 512;
    // At most this many are held: an add that would fill the last slot is
    // refused.
    static constexpr int kMaxEntries = kCapacity - 1;

    static int32_t SortKey(int sortX, int sortY, int sortZ);

    void Clear() { m_count = 0; }
    // 0, or -1 when the list is full or the image is null.
    int Add(CObj* owner, int x, int y, int z, int sortX, int sortY, int sortZ, CRleImage* image, int mode,
            uint32_t param);
    // Keys ascending; equal keys put the later-added first (what the
    // original exchange sort gives).
    void Sort();

    int GetCount() const { return m_count; }
    const DrawKey& GetKey(int i) const { return m_keys[static_cast<size_t>(i)]; }
    // The entry the i-th key names.
    const DrawEntry& GetSorted(int i) const { return m_entries[m_keys[static_cast<size_t>(i)].index]; }
    const DrawEntry& GetEntry(int index) const { return m_entries[static_cast<size_t>(index)]; }

    // The exchange sort as the original did it (swap whenever key[j] <=
    // key[i]); the reference Sort must agree with.
    static void ExchangeSort(DrawKey* keys, int n);

private:
    std::array<DrawKey, kCapacity> m_keys{};
    std::array<DrawEntry, kCapacity> m_entries{};
    int32_t m_count = 0;
};
