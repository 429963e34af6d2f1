#include "effects/AbilityCaster.h"

#include "core/AnimSpriteSet.h"
#include "world/BGLayer.h"
#include "world/ObjLayer.h"

void CAbilityCaster::TileCentre(int tx, int ty, int& px, int& py)
{
    CBGLayer::TileToPixel(tx, ty, px, py);
    px += 32;
    py += 16;
}

void CAbilityCaster::MoveTo(CCreature& c, int x, int y, int px, int py)
{
    c.SetOnGrid(0);
    c.*(&CAbilityCaster::m_tileX) = x;
    c.*(&CAbilityCaster::m_tileY) = y;
    c.*(&CAbilityCaster::m_leavingX) = x;
    c.*(&CAbilityCaster::m_leavingY) = y;
    c.*(&CAbilityCaster::m_pixelX) = px;
    c.*(&CAbilityCaster::m_pixelY) = py;
    c.SetOnGrid(1);
}

int CAbilityCaster::AnimOf(const CCreature& c, int code)
{
    const CAnimSpriteSet* set = c.GetSpriteSet();
    if (!set)
        return -1;
    const int anim = set->GetAnimIndex(code);
    return anim >= 0 && set->GetAnimation(anim) ? anim : -1;
}

int CAbilityCaster::StepCount(const CCreature& c, int anim)
{
    const CAnimSpriteSet* set = c.GetSpriteSet();
    return set && anim >= 0 ? set->GetAnimLength(anim) : 0;
}

int CAbilityCaster::FramesPerStep(const CCreature& c, int anim)
{
    const CAnimSpriteSet* set = c.GetSpriteSet();
    return set && anim >= 0 ? set->GetAnimFlag(anim) : 0;
}

CRleImage* CAbilityCaster::StepFrame(const CCreature& c, int anim, int step)
{
    const CAnimSpriteSet* set = c.GetSpriteSet();
    const AnimStep* s = set && anim >= 0 && step >= 0 ? set->GetStep(anim, step) : nullptr;
    return s ? set->GetFrame(static_cast<int>(s->frame)) : nullptr;
}

bool CAbilityCaster::IsHitStep(const CCreature& c, int anim, int step)
{
    const CRleImage* frame = StepFrame(c, anim, step);
    const RleRect* r = frame ? frame->GetRect(0) : nullptr;
    return r && r->right > r->left && r->bottom > r->top;
}
