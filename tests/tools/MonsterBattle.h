// The battle step of the sample world's play-throughs.
#pragma once

class CSampleTown;

// From the field of stage 0, logged in: the tide slime challenged, fought
// and left by clicks; back where the step began.
void FightTheTideSlime(CSampleTown& town);
