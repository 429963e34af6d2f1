// The effects on a field of their own: the creature bed's world with the
// effect manager installed as the game's effects, every effect set and the
// shared ability sets built with a few frames, a font for the numbers and
// balloons, a palette for the blends, named sounds with distinct lengths
// and a screen to draw into. The caster kind (0) carries every animation
// an ability routine looks up, by action code.
#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "core/PaletteManager.h"
#include "core/TextLayer.h"
#include "effects/EffectManager.h"
#include "support/CreatureBed.h"

struct CasterSetOptions {
    int castSteps = 4;    // codes 8, 25, 44, 76 (+ direction)
    int castTicks = 6;
    int hitStep = 1;      // the step whose frame carries the hit rectangle; -1 none
    int dashSteps = 5;    // code 16 + direction
    int dashImages = 16;  // steps of codes 24 and 41 (one per 16-step direction)
    int spellSteps = 4;   // codes 52, 60, 68 (+ direction)
    std::set<int> missing;  // action bases left out
};

class CEffectBed {
public:
    static constexpr int kSetFrames = 4;
    // The base item-use sparkle: long enough to reach its frame 15.
    static constexpr int kUseItemFrames = 8;
    // Poseidon's animation: long enough to reach its strike step.
    static constexpr int kPoseidonSteps = 14;
    static constexpr uint8_t kBlank = 0;

    explicit CEffectBed(const CasterSetOptions& caster = {}, int mapSize = 64);
    ~CEffectBed();
    CEffectBed(const CEffectBed&) = delete;
    CEffectBed& operator=(const CEffectBed&) = delete;

    CObjLayer& Layer() { return bed.Layer(); }
    CBGLayer& Ground() { return bed.Ground(); }
    // One game frame of the effects into the screen (cleared first).
    void Frame(int n = 1);
    // Screen position of a world pixel.
    void ScreenOf(int x, int y, int& sx, int& sy);
    // Ability id on the caster as the ability driver starts it, ready for
    // its first routine call.
    void Begin(CCreature& caster, int id, CCreature* target, int x, int y, int value = 0);
    // The names of the sounds started since the last call, in order.
    std::vector<std::string> Sounds();
    // The top row of the first text of that colour on the screen, -1 when
    // there is none.
    int FindTextRow(uint8_t colour) const;
    // The screen holds nothing but this text at (x, y) in that colour.
    bool ShowsOnly(const char* text, int x, int y, uint8_t colour);

    CCreatureBed bed;
    CEffectManager fx;
    CTextLayer text{nullptr};
    CPaletteManager palette{nullptr};
    std::vector<uint8_t> screen;

private:
    size_t m_soundsSeen = 0;
};
