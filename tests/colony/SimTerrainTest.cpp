// The colony ground, the conversions between map units and pixels, and the
// drawing and picking of the map objects on a memory screen.
#include <vector>

#include "app/MouseState.h"
#include "colony/SimCursor.h"
#include "colony/SimPanelList.h"
#include "colony/SimTerrain.h"
#include "core/Blit.h"
#include "fixtures/ColonySprites.h"
#include "ui/FieldView.h"
#include "ui/Widget.h"
#include "ColonyTestSupport.h"

namespace {

CArchiveBuilder ColonyArchive()
{
    CArchiveBuilder b = CArchiveBuilder::MinimalGame();
    CColonySprites::AddTo(b);
    return b;
}

class ColonyDraw : public ColonyTest {
protected:
    ColonyDraw() : ColonyTest(ColonyArchive())
    {
        g_simBuildingTable.LoadSprites();
        SetSpriteClipRect(0, 0, 800, 600);
    }
    ~ColonyDraw() override { SetSpriteClipRect(0, 0, 800, 480); }
    uint8_t At(int x, int y) const { return screen[static_cast<size_t>(y) * 800 + static_cast<size_t>(x)]; }
    void Clear() { std::fill(screen.begin(), screen.end(), uint8_t{255}); }
    // A pixel inside every frame anchored on (sx, sy) and never a marker:
    // the fixture's anchors lie at 1..7, 2..6 in 12 x 12 frames.
    uint8_t Inside(int sx, int sy) const { return At(sx + 3, sy + 5); }

    std::vector<uint8_t> screen = std::vector<uint8_t>(800 * 600, 255);
};

TEST(SimTerrain, ScreenToMapInvertsMapToScreenAtEveryCamera)
{
    CSimTerrain t;
    for (int width : {800, 528, 601}) {
        SetFieldViewRight(width);
        for (auto [cx, cy] : {std::pair{600, 600}, std::pair{400, 224}, std::pair{800, 976}, std::pair{523, 777}}) {
            t.m_cameraX = cx;
            t.m_cameraY = cy;
            for (int x = -40; x <= 40; ++x)
                for (int y = -40; y <= 40; ++y) {
                    const ScreenPoint s = t.MapToScreen(x, y);
                    ASSERT_EQ(t.ScreenToMap(s.x, s.y), (ScreenPoint{x, y})) << x << "," << y << " at " << cx << "," << cy;
                }
        }
    }
    SetFieldViewRight(800);
    t.Reset();
    EXPECT_EQ(t.MapToScreen(0, 0), (ScreenPoint{400, 224}));
    EXPECT_EQ(t.MapToScreen(1, 0), (ScreenPoint{416, 232}));
    EXPECT_EQ(t.MapToScreen(0, 1), (ScreenPoint{384, 232}));
    // Truncation toward zero: both sides of the HQ's axes pick cell 0.
    EXPECT_EQ(t.ScreenToMap(400 + 15, 224), (ScreenPoint{0, 0}));
    EXPECT_EQ(t.ScreenToMap(400 - 15, 224), (ScreenPoint{0, 0}));
    EXPECT_EQ(t.ScreenToMap(400, 224 - 15), (ScreenPoint{0, 0}));
}

TEST(SimTerrain, CameraIsClampedToTheGroundAtTheNextDraw)
{
    CSimTerrain t;
    struct Row {
        int width, x, y, clampedX, clampedY;
    } rows[] = {
        {800, 0, 0, 400, 224},   {800, 5000, 5000, 800, 976}, {800, 600, 600, 600, 600},
        {528, 0, 0, 264, 224},   {528, 5000, -9, 936, 224},   {528, 700, 975, 700, 975},
    };
    for (const Row& r : rows) {
        SetFieldViewRight(r.width);
        t.m_cameraX = r.x;
        t.m_cameraY = r.y;
        t.Draw(nullptr);
        EXPECT_EQ(t.m_cameraX, r.clampedX) << r.width;
        EXPECT_EQ(t.m_cameraY, r.clampedY) << r.width;
    }
    // Scrolling past the edge holds until the next draw.
    SetFieldViewRight(800);
    t.ScrollLeft();
    t.ScrollDown();
    EXPECT_EQ(std::pair(t.m_cameraX, t.m_cameraY), std::pair(695, 980));
    t.Draw(nullptr);
    EXPECT_EQ(std::pair(t.m_cameraX, t.m_cameraY), std::pair(695, 976));
    t.ScrollRight();
    t.ScrollUp();
    EXPECT_EQ(std::pair(t.m_cameraX, t.m_cameraY), std::pair(700, 971));
}

TEST_F(ColonyDraw, TheGroundShowsTheTilesUnderTheCamera)
{
    Colony().DrawTerrain(screen.data());
    // Screen (x, y) shows ground (x + 200, y + 376) at camera (600, 600).
    for (auto [x, y] : {std::pair{0, 0}, std::pair{799, 447}, std::pair{400, 224}, std::pair{49, 23}, std::pair{50, 24}}) {
        const int gx = x + 200, gy = y + 376;
        EXPECT_EQ(At(x, y), CColonySprites::TileColour(gy / 50 * 24 + gx / 50)) << x << "," << y;
    }
    // At the ground's corner.
    g_simTerrain.m_cameraX = 0;
    g_simTerrain.m_cameraY = 0;
    Clear();
    g_simTerrain.Draw(screen.data());
    EXPECT_EQ(At(0, 0), CColonySprites::TileColour(0));
    EXPECT_EQ(At(799, 447), CColonySprites::TileColour(8 * 24 + 15));
}

TEST_F(ColonyDraw, FacilitiesShowTheirSiteUntilBuiltAndAnimateWhileActive)
{
    SetGameTime(1000);
    // Type 1 takes 240: started at 763 it is at 98%, at 760 at 100%.
    CSimFacility f(1, 0, 0, 763, 1, CSimFacility::kNoOverlay);
    f.Draw(screen.data());
    EXPECT_EQ(f.m_screenX, 400);
    EXPECT_EQ(f.m_screenY, 224);
    EXPECT_EQ(Inside(400, 224), CColonySprites::FrameColour(261)) << "the small site's first frame";
    for (int i = 0; i < 9; ++i)
        f.Draw(screen.data());
    EXPECT_EQ(Inside(400, 224), CColonySprites::FrameColour(262)) << "its second after ten draws";
    f.m_start = 760;
    f.m_counter = 0;
    for (int i = 0; i < 9; ++i) {
        f.Draw(screen.data());
        EXPECT_EQ(Inside(400, 224), CColonySprites::FrameColour(0));
    }
    f.Draw(screen.data());
    EXPECT_EQ(Inside(400, 224), CColonySprites::FrameColour(1)) << "ten draws a frame";
    // Still while inactive.
    f.m_active = 0;
    for (int i = 0; i < 30; ++i)
        f.Draw(screen.data());
    EXPECT_EQ(Inside(400, 224), CColonySprites::FrameColour(1));
    // The anchor's marker takes the colour left of it.
    EXPECT_EQ(At(400, 224), CColonySprites::FrameColour(1));
    // A large-overlay type (4) builds on the large site.
    CSimFacility garden(4, 0, 0, 999, 1, CSimFacility::kNoOverlay);
    garden.Draw(screen.data());
    EXPECT_EQ(Inside(400, 224), CColonySprites::FrameColour(267));
    // A feature shows its variant's frame of four.
    CSimFeature rock(kSimRock, 0, 0, 6);
    Clear();
    rock.Draw(screen.data());
    EXPECT_EQ(Inside(400, 224), CColonySprites::FrameColour(245)) << "variant 6 of four frames";
}

TEST_F(ColonyDraw, AMarkerAtTheScreenEdgeTouchesNothingOutside)
{
    g_simTerrain.m_cameraX = 1000;
    g_simTerrain.m_cameraY = 824;
    CSimFacility hq(kSimHeadquarters, 0, 0, 0, 0, CSimFacility::kNoOverlay);
    hq.Draw(screen.data());
    EXPECT_EQ(hq.m_screenX, 0);
    EXPECT_EQ(hq.m_screenY, 0);
    // Nothing left of column 0: the marker stays.
    EXPECT_EQ(At(0, 0), 0);
    for (auto [x, y] : {std::pair{1, 0}, std::pair{-20, -20}, std::pair{799, 599}, std::pair{805, 610}}) {
        g_simTerrain.m_cameraX = 1000 - x;
        g_simTerrain.m_cameraY = 824 - y;
        Clear();
        hq.Draw(screen.data());
        if (x >= 1 && x < 800 && y >= 0 && y < 600) {
            EXPECT_NE(At(x, y), 0) << x << "," << y;
        }
    }
}

TEST_F(ColonyDraw, PickingFollowsTheLastDrawAndDemolishModePassesTheHeadquarters)
{
    Layout({{kSimHeadquarters, 0, 0}, {2, 8, 0}});
    Colony().DrawObjects(screen.data());
    const CSimFacility* hq = FirstOfType(kSimHeadquarters);
    const CSimFacility* station = FirstOfType(2);
    // The HQ's frame (151) lies at (400 - ax, 224 - ay), 12 square; hits
    // are strictly inside.
    const int left = 400 - CColonySprites::AnchorX(151), top = 224 - CColonySprites::AnchorY(151);
    EXPECT_EQ(hq->HitTest(left + 1, top + 1), 1);
    EXPECT_EQ(hq->HitTest(left, top + 5), 0);
    EXPECT_EQ(hq->HitTest(left + 11, top + 11), 1);
    EXPECT_EQ(hq->HitTest(left + 12, top + 5), 0);
    EXPECT_EQ(g_simColony.FindAt(left + 5, top + 5), hq);
    const ScreenPoint s = g_simTerrain.MapToScreen(8, 0);
    EXPECT_EQ(g_simColony.FindAt(s.x, s.y), station);
    EXPECT_EQ(g_simColony.FindAt(5, 5), g_simColony.m_cursorFacility);

    g_simCursor.SetMode(CSimCursor::kDemolish);
    EXPECT_EQ(hq->HitTest(left + 5, top + 5), 0);
    EXPECT_EQ(g_simColony.FindAt(left + 5, top + 5), g_simColony.m_cursorFacility);
    EXPECT_EQ(g_simColony.FindAt(s.x, s.y), station);
    // The cursor's facility tells the cursor whether the mouse is over one.
    g_mouseState.SetMouseEvent(MOUSE_MOVE, s.x, s.y);
    g_simColony.m_cursorFacility->Draw(screen.data());
    EXPECT_EQ(g_simCursor.IsValid(), 1);
    g_mouseState.SetMouseEvent(MOUSE_MOVE, left + 5, top + 5);
    g_simColony.m_cursorFacility->Draw(screen.data());
    EXPECT_EQ(g_simCursor.IsValid(), 0);
}

TEST_F(ColonyDraw, ThePlaceCursorFollowsTheMouseAndShowsOnlyWhereABaseMayStand)
{
    // Type 0 takes 1 to build: from time 1 on it shows its own frame.
    SetGameTime(5);
    Layout({{kSimHeadquarters, 0, 0}});
    g_simCursor.SetMode(CSimCursor::kPlace);
    CSimCursorFacility* cursor = g_simColony.m_cursorFacility;
    for (auto [x, y, valid] : {std::tuple{2, 1, 0}, std::tuple{7, -3, 1}, std::tuple{-21, 0, 0}, std::tuple{0, 20, 1}}) {
        const ScreenPoint s = g_simTerrain.MapToScreen(x, y);
        g_mouseState.SetMouseEvent(MOUSE_MOVE, s.x, s.y);
        Clear();
        cursor->Draw(screen.data());
        EXPECT_EQ(cursor->m_x, x);
        EXPECT_EQ(cursor->m_y, y);
        EXPECT_EQ(g_simCursor.IsValid(), valid) << x << "," << y;
        // Drawn (type 0's frame, 242) only when valid.
        EXPECT_EQ(Inside(s.x, s.y) == CColonySprites::FrameColour(242), valid == 1) << x << "," << y;
        // Re-sorted: the cursor's facility moved before the HQ when nearer.
        EXPECT_EQ(*g_simColony.begin() == cursor, x + y < 0);
    }
}

TEST(SimObjectList, SelectionSortTiesTakeTheFirstAndSwapObjects)
{
    struct Case {
        std::vector<std::pair<int, char>> in;  // depth, name
        std::string out;
    } cases[] = {
        {{{3, 'a'}, {3, 'b'}, {1, 'c'}}, "cba"},
        {{{5, 'a'}, {3, 'b'}, {3, 'c'}, {1, 'd'}, {3, 'e'}}, "dbcea"},
        {{{1, 'a'}, {1, 'b'}, {1, 'c'}}, "abc"},
        {{{-4, 'a'}, {9, 'b'}, {-4, 'c'}, {-5, 'd'}}, "dcab"},
        {{}, ""},
    };
    for (const Case& c : cases) {
        CSimObjectList list;
        for (auto [depth, name] : c.in)
            list.Add(new CSimMapObject(name, depth, 0));
        list.SortByDepth();
        std::string out;
        for (CSimMapObject* o : list)
            out += static_cast<char>(o->m_type);
        EXPECT_EQ(out, c.out);
        EXPECT_EQ(list.Count(), static_cast<int>(c.in.size()));
    }
    CSimObjectList list;
    EXPECT_EQ(list.Add(nullptr), 0);
    EXPECT_EQ(list.Count(), 0);
}

TEST(SimPanelList, HoldsOneHundredTwentyEightAndFindsTheOpenOne)
{
    CSimPanelList panels;
    EXPECT_EQ(panels.FindOpen(), nullptr);
    std::vector<CWidget> widgets(130);
    for (int i = 0; i < 128; ++i)
        EXPECT_EQ(panels.Add(&widgets[static_cast<size_t>(i)]), 1);
    EXPECT_EQ(panels.Add(&widgets[128]), 0);
    EXPECT_EQ(panels.Count(), 128);
    EXPECT_EQ(panels.FindOpen(), &widgets[0]);
    widgets[70].SetState(CWidget::kOpening);
    EXPECT_EQ(panels.FindOpen(), &widgets[0]);
    widgets[90].SetState(CWidget::kOpen);
    widgets[100].SetState(CWidget::kOpen);
    EXPECT_EQ(panels.FindOpen(), &widgets[90]);
}

}  // namespace
