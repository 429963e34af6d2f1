// The region maps (71..73): each offers two of the three regions to travel
// to, posting 105 (cusco), 106 (abydos) or 107 (eurasia).
#pragma once
#include <cstdint>

#include "windows/NpcWindow.h"

class CRegionMapWin : public CNpcWindow {
public:
    struct Destination {
        int32_t id;
        const char* slrName;
        int32_t command;
    };
    static constexpr Destination kCusco{75, "cusco.slr", 105};
    static constexpr Destination kAbydos{76, "abydos.slr", 106};
    static constexpr Destination kEurasia{74, "eurasia.slr", 107};

    // Takes the text-input focus.
    CRegionMapWin(int32_t id, const Destination& upper, const Destination& lower);
};

class CRegionMapWin1 : public CRegionMapWin {
public:
    static constexpr int32_t kId = 71;
    CRegionMapWin1() : CRegionMapWin(kId, kCusco, kAbydos) {}
};

class CRegionMapWin2 : public CRegionMapWin {
public:
    static constexpr int32_t kId = 72;
    CRegionMapWin2() : CRegionMapWin(kId, kEurasia, kAbydos) {}
};

class CRegionMapWin3 : public CRegionMapWin {
public:
    static constexpr int32_t kId = 73;
    CRegionMapWin3() : CRegionMapWin(kId, kCusco, kEurasia) {}
};
