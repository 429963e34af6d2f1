#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/Blit.h"
#include "core/SlrList.h"
#include "fixtures/SpriteSeeds.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    CSpriteSeeds::WriteSeedDir(SpriteFormat::Slr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static std::vector<uint8_t> screen(kScreenWidth * kScreenHeight);
    static std::vector<uint8_t> table(256 * 256);
    const BlitTarget target = ScreenTarget(screen.data());
    SetSpriteClipRect(0, 0, kScreenWidth, kScreenHeight);

    CSlrList one;
    if (size > 52 && one.CreateFromBuffer(data + 52, size - 52) == 0) {
        one.Draw(0, 795, 595, target);
        one.Decode();
        one.Draw(0, -3, -3, target);
    }

    CSlrList list;
    if (list.LoadFromMemory(data, size) != 0)
        return 0;
    const int n = list.GetFrameCount();
    for (int i = -1; i <= n; ++i) {
        list.Draw(i, 790, 590, target);
        list.Draw(i, -5, -5, target, 1);
        list.DrawEx(i, 400, 300, target, table.data());
        list.HitTest(i, 3, 3);
        list.GetAnchor(i, 3);
        RlePoint p;
        list.CheckFrame(i, &p);
    }
    CSlrList copy(list);
    list.ResetRects();
    list.Decode();
    for (int i = 0; i < n; ++i)
        list.Draw(i, 797, 597, target);
    CSlrList crop;
    crop.CreateCropped(list, -2, 1, 13, 7);
    crop.Draw(0, 0, 0, target);
    copy.CopyFrom(list);
    CSlrList fresh;
    fresh.CopyFrom(list);
    return 0;
}
