// How a walking creature's foot point crosses one cell: speed class s takes
// 16 - s ticks per cell (twice that to the left and right, which move 64
// pixels instead of 32), each tick moving by the next digit of its row.
#pragma once

constexpr int kSpeedClasses = 13;

// Speed class from the record's word, clamped to 0..12.
int ClampSpeedClass(long long value);
// Ticks to cross one cell in direction dir (0..7) at speed class s.
int WalkStepCount(int s, int dir);
// The pixel move of tick i (0..WalkStepCount-1) in direction dir.
void WalkDelta(int s, int dir, int i, int& dx, int& dy);
