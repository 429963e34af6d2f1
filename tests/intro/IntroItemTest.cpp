#include <gtest/gtest.h>

#include <vector>

#include "core/Blit.h"
#include "fixtures/ArchiveBuilder.h"
#include "fixtures/IntroArchive.h"
#include "intro/IntroItem.h"
#include "intro/IntroLayer.h"

namespace {

CIntroItem ItemAt(int angle)
{
    CIntroItem item;
    item.Load("data\\absent.slr", angle, 1);
    item.Animate();
    return item;
}

TEST(IntroItem, StandsOnTheEllipseByAngle)
{
    CArchiveBuilder b;
    CTestArchive archive(b);
    EXPECT_EQ(ItemAt(0).GetX(), 400);
    EXPECT_EQ(ItemAt(0).GetY(), 250);
    // sin 60 x 250 + 400 = 616.5, cos 60 x 100 + 150 = 200: truncated.
    EXPECT_EQ(ItemAt(60).GetX(), 616);
    EXPECT_EQ(ItemAt(60).GetY(), 200);
    EXPECT_EQ(ItemAt(180).GetX(), 400);
    EXPECT_EQ(ItemAt(180).GetY(), 50);
    EXPECT_EQ(ItemAt(300).GetX(), 183);
}

TEST(IntroItem, TurnsTenDegreesAFrameUntilThePendingRotationIsUsed)
{
    CArchiveBuilder b;
    CTestArchive archive(b);
    CIntroItem item = ItemAt(60);
    item.Rotate(-60);
    for (int i = 1; i <= 6; ++i) {
        item.Animate();
        EXPECT_EQ(item.GetAngle(), 60 - 10 * i);
        EXPECT_EQ(item.IsAtRest(), i == 6);
    }
    EXPECT_EQ(item.GetFrontId(), 1);
    item.Animate();
    EXPECT_EQ(item.GetAngle(), 0);
    // Wrapping both ways.
    item.Rotate(-10);
    item.Animate();
    EXPECT_EQ(item.GetAngle(), 350);
    EXPECT_EQ(item.GetFrontId(), -1);
    item.Rotate(20);
    item.Animate();
    item.Animate();
    EXPECT_EQ(item.GetAngle(), 10);
}

TEST(IntroItem, BlendLevelsByDepth)
{
    EXPECT_EQ(CIntroItem::BlendLevel(50), 0);    // behind
    EXPECT_EQ(CIntroItem::BlendLevel(99), 1);
    EXPECT_EQ(CIntroItem::BlendLevel(100), 3);   // 2 becomes 3
    EXPECT_EQ(CIntroItem::BlendLevel(125), 3);
    EXPECT_EQ(CIntroItem::BlendLevel(200), 5);   // 6 becomes 5
    EXPECT_EQ(CIntroItem::BlendLevel(150), 5);   // 4 becomes 5
    EXPECT_EQ(CIntroItem::BlendLevel(240), 7);
}

TEST(IntroItem, ComparesByRowFarthestFirst)
{
    CArchiveBuilder b;
    CTestArchive archive(b);
    CIntroItem front = ItemAt(0), back = ItemAt(180), side = ItemAt(60);
    EXPECT_LT(CompareIntroItems(&back, &front), 0);
    EXPECT_GT(CompareIntroItems(&front, &side), 0);
    EXPECT_EQ(CompareIntroItems(&side, &side), 0);
}

TEST(IntroItem, AnimationCounterCyclesAndMissingFramesAreNotDrawn)
{
    // Two frames only: pictures 2..47 of the cycle do not exist.
    CArchiveBuilder b;
    b.Add("fig.slr", CIntroArchive::Slide(2, 8, 8, 5));
    CTestArchive archive(b);
    ResetBlitContexts();
    SetSpriteClipRect(0, 0, 800, 600);
    CIntroItem item;
    ASSERT_EQ(item.Load("data\\fig.slr", 0, 3), 0);
    item.Animate();
    std::vector<uint8_t> px(800 * 600, 0);
    const BlitTarget t = ScreenTarget(px.data());
    int paintedFrames = 0;
    for (int f = 0; f < CIntroItem::kCounterCycle; ++f) {
        std::fill(px.begin(), px.end(), 0);
        item.Draw(t, nullptr);
        paintedFrames += std::count_if(px.begin(), px.end(), [](uint8_t p) { return p != 0; }) > 0;
    }
    EXPECT_EQ(paintedFrames, 20);
    EXPECT_EQ(item.GetCounter(), 0);
    ResetBlitContexts();
}

TEST(ChooserRotation, TableAtItsBoundaries)
{
    EXPECT_EQ(CIntroLayer::ChooserRotation(249, 300), 60);
    EXPECT_EQ(CIntroLayer::ChooserRotation(250, 300), 0);
    EXPECT_EQ(CIntroLayer::ChooserRotation(500, 300), 0);
    EXPECT_EQ(CIntroLayer::ChooserRotation(501, 300), -60);
    EXPECT_EQ(CIntroLayer::ChooserRotation(249, 299), 120);
    EXPECT_EQ(CIntroLayer::ChooserRotation(250, 299), 180);
    EXPECT_EQ(CIntroLayer::ChooserRotation(400, 299), 180);
    EXPECT_EQ(CIntroLayer::ChooserRotation(401, 299), -180);
    EXPECT_EQ(CIntroLayer::ChooserRotation(500, 299), -180);
    EXPECT_EQ(CIntroLayer::ChooserRotation(501, 299), -120);
}

}  // namespace
