#include "platform/Crt.h"

namespace plat {

namespace {
unsigned g_randSeed = 1;
}

int Rand()
{
    g_randSeed = g_randSeed * 214013u + 2531011u;
    return static_cast<int>((g_randSeed >> 16) & 0x7FFFu);
}

void SRand(unsigned seed) { g_randSeed = seed; }

int StrICmp(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        int ca = FoldLower(static_cast<unsigned char>(*a));
        int cb = FoldLower(static_cast<unsigned char>(*b));
        if (ca != cb || ca == 0)
            return ca - cb;
    }
}

int StrNICmp(const char* a, const char* b, size_t n)
{
    for (; n > 0; --n, ++a, ++b) {
        int ca = FoldLower(static_cast<unsigned char>(*a));
        int cb = FoldLower(static_cast<unsigned char>(*b));
        if (ca != cb || ca == 0)
            return ca - cb;
    }
    return 0;
}

}  // namespace plat
