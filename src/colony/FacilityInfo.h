// What a colony panel shows of a facility: its progress, description,
// energy balance or, for a base, the costs and the placement rules; and the
// placement rule tests with their messages, shared with activation.
#pragma once
#include <cstdint>

class CInfoCanvas;
class CSimFacility;

class CFacilityInfo {
public:
    enum : uint8_t { kTextColour = 197, kWarnColour = 119, kNoShadow = 255 };
    enum Page : int { kProgressPage = 0, kDescriptionPage = 1, kEnergyPage = 2, kBasePage = 3 };
    // Where a failed rule's message stands.
    static constexpr int kRuleX = 40;
    static constexpr int kRuleY = 300;
    // The progress bar: 199 pixels for 100 percent.
    static constexpr int kBarX = 43;
    static constexpr int kBarWidth = 199;
    static constexpr int kBarTop = 487;
    static constexpr int kBarBottom = 497;
    // The order the rule bits are tested in.
    static constexpr int kRuleOrder[8] = {2, 1, 4, 8, 16, 32, 64, 128};

    // The facility type's own page; another page number draws nothing.
    static void DrawPage(int page, const CSimFacility& f, CInfoCanvas& canvas);
    static void DrawProgressPage(const CSimFacility& f, CInfoCanvas& canvas);
    static void DrawDescriptionPage(const CSimFacility& f, CInfoCanvas& canvas);
    static void DrawEnergyPage(const CSimFacility& f, CInfoCanvas& canvas);
    static void DrawBasePage(const CSimFacility& f, CInfoCanvas& canvas);

    // One rule bit: 1 when it holds; else its message goes on the canvas
    // (when there is one) and 0.
    static int TestRule(int bit, const CSimFacility& f, CInfoCanvas* canvas);
    // Every bit of the rule value in kRuleOrder, up to the first that fails.
    static int TestRules(int rule, const CSimFacility& f, CInfoCanvas* canvas);
    // (P - U) x 100 / max(P, U), 0 when both are 0.
    static int64_t EnergyReserve(int64_t production, int64_t consumption);
};
