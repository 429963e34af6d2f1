// The colony's own random numbers: new layouts, feature variants and
// overlays, and the energy shortfall's stop chance. Kept apart from the C
// runtime's generator, which other parts of the game draw from too; a test
// may install a scripted source.
#pragma once

class ISimRandom {
public:
    virtual ~ISimRandom() = default;
    // 0..32767.
    virtual int Next() = 0;
};

// The next value of the installed source (the colony's generator unless a
// source is installed).
int SimRand();
// Seeds the colony's generator (a new colony seeds it with the time).
void SeedSimRandom(unsigned seed);
// Null puts the colony's generator back.
void SetSimRandom(ISimRandom* source);
