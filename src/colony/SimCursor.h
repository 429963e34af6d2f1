// The colony mode's mouse: pick (opens the picked facility's panel), place
// (an empty base) and demolish, drawn as its own animated picture at the
// mouse. It remembers the facility picked last, which the colony windows
// read, and is locked while the tech-cube box is open.
#pragma once
#include <cstdint>

#include "colony/SimFacility.h"
#include "core/SlrList.h"

class CSimMapObject;

class CSimCursor : public CSlrList {
public:
    enum : int { kPick = 0, kPlace = 1, kDemolish = 2 };
    static constexpr int32_t kCounterCycle = 30;

    CSimCursor() { Reset(); }

    // "SimCursor.slr" and the cube pictures, once.
    void LoadSprites();
    void UnloadSprites();

    // The counter advances while valid or locked; the frame follows the
    // mode: pick (and locked) 0..4, demolish 5..6, place 7..12.
    void Draw(int x, int y, uint8_t* pixels);
    // The left button went down: pick, place or demolish at the mouse;
    // place and demolish return to pick mode. Nothing while locked.
    void OnClick();
    // Back to pick mode unless locked.
    void ResetMode();
    // The frame Draw shows now, -1 for none.
    int CurrentFrame() const;

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
    // Whether a facility was picked and is still on the map.
    bool HasPick() const { return m_picked != &m_noFacility; }
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
// The five cube colours, 8 frames each ("TechCube.slr").
extern CSlrList g_techCubeSprites;
