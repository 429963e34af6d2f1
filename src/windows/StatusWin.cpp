#include "windows/StatusWin.h"

#include <cstdio>
#include <iterator>

#include "core/TextLayer.h"
#include "rules/CalcData.h"
#include "ui/TextCut.h"
#include "ui/TooltipArea.h"
#include "windows/PlayerInfo.h"
#include "world/CharacterRecord.h"

namespace {

constexpr int32_t kOpenX = 528, kOpenY = 0, kClosedX = 800, kClosedY = 0;
constexpr uint16_t kLinked[] = {10, 6, 7, 8, 9, 12, 35, 59, 60, 61, 64, 65};

// The hot spots: 90 x 20 at (20, y), their tooltip at (30, 560).
constexpr int32_t kTipLeft = 20, kTipWidth = 90, kTipHeight = 20, kTipX = 30, kTipY = 560;
struct STip {
    int32_t y;
    const char* korean;
    const char* english;
};
constexpr STip kTips[CStatusWin::kTooltipRows] = {
    {17, "이름", "Name"},      {37, "나이", "Age"},           {57, "고향", "Country"},
    {88, "레벨", "Level"},     {108, "명성", "Honor"},        {142, "HP", "HP"},
    {162, "MP", "MP"},         {182, "경험", "EXP"},          {220, "힘", "Strength"},
    {240, "민첩성", "Dexterity"}, {260, "지혜", "Wisdom"},     {280, "기골", "Sinew"},
    {300, "용기", "Brave"},    {330, "특성치가산", "Parameter Bonus"}, {370, "공격력", "Attack"},
    {390, "방어력", "Defence"}, {430, "이동속도", "Speed"},   {450, "데드매치", "Death Match"},
    {475, "왕국", "Zedovav"},  {510, "돈", "Money"},
};

// Record words the sheet shows that have no name of their own.
constexpr size_t kHonour = CharacterRecord::kServerValue28;
constexpr size_t kDeathMatch[] = {CharacterRecord::kKills, CharacterRecord::kProfileValue,
                                  CharacterRecord::kBattleLogouts};

}  // namespace

CStatusWin::CStatusWin() : CSidePanel(kId, "StatusWin.slr", kOpenX, kOpenY, kClosedX, kClosedY, 0)
{
    SetLinkedIds(kLinked, static_cast<int>(std::size(kLinked)));
    for (const STip& t : kTips) {
        auto* area = new CTooltipArea(0, this, kTipLeft, t.y, kTipWidth, kTipHeight, kTipX, kTipY);
        area->SetTooltip(t.korean, t.english);
        AddChild(area);
    }
}

CStatusWin::ValueRows CStatusWin::FormatRows(const CharacterRecord& rec, const char* name, int money)
{
    using R = CharacterRecord;
    ValueRows rows{};
    int n = 0;
    // The next row's text, at y.
    auto at = [&](int32_t y) {
        SValueRow& r = rows[static_cast<size_t>(n++)];
        r.y = y;
        return r.text.data();
    };
    constexpr size_t k = kValueSize;
    // Whole characters of the name only.
    CopyTextCut(at(27), k, name ? name : "");
    std::snprintf(at(48), k, "%d(%d/12)", GetGameYear(rec), GetGameMonth(rec));
    std::snprintf(at(98), k, "%d (%d/4)", rec.I32(R::kLevel), CalcLevelRemainder(rec));
    std::snprintf(at(119), k, "%d", rec.I32(kHonour));
    std::snprintf(at(154), k, "%d/%d", rec.I32(R::kHp), CalcMaxHp(rec));
    std::snprintf(at(175), k, "%d/%d", rec.I32(R::kMp), CalcMaxMp(rec));
    std::snprintf(at(196), k, "%d/%d", rec.I32(R::kExperience), CalcNextRemainExp(rec));
    // Record value + equipment bonus, formed in 64 bits.
    auto sum = [&](StatSums::Stat stat) { return static_cast<long long>(StatSum(rec, stat)); };
    std::snprintf(at(227), k, "%lld", sum(StatSums::strength));
    std::snprintf(at(248), k, "%lld", sum(StatSums::agility));
    std::snprintf(at(269), k, "%lld", sum(StatSums::wisdom));
    std::snprintf(at(290), k, "%lld", sum(StatSums::constitution));
    std::snprintf(at(311), k, "%lld", sum(StatSums::courage));
    std::snprintf(at(342), k, "%d", rec.I32(R::kRemain));
    std::snprintf(at(377), k, "%d", CalcAttack(rec));
    std::snprintf(at(399), k, "%d", CalcDefence(rec));
    std::snprintf(at(435), k, "%d", rec.I32(R::kSpeedClass));
    std::snprintf(at(454), k, "%d/%d/%d", int{rec.I16(kDeathMatch[0])}, int{rec.I16(kDeathMatch[1])},
                  int{rec.I16(kDeathMatch[2])});
    std::snprintf(at(523), k, "%d", money);
    return rows;
}

void CStatusWin::Refresh()
{
    if (m_state == kClosed || m_state == kClosing)
        return;
    CTextLayer* text = RestorePicture();
    if (!text)
        return;
    text->SetColors(kValueColour, 255);
    const CharacterRecord* rec = g_playerInfo.GetMyRecord();
    if (!rec)
        return;
    char name[32] = {};
    g_playerInfo.GetCharName(name, sizeof name);
    for (const SValueRow& r : FormatRows(*rec, name, g_playerInfo.GetMoney()))
        DrawTextCentered(kValueX, r.y, r.text.data(), 1);
}
