// The colony cursor's state that the map objects and the colony windows
// read: its mode, whether the spot under it is valid, the lock of the
// tech-cube box and the facility picked last. Its pictures, drawing and
// clicks belong to the colony screen.
#pragma once
#include <cstdint>

#include "colony/SimFacility.h"

class CSimMapObject;

class CSimCursor {
public:
    enum : int { kPick = 0, kPlace = 1, kDemolish = 2 };

    CSimCursor() { Reset(); }

    int GetMode() const { return m_mode; }
    void SetMode(int mode) { m_mode = mode; }
    int IsValid() const { return m_valid; }
    void SetValid(int valid) { m_valid = valid; }
    int IsLocked() const { return m_locked; }
    void SetLocked(int locked) { m_locked = locked; }

    // Never null: before a pick (and after the picked one is gone) a fixed
    // empty facility of type 0 at (0, 0).
    CSimFacility* GetPickedFacility() { return m_picked; }
    void SetPickedFacility(CSimFacility* facility) { m_picked = facility ? facility : &m_noFacility; }
    // The object is leaving the colony: a cursor that picked it forgets it.
    void Forget(const CSimMapObject* object);
    // Every object of the colony is leaving.
    void ForgetAll() { m_picked = &m_noFacility; }

    // Pick mode, unlocked, nothing picked.
    void Reset();

    int32_t m_counter = 0;

private:
    int32_t m_mode = kPick;
    int32_t m_valid = 0;
    int32_t m_locked = 0;
    CSimFacility m_noFacility{0, 0, 0, 0, 0, CSimFacility::kNoOverlay};
    CSimFacility* m_picked = &m_noFacility;
};

extern CSimCursor g_simCursor;
