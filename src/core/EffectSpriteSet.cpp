#include "core/EffectSpriteSet.h"

#include "core/ByteReader.h"

namespace {
// Two frame records with empty frames.
constexpr size_t kMinFramePair = 2 * (CFrameImage::kRecordHead + kRleHeader);
}  // namespace

int CEffectSpriteSet::Read(CByteReader& r)
{
    Reset();
    uint32_t count = 0;
    if (!ReadNameAndCount(r, count, kMinFramePair))
        return Fail();
    m_frames.reserve(count);
    m_second.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        auto image = std::make_unique<CFrameImage>();
        auto second = std::make_unique<CFrameShadowImage>();
        if (image->Read(r) != 0 || second->Read(r) != 0)
            return Fail();
        m_frames.push_back(std::move(image));
        m_second.push_back(std::move(second));
    }
    if (!ReadAnimations(r, false))
        return Fail();
    return 0;
}

void CEffectSpriteSet::FreeFrames()
{
    CAnimSpriteSet::FreeFrames();
    m_second.clear();
    m_second.shrink_to_fit();
}

CFrameShadowImage* CEffectSpriteSet::GetSecondFrame(int i) const
{
    if (i < 0 || static_cast<size_t>(i) >= m_second.size())
        return nullptr;
    return m_second[static_cast<size_t>(i)].get();
}

void CEffectSpriteSet::Reset()
{
    CAnimSpriteSet::Reset();
    m_second.clear();
}
