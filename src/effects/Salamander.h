// The Salamander: a head, legs and six body segments that crawl after one
// another, each drawn from its body-part list centred on its position.
// Stage loading builds the parts once; a start lays them out behind the
// head, which crawls with a wiggle until the effect's time is up.
#pragma once
#include <array>

#include "core/LinkList.h"
#include "core/SlrList.h"
#include "effects/Effect.h"

// The global body-part lists: the head, the leg and the six body segments.
class CBodyPartLists {
public:
    enum List : int { head = 0, leg = 1, body1 = 2 };
    static constexpr int kLists = 8;

    // "data\Head.slr", "data\Leg.slr", "data\Body1.slr".."data\Body6.slr";
    // a list whose entry is missing stays empty. The number loaded.
    int Load();
    void Free();
    const CSlrList& Get(int i) const { return m_lists[static_cast<size_t>(i)]; }

private:
    std::array<CSlrList, kLists> m_lists;
};
extern CBodyPartLists g_bodyPartLists;

// One moving part: a position, a velocity, one of 16 directions and the
// frame (0..15) it draws from its list.
class CSalamanderPart : public CListItem {
public:
    int32_t list = 0;
    int32_t spacing = 0;  // kept from the part ahead; 0 rides on it
    int32_t x = 0, y = 0;
    int32_t vx = 0, vy = 0;
    int32_t direction = 0;
    int32_t frame = 0;
};

class CSalamander : public CEffect {
public:
    static constexpr int kLifeFrames = 150;
    static constexpr int kParts = 9;
    static constexpr int kStartDirection = 6;  // to the right of the screen

    CSalamander() { SetName("Salamander"); }
    // Builds the parts (stage loading); the effect is left idle.
    void BuildParts();
    void Init(CEffectManager* manager, int x, int y);
    void Draw(uint8_t* dst) override;
    // Part i from the head, or null.
    const CSalamanderPart* GetPart(int i);

private:
    CLinkList m_parts;
};
