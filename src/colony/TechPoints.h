// The player's tech points: those left to spend and those spent. The tech
// window and its cube cells use them through this seam; the player data
// that the server fills installs itself with SetTechPoints.
#pragma once
#include <cstdint>

class ITechPoints {
public:
    virtual ~ITechPoints() = default;
    virtual int32_t GetTechPoints() = 0;
    virtual int32_t GetTechUsed() = 0;
    // One point less, when one is left.
    virtual bool SpendTechPoint() = 0;
    virtual void AddTechUsed() = 0;
};

// Two counters until the player data installs itself.
class CTechPointCounters : public ITechPoints {
public:
    int32_t GetTechPoints() override { return left; }
    int32_t GetTechUsed() override { return used; }
    bool SpendTechPoint() override;
    void AddTechUsed() override { ++used; }

    int32_t left = 0;
    int32_t used = 0;
};

ITechPoints& TechPoints();
// Null puts the counters back.
void SetTechPoints(ITechPoints* points);
// The counters as at process start.
CTechPointCounters& DefaultTechPoints();
