#include "colony/SimCursor.h"

CSimCursor g_simCursor;

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
