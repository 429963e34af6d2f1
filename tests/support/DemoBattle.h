// The demo server's monster of stage 0 and its battles (DemoBattle.cpp):
// where it stands, how long it holds out and what it leaves.
#pragma once
#include <cstdint>

struct DemoMonster {
    static constexpr uint16_t kId = 1001;
    // On the grass beside the road south of the start cell, off the way
    // to the banker.
    static constexpr int kX = 171;
    static constexpr int kY = 304;
    static constexpr int kLevel = 5;
    static constexpr int kHp = 60;
    static constexpr int kMp = 20;
    // Its strength, agility and courage as its attacks carry them.
    static constexpr int kStrength = 8;
    static constexpr int kAgility = 8;
    static constexpr int kCourage = 8;
    // The first battle's number; each later one has the next.
    static constexpr uint16_t kFirstBattle = 101;
    // It falls to the third hit that lands once it has called its wave,
    // and to the eighth in any case.
    static constexpr int kHits = 3;
    static constexpr int kMaxHits = 8;
    // Against a player of kQuakeLevel or more, every kQuakeTurns-th of its
    // turns calls its quake on the player's cell instead of its attack; the
    // quake carries its constitution and wisdom (its kind's) and courage.
    static constexpr int kQuakeLevel = 10;
    static constexpr int kQuakeTurns = 2;
    // What it leaves to its killer.
    static constexpr int kExperience = 120;
    static constexpr int kMoney = 150;
    static constexpr uint16_t kItem = 3;  // a potion
};
