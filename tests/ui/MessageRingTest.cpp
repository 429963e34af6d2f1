#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/TextLayer.h"
#include "ui/FloatTextList.h"
#include "ui/MessageRing.h"
#include "ui/NoticeList.h"
#include "ui/UiTestEnv.h"

namespace {

class TextStores : public UiTest {
protected:
    std::vector<std::string> Lines(const CMessageRing& ring)
    {
        std::vector<std::string> out;
        for (int n = 0; n < ring.GetLineCount(); ++n)
            out.emplace_back(ring.GetLine(n)->text);
        return out;
    }
};

TEST_F(TextStores, TheGlobalRingKeepsItsLastSevenLines)
{
    for (int i = 0; i < 10; ++i)
        g_messageRing.AddLine(("m" + std::to_string(i)).c_str());
    EXPECT_EQ(Lines(g_messageRing), (std::vector<std::string>{"m9", "m8", "m7", "m6", "m5", "m4", "m3"}));
    int n = 0;
    for (CMessageRing::Line* l = g_messageRing.First(); l; l = g_messageRing.Next())
        ++n;
    EXPECT_EQ(n, 7);
    EXPECT_STREQ(g_messageRing.GetOldest()->text, "m3");
    g_messageRing.Clear();
    EXPECT_EQ(g_messageRing.First(), nullptr);
    EXPECT_EQ(g_messageRing.GetOldest(), nullptr);
    g_messageRing.DropOldest();
    EXPECT_EQ(g_messageRing.GetLineCount(), 0);
}

TEST_F(TextStores, ALineIsDrawn301FramesAndGoneOnThe302nd)
{
    g_messageRing.AddLine("a");
    for (int frame = 1; frame <= 301; ++frame) {
        ClearScreen();
        g_messageRing.Draw(Screen());
        ASSERT_EQ(Pixel(50, 380), 15) << frame;
    }
    ClearScreen();
    g_messageRing.Draw(Screen());
    EXPECT_EQ(Pixel(50, 380), 0);
    EXPECT_EQ(g_messageRing.GetLineCount(), 0);
}

TEST_F(TextStores, LinesAddedTogetherLeaveOnConsecutiveFramesOlderOnesHigher)
{
    g_messageRing.AddLine("a");
    g_messageRing.AddLine("b");
    g_messageRing.AddLine("c");
    g_messageRing.Draw(Screen());
    EXPECT_EQ(Pixel(50, 380), 15) << "the newest";
    EXPECT_EQ(Pixel(50, 364), 15);
    EXPECT_EQ(Pixel(50, 348), 15) << "the oldest";
    EXPECT_STREQ(g_messageRing.GetLine(0)->text, "c");
    EXPECT_STREQ(g_messageRing.GetLine(2)->text, "a");
    for (int frame = 2; frame <= 300; ++frame)
        g_messageRing.Draw(Screen());
    std::vector<int> counts;
    for (int frame = 301; frame <= 304; ++frame) {
        g_messageRing.Draw(Screen());
        counts.push_back(g_messageRing.GetLineCount());
    }
    EXPECT_EQ(counts, (std::vector<int>{2, 1, 0, 0}));
}

TEST_F(TextStores, LinesAgeWithoutATextLayer)
{
    g_pTextLayer = nullptr;
    g_messageRing.AddLine("a");
    for (int frame = 1; frame <= 301; ++frame)
        g_messageRing.Draw(Screen());
    EXPECT_EQ(g_messageRing.GetLineCount(), 0);
    EXPECT_EQ(Pixel(50, 380), 0);
}

TEST_F(TextStores, CapacityIsHeldToTwoThroughThirty)
{
    for (auto [asked, lines] : std::vector<std::pair<int, int>>{{40, 29}, {30, 29}, {8, 7}, {1, 1}, {0, 1}, {-5, 1}}) {
        CMessageRing ring(0, 0, 15, 300, asked);
        for (int i = 0; i < 50; ++i)
            ring.AddLine(std::to_string(i).c_str());
        EXPECT_EQ(ring.GetLineCount(), lines) << asked;
        EXPECT_STREQ(ring.GetLine(0)->text, "49");
        ring.Draw(Screen());
    }
}

TEST_F(TextStores, LongTextsAreCutOnACharacterBoundary)
{
    g_messageRing.AddLine(std::string(200, 'x').c_str());
    EXPECT_EQ(std::strlen(g_messageRing.GetLine(0)->text), 127u);
    g_messageRing.AddLine((std::string(126, 'x') + "가").c_str());
    EXPECT_EQ(std::strlen(g_messageRing.GetLine(0)->text), 126u);
    CMessageRing::AddLineF(&g_messageRing, "%s", std::string(200, 'y').c_str());
    EXPECT_EQ(std::strlen(g_messageRing.GetLine(0)->text), 79u);
    CMessageRing::AddLineF(&g_messageRing, "%s%s", std::string(78, 'y').c_str(), "가");
    EXPECT_EQ(std::strlen(g_messageRing.GetLine(0)->text), 78u);
    EXPECT_EQ(CMessageRing::AddLineF(nullptr, "%d", 1), nullptr);

    g_floatTexts.Add(1, 2, std::string(200, 'z').c_str());
    g_floatTexts.AddF(3, 4, "%s=%d", std::string(100, 'w').c_str(), 5);
    const CFloatTextList::Entry* e = g_floatTexts.First();
    EXPECT_EQ(std::strlen(e->text), 131u);
    e = g_floatTexts.Next();
    EXPECT_EQ(std::strlen(e->text), 79u);
    EXPECT_EQ(g_floatTexts.Next(), nullptr);
}

TEST_F(TextStores, FloatTextsAndNoticesHaveFixedRoom)
{
    g_floatTexts.AddCentered(400, 100, "abc");
    g_floatTexts.AddCenteredF(400, 120, "%d", 12345);
    const CFloatTextList::Entry* e = g_floatTexts.First();
    EXPECT_EQ(e->x, 391);
    EXPECT_EQ(e->y, 100);
    EXPECT_EQ(g_floatTexts.Next()->x, 385);
    for (int i = 0; i < 120; ++i)
        g_floatTexts.Add(i, i, "t");
    EXPECT_EQ(g_floatTexts.GetCount(), 100);
    g_floatTexts.Clear();
    EXPECT_EQ(g_floatTexts.First(), nullptr);

    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(g_noticeList.Add(i, 2, 3, 4, 5, 6, i - 1), 1);
    EXPECT_EQ(g_noticeList.Add(9, 9, 9, 9, 9, 9, 9), 0);
    std::vector<int32_t> kinds;
    for (const CNoticeList::Entry* n = g_noticeList.First(); n; n = g_noticeList.Next())
        kinds.push_back((*n)[6]);
    EXPECT_EQ(kinds, (std::vector<int32_t>{-1, 0, 1, 2, 3, 4, 5}));
    g_noticeList.Clear();
    EXPECT_EQ(g_noticeList.First(), nullptr);
}

}  // namespace
