#include "colony/SimCursor.h"

#include "app/CommandRing.h"
#include "colony/SimBuildingTable.h"
#include "colony/SimColony.h"
#include "core/Blit.h"

CSimCursor g_simCursor;
CSlrList g_techCubeSprites;

void CSimCursor::LoadSprites()
{
    if (!IsLoaded())
        Load("SimCursor.slr");
    if (!g_techCubeSprites.IsLoaded())
        g_techCubeSprites.Load("TechCube.slr");
}

void CSimCursor::UnloadSprites()
{
    Free();
    g_techCubeSprites.Free();
}

int CSimCursor::CurrentFrame() const
{
    if (m_locked)
        return m_counter / 6;
    switch (m_mode) {
    case kPick: return m_counter / 6;
    case kDemolish: return m_counter / 15 + 5;
    case kPlace: return m_counter / 5 + 7;
    default: return -1;
    }
}

void CSimCursor::Draw(int x, int y, uint8_t* pixels)
{
    if (m_valid || m_locked) {
        if (++m_counter >= kCounterCycle || m_counter < 0)
            m_counter = 0;
    }
    const int frame = CurrentFrame();
    if (frame >= 0 && pixels)
        CSlrList::Draw(frame, x, y, ScreenTarget(pixels));
}

void CSimCursor::OnClick()
{
    if (m_locked)
        return;
    switch (m_mode) {
    case kPick: {
        CSimMapObject* o = g_simColony.FindAt();
        CSimFacility* f = o ? o->AsFacility() : nullptr;
        if (!f || f->m_type == kSimCursorType)
            return;
        m_picked = f;
        if (const int32_t cmd = g_simBuildingTable.GetType(f->m_type).pickCommand)
            g_commandRing.Push(static_cast<uint32_t>(cmd));
        return;
    }
    case kPlace:
        g_simColony.PlaceBuilding();
        m_mode = kPick;
        return;
    case kDemolish:
        g_simColony.Demolish(g_simColony.FindAt());
        m_mode = kPick;
        return;
    default: return;
    }
}

void CSimCursor::ResetMode()
{
    if (!m_locked)
        m_mode = kPick;
}

void CSimCursor::Forget(const CSimMapObject* object)
{
    if (object && object == m_picked)
        m_picked = &m_noFacility;
}

void CSimCursor::Reset()
{
    m_mode = kPick;
    m_valid = 0;
    m_locked = 0;
    m_counter = 0;
    m_picked = &m_noFacility;
}
