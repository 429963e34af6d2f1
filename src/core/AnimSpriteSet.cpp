#include "core/AnimSpriteSet.h"

#include "core/ByteReader.h"
#include "core/FrameImage.h"
#include "core/SpriteEntry.h"

namespace {
constexpr size_t kMinFrame = CFrameImage::kRecordHead + kRleHeader;
}  // namespace

int CAnimSpriteSet::Read(CByteReader& r)
{
    return ReadSet(r, 0, 0);
}

int CAnimSpriteSet::Load(const char* name)
{
    std::vector<uint8_t> bytes;
    if (!ReadSpriteEntry(name, bytes))
        return Fail();
    CByteReader r(bytes.data(), bytes.size());
    if (!r.Seek(kFileStart))
        return Fail();
    return ReadSet(r, kFileGapAfterCount, kFileGapAfterFrames);
}

int CAnimSpriteSet::ReadSet(CByteReader& r, size_t gapAfterCount, size_t gapAfterFrames)
{
    Reset();
    r.Bytes(m_name, sizeof(m_name));
    const uint32_t count = r.U32();
    r.Skip(gapAfterCount);
    if (!SpriteCountFits(r, count, kMinFrame) || !ReadFrames<CFrameImage>(r, count))
        return Fail();
    r.Skip(gapAfterFrames);
    if (!ReadAnimations(r, true))
        return Fail();
    return 0;
}

bool CAnimSpriteSet::ReadAnimations(CByteReader& r, bool withFlag)
{
    const uint32_t count = r.U32();
    const size_t minAnim = sizeof(Animation::name) + (withFlag ? 1 : 0) + 4;
    if (!SpriteCountFits(r, count, minAnim))
        return false;
    m_anims.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        Animation anim;
        r.Bytes(anim.name, sizeof(anim.name));
        anim.flag = withFlag ? r.U8() : 0;
        const uint32_t steps = r.U32();
        if (!SpriteCountFits(r, steps, kStepRecord))
            return false;
        anim.steps.resize(steps);
        for (AnimStep& step : anim.steps) {
            step.a = r.I32();
            step.b = r.I32();
            step.frame = r.U32();
            r.Bytes(step.name, sizeof(step.name));
        }
        if (!r.Ok())
            return false;
        m_anims.push_back(std::move(anim));
    }
    return true;
}

void CAnimSpriteSet::Reset()
{
    CSpriteSetEx::Reset();
    m_anims.clear();
    m_anims.shrink_to_fit();
    m_selected.clear();
}

int CAnimSpriteSet::GetAnimLength(int i) const
{
    const Animation* anim = GetAnimation(i);
    return anim != nullptr ? static_cast<int>(anim->steps.size()) : 0;
}

int CAnimSpriteSet::GetAnimFlag(int i) const
{
    const Animation* anim = GetAnimation(i);
    return anim != nullptr ? anim->flag : 0;
}

void CAnimSpriteSet::SetAnimation(const char (*names)[32], int n)
{
    m_selected.clear();
    if (names == nullptr || n <= 0)
        return;
    m_selected.reserve(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) {
        // The caller's slot need not end in a NUL: compare a terminated copy.
        char name[33] = {};
        for (size_t c = 0; c < 32; ++c)
            name[c] = names[k][c];
        m_selected.push_back(FindAnimation(name));
    }
}

int CAnimSpriteSet::FindAnimation(const char* name) const
{
    if (name == nullptr)
        return -1;
    for (size_t i = 0; i < m_anims.size(); ++i) {
        if (SpriteNameEquals(m_anims[i].name, name))
            return static_cast<int>(i);
    }
    return -1;
}

int CAnimSpriteSet::GetAnimIndex(int k) const
{
    if (k < 0 || static_cast<size_t>(k) >= m_selected.size())
        return 0;
    return m_selected[static_cast<size_t>(k)];
}

const Animation* CAnimSpriteSet::GetAnimation(int i) const
{
    if (i < 0 || static_cast<size_t>(i) >= m_anims.size())
        return nullptr;
    return &m_anims[static_cast<size_t>(i)];
}

const AnimStep* CAnimSpriteSet::GetStep(int i, int s) const
{
    const Animation* anim = GetAnimation(i);
    if (anim == nullptr || s < 0 || static_cast<size_t>(s) >= anim->steps.size())
        return nullptr;
    return &anim->steps[static_cast<size_t>(s)];
}
