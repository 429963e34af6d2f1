// A facility of the colony: its cubes are its type's recipe; it is paid for
// and started by Activate, built when its progress reaches 100, and counted
// by the production tick while active.
#pragma once
#include "colony/SimMapObject.h"

class CSimFacility : public CSimMapObject {
public:
    // kNoOverlay: no overlay animation.
    static constexpr int kNoOverlay = -1;

    CSimFacility(int type, int x, int y, int start, int active, int overlay)
        : CSimMapObject(type, x, y), m_start(start), m_active(active), m_overlay(overlay)
    {
    }

    int IsRemoved() const override { return m_removed; }
    // Demolish mode passes over the headquarters and the edge facility.
    int HitTest(int mouseX, int mouseY) const override;
    void MarkRemoved() override { m_removed = 1; }
    // Pays the type's five costs and starts the construction when the
    // placement rule holds and the colony can pay.
    int Activate() override;
    // Every cube back into a slot (refused when the slots cannot take them
    // all); the facility becomes an empty base.
    int StripCubes() override;
    // A cube of colour 0..4 into the recipe's free place; the type becomes
    // the one of the new recipe. Refused when the recipe is full.
    int InsertCube(int colour) override;
    // (game time - start) x 100 / build time; 100 for a build time of 0.
    int GetProgress() const override;
    void Draw(uint8_t* pixels) override;
    // Every bit of the type's placement rule.
    int CheckRule() const override;
    // The game time, or 0 for the headquarters, the edge facility and the
    // empty base.
    void StartConstruction() override;

    CSimFacility* AsFacility() override { return this; }
    const CSimFacility* AsFacility() const override { return this; }

    int IsActive() const { return m_active; }
    // Active only when wanted and the placement rule holds.
    void SetActive(int wanted);
    bool IsBuilt() const { return GetProgress() >= 100; }

    int32_t m_counter = 0;
    int32_t m_start;
    int32_t m_active;
    int32_t m_screenX = 0;
    int32_t m_screenY = 0;
    int32_t m_removed = 0;
    // 0..2, or kNoOverlay.
    int32_t m_overlay;
};
