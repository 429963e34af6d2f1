#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/CommandRing.h"
#include "rules/AbilitySet.h"
#include "rules/GameData.h"
#include "support/FakeColony.h"
#include "ui/AbilityList.h"
#include "ui/ActionItemList.h"
#include "ui/FacilitySwitch.h"
#include "ui/IconList.h"
#include "ui/MyCharacterView.h"
#include "ui/UiTestEnv.h"
#include "world/ObjLayer.h"
#include "ui/WidgetWindow.h"
#include "windows/PlayerInfo.h"
#include "world/CharacterRecord.h"

namespace {

// Lists on an open window at (100, 100) with their text at (125, 125), for
// a player whose ability set the test fills.
class PlayerLists : public UiTest {
protected:
    PlayerLists()
    {
        owner.LoadImageOnDemand();
        owner.SetState(CWidget::kOpen);
        SetMyAbilitySet(&abilities);
    }
    CharacterRecord& Me() { return World().MyRecord(); }
    void SetGroup(int group) { Me().bytes[CharacterRecord::kClassGroup] = static_cast<uint8_t>(group); }
    std::vector<std::string> Texts(const CListWidget& l)
    {
        std::vector<std::string> out;
        for (int i = 0; i < l.GetRowCount(); ++i)
            out.emplace_back(l.GetRow(i).text);
        return out;
    }
    template <class List>
    List Make(int32_t* selection)
    {
        return List(&owner, 20, 20, owner.GetSprite(), 20, 20, 120, 90, 5, 5, 6, selection);
    }

    CWidgetWindow owner{60, kWindow, 100, 100, 100, 100, 0};
    CAbilitySet abilities{&Me()};
    int32_t selection = -7;
};

TEST_F(PlayerLists, AbilityListsShowTheOwnedAbilitiesOfTheirClassInTheLanguage)
{
    auto list = Make<CActionListB>(&selection);
    EXPECT_EQ(selection, -7) << "level 0 selects nothing";
    abilities.SetOwned(9);   // Evation: category 2 of class group 2
    abilities.SetOwned(2);   // CounterGuard, group 0
    abilities.SetOwned(7);   // WarriorHealing, group 0
    abilities.SetOwned(0);   // Escape, any group
    list.ReloadData();
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"도망", "카운터가드", "힐링"}));
    EXPECT_EQ(list.GetRow(0).text, AbilityTable[0].korean) << "the table's own text";
    English(true);
    list.ReloadData();
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"Escape", "CounterGuard", "WarriorHealing"}));

    // A bit owned only through another class group's row ends the walk.
    auto first = Make<CActionListA>(&selection);
    abilities.SetOwned(14);  // DevilHealing's bit, no category-1 row of group 0
    first.ReloadData();
    EXPECT_EQ(first.GetRowCount(), 0);
    SetMyAbilitySet(nullptr);
    first.ReloadData();
    EXPECT_EQ(first.GetRowCount(), 0);
}

TEST_F(PlayerLists, TheFirstActionListShowsTheRankHeldInItsTwoAbilities)
{
    SetGroup(1);
    Me().SetU16(CharacterRecord::kInputB, 1500);
    abilities.SetOwned(16);
    abilities.SetOwned(23);  // Psychicforce
    g_playerInfo.SetCharKind(1);
    auto list = Make<CActionListA>(&selection);
    EXPECT_EQ(selection, 16) << "kind 1 starts on ElectricEye";
    EXPECT_EQ(abilities.GetCurrentId(1), 16);
    list.ReloadData();
    const std::string rank = CObjLayer::GetClassName(StatLevelB(1500));
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"일렉트릭아이", std::string("싸이킥포스 ") + rank}));
    Me().SetU16(CharacterRecord::kInputB, 0xFFFF);  // -1: the table's first row
    list.ReloadData();
    EXPECT_EQ(Texts(list)[1], "싸이킥포스 CLASS 0");
    English(true);
    list.ReloadData();
    EXPECT_EQ(Texts(list)[1], "Psychicforce");

    SetGroup(2);
    Me().SetU32(CharacterRecord::kLevel, 40);
    g_playerInfo.SetCharKind(2);
    abilities.SetOwned(15);
    int32_t support = -7;
    auto cure = Make<CSupportList>(&support);
    EXPECT_EQ(support, 15);
    EXPECT_EQ(abilities.GetCurrentId(6), 15);
    int32_t action = -7;
    auto fire = Make<CActionListA>(&action);
    EXPECT_EQ(action, 8);
    int32_t second = -7;
    auto escape = Make<CActionListB>(&second);
    EXPECT_EQ(second, 0);
}

TEST_F(PlayerLists, AClickMakesTheRowTheCurrentAbilityAndTheCurrentOneIsSelected)
{
    abilities.SetOwned(1);
    abilities.SetOwned(3);
    abilities.SetOwned(5);
    auto list = Make<CActionListA>(&selection);
    EXPECT_EQ(selection, 1);
    list.SetState(CWidget::kOpen);
    list.ReloadData();
    EXPECT_EQ(list.OnLButtonDown(130, 125 + 14 + 3), 1);
    EXPECT_EQ(selection, 3);
    EXPECT_EQ(abilities.GetCurrentId(1), 3);
    // The current ability, chosen elsewhere, becomes the selection.
    abilities.Select(5);
    list.Refresh();
    EXPECT_EQ(selection, 5);
    SetMyAbilitySet(nullptr);
    selection = 1;
    list.Refresh();
    EXPECT_EQ(selection, 1);
}

TEST_F(PlayerLists, ActionItemListListsTheUsableItemsAndStoresTheChosenId)
{
    auto item = [](uint16_t type, const std::string& name) {
        ItemRecord rec;
        rec.equipType = type;
        std::strncpy(rec.koreanName.data(), name.c_str(), rec.koreanName.size() - 1);
        std::strncpy(rec.englishName.data(), name.c_str(), rec.englishName.size() - 1);
        return rec;
    };
    World().AddItem(2, item(9, "Potion"));
    World().AddItem(3, item(3, "Shield"));
    World().AddItem(4, item(9, std::string(31, 'L')));
    World().AddItem(5, item(9, std::string(28, 'K') + "가"));
    for (int slot : {0, 1, 2, 3})
        CPlayerInfo::SetItem(Me(), slot * 3, slot + 2);

    int32_t chosen = 0;
    CActionItemList items(&owner, 20, 20, owner.GetSprite(), 20, 20, 120, 90, 5, 5, 6, &selection, &chosen);
    EXPECT_EQ(CActionItemList::Registered(), &items);
    items.ReloadData();
    EXPECT_EQ(selection, -1);
    ASSERT_EQ(items.GetRowCount(), 3);
    EXPECT_EQ(Texts(items), (std::vector<std::string>{"Potion", std::string(29, 'L'), std::string(28, 'K')}));
    EXPECT_EQ(items.GetRow(1).value, 2);
    EXPECT_EQ(items.OnLButtonDown(130, 125 + 14 + 3), 1);
    EXPECT_EQ(chosen, 4);
    EXPECT_EQ(items.OnLButtonDown(130, 125 + 14 * 4 + 3), 0);
    EXPECT_EQ(chosen, 4) << "no row there";

    // The page stack that holds it reloads it when it opens.
    CPlayerInfo::SetItem(Me(), 0, 0);
    CIconList stack(1, 61, 0, 0, 0, 0);
    stack.Toggle();
    EXPECT_EQ(items.GetRowCount(), 2);
}

TEST_F(PlayerLists, FacilitySwitchFollowsThePickedFacility)
{
    FakeColony colony;
    auto* box = new CFacilitySwitch(0, kButton, &owner, 10, 10, 95, 0);
    owner.AddChild(box);
    box->SetState(CWidget::kOpen);
    Frames(*box, 1);
    auto click = [&](uint32_t clock) {
        g_commandRing.Reset();
        g_frameClock = clock;
        box->OnLButtonDown(115, 115);
        box->OnLButtonUp(115, 115);
    };
    click(0);
    EXPECT_EQ(box->IsTicked(), 1) << "nothing picked: only the box changes";
    EXPECT_EQ(colony.log.Count("SetPickedFacilityActive"), 0);

    colony.pickedActive = 0;
    box->SetState(CWidget::kOpening);
    EXPECT_EQ(box->IsTicked(), 0);
    box->SetState(CWidget::kOpen);
    click(20);
    EXPECT_EQ(box->IsTicked(), 1);
    EXPECT_EQ(colony.log.Calls(), (std::vector<std::string>{CCallLog::Call("SetPickedFacilityActive", 1)}));
    colony.pickedActive = -1;
    box->SetState(CWidget::kOpening);
    EXPECT_EQ(box->IsTicked(), 1);
}

}  // namespace
