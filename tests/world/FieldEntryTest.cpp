#include <gtest/gtest.h>

#include <vector>

#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "core/RleImage.h"
#include "fixtures/PacketStream.h"
#include "net/PacketAssembler.h"
#include "world/BGLayer.h"
#include "support/CreatureBed.h"
#include "world/ObjLayer.h"

namespace {

// [3][u16 id][u8][u16 x][u16 y][u16 type][u8 speed][u8 look]
Bytes EnterReply(int id, int x, int y)
{
    return {3, static_cast<uint8_t>(id), 0, 0, static_cast<uint8_t>(x), 0, static_cast<uint8_t>(y), 0, 0, 0, 0, 0};
}

class FieldEntryTest : public testing::Test {
protected:
    void SetUp() override
    {
        SetPacketSource(&src);
        bed.world.MyRecord() = *bed.Layer().GetCharTemplate(0);
    }
    void TearDown() override { SetPacketSource(nullptr); }
    void Dispatch(const Bytes& b)
    {
        src.Append(b);
        g_pView->ReceiveDispatch();
    }
    CCreatureBed bed;
    CMemoryByteSource src;
};

}  // namespace

TEST_F(FieldEntryTest, TheAcceptedEntryMakesMyCharacterOnce)
{
    CObjLayer& layer = bed.Layer();
    layer.StageChange().Init(CStageChange::kMove, 0, 20, 30);

    layer.m_inBattle = 1;
    Dispatch(EnterReply(CCreatureBed::kMyId, 20, 30));
    EXPECT_EQ(layer.GetMyCharacter(), nullptr) << "ignored in battle";
    EXPECT_EQ(layer.m_enteredAnswer, 0);
    layer.m_inBattle = 0;
    Dispatch(EnterReply(0, 20, 30));
    EXPECT_EQ(layer.m_enteredAnswer, -1);
    EXPECT_EQ(layer.GetMyCharacter(), nullptr) << "refused";
    Dispatch(EnterReply(CCreatureBed::kMyId, 200, 30));
    EXPECT_EQ(src.Available(), 0u);
    EXPECT_EQ(layer.GetMyCharacter(), nullptr) << "an entry off the map";
    EXPECT_EQ(layer.m_enteredAnswer, -1);

    Dispatch(EnterReply(CCreatureBed::kMyId, 20, 30));
    CCharacter* me = layer.GetMyCharacter();
    ASSERT_EQ(me, &layer.CharacterSlot(0));
    EXPECT_EQ(me->GetServerId(), CCreatureBed::kMyId);
    EXPECT_EQ(me->GetTileX(), 20);
    EXPECT_EQ(me->GetTileY(), 30);
    EXPECT_EQ(layer.GetObjectCell(20, 30), me->GetHandle());
    EXPECT_EQ(layer.m_inField, 1u);
    EXPECT_EQ(layer.StageChange().GetState(), CStageChange::kIdle) << "the stage change is over";

    Dispatch(EnterReply(CCreatureBed::kMyId, 5, 5));
    EXPECT_EQ(layer.GetMyCharacter(), me);
    EXPECT_EQ(me->GetTileX(), 20) << "one character only";
}

TEST_F(FieldEntryTest, TheLayersDrawRunsTheObjectsAndDrawsTheSortedList)
{
    CObjLayer& layer = bed.Layer();
    EXPECT_EQ(layer.Draw(), 0) << "nothing to do without my character";
    CCharacter& me = bed.Me(10, 10);
    CCharacter& walker = bed.Add(1000, 11, 10, 1305);
    me.GetCharRecord().SetU32(CharacterRecord::kClass, 9);  // plain frames: no palette here
    walker.MoveTo(14, 10, 0);
    layer.Draw();
    layer.Draw();
    EXPECT_EQ(walker.GetTileX(), 12) << "one update a draw";
    EXPECT_EQ(layer.DrawList().GetCount(), 2);

    // The sorted entries land at their position less the hot spot.
    std::vector<uint8_t> screen(800 * 600, 0);
    layer.DrawSortedList(screen.data());
    struct Box {
        int left, top;
        int painted = 0;
    };
    std::vector<Box> boxes;
    for (int i = 0; i < layer.DrawList().GetCount(); ++i) {
        const DrawEntry& e = layer.DrawList().GetEntry(i);
        boxes.push_back({static_cast<int16_t>(e.x) - e.image->GetHotSpot().x,
                         static_cast<int16_t>(e.y) - e.image->GetHotSpot().y});
    }
    EXPECT_EQ(layer.DrawList().GetEntry(0).owner, &me);
    int outside = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            if (screen[static_cast<size_t>(y) * 800 + static_cast<size_t>(x)] == 0)
                continue;
            bool in = false;
            for (Box& b : boxes)
                if (x >= b.left && x < b.left + 8 && y >= b.top && y < b.top + 8) {
                    ++b.painted;
                    in = true;
                }
            outside += in ? 0 : 1;
        }
    for (const Box& b : boxes)
        EXPECT_GT(b.painted, 0);
    EXPECT_EQ(outside, 0);
}
