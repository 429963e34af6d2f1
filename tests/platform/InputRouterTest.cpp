#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/Input.h"
#if defined(QUORVEL_HAVE_SDL)
#include "platform/sdl/SdlPlatform.h"
#endif

namespace {

using plat::RawEvent;
using plat::RawKind;

// Writes every message it gets as a short word.
struct Recorder : plat::IWindowHandler {
    std::vector<std::string> log;
    void Add(const std::string& s) { log.push_back(s); }
    void OnKeyDown(uint32_t, uint32_t, uint32_t f) override { Add("down" + std::to_string(f & 0x1FF)); }
    void OnKeyUp(uint32_t, uint32_t, uint32_t f) override { Add("up" + std::to_string(f & 0x1FF)); }
    void OnChar(uint32_t c, uint32_t, uint32_t) override { Add("char" + std::to_string(c)); }
    void OnLButtonDown(uint32_t, int, int) override { Add("L"); }
    void OnLButtonUp(uint32_t, int, int) override { Add("l"); }
    void OnLButtonDblClk(uint32_t, int, int) override { Add("LL"); }
    void OnRButtonDown(uint32_t, int, int) override { Add("R"); }
    void OnRButtonUp(uint32_t, int, int) override { Add("r"); }
    void OnRButtonDblClk(uint32_t, int, int) override { Add("RR"); }
    void OnCommand(uint32_t id) override { Add("cmd" + std::to_string(id)); }
    void OnActivateApp(bool a) override { Add(a ? "active" : "inactive"); }
    void OnImeNotify(uint32_t c) override { Add("ime" + std::to_string(c)); }
};

struct RouterTest : ::testing::Test {
    plat::CInputRouter router;
    Recorder view;
    Recorder frame;
    uint32_t now = 1000;

    void Key(bool down, uint8_t scan, bool ext = false)
    {
        RawEvent e;
        e.kind = down ? RawKind::KeyDown : RawKind::KeyUp;
        e.scan = scan;
        e.extended = ext;
        router.Route(e, now, &view, &frame);
    }
    void Press(uint8_t scan, bool ext = false)
    {
        Key(true, scan, ext);
        Key(false, scan, ext);
    }
    void Button(bool down, int button, int x, int y)
    {
        RawEvent e;
        e.kind = down ? RawKind::ButtonDown : RawKind::ButtonUp;
        e.button = button;
        e.x = x;
        e.y = y;
        router.Route(e, now, &view, &frame);
    }
    std::vector<std::string> Take()
    {
        std::vector<std::string> l;
        l.swap(view.log);
        return l;
    }
};

using V = std::vector<std::string>;

}  // namespace

TEST_F(RouterTest, DoubleClickReplacesTheSecondPress)
{
    Button(true, 1, 100, 100);
    Button(false, 1, 100, 100);
    now += 499;
    Button(true, 1, 102, 98);
    Button(false, 1, 102, 98);
    now += 10;
    Button(true, 1, 102, 98);  // a third press starts over
    EXPECT_EQ(Take(), (V{"L", "l", "LL", "l", "L"}));

    now += 500;
    Button(false, 1, 102, 98);
    now += 500;
    Button(true, 1, 102, 98);  // 500 ms after the last press: too slow
    Button(false, 1, 102, 98);
    now += 100;
    Button(true, 1, 105, 98);  // 3 px away: too far
    Button(false, 1, 105, 98);
    now += 100;
    Button(true, 2, 105, 98);  // the other button
    EXPECT_EQ(Take(), (V{"l", "L", "l", "L", "l", "R"}));
}

TEST_F(RouterTest, AltKeysBecomeAcceleratorsOrNothing)
{
    Key(true, 56);
    for (uint8_t scan : {30, 32, 23, 19, 31, 16})  // A D I R S, then Q
        Press(scan);
    Key(false, 56);
    Press(68);  // F10
    EXPECT_EQ(Take(), (V{"cmd32771", "cmd32772", "cmd32773", "cmd32774", "cmd32775"}));

    // With Ctrl held the keys are ordinary again (and Ctrl+Alt is seen).
    Key(true, 29);
    Key(true, 56, true);
    EXPECT_EQ(Take(), (V{"down29", "down312"}));
}

TEST_F(RouterTest, CharactersFollowShiftCapsLockAndControl)
{
    Key(true, 42);
    Press(2);  // Shift+1
    Key(false, 42);
    Press(58);  // Caps Lock on
    Press(30);
    Key(true, 42);
    Press(30);  // Shift with Caps Lock: lower case
    Key(false, 42);
    Key(true, 29);
    Press(46);  // Ctrl+C
    Key(false, 29);
    Press(28);
    Press(1);
    Press(15);
    Press(71);        // keypad 7, Num Lock on
    Press(28, true);  // keypad Enter
    std::vector<std::string> chars;
    for (const std::string& s : Take())
        if (s.rfind("char", 0) == 0)
            chars.push_back(s);
    EXPECT_EQ(chars, (V{"char33", "char65", "char97", "char3", "char13", "char27", "char9", "char55",
                        "char13"}));
    Press(69);  // Num Lock off: the keypad moves the cursor
    Press(71);
    EXPECT_EQ(Take(), (V{"down69", "up69", "down71", "up71"}));
}

TEST_F(RouterTest, HangulKeyAndShiftSpaceSwitchTheInputMode)
{
    Press(plat::kScanHangul);
    Key(true, 42);
    Key(true, 57);
    Key(false, 42);  // Shift goes first; the Space release is still swallowed
    Key(false, 57);
    EXPECT_EQ(Take(), (V{"ime6", "down42", "ime6", "up42"}));
    Press(57);
    EXPECT_EQ(Take(), (V{"down57", "char32", "up57"}));
}

TEST_F(RouterTest, OurOwnBoxesDoNotDeactivateTheApplication)
{
    RawEvent lost;
    lost.kind = RawKind::FocusLost;
    {
        plat::CModalScope modal;
        router.Route(lost, now, &view, &frame);
    }
    EXPECT_TRUE(frame.log.empty());
    router.Route(lost, now, &view, &frame);
    EXPECT_EQ(frame.log, (V{"inactive"}));
}

#if defined(QUORVEL_HAVE_SDL)
TEST(SdlScancodes, MapToSetOneCodes)
{
    struct Case {
        int sdl;  // SDL scancodes are USB usage ids
        uint8_t scan;
        bool ext;
    } const cases[] = {
        {4, 30, false},    // A
        {30, 2, false},    // 1
        {41, 1, false},    // Escape
        {224, 29, false},  // left Ctrl
        {228, 29, true},   // right Ctrl
        {230, 56, true},   // right Alt
        {82, 72, true},    // Up
        {96, 72, false},   // keypad 8
        {74, 71, true},    // Home
        {76, 83, true},    // Delete
        {88, 28, true},    // keypad Enter
        {69, 88, false},   // F12
        {144, plat::kScanHangul, false},
    };
    for (const Case& c : cases) {
        uint8_t scan = 0;
        bool ext = false;
        ASSERT_TRUE(plat::CSdlPlatform::MapScancode(c.sdl, scan, ext)) << c.sdl;
        EXPECT_EQ(scan, c.scan) << c.sdl;
        EXPECT_EQ(ext, c.ext) << c.sdl;
    }
}

TEST(SdlScancodes, WindowPositionsScaleToTheGameSpace)
{
    int x = 1599, y = 1199;
    plat::CSdlPlatform::ToLogical(1600, 1200, x, y);
    EXPECT_EQ(x, 799);
    EXPECT_EQ(y, 599);
    x = -5;
    y = 300;
    plat::CSdlPlatform::ToLogical(800, 600, x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 300);
}
#endif
