#include "windows/WindowTable.h"

#include "ui/ButtonRow.h"
#include "ui/CheckBox.h"
#include "ui/EditWidget.h"
#include "ui/IconList.h"
#include "ui/ListSidePanel.h"
#include "ui/SidePanel.h"
#include "ui/SliderWidget.h"
#include "social/BoardListWin.h"
#include "social/BoardReadWin.h"
#include "social/ChatWin.h"
#include "social/GroupWin.h"
#include "social/HairColorWin.h"
#include "social/ProfileWin.h"
#include "social/RankFndWin.h"
#include "social/RankWin.h"
#include "social/SearchWin.h"
#include "colony/ColonyCommands.h"
#include "colony/TechCube.h"
#include "colony/TechCubeSlot.h"
#include "windows/AblTabBar.h"
#include "windows/ActWin.h"
#include "windows/BankWin.h"
#include "windows/BattleBar.h"
#include "windows/CabinetWin.h"
#include "windows/DepositWin.h"
#include "windows/GameMenuWin.h"
#include "windows/HelpWin.h"
#include "windows/HotKeyButton.h"
#include "windows/InvWin.h"
#include "windows/MarketWin.h"
#include "windows/NpcMenuWin.h"
#include "windows/PrevButton.h"
#include "windows/ReactWin.h"
#include "windows/RegionMapWin.h"
#include "windows/StatusWin.h"
#include "windows/SupWin.h"
#include "windows/SystemWindows.h"
#include "windows/TalkBoxWin.h"

CWidget* CWindowBuild::Find(int32_t id) const
{
    for (int i = 0; i < m_count; ++i)
        if (m_built[static_cast<size_t>(i)]->GetId() == id)
            return m_built[static_cast<size_t>(i)];
    return nullptr;
}

void CWindowBuild::Add(CWidget* w)
{
    if (w && m_count < static_cast<int>(m_built.size()))
        m_built[static_cast<size_t>(m_count++)] = w;
}

namespace {

using B = EWindowBase;

// ---- tab bars ---------------------------------------------------------------

constexpr int32_t kTabPitch = 70;
constexpr int32_t kHqCommands[] = {47, 0, 0, 0};
constexpr int32_t kMainCommands[] = {4, 5, 6, 7, 11};
constexpr int32_t kColonyCommands[] = {76, 4, 5, 6, 11};
constexpr int32_t kAbilityCommands[] = {13, 14, 15};
// The HQ and colony bars share one pair of empty label tables.
constexpr const char* kEmptyTips[7] = {"", "", "", "", "", "", ""};
constexpr const char* kMainTipsKo[] = {"상태 Ctl-S", "능력 Ctl-A", "장비 Ctl-V", "그룹 Ctl-G", "시스템 Ctl-Y"};
constexpr const char* kMainTipsEn[] = {"Status Ctl-S", "Ability Ctl-A", "Inventory Ctl-I", "Group Ctl-G",
                                       "System Ctl-Y"};
constexpr const char* kAbilityTipsKo[] = {"행동", "반응", "보조"};
constexpr const char* kAbilityTipsEn[] = {"Action", "Reaction", "Support"};

CWidget* TabBar(const SWindowRow& r, int32_t count, const int32_t* commands, const char* const* ko,
                const char* const* en)
{
    return new CButtonRow(r.id, r.sprite, r.openX, r.openY, r.closedX, r.closedY, count, kTabPitch, commands, ko, en);
}

CWidget* HqTabs(const SWindowRow& r, const CWindowBuild&) { return TabBar(r, 4, kHqCommands, kEmptyTips, kEmptyTips); }
CWidget* MainTabs(const SWindowRow& r, const CWindowBuild&)
{
    return TabBar(r, 5, kMainCommands, kMainTipsKo, kMainTipsEn);
}
CWidget* ColonyTabs(const SWindowRow& r, const CWindowBuild&)
{
    return TabBar(r, 5, kColonyCommands, kEmptyTips, kEmptyTips);
}
CWidget* AbilityTabs(const SWindowRow& r, const CWindowBuild&)
{
    return new CAblTabBar(r.sprite, r.openX, r.openY, r.closedX, r.closedY, kAbilityCommands, kAbilityTipsKo,
                          kAbilityTipsEn);
}

// ---- the option page ------------------------------------------------------------

// The track of the volume and light sliders, relative to the slider.
constexpr int32_t kTrackLeft = 3, kTrackTop = 53, kTrackRight = 218, kTrackBottom = 70;

CWidget* Slider(const SWindowRow& r, int32_t* value, int32_t command)
{
    return new CSliderWidget(r.id, r.sprite, r.openX, r.openY, r.closedX, r.closedY, kTrackLeft, kTrackTop,
                             kTrackRight, kTrackBottom, value, command, 0);
}
CWidget* MusicSlider(const SWindowRow& r, const CWindowBuild&) { return Slider(r, &g_musicVolume, 31); }
CWidget* SoundSlider(const SWindowRow& r, const CWindowBuild&) { return Slider(r, &g_soundVolume, 32); }
CWidget* LightSlider(const SWindowRow& r, const CWindowBuild&) { return Slider(r, &g_lightLevel, 33); }
CWidget* StageEffects(const SWindowRow& r, const CWindowBuild&)
{
    return new CCheckBox(r.id, r.sprite, r.openX, r.openY, r.closedX, r.closedY, 0, 1);
}
CWidget* PrevButton(const SWindowRow& r, const CWindowBuild&)
{
    return new CPrevButton(r.sprite, r.openX, r.openY, r.closedX, r.closedY);
}
CWidget* ToFieldButton(const SWindowRow& r, const CWindowBuild&)
{
    auto* b = new CHotKeyButton(r.id, r.sprite, r.openX, r.openY, r.closedX, r.closedY, 45);
    b->SetTooltip("지상으로", "To field");
    return b;
}

// ---- the ability stack -----------------------------------------------------------

// The action, reaction and support pages; built support first, then
// reaction, then action.
CWidget* AbilityStack(const SWindowRow& r, const CWindowBuild&)
{
    CWidget* support = new CSupWin;
    CWidget* reaction = new CReactWin;
    CWidget* action = new CActWin;
    auto* stack = new CIconList(3, r.id, r.openX, r.openY, r.closedX, r.closedY);
    stack->SetItem(0, action)->SetItem(1, reaction)->SetItem(2, support);
    return stack;
}

// ---- the system windows -------------------------------------------------------------

template <class W>
CWidget* Make(const SWindowRow&, const CWindowBuild&)
{
    return new W;
}

// ---- the colony windows ------------------------------------------------------

// The cube cells fly the tech cube picture, built before them (the first
// widget of id 0).
CWidget* Colony(const SWindowRow& r, const CWindowBuild& built)
{
    return CreateColonyWindow(r.id, dynamic_cast<CTechCube*>(built.Find(0)));
}

// ---- the chat windows ---------------------------------------------------------------

CWidget* ChatWindow(const SWindowRow&, const CWindowBuild&) { return new CChatWin; }
// Built after the chat window, whose lines it shows.
CWidget* BigChatWindow(const SWindowRow&, const CWindowBuild& built)
{
    return new CBigChatWin(dynamic_cast<CWidgetWindow*>(built.Find(CChatWin::kId)));
}

// clang-format off
constexpr std::array<SWindowRow, kWindowRows> kRows = {{
    {71, B::kSliding, "basic.slr", 240, 123, -320, 123, 0, 0, Make<CRegionMapWin1>},
    {72, B::kSliding, "basic.slr", 240, 123, -320, 123, 0, 0, Make<CRegionMapWin2>},
    {73, B::kSliding, "basic.slr", 240, 123, -320, 123, 0, 0, Make<CRegionMapWin3>},
    {87, B::kWindow, "data\\basic2.slr", 208, 100, -384, 100, 0, 0, Make<CHairColorWin>},
    {77, B::kWindow, "data\\passwordch1.slr", 233, 93, -328, 93, 0, 0, Make<CPasswordChangeWin>},
    {83, B::kWindow, "data\\suicide1.slr", 233, 93, -328, 93, 0, 0, Make<CSuicideWin>},
    {89, B::kWindow, "data\\smallbox.slr", 233, 93, -328, 93, 0, 0, Make<CSmallBoxWin>},
    {90, B::kWindow, "data\\win1.slr", 233, 93, -328, 93, 0, 0, Make<CMsgBoxWin1>},
    {91, B::kWindow, "data\\win2.slr", 233, 93, -328, 93, 0, 0, Make<CMsgBoxWin2>},
    {92, B::kWindow, "data\\win3.slr", 233, 93, -328, 93, 0, 0, Make<CMsgBoxWin3>},
    {93, B::kWindow, "data\\win4.slr", 233, 93, -328, 93, 0, 0, Make<CMsgBoxWin4>},
    {3, B::kWindow, "data\\BigChat.slr", 0, 0, 0, -448, 0, 0, BigChatWindow},
    {48, B::kButtonRow, "data\\HQTab.slr", 24, 24, -504, 24, 0, 0, HqTabs},
    {4, B::kButtonRow, "data\\MainTab.slr", 0, 0, -32, 0, 0, 0, MainTabs},
    {5, B::kButtonRow, "data\\SimTab.slr", 0, 0, -32, 0, 0, 0, ColonyTabs},
    {8, B::kPageStack, nullptr, 528, 0, 820, 0, 0, 0, AbilityStack},
    {7, B::kButtonRow, "data\\AblTab.slr", 509, 0, 800, 0, 0, 0, AbilityTabs},
    {2, B::kWindow, "data\\ChatWin.slr", 0, 448, 0, 629, 34, 0, ChatWindow},
    {9, B::kSidePanel, "InvWin.slr", 528, 0, 800, 0, 0, 0, Make<CInvWin>},
    {94, B::kWindow, "data\\bank.slr", 233, 93, -328, 93, 0, 0, Make<CBankWin>},
    {97, B::kWindow, "data\\Deposit.slr", 233, 93, -328, 93, 0, 0, Make<CDepositWin>},
    {98, B::kWindow, "data\\cabinet.slr", 133, 93, -328, 93, 0, 0, Make<CCabinetWin>},
    {101, B::kSliding, "cherubim.slr", 240, 123, -320, 123, 0, 0, Make<CNpcTalkWin>},
    {102, B::kSliding, "weapon.slr", 240, 123, -320, 123, 0, 0, Make<CWeaponShopWin>},
    {103, B::kSliding, "armor.slr", 240, 123, -320, 123, 0, 0, Make<CArmorShopWin>},
    {104, B::kSliding, "packman.slr", 240, 123, -320, 123, 0, 0, Make<CPackmanWin>},
    {105, B::kSliding, "talkbox.slr", 240, 123, -320, 123, 0, 0, Make<CTalkBoxWin>},
    {6, B::kSidePanel, "StatusWin.slr", 528, 0, 800, 0, 0, 0, Make<CStatusWin>},
    {12, B::kWindow, "data\\GrpWin.slr", 64, 61, 64, 600, 6, 0, Make<CGroupWin>},
    {26, B::kWindow, "data\\ProfileWin.slr", 200, 93, -400, 93, 6, 0, Make<CProfileWin>},
    {42, B::kContainer, nullptr, 0, 0, 0, 0, 0, 0, Make<CBattleBar>},
    {51, B::kSidePanel, "data\\TaxRate.slr", 528, 0, 800, 0, 0, 0, Colony},
    {0, B::kWidget, "TechCube.slr", 0, 0, 0, 0, 0, 0, Make<CTechCube>},
    {0, B::kWidget, nullptr, 0, 0, 0, 0, 0, 0, Make<CTechCubeSlot>},
    {52, B::kWindow, "BullWin.slr", 96, 76, 800, 76, 0, 0, Make<CBullWin>},
    {54, B::kWindow, "MailWin.slr", 96, 76, 800, 76, 0, 0, Make<CMailWin>},
    {56, B::kWindow, "data\\MailReadWin.slr", 94, 76, 94, 600, 0, 1, Make<CMailReadWin>},
    {55, B::kWindow, "data\\BullReadWin.slr", 94, 76, 94, 600, 0, 1, Make<CBullReadWin>},
    {58, B::kSliding, "MarketWin.slr", 170, 100, 170, 600, 0, 1, Make<CMarketWin>},
    {67, B::kSliding, "RankWin.slr", 170, 100, -460, 100, 0, 0, Make<CRankWin>},
    {68, B::kSliding, "RankFndWin.slr", 256, 250, -288, 250, 1, 0, Make<CRankFndWin>},
    {69, B::kHotKeyButton, "ToFldBtn.slr", 50, 50, 850, 50, 0, 0, ToFieldButton},
    {61, B::kSidePanel, "BaseFac.slr", 528, 0, 800, 0, 0, 0, Colony},
    {64, B::kSidePanel, "BaseFac.slr", 528, 0, 800, 0, 0, 0, Colony},
    {59, B::kSidePanel, "ParaCtrl.slr", 528, 0, 800, 0, 0, 0, Colony},
    {60, B::kSidePanel, "HQ.slr", 528, 0, 800, 0, 1, 0, Colony},
    {50, B::kWidget, "TechCube.slr", 50, 50, 50, -450, 0, 0, Colony},
    {65, B::kWindow, "TechCubeBox.slr", 0, 0, -528, 0, 0, 0, Colony},
    {49, B::kWindow, "TechWin.slr", 528, 0, 800, 0, 0, 0, Colony},
    {10, B::kSidePanel, "HelpWin.slr", 528, 0, 800, 0, 1, 0, Make<CHelpWin>},
    {35, B::kWidget, "data\\GameMenu.slr", 0, 0, 768, 0, 0, 0, Make<CGameMenuWin>},
    {57, B::kSliding, "data\\SearchWin.slr", 288, 221, 800, 221, 1, 0, Make<CSearchWin>},
    {36, B::kWidget, "data\\AreYouSure.slr", 230, 240, 230, 600, 0, 0, Make<CAreYouSureWin>},
    {37, B::kSlider, "MusicVol.slr", 300, 100, 300, -50, 0, 0, MusicSlider},
    {38, B::kSlider, "SoundVol.slr", 300, 175, -220, 175, 0, 0, SoundSlider},
    {39, B::kSlider, "GammaCnt.slr", 300, 250, 800, 250, 0, 0, LightSlider},
    {40, B::kCheckBox, "StageEf.slr", 300, 325, -220, 325, 0, 0, StageEffects},
    {41, B::kButton, "PrevBtn.slr", 300, 400, 300, 600, 0, 0, PrevButton},
    {0, B::kWidget, nullptr, 0, 0, 0, 0, 0, 0, Make<CMessageBoxWin>},
    {0, B::kWidget, nullptr, 0, 0, 0, 0, 0, 0, Make<CNoticeLine>},
}};
// clang-format on

// Rows by index: the chat window (17) with the big chat (11), the tech cube
// picture (32) with its cell (46), the tech cube slot (33) with the
// inventory (18), then the rest in directory order.
constexpr std::array<int, kWindowRows> BuildOrder()
{
    std::array<int, kWindowRows> order{};
    constexpr int kFirst[] = {17, 11, 32, 46, 33, 18};
    int n = 0;
    for (int i : kFirst)
        order[static_cast<size_t>(n++)] = i;
    for (int i = 0; i < kWindowRows; ++i) {
        bool early = false;
        for (int f : kFirst)
            early = early || f == i;
        if (!early)
            order[static_cast<size_t>(n++)] = i;
    }
    return order;
}

constexpr std::array<int, kWindowRows> kOrder = BuildOrder();

}  // namespace

const std::array<SWindowRow, kWindowRows>& WindowTable()
{
    return kRows;
}

const std::array<int, kWindowRows>& WindowConstructionOrder()
{
    return kOrder;
}
