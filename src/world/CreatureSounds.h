// The names of the creatures' sounds: a monster species by its class in
// blocks of ten ("remora" for classes 101..110: "remoraatt.wav",
// "remorahit.wav", "remoradie.wav"), and a player's hit voice by class
// group and the number of its type name.
#pragma once
#include <cstddef>

// The species of a monster class, or null for a class with no sounds.
const char* SpeciesSoundName(int cls);
// "<species><suffix>.wav" into out (size n); false when the class has none.
bool SpeciesSound(int cls, const char* suffix, char* out, size_t n);
// "man1hit.wav" and the others; null for a group outside 0..2.
const char* HitVoice(int classGroup, int typeNumber);
