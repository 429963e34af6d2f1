#include "world/CreatureSounds.h"

#include <cstdio>

namespace {

struct Species {
    int first;
    const char* name;
};

constexpr Species kSpecies[] = {
    {101, "remora"},   {201, "satiros"},    {301, "behimos"}, {401, "burak"},  {501, "crocota"}, {601, "kabunkle"},
    {701, "rebi"},     {801, "baltan"},     {1001, "simurg"}, {1101, "katoblepas"}, {1301, "anpis"},
    {1501, "perze"},   {2101, "seiren"},    {2401, "humbaba"}, {2701, "manti"}, {2801, "harpas"},
};

}  // namespace

const char* SpeciesSoundName(int cls)
{
    for (const Species& s : kSpecies)
        if (cls >= s.first && cls < s.first + 10)
            return s.name;
    return nullptr;
}

bool SpeciesSound(int cls, const char* suffix, char* out, size_t n)
{
    const char* name = SpeciesSoundName(cls);
    if (!name || !out || n == 0)
        return false;
    std::snprintf(out, n, "%s%s.wav", name, suffix ? suffix : "");
    return true;
}

const char* HitVoice(int classGroup, int typeNumber)
{
    switch (classGroup) {
    case 0: return typeNumber == 0 ? "man1hit.wav" : "woman1hit.wav";
    case 1: return typeNumber == 2 ? "man3hit.wav" : "woman3hit.wav";
    case 2: return typeNumber == 4 ? "man2hit.wav" : "woman2hit.wav";
    default: return nullptr;
    }
}
