// An animated sprite set: frames of CFrameImage and a table of named
// animations ("WALK_0"), each a list of steps.
#pragma once
#include <vector>

#include "core/SpriteSet.h"

struct AnimStep {
    uint32_t frame = 0;
    int32_t a = 0;
    int32_t b = 0;
    // A sound played when the step is reached; empty for none.
    char name[32] = {};
};

struct Animation {
    char name[32] = {};
    uint8_t flag = 0;
    std::vector<AnimStep> steps;
};

class CAnimSpriteSet : public CSpriteSetEx {
public:
    // Bytes of a step record in a file.
    static constexpr size_t kStepRecord = 44;
    // Where the stand-alone file's set starts, and what it skips after the
    // frame count and after the frames.
    static constexpr size_t kFileStart = 8;
    static constexpr size_t kFileGapAfterCount = 8;
    static constexpr size_t kFileGapAfterFrames = 36;

    CAnimSpriteSet() : CSpriteSetEx(kindAnim) {}

    using CSpriteSet::Read;
    // name (32), u32 frame count, frames, u32 animation count, animations.
    int Read(CByteReader& r) override;
    // A stand-alone animated set file.
    int Load(const char* name) override;
    // Step count of animation i; 0 when i is out of range.
    int GetAnimLength(int i) const override;
    // Flag byte of animation i; 0 when i is out of range.
    int GetAnimFlag(int i) const override;
    // Selected table entry k := FindAnimation(names[k]); a later call
    // replaces the table.
    void SetAnimation(const char (*names)[32], int n) override;
    // The first animation with that name, compared case-insensitively; -1.
    int FindAnimation(const char* name) const override;
    // Entry k of the selected table (-1 where the name was not found); 0
    // when k is beyond the table.
    int GetAnimIndex(int k) const override;

    int GetAnimCount() const { return static_cast<int>(m_anims.size()); }
    // Animation i, or null.
    const Animation* GetAnimation(int i) const;
    // Step s of animation i, or null.
    const AnimStep* GetStep(int i, int s) const;

protected:
    void Reset() override;
    // The animation count and records; withFlag: the flag byte follows the
    // name.
    bool ReadAnimations(CByteReader& r, bool withFlag);
    int ReadSet(CByteReader& r, size_t gapAfterCount, size_t gapAfterFrames);

    std::vector<Animation> m_anims;
    std::vector<int32_t> m_selected;
};
