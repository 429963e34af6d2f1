// The whole client in colony mode: a click on the headquarters opens its
// panel, its buttons switch the cursor to place and demolish, and the
// scripted server sees exactly what the clicks build and take down.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/QuillonView.h"
#include "colony/SimBuildingTable.h"
#include "colony/SimColony.h"
#include "colony/SimCursor.h"
#include "colony/SimCursorFacility.h"
#include "colony/SimTerrain.h"
#include "core/Display.h"
#include "fixtures/ColonySprites.h"
#include "fixtures/IntroArchive.h"
#include "net/MySocket.h"
#include "support/FakeServer.h"
#include "support/Harness.h"
#include "ui/Widget.h"
#include "windows/DaradirUzedo.h"
#include "world/CharacterRecord.h"
#include "world/ObjLayer.h"

extern uint16_t g_myId;

namespace {

CArchiveBuilder ClientArchive()
{
    CArchiveBuilder b = CIntroArchive::Game();
    CColonySprites::AddTo(b);
    CColonySprites::AddScreenTo(b);
    return b;
}

bool Holds(const Bytes& bytes, const Bytes& part)
{
    return std::search(bytes.begin(), bytes.end(), part.begin(), part.end()) != bytes.end();
}

class ColonyClient : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(h.Start());
        ASSERT_TRUE(h.RunUntil([] { return g_pView && g_pView->m_pGameLayer && g_pView->m_pDisplay; }));
        view = g_pView;
        view->m_pDisplay->AddLayer(view->m_pObjLayer);
        g_myId = 0x1234;
        ASSERT_TRUE(h.RunUntil([&] { return h.Server().Accepted() && g_pMainSocket->CanSend(); }, 20000));
    }
    CWidget* Win(int32_t id) { return g_layerHolder.GetLayer()->GetRootContainer()->FindChild(id); }
    // The bytes the server received after `from`, once n have come.
    Bytes SentAfter(size_t from, size_t n)
    {
        h.RunUntil([&] { return h.Server().AllReceived().size() >= from + n; }, 20000);
        h.RunForMs(200);
        const Bytes& all = h.Server().AllReceived();
        return Bytes(all.begin() + static_cast<long>(std::min(from, all.size())), all.end());
    }
    void ClickMap(int x, int y)
    {
        const ScreenPoint s = g_simTerrain.MapToScreen(x, y);
        h.MouseMove(s.x, s.y);
        h.RunForMs(100);
        h.Click(1, s.x, s.y);
        h.RunForMs(100);
    }
    void Press(int x, int y)
    {
        h.MouseMove(x, y);
        h.RunForMs(100);
        h.MouseDown(1, x, y);
        h.RunForMs(100);
        h.MouseUp(1, x, y);
        h.RunForMs(100);
    }

    CTestArchive archive{ClientArchive(), false};
    CHarness h;
    CQuillonView* view = nullptr;
};

}  // namespace

TEST_F(ColonyClient, PickPlaceAndDemolishThroughTheHeadquartersPanel)
{
    view->ToggleColonyMode();
    ASSERT_EQ(g_colonyMode, 1u);
    h.RunForMs(500);
    // A colony of its headquarters alone, as the server could have sent it.
    g_simColony.Clear();
    g_simColony.Add(new CSimFacility(kSimHeadquarters, 0, 0, 0, 1, CSimFacility::kNoOverlay));
    g_simColony.m_cursorFacility = new CSimCursorFacility;
    g_simColony.Add(g_simColony.m_cursorFacility);
    view->m_pObjLayer->MyRecord().SetU32(CharacterRecord::kMoney, 500);
    h.RunForMs(200);

    // The headquarters' pick command opens its panel.
    ClickMap(0, 0);
    ASSERT_TRUE(h.RunUntil([&] { return Win(60)->GetState() == CWidget::kOpen; }, 50000));
    EXPECT_EQ(g_simCursor.GetPickedFacility()->m_type, kSimHeadquarters);

    // The build button: place mode, and the closing panel sends the
    // resources.
    size_t from = h.Server().AllReceived().size();
    Press(528 + 15 + 10, 540 + 10);
    EXPECT_EQ(g_simCursor.GetMode(), CSimCursor::kPlace);
    // ['d'][2][i32 value][u8 rate 30]...
    EXPECT_TRUE(Holds(SentAfter(from, 15), Bytes{'d', 2, 0, 0, 0, 0, 30}));

    // Too close to the headquarters: refused, nothing sent, pick mode again.
    from = h.Server().AllReceived().size();
    ClickMap(2, 1);
    h.RunForMs(300);
    EXPECT_FALSE(Holds(SentAfter(from, 0), Bytes{'g', 45}));
    EXPECT_EQ(g_simCursor.GetMode(), CSimCursor::kPick);

    // Again, where a base may stand: 'g' with its cell, then the resources
    // and the money.
    ASSERT_TRUE(h.RunUntil([&] { return Win(60)->GetState() == CWidget::kClosed; }, 50000));
    ClickMap(0, 0);
    ASSERT_TRUE(h.RunUntil([&] { return Win(60)->GetState() == CWidget::kOpen; }, 50000));
    Press(528 + 15 + 10, 540 + 10);
    ASSERT_EQ(g_simCursor.GetMode(), CSimCursor::kPlace);
    from = h.Server().AllReceived().size();
    ClickMap(-8, 3);
    // ['g'][45][x i16][y i16], the resources, the money (field 30).
    const Bytes built = SentAfter(from, 6 + 15 + 6);
    EXPECT_TRUE(Holds(built, Bytes{'g', 45, 0xF8, 0xFF, 3, 0}));
    EXPECT_TRUE(Holds(built, Bytes{53, 30, 0xF4, 1, 0, 0}));
    CSimFacility* base = nullptr;
    for (CSimMapObject* o : g_simColony)
        if (o->m_type == kSimEmptyBase)
            base = o->AsFacility();
    ASSERT_NE(base, nullptr);
    EXPECT_EQ((std::pair{base->m_x, base->m_y}), (std::pair{-8, 3}));

    // The demolish button, then the base: 'h' with its cell.
    ASSERT_TRUE(h.RunUntil([&] { return Win(60)->GetState() == CWidget::kClosed; }, 50000));
    ClickMap(0, 0);
    ASSERT_TRUE(h.RunUntil([&] { return Win(60)->GetState() == CWidget::kOpen; }, 50000));
    Press(528 + 115 + 10, 540 + 10);
    ASSERT_EQ(g_simCursor.GetMode(), CSimCursor::kDemolish);
    h.RunForMs(300);
    from = h.Server().AllReceived().size();
    ClickMap(-8, 3);
    EXPECT_TRUE(Holds(SentAfter(from, 5), Bytes{'h', 0xF8, 0xFF, 3, 0}));
    for (CSimMapObject* o : g_simColony)
        EXPECT_NE(o->m_type, kSimEmptyBase);
    EXPECT_EQ(g_simCursor.GetMode(), CSimCursor::kPick);
}
