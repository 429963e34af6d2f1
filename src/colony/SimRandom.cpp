#include "colony/SimRandom.h"

#include <cstdint>

namespace {

// The C runtime's sequence: the same layouts for the same seed.
class CSimGenerator : public ISimRandom {
public:
    int Next() override
    {
        m_state = m_state * 214013u + 2531011u;
        return static_cast<int>((m_state >> 16) & 0x7FFF);
    }
    void Seed(unsigned seed) { m_state = seed; }

private:
    uint32_t m_state = 1;
};

CSimGenerator g_generator;
ISimRandom* g_source = nullptr;

}  // namespace

int SimRand() { return g_source ? g_source->Next() : g_generator.Next(); }

void SeedSimRandom(unsigned seed) { g_generator.Seed(seed); }

void SetSimRandom(ISimRandom* source) { g_source = source; }
