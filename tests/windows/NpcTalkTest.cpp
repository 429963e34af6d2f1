// The NPC talk: what each talk id offers, the buttons of the NPC menus and
// the talk box with its wrap of the talk text.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/CommandRing.h"
#include "app/QuillonView.h"
#include "script/ScriptManager.h"
#include "support/SentPackets.h"
#include "support/TestWorld.h"
#include "windows/DaradirUzedo.h"
#include "windows/ItemList.h"
#include "windows/TalkBoxWin.h"
#include "world/CharacterRecord.h"

namespace {

std::vector<std::string> Lines(const std::string& text, int* count)
{
    // Exactly the text's bytes: a read past them is caught under ASan.
    auto buf = std::make_unique<char[]>(text.size());
    std::memcpy(buf.get(), text.data(), text.size());
    TalkLines lines;
    std::memset(&lines, 'Z', sizeof lines);
    *count = WrapTalkText(buf.get(), text.size(), lines);
    std::vector<std::string> out;
    for (int i = 0; i < *count; ++i)
        out.emplace_back(lines[static_cast<size_t>(i)].data());
    for (int i = *count; i < kTalkLines; ++i)
        EXPECT_EQ(lines[static_cast<size_t>(i)][0], '\0') << "unused line " << i;
    return out;
}

TEST(TalkBoxWrap, LinesOfFortyTwoBytesWholeCharactersAndTenAtMost)
{
    const std::string a42(42, 'a'), a41(41, 'a'), han = "\xB0\xA1";
    const struct {
        std::string text;
        std::vector<std::string> lines;
    } rows[] = {
        {std::string(1, '\0'), {""}},
        {"hello" + std::string(1, '\0') + "stale", {"hello"}},
        {a41 + '\0', {a41}},
        // The end is found at the start of the second line, which counts.
        {a42 + '\0', {a42, ""}},
        {a42 + "b" + '\0', {a42, "b"}},
        // A character from byte 41 stays whole: a line of 43 bytes.
        {a41 + han + "b" + '\0', {a41 + han, "b"}},
        {std::string(40, 'a') + han + "bc" + '\0', {std::string(40, 'a') + han, "bc"}},
        // One leading blank is dropped, at the text's start and a line's.
        {"  x" + std::string(1, '\0'), {" x"}},
        {a42 + " next" + '\0', {a42, "next"}},
        // A lone lead byte ends the text before it, whatever follows.
        {"ab\xB0" + std::string(1, '\0') + "stale", {"ab"}},
        {"ab\xB0", {"ab"}},
        {a42 + "\xB0", {a42, ""}},
        // Without a terminator the text ends with its buffer.
        {"abc", {"abc"}},
    };
    for (const auto& r : rows) {
        int count = 0;
        EXPECT_EQ(Lines(r.text, &count), r.lines) << r.text;
    }

    // 43-byte lines of characters, and more text than ten lines hold.
    std::string long1;
    for (int i = 0; i < 300; ++i)
        long1 += han;
    int count = 0;
    const auto cut = Lines(long1 + '\0', &count);
    ASSERT_EQ(count, kTalkLines);
    for (const auto& line : cut)
        EXPECT_EQ(line.size(), 42u);
    const auto cut2 = Lines(std::string(1024, 'x'), &count);
    ASSERT_EQ(count, kTalkLines);
    EXPECT_EQ(cut2[9], std::string(42, 'x'));
}

class NpcTalk : public testing::Test {
protected:
    NpcTalk()
    {
        g_layerHolder.SetLayer(&ui);
        OpenTestMainSocket();
        ui.CreateWindows();
        TakeSentPackets();
        while (g_commandRing.Pop() != CCommandRing::kEmpty) {
        }
    }
    ~NpcTalk() override
    {
        CloseTestMainSocket();
        g_layerHolder.SetLayer(nullptr);
        CScriptManager::Reset();
        g_itemList.Clear();
        g_colonyMode = 0;
    }

    CWidget* Find(int32_t id) { return ui.GetRootContainer()->FindChild(id); }
    void Baseline(const std::vector<int>& open)
    {
        CWidgetContainer& root = *ui.GetRootContainer();
        for (int i = 0; i < root.GetChildCount(); ++i) {
            root.GetChild(i)->SetPinned(0);
            root.GetChild(i)->SetState(CWidget::kClosed);
        }
        for (int id : open)
            Find(id)->SetState(CWidget::kOpen);
        CScriptManager::Reset();
        g_itemList.Clear();
    }
    // One pass over the entries; the windows it changed ("id:state").
    std::string Run(const std::vector<uint32_t>& entries)
    {
        std::map<int32_t, int32_t> before;
        CWidgetContainer& root = *ui.GetRootContainer();
        for (int i = 0; i < root.GetChildCount(); ++i)
            before[root.GetChild(i)->GetId()] = root.GetChild(i)->GetState();
        for (uint32_t e : entries)
            g_commandRing.Push(e);
        ui.DispatchCommands();
        std::map<int32_t, int32_t> after;
        for (int i = 0; i < root.GetChildCount(); ++i)
            if (root.GetChild(i)->GetId() != 0 && before[root.GetChild(i)->GetId()] != root.GetChild(i)->GetState())
                after[root.GetChild(i)->GetId()] = root.GetChild(i)->GetState();
        std::string changed;
        for (auto [id, state] : after)
            changed += (changed.empty() ? "" : " ") + std::to_string(id) + ":" + std::to_string(state);
        return changed;
    }

    CTestWorld world;
    CDaradirUzedo ui{nullptr};
};

using Names = std::vector<std::string>;

TEST_F(NpcTalk, EachTalkIdOpensItsShopBankMenuOrScript)
{
    const struct {
        int32_t id;
        int16_t scriptValue;
        std::vector<int> open;
        std::string changed;
        std::string list;
        Names scripts;
    } rows[] = {
        {50, 1023, {}, "102:1", "weapon01.bin", {}},
        {50, 1024, {}, "102:1", "weapon02.bin", {}},
        {50, -5, {}, "102:1", "weapon01.bin", {}},
        {51, 0, {}, "103:1", "shield01.bin", {}},
        // The bank opens through 123 later in the same pass, unless it is up.
        {52, 0, {}, "94:1", "", {"Banker"}},
        {52, 0, {94}, "", "", {"Banker"}},
        {53, 0, {}, "", "", {}},
        {54, 0, {}, "101:1", "", {}},
        {55, 0, {}, "", "", {"Crackpot"}},
        {9001, 0, {}, "", "", {"BakMerc"}},
        {10001, 0, {}, "", "", {"Herb"}},
        {10002, 0, {}, "", "", {"S1arrowsw"}},
        {10003, 0, {}, "", "", {"S1arrowse"}},
        {10004, 0, {}, "", "", {"S1arrowsw2"}},
        {10005, 0, {}, "", "", {"S1arrowjail"}},
        {10006, 0, {}, "", "", {"Poison"}},
        {0, 0, {}, "", "", {}},
        {49, 0, {}, "", "", {}},
        {56, 0, {}, "", "", {}},
        {77, 0, {}, "", "", {}},
        {9000, 0, {}, "", "", {}},
        {10007, 0, {}, "", "", {}},
        {-1, 0, {}, "", "", {}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.id);
        Baseline({});
        for (int id : r.open)
            Find(id)->SetState(CWidget::kOpen);
        world.MyRecord().SetU16(CharacterRecord::kScriptValue, static_cast<uint16_t>(r.scriptValue));
        EXPECT_EQ(Run({75, static_cast<uint32_t>(r.id)}), r.changed);
        EXPECT_STREQ(g_itemList.GetFileName(), r.list.c_str());
        EXPECT_EQ(CScriptManager::Requests(), r.scripts);
        EXPECT_TRUE(g_commandRing.IsEmpty());
    }
    // Without its argument the talk does nothing.
    Baseline({});
    EXPECT_EQ(Run({75}), "");
    EXPECT_TRUE(CScriptManager::Requests().empty());
}

TEST_F(NpcTalk, MenuButtonsRunTheirChoiceAndClose)
{
    const struct {
        uint32_t command;
        std::vector<int> open;
        std::string changed;
        Names scripts;
    } rows[] = {
        // Colony mode comes with its to-field button.
        {132, {101}, "69:1 101:3", {}},
        {133, {101}, "101:3", {"SimMode"}},
        // The market opens later in the same pass.
        {134, {102}, "58:1 102:3", {}},
        {135, {102}, "102:3", {"WepMerc"}},
        {136, {103}, "58:1 103:3", {}},
        {137, {103}, "103:3", {"DefMerc"}},
        {138, {104}, "", {}},
        {139, {104}, "", {}},
        // The close button closes only the menus that are up; never the talk box.
        {140, {101, 103, 105}, "101:3 103:3", {}},
        {140, {}, "", {}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.command);
        Baseline(r.open);
        g_colonyMode = 0;
        ui.m_talkTopLine = 4;
        EXPECT_EQ(Run({r.command}), r.changed);
        EXPECT_EQ(CScriptManager::Requests(), r.scripts);
        EXPECT_EQ(ui.m_talkTopLine, r.scripts.empty() ? 4 : 0) << "a talk starts at its first line";
        EXPECT_EQ(g_colonyMode, r.command == 132 ? 1u : 0u);
    }
}

TEST_F(NpcTalk, TheTalkBoxCountsItsLinesAndTheArrowsStayWithinThem)
{
    Baseline({CTalkBoxWin::kId});
    std::vector<uint8_t> screen(800 * 600);
    auto draw = [&](const std::string& text) {
        ui.m_talkText.fill('Q');  // stale bytes behind the terminator
        std::memcpy(ui.m_talkText.data(), text.c_str(), text.size() + 1);
        Find(CTalkBoxWin::kId)->Draw(screen.data());
    };
    // Five lines: the arrows move the top line between 0 and 2.
    draw(std::string(42 * 4 + 3, 'a'));
    EXPECT_EQ(ui.m_talkLineCount, 4);
    std::vector<int32_t> tops;
    for (uint32_t c : {141, 142, 142, 142, 142, 141, 141, 141}) {
        Run({c});
        tops.push_back(ui.m_talkTopLine);
    }
    EXPECT_EQ(tops, (std::vector<int32_t>{0, 1, 2, 2, 2, 1, 0, 0}));
    // A top line left by a longer text is brought back within a shorter one.
    ui.m_talkTopLine = 9;
    draw(std::string(42 * 4 + 3, 'a'));
    EXPECT_EQ(ui.m_talkTopLine, 2);
    ui.m_talkTopLine = 9;
    draw("short");
    EXPECT_EQ(ui.m_talkLineCount, 0);
    EXPECT_EQ(ui.m_talkTopLine, 0);
    ui.m_talkTopLine = -3;
    draw("short");
    EXPECT_EQ(ui.m_talkTopLine, 0);
    // A closed box draws nothing and counts nothing.
    Baseline({});
    ui.m_talkLineCount = 7;
    draw("short");
    EXPECT_EQ(ui.m_talkLineCount, 7);
}

}  // namespace
