#include "colony/FacilityInfo.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <string>

#include "app/FrameClock.h"
#include "colony/BtxText.h"
#include "colony/InfoCanvas.h"
#include "colony/SimBuildingTable.h"
#include "colony/SimColony.h"
#include "colony/SimFacility.h"
#include "core/BiString.h"
#include "core/HanCodeConv.h"

namespace {

constexpr int kNameX = 130;
constexpr int kNameY = 60;
constexpr int kTextX = 40;
constexpr int kFirstLineY = 205;
constexpr int kLinePitch = 25;

template <class... Args>
std::string Format(const char* format, Args... args)
{
    char buf[256];
    std::snprintf(buf, sizeof buf, format, args...);
    return buf;
}

void DrawName(const CSimFacility& f, CInfoCanvas& c)
{
    c.SetColors(CFacilityInfo::kTextColour, CFacilityInfo::kNoShadow);
    c.DrawTextCentered(kNameX, kNameY, GetFacilityName(f.m_type));
}

std::string RuleMessage(int bit, int type)
{
    const char* name = GetFacilityName(type);
    switch (bit) {
    case 1: {
        const CBiString text("이미 다른 %s%s 있습니다.", "Other %s has been built.");
        const char* particle = CHanCodeConv::HasFinalConsonant(name) ? "이" : "가";
        return text.Get() == text.m_korean ? Format(text.m_korean, name, particle) : Format(text.m_english, name);
    }
    case 2: return CBiString("나무숲 근처에 세워야 합니다.", "This facility must be near forest").Get();
    case 4: return CBiString("바위 근처에 세워야 합니다.", "This facility must be near rock").Get();
    case 8: return CBiString("용암 근처에 세워야 합니다.", "This facility must be near magma").Get();
    case 16: return Format(CBiString("근처에 다른 %s가 있습니다.", "Other %s is in near.").Get(), name);
    case 32: return CBiString("나무숲 근처에 세우면 안됩니다.", "This facility must not be near forest").Get();
    case 64: return CBiString("바위 근처에 세우면 안됩니다.", "This facility must not be near rock").Get();
    case 128: return CBiString("용암 근처에 세우면 안됩니다.", "This facility must not be near magma").Get();
    default: return "";
    }
}

}  // namespace

int64_t CFacilityInfo::EnergyReserve(int64_t production, int64_t consumption)
{
    const int64_t m = std::max(production, consumption);
    return m == 0 ? 0 : (production - consumption) * 100 / m;
}

void CFacilityInfo::DrawPage(int page, const CSimFacility& f, CInfoCanvas& canvas)
{
    switch (page) {
    case kProgressPage: DrawProgressPage(f, canvas); return;
    case kDescriptionPage: DrawDescriptionPage(f, canvas); return;
    case kEnergyPage: DrawEnergyPage(f, canvas); return;
    case kBasePage: DrawBasePage(f, canvas); return;
    default: return;
    }
}

void CFacilityInfo::DrawProgressPage(const CSimFacility& f, CInfoCanvas& c)
{
    DrawName(f, c);
    const int p = f.GetProgress();
    if (p >= 100)
        return;
    // A progress below 0 (a start after now) shows no bar.
    const int64_t end = kBarX + static_cast<int64_t>(std::max(p, 0)) * kBarWidth / 100;
    c.FillRect(kBarX, kBarTop, static_cast<int>(end), kBarBottom, kTextColour);
    if (g_gmFlag) {
        const int32_t build = g_simBuildingTable.GetType(f.m_type).buildTime;
        c.DrawText(10, 500, Format("(%u - %d) * 100 / %d = %d%%", CSimColony::GetGameTime(), f.m_start, build, p).c_str());
    }
}

void CFacilityInfo::DrawDescriptionPage(const CSimFacility& f, CInfoCanvas& c)
{
    DrawName(f, c);
    int y = kFirstLineY;
    for (const std::string& line : CBtxText::Load(g_simBuildingTable.GetType(f.m_type).description)) {
        c.DrawText(kTextX, y, line.c_str());
        y += kLinePitch;
    }
    DrawProgressPage(f, c);
}

void CFacilityInfo::DrawEnergyPage(const CSimFacility& f, CInfoCanvas& c)
{
    c.SetColors(kTextColour, kNoShadow);
    int64_t p = 0;
    int64_t u = 0;
    g_simColony.SumEnergy(p, u);
    c.DrawText(kTextX, 415, Format(CBiString("에너지생산량 %" PRId64, "Energe Product %" PRId64).Get(), p).c_str());
    c.SetColors(p < u ? kWarnColour : kTextColour, kNoShadow);
    c.DrawText(kTextX, 435, Format(CBiString("에너지소비량 %" PRId64, "Energe Spend   %" PRId64).Get(), u).c_str());
    c.DrawText(kTextX, 460,
               Format(CBiString("에너지예비율 %" PRId64 "%%", "Energe Reserve %" PRId64 "%%").Get(), EnergyReserve(p, u))
                   .c_str());
    DrawDescriptionPage(f, c);
}

void CFacilityInfo::DrawBasePage(const CSimFacility& f, CInfoCanvas& c)
{
    c.SetColors(kTextColour, kNoShadow);
    c.DrawTextCentered(kNameX, kNameY, CBiString("베이스", "Base").Get());
    if (f.m_type == kSimEmptyBase) {
        c.DrawText(kTextX, 205, CBiString("위의 슬롯에 테크큐브를 끼우면", "You can build new facility if").Get());
        c.DrawText(kTextX, 230, CBiString("새로운 건물을 만들 수 있습니다.", "insert techcube to above slot").Get());
        return;
    }
    const SimBuildingType& t = g_simBuildingTable.GetType(f.m_type);
    c.DrawText(kTextX, 205,
               Format(CBiString("건축중인 건물 : %s", "Facility under construct : %s").Get(), GetFacilityName(f.m_type))
                   .c_str());
    static const CBiString kCosts[5] = {
        CBiString("필요자금 : %d", "needed fund    : %d"), CBiString("    나무 : %d", "       wood    : %d"),
        CBiString("    석재 : %d", "       stone   : %d"), CBiString("    철광 : %d", "       ore     : %d"),
        CBiString("    수정 : %d", "       crystal : %d"),
    };
    for (int i = 0; i < 5; ++i) {
        const int32_t cost = t.cost[static_cast<size_t>(i)];
        c.SetColors(g_simColony.GetResource(i) >= cost ? kTextColour : kWarnColour, kNoShadow);
        c.DrawText(kTextX, 220 + 15 * i, Format(kCosts[i].Get(), cost).c_str());
    }
    TestRules(t.rule, f, &c);
}

int CFacilityInfo::TestRule(int bit, const CSimFacility& f, CInfoCanvas* canvas)
{
    if (g_simColony.TestRule(bit, f))
        return 1;
    if (canvas) {
        canvas->SetColors(kWarnColour, kNoShadow);
        canvas->DrawText(kRuleX, kRuleY, RuleMessage(bit, f.m_type).c_str());
    }
    return 0;
}

int CFacilityInfo::TestRules(int rule, const CSimFacility& f, CInfoCanvas* canvas)
{
    for (int bit : kRuleOrder)
        if ((rule & bit) && !TestRule(bit, f, canvas))
            return 0;
    return 1;
}
