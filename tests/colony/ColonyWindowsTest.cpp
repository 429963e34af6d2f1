// The colony windows as the UI layer builds them from its directory and
// drives them through the command ids: the base-facility flow with the
// tech-cube box, the HQ rate, the parameter panel, the tax-rate window and
// the tech points.
#include <array>
#include <map>
#include <cstdio>

#include "app/CommandRing.h"
#include "app/FrameClock.h"
#include "colony/ActivatePanel.h"
#include "colony/BaseFacPanel.h"
#include "colony/HqPanel.h"
#include "colony/ParaCtrlPanel.h"
#include "colony/SimCursor.h"
#include "colony/SimPanelList.h"
#include "colony/TaxRateWin.h"
#include "colony/TechCube.h"
#include "colony/TechCubeBox.h"
#include "colony/TechCubeCell.h"
#include "colony/TechWin.h"
#include "core/RleFrame.h"
#include "core/TextLayer.h"
#include "fixtures/ColonySprites.h"
#include "ui/ButtonWidget.h"
#include "windows/DaradirUzedo.h"
#include "windows/PlayerInfo.h"
#include "ColonyTestSupport.h"

namespace {

using Packets = std::vector<SentPacket>;

CArchiveBuilder WindowsArchive()
{
    CArchiveBuilder b = CArchiveBuilder::MinimalGame();
    CColonySprites::AddTo(b);
    CColonySprites::AddScreenTo(b);
    return b;
}

class ColonyWindows : public ColonyTest {
protected:
    ColonyWindows() : ColonyTest(WindowsArchive())
    {
        g_layerHolder.SetLayer(&layer);
        g_frameNow = 10000;
        layer.OnFrame();  // builds the windows
        g_playerInfo.Reset();
        TakeSentPackets();
    }
    ~ColonyWindows() override { g_layerHolder.SetLayer(nullptr); }

    CWidget* Win(int32_t id) { return layer.GetRootContainer()->FindChild(id); }
    void Frame()
    {
        g_frameNow += 33;
        layer.OnFrame();
    }
    // The ids go through the ring and the layer's dispatcher.
    void Command(std::initializer_list<uint32_t> ids)
    {
        for (uint32_t id : ids)
            g_commandRing.Push(id);
        layer.DispatchCommands();
    }
    bool FramesUntil(int32_t id, int32_t state)
    {
        for (int i = 0; i < 400 && Win(id)->GetState() != state; ++i)
            Frame();
        return Win(id)->GetState() == state;
    }

    CDaradirUzedo layer{nullptr};
};

}  // namespace

TEST_F(ColonyWindows, BaseFacilityFlowWithTheTechCubeBox)
{
    // The directory's rows are the colony's own classes; the base panel is
    // the one the box finds.
    ASSERT_NE(dynamic_cast<CBaseFacPanel*>(Win(61)), nullptr);
    ASSERT_NE(dynamic_cast<CActivatePanel*>(Win(64)), nullptr);
    auto* box = dynamic_cast<CTechCubeBox*>(Win(65));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(g_simPanelList.Count(), 1);
    EXPECT_EQ(g_simPanelList.FindOpen(), Win(61));

    Layout({{kSimHeadquarters, 0, 0}, {kSimEmptyBase, 8, 8}});
    CSimFacility* base = FirstOfType(kSimEmptyBase);
    g_simCursor.SetPickedFacility(base);
    g_simColony.m_cubes.fill(kNoCube);
    // Y, W, B, R in the first row.
    for (auto [slot, colour] : {std::pair{0, 3}, std::pair{1, 0}, std::pair{2, 1}, std::pair{3, 2}})
        g_simColony.m_cubes[static_cast<size_t>(slot)] = colour;

    auto* panel = dynamic_cast<CBaseFacPanel*>(Win(61));
    Command({81, 83});
    ASSERT_TRUE(FramesUntil(61, CWidget::kOpen));
    ASSERT_TRUE(FramesUntil(65, CWidget::kOpen));
    EXPECT_EQ(panel->GetOkButton()->GetLook(), CButtonWidget::kLookDisabled);
    EXPECT_EQ(g_simCursor.IsLocked(), 1) << "the box locks the colony cursor";
    TakeSentPackets();

    auto drag = [&](int fromX, int fromY, int toX, int toY) {
        box->OnLButtonDown(fromX, fromY);
        box->OnLButtonUp(toX, toY);
        EXPECT_EQ(box->GetDraggedSlot(), -1);
    };
    auto slots = [] {
        return std::vector<int32_t>(g_simColony.m_cubes.begin(), g_simColony.m_cubes.begin() + 6);
    };
    struct Row {
        int fromX, fromY, toX, toY;
        std::vector<int32_t> slots;  // the first six afterwards
        int type;                    // of the base afterwards
        bool sendsCubes;
    } rows[] = {
        // Onto the open base panel: into the recipe, the slot empties.
        {50, 50, 600, 300, {-1, 0, 1, 2, -1, -1}, 7, false},
        {150, 50, 600, 300, {-1, -1, 1, 2, -1, -1}, 31, false},
        {250, 50, 600, 300, {-1, -1, -1, 2, -1, -1}, 57, false},
        // The recipe is full: the cube stays.
        {350, 50, 600, 300, {-1, -1, -1, 2, -1, -1}, 57, false},
        // Onto an empty cell: the two slots exchange and the server hears.
        {350, 50, 50, 150, {-1, -1, -1, -1, -1, 2}, 57, true},
        // Right of the grid, still on the box: cancelled.
        {50, 150, 510, 50, {-1, -1, -1, -1, -1, 2}, 57, false},
        // An empty cell drags nothing.
        {150, 150, 600, 300, {-1, -1, -1, -1, -1, 2}, 57, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "(" << r.fromX << "," << r.fromY << ") to (" << r.toX << "," << r.toY << ")");
        drag(r.fromX, r.fromY, r.toX, r.toY);
        EXPECT_EQ(slots(), r.slots);
        EXPECT_EQ(base->m_type, r.type);
        const Packets sent = TakeSentPackets();
        if (r.sendsCubes) {
            Bytes cubes = {'d', 4};
            for (int32_t c : g_simColony.m_cubes)
                cubes.push_back(static_cast<uint8_t>(c < 0 ? 255 : c));
            EXPECT_EQ(sent, Packets{cubes});
        } else {
            EXPECT_TRUE(sent.empty());
        }
    }
    // Each cube that went in pushed 85: OK and Cancel take their look.
    layer.DispatchCommands();
    EXPECT_EQ(panel->GetOkButton()->GetLook(), CButtonWidget::kLookNormal);
    EXPECT_EQ(panel->GetCancelButton()->GetLook(), CButtonWidget::kLookNormal);

    // Escape cancels the base: the cubes go back into free slots, the box
    // closes and the cursor is free again.
    EXPECT_EQ(box->OnEscape(), CTechCubeBox::kId);
    layer.DispatchCommands();  // 88, then the strip's 84
    layer.DispatchCommands();
    EXPECT_EQ(base->m_type, kSimEmptyBase);
    EXPECT_EQ(slots(), (std::vector<int32_t>{3, 1, 0, -1, -1, 2}));
    EXPECT_EQ(panel->GetOkButton()->GetLook(), CButtonWidget::kLookDisabled);
    EXPECT_EQ(box->GetState(), CWidget::kClosing);
    EXPECT_EQ(g_simCursor.IsLocked(), 0);

    // A drop while only the activation panel is open consumes nothing.
    Command({82, 83});
    ASSERT_TRUE(FramesUntil(64, CWidget::kOpen));
    ASSERT_TRUE(FramesUntil(65, CWidget::kOpen));
    EXPECT_NE(Win(61)->GetState(), CWidget::kOpen);
    drag(50, 50, 600, 300);
    EXPECT_EQ(base->m_type, kSimEmptyBase);
    EXPECT_EQ(slots()[0], 3);

    // One cube and OK: the base becomes the facility and is started; 86
    // closes the box and the panel.
    Command({81});
    ASSERT_TRUE(FramesUntil(61, CWidget::kOpen));
    drag(50, 50, 600, 300);
    EXPECT_EQ(base->m_type, 7);
    SetGameTime(777);
    TakeSentPackets();
    Command({85, 87});
    layer.DispatchCommands();
    EXPECT_EQ(base->m_start, 777);
    EXPECT_EQ(Win(61)->GetState(), CWidget::kClosing);
    EXPECT_EQ(box->GetState(), CWidget::kClosing);
    EXPECT_FALSE(TakeSentPackets().empty()) << "the server is told of the activation";
}

TEST_F(ColonyWindows, HqRateEntryAndClosingSendsTheResources)
{
    auto* hq = dynamic_cast<CHqPanel*>(Win(60));
    ASSERT_NE(hq, nullptr);
    g_simColony.m_rate = 30;
    Command({76});
    EXPECT_STREQ(hq->GetText(), "30") << "opening writes the rate into the entry";
    struct Row {
        const char* typed;
        int rate;
    } rows[] = {{"95", 30}, {"-3", 0}, {"12", 12}, {"80", 80}, {"81", 80}, {"99999999999999", 80}, {"7", 7}};
    for (const Row& r : rows) {
        std::snprintf(hq->GetText(), CWidgetWindow::kInputSize, "%s", r.typed);
        hq->ApplyRateEntry();
        EXPECT_EQ(g_simColony.m_rate, r.rate) << r.typed;
        EXPECT_EQ(std::string(hq->GetText()), std::to_string(r.rate)) << r.typed;
    }
    TakeSentPackets();
    // The build button's command: place mode, the panel closes and the
    // resources go to the server with the new rate.
    Command({77});
    EXPECT_EQ(g_simCursor.GetMode(), CSimCursor::kPlace);
    EXPECT_EQ(hq->GetState(), CWidget::kClosing);
    const Packets sent = TakeSentPackets();
    ASSERT_EQ(sent.size(), 1u);
    ASSERT_GE(sent[0].size(), 7u);
    EXPECT_EQ((Bytes{sent[0][0], sent[0][1], sent[0][6]}), (Bytes{'d', 2, 7}));
    Command({78});
    EXPECT_EQ(g_simCursor.GetMode(), CSimCursor::kDemolish);
}

TEST_F(ColonyWindows, ParameterPanelHoldRepeatsFromTheTwelfthFrameAndApplies)
{
    auto* para = dynamic_cast<CParaCtrlPanel*>(Win(59));
    ASSERT_NE(para, nullptr);
    Record().SetU32(CharacterRecord::kRemain, 30);
    Record().SetU32(CharacterRecord::kStrength, 40);
    Command({79});
    ASSERT_TRUE(FramesUntil(59, CWidget::kOpen));
    EXPECT_EQ(para->GetRemaining(), 30);
    CButtonWidget* plus = para->GetPlusButton(0);
    const CPoint at = *plus->GetPos();
    ASSERT_NE(plus->OnLButtonDown(at.x + 5, at.y + 5), 0);
    for (int i = 0; i < 20; ++i)
        para->StepButtons();
    EXPECT_EQ(para->GetIncrement(0), 10) << "one in the first frame, then frames 12..20";
    EXPECT_EQ(para->GetRemaining(), 20);
    plus->OnLButtonUp(at.x + 5, at.y + 5);
    para->StepButtons();
    EXPECT_EQ(para->GetIncrement(0), 10);

    TakeSentPackets();
    Command({80});
    EXPECT_EQ(Record().U32(CharacterRecord::kStrength), 50u);
    EXPECT_EQ(Record().U32(CharacterRecord::kRemain), 20u);
    bool field55 = false;
    for (const SentPacket& p : TakeSentPackets())
        field55 = field55 || (p.size() >= 2 && p[0] == 53 && p[1] == 55);
    EXPECT_TRUE(field55) << "the stats go to the server as field 55";
}

TEST_F(ColonyWindows, TechPointsFlyFromTheCellsToTheTechWindow)
{
    auto* cells = dynamic_cast<CTechCubeCell*>(Win(CTechCubeCell::kId));
    auto* win = dynamic_cast<CTechWin*>(Win(CTechWin::kId));
    ASSERT_NE(cells, nullptr);
    ASSERT_NE(win, nullptr);
    EXPECT_EQ(g_pTechWin, win);
    win->SetState(CWidget::kOpening);
    cells->SetState(CWidget::kOpening);
    ASSERT_TRUE(FramesUntil(CTechWin::kId, CWidget::kOpen));
    ASSERT_TRUE(FramesUntil(CTechCubeCell::kId, CWidget::kOpen));
    // Two points to spend, 13 used.
    EXPECT_EQ(cells->OnLButtonDown(50 + 130, 50 + 30), 0) << "beyond the two cubes";
    EXPECT_EQ(cells->OnLButtonDown(50 + 30, 50), 0) << "the top row is not a cube";
    ASSERT_EQ(cells->OnLButtonDown(50 + 30, 50 + 30), 1);
    EXPECT_EQ(g_playerInfo.GetTechPoints(), 1);
    // The flying cube is the directory's tech cube picture: ten steps to
    // used place 13, then it counts.
    CTechCube* cube = nullptr;
    CWidgetContainer* root = layer.GetRootContainer();
    for (int i = 0; i < root->GetChildCount(); ++i)
        if (auto* c = dynamic_cast<CTechCube*>(root->GetChild(i)))
            cube = c;
    ASSERT_NE(cube, nullptr);
    ASSERT_TRUE(cube->IsMoving());
    const CPoint to = win->UsedPointPos(13);
    EXPECT_EQ((std::pair{to.x, to.y}), (std::pair{528 + 75, 212}));
    int frames = 0;
    while (cube->IsMoving() && frames < 20) {
        EXPECT_EQ(g_playerInfo.GetTechUsed(), 13);
        Frame();
        ++frames;
    }
    EXPECT_EQ(frames, 11);
    EXPECT_EQ(g_playerInfo.GetTechUsed(), 14);
    // (80, 80) + 11 steps of ((603 - 80) / 10, (212 - 80) / 10).
    EXPECT_EQ((std::pair{cube->GetCurrent().x, cube->GetCurrent().y}), (std::pair{80 + 11 * 52, 80 + 11 * 13}));
    ASSERT_EQ(cells->OnLButtonDown(50 + 30, 50 + 30), 1);
    EXPECT_EQ(g_playerInfo.GetTechPoints(), 0);
    EXPECT_EQ(cells->OnLButtonDown(50 + 30, 50 + 30), 0) << "none left";
}

TEST_F(ColonyWindows, TaxRateWindowWritesItsThreeLines)
{
    auto* tax = dynamic_cast<CTaxRateWin*>(Win(CTaxRateWin::kId));
    ASSERT_NE(tax, nullptr);
    CTextLayer text(nullptr);
    ASSERT_TRUE(text.LoadFonts("data\\Shan.fnt", "data\\Seng.fnt"));
    CTextLayer* saved = g_pTextLayer;
    g_pTextLayer = &text;
    tax->LoadImageOnDemand();
    CSlrList& pic = *tax->GetSprite();
    ASSERT_TRUE(pic.IsLoaded());
    const size_t size = pic.GetFrameSize(0);
    const std::vector<uint8_t> clean(pic.GetFrame(0), pic.GetFrame(0) + size);
    // The pixels Refresh changed, by the 20-pixel band of their row from
    // y 200 (-1 outside the three lines); all text (colour 60) or its shadow.
    auto changed = [&] {
        std::map<int, int> bands;
        const uint8_t* now = pic.GetFrame(0);
        for (size_t i = kRleHeader; i < size; ++i)
            if (now[i] != clean[i]) {
                const int y = static_cast<int>((i - kRleHeader) / 272);
                const bool ink = now[i] == 60 || now[i] == CTextLayer::kShadowColour;
                bands[y >= 200 && y < 260 ? (y - 200) / 20 : -1] += ink ? 1 : 100000;
            }
        return bands;
    };
    tax->Refresh();
    EXPECT_TRUE(changed().empty()) << "closed: nothing";
    Command({47});
    tax->Refresh();
    const std::map<int, int> bands = changed();
    EXPECT_EQ(bands.size(), 3u);
    for (int b : {0, 1, 2}) {
        EXPECT_GT(bands.count(b) ? bands.at(b) : 0, 0) << "line " << b;
        EXPECT_LT(bands.count(b) ? bands.at(b) : 0, 100000) << "line " << b << " in the text's colours";
    }
    g_pTextLayer = saved;
}
