// The battle steps of the sample world's play-throughs and what they share.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

class CCreature;
class CDemoServer;
class CSampleTown;

// The battle commands (30) of one sub-command the demo server took since
// `from` of them.
std::vector<std::vector<uint8_t>> BattleSubs(const CDemoServer& game, size_t from, int sub);

// Where a creature's body is on the screen: a little above its foot point.
void BodyOnScreen(const CCreature& c, int& sx, int& sy);
// On the field of stage 0: clicks on the ground, by the road south of the
// start, until my character stands on (x, y).
void WalkByRoad(CSampleTown& town, int x, int y);
// From the field of stage 0, logged in: up to the tide slime by the road
// and a click on it; true once the battle and its bar are up.
bool ChallengeTheTideSlime(CSampleTown& town);

// From the field of stage 0, logged in: the tide slime challenged, fought
// and left by clicks; back where the step began.
void FightTheTideSlime(CSampleTown& town);
