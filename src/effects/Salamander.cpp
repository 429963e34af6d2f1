#include "effects/Salamander.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "core/ResFile.h"
#include "core/RleFrame.h"
#include "platform/Debug.h"
#include "world/TileGeometry.h"

CBodyPartLists g_bodyPartLists;

namespace {

constexpr const char* kListFiles[CBodyPartLists::kLists] = {
    "data\\Head.slr",  "data\\Leg.slr",   "data\\Body1.slr", "data\\Body2.slr",
    "data\\Body3.slr", "data\\Body4.slr", "data\\Body5.slr", "data\\Body6.slr"};

// From the head back: each part's list and its distance from the one ahead.
struct PartDef {
    int list;
    int spacing;
};
constexpr PartDef kPartDefs[CSalamander::kParts] = {
    {CBodyPartLists::head, 0},      {CBodyPartLists::body1, 12},    {CBodyPartLists::leg, 0},
    {CBodyPartLists::body1 + 1, 12}, {CBodyPartLists::body1 + 2, 12}, {CBodyPartLists::leg, 0},
    {CBodyPartLists::body1 + 3, 12}, {CBodyPartLists::body1 + 4, 12}, {CBodyPartLists::body1 + 5, 12}};

// The head's pixels per frame by 16-step direction (2 up, 6 right, 10
// down, 14 left, as GetDirection16 counts them).
constexpr int kCrawl[16][2] = {{-3, -3}, {-2, -4}, {0, -4}, {2, -4}, {3, -3}, {4, -2}, {4, 0},  {4, 2},
                               {3, 3},   {2, 4},   {0, 4},  {-2, 4}, {-3, 3}, {-4, 2}, {-4, 0}, {-4, -2}};
// The head's wiggle: a turn every 8 frames.
constexpr int kWiggle[4] = {0, 1, 0, -1};
constexpr int kWiggleFrames = 8;

CSalamanderPart* PartOf(CListNode* n) { return static_cast<CSalamanderPart*>(n->m_value); }

}  // namespace

int CBodyPartLists::Load()
{
    int loaded = 0;
    for (size_t i = 0; i < m_lists.size(); ++i) {
        m_lists[i].Free();
        // A missing list leaves the Salamander without that part.
        const int h = ResOpen(kListFiles[i]);
        if (h != -1 && ResClose(h) == 0 && m_lists[i].Load(kListFiles[i]) == 0)
            ++loaded;
        else
            plat::DebugOut("body part list missing or damaged\n");
    }
    return loaded;
}

void CBodyPartLists::Free()
{
    for (CSlrList& l : m_lists)
        l.Free();
}

void CSalamander::BuildParts()
{
    m_active = 0;
    m_parts.DeleteAll();
    for (const PartDef& d : kPartDefs) {
        auto* p = new CSalamanderPart;
        p->list = d.list;
        p->spacing = d.spacing;
        m_parts.Add(p);
    }
}

void CSalamander::Init(CEffectManager* manager, int x, int y)
{
    m_pManager = manager;
    m_x = x;
    m_y = y;
    m_step = 0;
    // Laid out behind the head, against its direction.
    const int* back = kCrawl[(kStartDirection + 8) % 16];
    int behind = 0;
    for (CListNode* n = m_parts.GetFirst(); n != m_parts.Sentinel(); n = n->m_next) {
        CSalamanderPart* p = PartOf(n);
        behind += p->spacing;
        p->x = x + back[0] * behind / 4;
        p->y = y + back[1] * behind / 4;
        p->vx = p->vy = 0;
        p->direction = kStartDirection;
        p->frame = p->list == CBodyPartLists::leg ? 0 : kStartDirection;
    }
    m_active = 1;
}

void CSalamander::Draw(uint8_t* dst)
{
    // Moves, from the tail up, so each part follows where the one ahead
    // stood; the head crawls along its wiggling direction.
    for (CListNode* n = m_parts.GetLast(); n != m_parts.Sentinel(); n = n->m_prev) {
        CSalamanderPart* p = PartOf(n);
        if (n->m_prev == m_parts.Sentinel()) {
            p->direction = (kStartDirection + kWiggle[m_step / kWiggleFrames % 4] + 16) % 16;
            p->vx = kCrawl[p->direction][0];
            p->vy = kCrawl[p->direction][1];
        } else {
            const CSalamanderPart* ahead = PartOf(n->m_prev);
            const int dx = ahead->x - p->x, dy = ahead->y - p->y;
            const int dist = std::max(std::abs(dx), std::abs(dy));
            p->vx = p->vy = 0;
            if (dist > p->spacing) {
                p->vx = static_cast<int>(int64_t{dx} * (dist - p->spacing) / dist);
                p->vy = static_cast<int>(int64_t{dy} * (dist - p->spacing) / dist);
                p->direction = GetDirection16(0, 0, p->vx, p->vy);
            }
        }
        p->x += p->vx;
        p->y += p->vy;
        p->frame = p->list == CBodyPartLists::leg ? (p->frame + 3) % 16 : p->direction;
    }
    if (Presented() && dst) {
        for (CListNode* n = m_parts.GetLast(); n != m_parts.Sentinel(); n = n->m_prev) {
            const CSalamanderPart* p = PartOf(n);
            const CSlrList& list = g_bodyPartLists.Get(p->list);
            const uint8_t* f = list.GetFrame(p->frame);
            if (!f)
                continue;
            const size_t size = list.GetFrameSize(p->frame);
            int sx = 0, sy = 0;
            ToScreen(p->x, p->y, sx, sy);
            list.Draw(p->frame, sx - static_cast<int>(RleFrameWidth(f, size)) / 2,
                      sy - static_cast<int>(RleFrameHeight(f, size)) / 2, ScreenTarget(dst));
        }
    }
    if (++m_step >= kLifeFrames)
        m_active = 0;
}

const CSalamanderPart* CSalamander::GetPart(int i)
{
    int k = 0;
    for (CListNode* n = m_parts.GetFirst(); n != m_parts.Sentinel(); n = n->m_next, ++k)
        if (k == i)
            return PartOf(n);
    return nullptr;
}
