#include "colony/TechPoints.h"

namespace {

CTechPointCounters g_counters;
ITechPoints* g_pTechPoints = nullptr;

}  // namespace

bool CTechPointCounters::SpendTechPoint()
{
    if (left < 1)
        return false;
    --left;
    return true;
}

ITechPoints& TechPoints() { return g_pTechPoints ? *g_pTechPoints : g_counters; }

void SetTechPoints(ITechPoints* points) { g_pTechPoints = points; }

CTechPointCounters& DefaultTechPoints() { return g_counters; }
