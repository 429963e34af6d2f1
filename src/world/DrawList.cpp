#include "world/DrawList.h"

#include <algorithm>
#include <utility>

int32_t CDrawList::SortKey(int sortX, int sortY, int sortZ)
{
    // Sign-extended 16-bit inputs, wrapped 32-bit sum.
    const uint32_t y = static_cast<uint32_t>(static_cast<int32_t>(static_cast<int16_t>(sortY)));
    const uint32_t x = static_cast<uint32_t>(static_cast<int32_t>(static_cast<int16_t>(sortX)));
    const uint32_t z = static_cast<uint32_t>(static_cast<int32_t>(static_cast<int16_t>(sortZ)));
    return static_cast<int32_t>((y << 19) + (x << 6) + z);
}

int CDrawList::Add(CObj* owner, int x, int y, int z, int sortX, int sortY, int sortZ, CRleImage* image, int mode,
                   uint32_t param)
{
    if (m_count + 1 >= kCapacity || !image)
        return -1;
    const size_t i = static_cast<size_t>(m_count);
    DrawEntry& e = m_entries[i];
    e.x = static_cast<uint16_t>(x);
    e.y = static_cast<uint16_t>(y);
    e.z = static_cast<uint16_t>(z);
    e.sortX = static_cast<int16_t>(sortX);
    e.sortY = static_cast<int16_t>(sortY);
    e.sortZ = static_cast<int16_t>(sortZ);
    e.image = image;
    e.mode = static_cast<uint8_t>(mode);
    e.param = param;
    e.owner = owner;
    m_keys[i] = DrawKey{SortKey(sortX, sortY, sortZ), static_cast<uint32_t>(i)};
    ++m_count;
    return 0;
}

void CDrawList::Sort()
{
    std::sort(m_keys.begin(), m_keys.begin() + m_count, [](const DrawKey& a, const DrawKey& b) {
        return a.key != b.key ? a.key < b.key : a.index > b.index;
    });
}

void CDrawList::ExchangeSort(DrawKey* keys, int n)
{
    for (int i = 0; i + 1 < n; ++i)
        for (int j = i + 1; j < n; ++j)
            if (keys[j].key <= keys[i].key)
                std::swap(keys[i], keys[j]);
}
