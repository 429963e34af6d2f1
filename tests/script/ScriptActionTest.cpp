// Native actions and system variables against the player's record, the
// character-field packets and the stand-ins for the message box and the
// player info.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ScriptTestbed.h"
#include "app/CommandRing.h"
#include "core/Display.h"
#include "core/PaletteManager.h"
#include "core/TextLayer.h"
#include "fixtures/FontBuilder.h"
#include "script/ExtraFunctions.h"
#include "script/ScriptManager.h"
#include "world/StageLoader.h"

namespace {

std::string Main(const std::string& body) { return "proc Main() {" + body + "} ;"; }

// A frame buffer and a text layer with the test fonts for action 1.
struct Screen {
    Screen()
    {
        const Bytes hangul = CFontBuilder::HangulFont(), english = CFontBuilder::EnglishFont();
        text.SetFontData(hangul.data(), hangul.size(), english.data(), english.size());
        g_pTextLayer = &text;
        g_pFrameBits = bits.data();
    }
    ~Screen()
    {
        g_pTextLayer = nullptr;
        g_pFrameBits = nullptr;
    }
    // Whether the frame holds exactly this text as action 1 draws it.
    bool Shows(const std::string& expected)
    {
        std::vector<uint8_t> reference(bits.size(), 0);
        text.SetTarget(reference.data(), 800, 600);
        text.SetColor(1);
        text.SetColors(60, 255);
        text.DrawText(100, 150, expected.c_str(), 1);
        return reference == bits;
    }
    std::vector<uint8_t> bits = std::vector<uint8_t>(800 * 600, 0);
    CTextLayer text{nullptr};
};

TEST(ScriptActions, ShowTextDrawsOnElevenStepsThenTheCallEnds)
{
    CScriptTestbed bed;
    Screen screen;
    const int slot = bed.Start(Main("call ShowText(\"abc\", 250); call PushCommand(1);"));
    std::vector<std::string> drawn;
    for (int step = 1; step <= 20 && g_commandRing.IsEmpty(); ++step) {
        std::fill(screen.bits.begin(), screen.bits.end(), 0);
        CScriptManager::StepAll();
        drawn.push_back(screen.Shows("abc250") ? "abc250" : screen.Shows("") ? "" : "?");
    }
    // Step 1 enters the block, 2 the call; 3 to 13 draw; the action ends,
    // the call returns and the next statement pushes on step 18.
    std::vector<std::string> expected(18, "");
    for (int i = 2; i <= 12; ++i)
        expected[static_cast<size_t>(i)] = "abc250";
    EXPECT_EQ(drawn, expected);
    EXPECT_EQ(bed.Commands(), std::vector<uint32_t>{1});
    EXPECT_GT(bed.RunToEnd(slot), 0);

    // 200 bytes of arguments: the text holds 79.
    const std::string longText(150, 'x');
    bed.Start(Main("call ShowText(\"" + longText + "\", \"" + std::string(50, 'y') + "\");"));
    for (int i = 0; i < 3; ++i)
        CScriptManager::StepAll();
    EXPECT_TRUE(screen.Shows(std::string(79, 'x')));
}

TEST(ScriptActions, ExpandTextReplacesTheCharacterName)
{
    struct Case {
        std::string source;
        std::string result;
    };
    const std::vector<Case> cases = {
        {"Hello $$id$$!", "Hello Eric!"},
        {"$$id$$ and $$id$$", "Eric and Eric"},
        {"a$$name$$b", "ab"},
        {"a$$$$b", "ab"},
        {"open $$id", "open "},
        {"$$", ""},
        {"$ $id$", "$ $id$"},
        {"한글 $$id$$", "한글 Eric"},
        {std::string(2000, 'z'), std::string(1023, 'z')},
        {std::string(1020, 'z') + "$$id$$", std::string(1020, 'z') + "Eri"},
    };
    CScriptTestbed bed;
    for (const Case& c : cases) {
        char out[1024];
        ExpandText(c.source.c_str(), out, sizeof out);
        EXPECT_EQ(out, c.result) << c.source.substr(0, 40);
    }
}

TEST(ScriptActions, DialogueWaitsUntilTheBoxIsRead)
{
    CScriptTestbed bed;
    const int slot = bed.Start(Main("call Dialogue(\"Hi $$id$$\"); call PushCommand(2); call Dialogue();"));
    for (int i = 0; i < 10; ++i)
        CScriptManager::StepAll();
    EXPECT_EQ(bed.box.texts, std::vector<std::string>{"Hi Eric"});
    EXPECT_TRUE(bed.Commands().empty()) << "still waiting";
    bed.box.empty = true;
    EXPECT_GT(bed.RunToEnd(slot), 0);
    EXPECT_EQ(bed.Commands(), std::vector<uint32_t>{2});
    // A missing text shows nothing and waits for nothing.
    EXPECT_EQ(bed.box.texts, (std::vector<std::string>{"Hi Eric", ""}));
}

TEST(ScriptActions, ItemActionsTestGiveAndTake)
{
    struct Case {
        const char* what;
        std::vector<uint16_t> items;
        std::string body;
        int flag;
        std::vector<int> added;
        std::vector<int> removed;
    };
    std::vector<uint16_t> full(100);
    for (size_t i = 0; i < full.size(); ++i)
        full[i] = static_cast<uint16_t>(i + 1);
    std::vector<uint16_t> almost(full.begin(), full.end() - 1);
    const std::vector<Case> cases = {
        {"held", {5, 7}, "call HasItem(7); r = sys_ListFlag;", 1, {}, {}},
        {"not held", {5, 7}, "call HasItem(8); r = sys_ListFlag;", 0, {}, {}},
        {"after the first empty slot", {5, 0, 7}, "call HasItem(7); r = sys_ListFlag;", 0, {}, {}},
        {"signed ids", {0xFFFF}, "call HasItem(0 - 1); r = sys_ListFlag;", 1, {}, {}},
        {"the last of a full list", full, "call HasItem(100); r = sys_ListFlag;", 1, {}, {}},
        {"given", almost, "call GiveItem(300);", 0, {300}, {}},
        {"a full list takes nothing", full, "call GiveItem(300);", 0, {}, {}},
        {"taken", {5}, "call TakeItem(5); call TakeItem(6);", 0, {}, {5, 6}},
    };
    for (const Case& c : cases) {
        CScriptTestbed bed;
        for (size_t i = 0; i < c.items.size(); ++i)
            bed.Record().SetItem(static_cast<int>(i), c.items[i]);
        g_scriptListFlag = 9;
        const int slot = bed.Start(Main("int r; " + c.body));
        ASSERT_GT(bed.RunToEnd(slot), 0) << c.what;
        EXPECT_EQ(bed.Int("r"), c.flag) << c.what;
        EXPECT_EQ(bed.player.added, c.added) << c.what;
        EXPECT_EQ(bed.player.removed, c.removed) << c.what;
    }
}

TEST(ScriptActions, TakeItemReachesThePlayerInfo)
{
    CScriptTestbed bed;
    SetScriptPlayer(nullptr);  // the real player info
    for (int i = 0; i < 3; ++i)
        bed.Record().SetItem(i, static_cast<uint16_t>(5 + i));
    (void)TakeSentPackets();
    const int slot = bed.Start(Main("call TakeItem(5); call TakeItem(9);"));
    ASSERT_GT(bed.RunToEnd(slot), 0);
    // The last item fills the gap; slots 0 and 2 go to the server.
    EXPECT_EQ(TakeSentPackets(), (std::vector<SentPacket>{{53, 52, 0, 7, 0, 2, 0, 0}}));
    EXPECT_EQ(bed.Record().Item(0), 7);
    EXPECT_EQ(bed.Record().Item(2), 0);
    SetScriptPlayer(&bed.player);
}

TEST(ScriptActions, CommandsSuspensionAndScriptsOutliveTheCall)
{
    CScriptTestbed bed;
    bed.InstallScripts({{"Other.scr", Main("call PushCommand(9);")}});
    const int slot = bed.Start(Main("call PushCommand(5); call SuspendCommands(1); call StartScript(\"Other\");"
                                    "call StartScript(); call Nothing(4);"));
    CScriptManager::StepAll();
    CScriptManager::StepAll();
    EXPECT_TRUE(g_commandRing.IsEmpty());
    CScriptManager::StepAll();  // the action runs
    EXPECT_EQ(g_commandRing.Count(), 1u) << "queued for the UI's next pass, not run here";
    EXPECT_GT(bed.RunToEnd(slot), 0);
    EXPECT_EQ(bed.Commands(), (std::vector<uint32_t>{5, 9})) << "the other script ran in a slot of its own";
    EXPECT_EQ(g_uiCommandsSuspended, 1) << "it outlives the script";
}

TEST(ScriptActions, FadesEndWhenThePaletteHasFaded)
{
    for (const char* action : {"Fade", "FadeToBlack"}) {
        CScriptTestbed bed;
        auto palette = std::make_unique<CPaletteManager>(nullptr);
        g_pPalette = palette.get();
        const int slot = bed.Start(Main(std::string("call ") + action + "(); call PushCommand(3);"));
        for (int i = 0; i < 3; ++i)
            CScriptManager::StepAll();
        EXPECT_NE(palette->GetFadeMode(), 0) << action;
        for (int frame = 0; frame < 99; ++frame) {
            palette->Update();
            CScriptManager::StepAll();
        }
        EXPECT_TRUE(bed.Commands().empty()) << action << " still fading";
        palette->Update();
        EXPECT_GT(bed.RunToEnd(slot), 0);
        EXPECT_EQ(bed.Commands(), std::vector<uint32_t>{3}) << action;
        g_pPalette = nullptr;
    }
}

TEST(ScriptVariables, SystemVariablesReadAndWriteThePlayersState)
{
    struct Case {
        const char* what;
        std::string body;
        int32_t result;
        // record offset checked after the run, and its value
        size_t offset;
        uint32_t value;
        int packets;
    };
    const std::vector<Case> cases = {
        {"script number", "r = sys_ScriptNumber;", -3, 0, 0, 0},
        {"list flag", "sys_ListFlag = 65535 + 2; r = sys_ListFlag;", 1, 0, 0, 0},
        {"map id + 1", "r = sys_MapId;", 5, 0, 0, 0},
        {"tile", "r = sys_TileX * 1000 + sys_TileY;", 12034, 0, 0, 0},
        {"level and HP", "r = sys_Level * 1000 + sys_Hp;", 7090, 0, 0, 0},
        {"a tile write sets the HP", "sys_TileX = 77; r = sys_TileX;", 12, CharacterRecord::kHp, 77, 1},
        {"an elapsed write sets the HP", "sys_Elapsed = 5;", 0, CharacterRecord::kHp, 5, 1},
        {"MP", "sys_Mp = 44;", 0, CharacterRecord::kMp, 44, 1},
        {"money is added", "sys_AddMoney = 0 - 100;", 0, CharacterRecord::kMoney, 900, 1},
        {"experience is added", "sys_AddExperience = 5; sys_AddExperience = 6;", 0, CharacterRecord::kExperience,
         31, 2},
        {"free points are added", "sys_AddRemain = 2;", 0, CharacterRecord::kRemain, 3, 1},
        {"50010 and up read the table", "r = sys_Mp;", 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        CScriptTestbed bed;
        CharacterRecord& rec = bed.Record();
        rec.SetU16(CharacterRecord::kScriptValue, static_cast<uint16_t>(-3));
        rec.SetU16(CharacterRecord::kTimerStamp, 0x1234);
        rec.SetU32(CharacterRecord::kLevel, 7);
        rec.SetU32(CharacterRecord::kHp, 90);
        rec.SetU32(CharacterRecord::kMoney, 1000);
        rec.SetU32(CharacterRecord::kExperience, 20);
        rec.SetU32(CharacterRecord::kRemain, 1);
        bed.player.tileX = 12;
        bed.player.tileY = 34;
        g_currentMapId = 4;
        (void)TakeSentPackets();
        const int slot = bed.Start(Main("int r; " + c.body));
        ASSERT_GT(bed.RunToEnd(slot), 0) << c.what;
        EXPECT_EQ(bed.Int("r"), c.result) << c.what;
        if (c.offset) {
            EXPECT_EQ(rec.U32(c.offset), c.value) << c.what;
        }
        // Whatever a write changed, field 25 goes out.
        EXPECT_EQ(TakeSentPackets(), std::vector<SentPacket>(static_cast<size_t>(c.packets), ScriptNumberPacket(-3)))
            << c.what;
        EXPECT_EQ(rec.U16(CharacterRecord::kTimerStamp), 0x1234) << c.what;
    }
}

TEST(ScriptVariables, ScriptNumberWriteGoesToTheRecordAndTheServer)
{
    CScriptTestbed bed;
    bed.Record().SetU16(CharacterRecord::kTimerStamp, 0x4321);
    (void)TakeSentPackets();
    const int slot = bed.Start(Main("sys_ScriptNumber = 0 - 2; sys_ScriptNumber = 300;"));
    ASSERT_GT(bed.RunToEnd(slot), 0);
    EXPECT_EQ(TakeSentPackets(), (std::vector<SentPacket>{{53, 25, 0xFE, 0xFF, 0xFF, 0xFF}, {53, 25, 0x2C, 0x01, 0, 0}}));
    EXPECT_EQ(bed.Record().I16(CharacterRecord::kScriptValue), 300);
    EXPECT_EQ(bed.Record().U16(CharacterRecord::kTimerStamp), 0x4321) << "the stamp stays";
}

TEST(ScriptVariables, ElapsedTimeCountsFromTheStampAcrossTheWordBoundaries)
{
    struct Case {
        uint32_t stampAt;
        uint32_t readAt;
        int32_t elapsed;
    };
    const std::vector<Case> cases = {
        {100, 100, 0},   {100, 130, 30},     {40000, 40000, 0},   {40000, 40050, 50},
        {32760, 32780, 20}, {65530, 65540, 10}, {70000, 70000 + 65535, 65535}, {5, 65541, 0},
    };
    for (const Case& c : cases) {
        CScriptTestbed bed;
        bed.Record().SetU32(CharacterRecord::kGameTime, c.stampAt);
        bed.Record().SetU16(CharacterRecord::kScriptValue, 7);
        (void)TakeSentPackets();
        const int slot = bed.Start(Main("int r; int now; call StampTimer(); now = sys_Elapsed; while (sys_Elapsed == now) { }"
                                        "r = sys_Elapsed;"));
        for (int i = 0; i < 30; ++i)
            CScriptManager::StepAll();
        EXPECT_EQ(TakeSentPackets(), std::vector<SentPacket>{ScriptNumberPacket(7)}) << c.stampAt;
        EXPECT_EQ(bed.Record().U16(CharacterRecord::kTimerStamp), c.stampAt & 0xFFFF);
        EXPECT_EQ(bed.Int("now"), 0) << "right after the stamp";
        bed.Record().SetU32(CharacterRecord::kGameTime, c.readAt);
        bed.RunToEnd(slot, 100);
        if (c.elapsed != 0) {
            EXPECT_EQ(bed.Int("r"), c.elapsed) << c.stampAt << " " << c.readAt;
        }
    }
}

}  // namespace
