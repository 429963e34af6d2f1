#include "colony/SimFacility.h"

#include <algorithm>
#include <limits>

#include "app/CommandRing.h"
#include "colony/FacilityInfo.h"
#include "colony/SimBuildingTable.h"
#include "colony/SimColony.h"
#include "colony/SimCursor.h"
#include "colony/SimRandom.h"
#include "colony/SimTerrain.h"

namespace {

// UI commands: cubes stripped, a cube inserted, the facility activated.
constexpr uint32_t kCmdCubesStripped = 84;
constexpr uint32_t kCmdCubeInserted = 85;
constexpr uint32_t kCmdActivated = 86;
// A construction site shows each of its frames for 10 draws.
constexpr int kSiteCycle = 60;
constexpr int kSiteFrameDraws = 10;

int OverlayFor(const SimBuildingType& t) { return t.overlayFlag ? SimRand() % 3 : CSimFacility::kNoOverlay; }

}  // namespace

int CSimFacility::HitTest(int mouseX, int mouseY) const
{
    if (g_simCursor.GetMode() == CSimCursor::kDemolish &&
        (m_type == kSimHeadquarters || m_type == kSimEdgeFacility))
        return 0;
    const SimBuildingType& t = g_simBuildingTable.GetType(m_type);
    return g_simBuildingTable.Sprites().HitTest(t.firstFrame, mouseX - (m_screenX - t.anchorX),
                                                mouseY - (m_screenY - t.anchorY));
}

int CSimFacility::Activate()
{
    const SimBuildingType& t = g_simBuildingTable.GetType(m_type);
    if (!CheckRule())
        return 0;
    for (int i = 0; i < 5; ++i)
        if (g_simColony.GetResource(i) < t.cost[static_cast<size_t>(i)])
            return 0;
    for (int i = 0; i < 5; ++i)
        g_simColony.AddResource(i, -static_cast<int64_t>(t.cost[static_cast<size_t>(i)]));
    StartConstruction();
    // The server is told the facility is active: so it is here too.
    m_active = 1;
    g_commandRing.Push(kCmdActivated);
    g_simColony.SendFacilityState(m_type, m_x, m_y, m_start, 1);
    g_simColony.SendCubes();
    g_simColony.SendResources();
    g_simColony.NotifyMoney();
    return 1;
}

int CSimFacility::StripCubes()
{
    const auto recipe = g_simBuildingTable.GetType(m_type).recipe;
    const int held = static_cast<int>(std::count_if(recipe.begin(), recipe.end(), [](int c) { return c != kNoCube; }));
    // Refused rather than losing a cube that no slot can take.
    if (held > g_simColony.CountFreeCubeSlots())
        return 0;
    for (int c : recipe)
        if (c != kNoCube)
            g_simColony.PutCube(c);
    m_type = kSimEmptyBase;
    g_commandRing.Push(kCmdCubesStripped);
    StartConstruction();
    return 1;
}

int CSimFacility::InsertCube(int colour)
{
    if (colour < 0 || colour >= kCubeColours)
        return 0;
    const auto recipe = g_simBuildingTable.GetType(m_type).recipe;
    if (recipe[2] != kNoCube)
        return 0;
    int triple[3] = {recipe[0], recipe[1], colour};
    const int type = g_simBuildingTable.FindByRecipe(triple);
    if (type == kSimCursorType)
        return 0;
    m_type = type;
    m_overlay = OverlayFor(g_simBuildingTable.GetType(type));
    g_commandRing.Push(kCmdCubeInserted);
    return 1;
}

int CSimFacility::GetProgress() const
{
    const int32_t build = g_simBuildingTable.GetType(m_type).buildTime;
    if (build == 0)
        return 100;
    const int64_t p = (static_cast<int64_t>(CSimColony::GetGameTime()) - m_start) * 100 / build;
    return static_cast<int>(std::clamp<int64_t>(p, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

int CSimFacility::CheckRule() const
{
    return CFacilityInfo::TestRules(g_simBuildingTable.GetType(m_type).rule, *this, nullptr);
}

void CSimFacility::StartConstruction()
{
    if (m_type == kSimEmptyBase || m_type == kSimHeadquarters || m_type == kSimEdgeFacility)
        m_start = 0;
    else
        m_start = static_cast<int32_t>(CSimColony::GetGameTime());
}

void CSimFacility::SetActive(int wanted) { m_active = wanted && CheckRule() ? 1 : 0; }

void CSimFacility::Draw(uint8_t* pixels)
{
    const ScreenPoint p = g_simTerrain.MapToScreen(m_x, m_y);
    m_screenX = p.x;
    m_screenY = p.y;
    const SimBuildingType& t = g_simBuildingTable.GetType(m_type);
    const bool small = t.overlayKind == 5;
    if (m_overlay >= 0) {
        int32_t variant = m_overlay;
        DrawAnimated(g_simBuildingTable.GetType(small ? kSimSmallOverlay : kSimLargeOverlay), pixels, variant, false,
                     p.x, p.y);
    }
    if (GetProgress() >= 100) {
        DrawAnimated(t, pixels, m_counter, m_active != 0, p.x, p.y);
        return;
    }
    const SimBuildingType& site = g_simBuildingTable.GetType(small ? kSimSmallSite : kSimLargeSite);
    m_counter = (m_counter + 1) % kSiteCycle;
    if (m_counter < 0)
        m_counter += kSiteCycle;
    DrawAnchored(site, site.firstFrame + m_counter / kSiteFrameDraws, pixels, p.x, p.y);
}
