#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/FrameClock.h"
#include "rules/CalcData.h"
#include "world/BGLayer.h"
#include "support/CreatureBed.h"
#include "world/ObjLayer.h"

namespace {

struct Drawn {
    int mode;
    uint32_t param;
    bool operator==(const Drawn&) const = default;
};

// The draw list entries this frame added for c.
std::vector<Drawn> EntriesOf(CCreatureBed& bed, const CObj* c)
{
    std::vector<Drawn> out;
    const CDrawList& list = bed.Layer().DrawList();
    for (int i = 0; i < list.GetCount(); ++i)
        if (list.GetEntry(i).owner == c)
            out.push_back({list.GetEntry(i).mode, list.GetEntry(i).param});
    return out;
}

std::vector<std::string> Calls(const FakeUi& ui, const char* name)
{
    std::vector<std::string> out;
    for (const std::string& c : ui.log.Calls())
        if (c.rfind(name, 0) == 0)
            out.push_back(c);
    return out;
}

void Name(CCreature& c, const char* name)
{
    CharacterRecord& r = c.GetCharRecord();
    for (size_t i = 0; i < CharacterRecord::kNameSize; ++i)
        r.bytes[i] = static_cast<uint8_t>(*name ? *name++ : 0);
}

}  // namespace

TEST(CreatureDraw, ModesByBattleLightAndStatus)
{
    CCreatureBed bed;
    bed.ui.logFrameCalls = true;
    CCharacter& me = bed.Me(10, 10);
    CCharacter& ally = bed.Add(20, 11, 10);
    CCharacter& enemy = bed.Add(21, 12, 10);
    CCharacter& orc = bed.Add(1300, 10, 12, 1305);
    CCreature::GroupKey key{20, 7, 20};
    me.SetGroupKey(key);
    ally.SetGroupKey(key);
    for (CCreature* c : {&me, &ally, &enemy, &orc})
        c->GetCharRecord().SetU32(CharacterRecord::kLook, 0x1C5);
    bed.Frame();
    for (CCreature* c : {&me, &ally, &enemy})
        EXPECT_EQ(EntriesOf(bed, c), (std::vector<Drawn>{{6, 5}})) << "recoloured outside battle";
    EXPECT_EQ(EntriesOf(bed, &orc), (std::vector<Drawn>{{0, 0}})) << "a class above 5 plainly";
    EXPECT_TRUE(Calls(bed.ui, "AddNotice").empty()) << "no bars outside battle";

    bed.Layer().m_inBattle = 1;
    for (int x = 0; x < 20; ++x)
        for (int y = 0; y < 20; ++y)
            bed.Ground().SetSight(x, y, 8);
    bed.Ground().SetSight(12, 10, 3);
    bed.Ground().SetSight(10, 12, 5);
    ally.SetHidden(true);
    bed.ui.log.Clear();
    bed.Frame();
    EXPECT_EQ(EntriesOf(bed, &me), (std::vector<Drawn>{{6, 5}}));
    EXPECT_EQ(EntriesOf(bed, &ally), (std::vector<Drawn>{{4, 3}})) << "a hidden ally is seen through";
    EXPECT_EQ(EntriesOf(bed, &enemy), (std::vector<Drawn>{{7, 3 * 256 + 5}})) << "in the dark";
    EXPECT_EQ(EntriesOf(bed, &orc), (std::vector<Drawn>{{3, 5}}));
    EXPECT_EQ(Calls(bed.ui, "AddNotice").size(), 2u) << "bars for me and my ally only, below 20001";

    enemy.SetHidden(true);
    orc.SetFrozen(true);
    bed.Layer().m_battleNumber = 20001;
    bed.ui.log.Clear();
    bed.Frame();
    EXPECT_TRUE(EntriesOf(bed, &enemy).empty()) << "a hidden enemy is not drawn";
    EXPECT_EQ(EntriesOf(bed, &orc), (std::vector<Drawn>{{3, 4}})) << "frozen";
    const std::vector<std::string> bars = Calls(bed.ui, "AddNotice");
    ASSERT_EQ(bars.size(), 3u) << "in a death match a visible enemy has one too";
    const CharacterRecord& o = orc.GetCharRecord();
    EXPECT_NE(bars[2].find(", " + std::to_string(o.I32(CharacterRecord::kHp)) + ", " +
                           std::to_string(CalcMaxHp(o))),
              std::string::npos);
    EXPECT_EQ(bars[2].substr(bars[2].size() - 4), ", 5)") << "with the light of its cell";
    for (const std::string& label : Calls(bed.ui, "AddFloatText"))
        EXPECT_EQ(label.find("\"m0\""), std::string::npos);

    // Dying fades out.
    bed.Layer().m_inBattle = 0;
    me.OrderDie(&orc);
    bed.Frame();
    EXPECT_EQ(EntriesOf(bed, &me), (std::vector<Drawn>{{4, 7}}));
    bed.Frame(35);
    EXPECT_EQ(EntriesOf(bed, &me), (std::vector<Drawn>{{4, 0}}));
}

TEST(CreatureDraw, LabelsBarsAndTheGameMastersOverlay)
{
    CCreatureBed bed;
    bed.ui.logFrameCalls = true;
    bed.GoOnline();
    CCharacter& me = bed.Me(10, 10);
    CCharacter& other = bed.Add(300, 11, 10);
    Name(me, "0123456789abcdefg");  // all 17 bytes, no end
    Name(other, "%s%n");
    bed.Frame();
    int sx = 0, sy = 0;
    bed.Ground().WorldToScreen(other.GetPixelX(), other.GetPixelY(), sx, sy);
    std::vector<std::string> labels = Calls(bed.ui, "AddFloatText");
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_NE(labels[0].find("\"0123456789abcdefg\""), std::string::npos) << labels[0];
    EXPECT_EQ(labels[1], CCallLog::Call("AddFloatText", sx, sy, "%s%n")) << "names are text, not formats";
    EXPECT_TRUE(bed.Received().empty());

    // The creature under the mouse has its fields asked for once.
    bed.Layer().m_pHoverCreature = &other;
    bed.Frame(2);
    EXPECT_EQ(bed.Received(), (Bytes{52, 44, 1, 1, 52, 44, 1, 27, 52, 44, 1, 21}));
    g_gmFlag = 1;
    g_gmOverlayMode = 2;
    other.SetFieldsRequested(0);
    other.GetCharRecord().SetU32(CharacterRecord::kMoney, 1234);
    g_jailRemaining = 9;
    bed.ui.log.Clear();
    bed.Frame();
    EXPECT_EQ(bed.Received(), (Bytes{52, 44, 1, 1, 52, 44, 1, 27, 52, 44, 1, 21, 52, 44, 1, 8, 52, 44, 1, 30}));
    labels = Calls(bed.ui, "AddFloatText");
    ASSERT_EQ(labels.size(), 4u);
    const int level = other.GetCharRecord().I32(CharacterRecord::kLevel);
    EXPECT_EQ(labels[2], CCallLog::Call("AddFloatText", sx, sy,
                                        "%s%n l:" + std::to_string(level) + " j:1234 su:0 jun:0 time:9"));
    EXPECT_EQ(labels[3], CCallLog::Call("AddFloatText", sx, sy + 16, "<011,010>"));
    // Outside the view nothing is drawn or labelled.
    other.PlaceAt(40, 10);
    bed.ui.log.Clear();
    bed.Frame();
    EXPECT_TRUE(EntriesOf(bed, &other).empty());
    EXPECT_EQ(Calls(bed.ui, "AddFloatText").size(), 2u) << "mine with its overlay line";
}

TEST(CreatureDraw, WithoutAStandAnimationAStandingCreatureIsNotDrawn)
{
    CreatureSetOptions options;
    options.stand = false;
    CCreatureBed bed(64, options);
    bed.Me(8, 8);
    CCharacter& c = bed.Add(1000, 10, 10);
    bed.Frame(20);
    EXPECT_TRUE(EntriesOf(bed, &c).empty());
    c.MoveTo(12, 10, 0);
    bed.Frame();
    EXPECT_EQ(EntriesOf(bed, &c).size(), 1u) << "it walks";
    bed.Frame(40);
    EXPECT_EQ(c.GetTileX(), 12);
    EXPECT_TRUE(EntriesOf(bed, &c).empty());
}
