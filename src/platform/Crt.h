// C runtime behaviour the game's results depend on.
#pragma once
#include <cstddef>

namespace plat {

// The original runtime's generator: 15-bit results, the same sequence for a
// seed (seed = seed * 214013 + 2531011; result = (seed >> 16) & 0x7FFF).
int Rand();
void SRand(unsigned seed);
constexpr int kRandMax = 0x7FFF;

// Case-insensitive compares that fold ASCII letters to lower case, so '_'
// (0x5F) sorts after the letters and '[' (0x5B) after them too.
int StrICmp(const char* a, const char* b);
int StrNICmp(const char* a, const char* b, size_t n);
inline int FoldLower(int c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }

}  // namespace plat
