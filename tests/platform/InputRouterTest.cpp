#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/Input.h"

namespace {

// Records every window message as a short line.
struct Recorder : plat::IWindowHandler {
    std::vector<std::string> log;
    void OnKeyDown(uint32_t, uint32_t, uint32_t f) override { log.push_back("down " + std::to_string(f & 0x1FF) + ((f & 0x4000) ? " rep" : "")); }
    void OnKeyUp(uint32_t, uint32_t, uint32_t f) override { log.push_back("up " + std::to_string(f & 0x1FF)); }
    void OnChar(uint32_t c, uint32_t, uint32_t) override { log.push_back("char " + std::to_string(c)); }
    void OnLButtonDown(uint32_t, int x, int y) override { log.push_back("ldown " + std::to_string(x) + "," + std::to_string(y)); }
    void OnLButtonUp(uint32_t, int, int) override { log.push_back("lup"); }
    void OnLButtonDblClk(uint32_t, int, int) override { log.push_back("ldbl"); }
    void OnRButtonDown(uint32_t, int, int) override { log.push_back("rdown"); }
    void OnRButtonUp(uint32_t, int, int) override { log.push_back("rup"); }
    void OnRButtonDblClk(uint32_t, int, int) override { log.push_back("rdbl"); }
    void OnCommand(uint32_t id) override { log.push_back("cmd " + std::to_string(id)); }
    void OnActivateApp(bool a) override { log.push_back(a ? "activate" : "deactivate"); }
};

plat::RawEvent Key(bool down, uint8_t scan, bool ext = false)
{
    plat::RawEvent e;
    e.kind = down ? plat::RawKind::KeyDown : plat::RawKind::KeyUp;
    e.scan = scan;
    e.extended = ext;
    return e;
}

plat::RawEvent Button(bool down, int button, int x, int y)
{
    plat::RawEvent e;
    e.kind = down ? plat::RawKind::ButtonDown : plat::RawKind::ButtonUp;
    e.button = button;
    e.x = x;
    e.y = y;
    return e;
}

class InputRouter : public ::testing::Test {
protected:
    void Send(const plat::RawEvent& e, uint32_t now = 0) { router.Route(e, now, &view, &frame); }
    plat::CInputRouter router;
    Recorder view;
    Recorder frame;
};

TEST_F(InputRouter, PlainKeysGiveKeyDownThenCharThenKeyUp)
{
    Send(Key(true, 30));  // A
    Send(Key(false, 30));
    EXPECT_EQ(view.log, (std::vector<std::string>{"down 30", "char 97", "up 30"}));
}

TEST_F(InputRouter, ShiftCapsAndControlCharacters)
{
    Send(Key(true, 42));  // left Shift
    Send(Key(true, 2));   // '1' -> '!'
    Send(Key(true, 30));  // 'A'
    Send(Key(false, 42));
    Send(Key(true, 58));  // Caps Lock on
    Send(Key(true, 30));  // 'A'
    Send(Key(true, 2));   // '1' unaffected by Caps Lock
    Send(Key(true, 14));  // Backspace
    Send(Key(true, 28));  // Enter
    Send(Key(true, 1));   // Esc
    std::vector<std::string> chars;
    for (const auto& l : view.log)
        if (l.rfind("char", 0) == 0)
            chars.push_back(l);
    EXPECT_EQ(chars, (std::vector<std::string>{"char 33", "char 65", "char 65", "char 49", "char 8",
                                               "char 13", "char 27"}));
}

TEST_F(InputRouter, CtrlLetterGivesControlCodeAndAsyncStateSeesEitherCtrl)
{
    Send(Key(true, 29, true));  // right Ctrl
    EXPECT_TRUE(router.AsyncKeyDown(plat::kVkControl));
    Send(Key(true, 31));  // S
    EXPECT_EQ(view.log.back(), "char 19");
    Send(Key(false, 29, true));
    EXPECT_FALSE(router.AsyncKeyDown(plat::kVkControl));
    // Both Ctrl keys map to scan 29 in the message; the extended bit rides along.
    EXPECT_EQ(view.log.front(), "down 285");
}

TEST_F(InputRouter, AltCombinationsNeverReachTheViewExceptTheFiveAccelerators)
{
    Send(Key(true, 56));   // Alt
    Send(Key(true, 16));   // Alt+Q: a system key
    Send(Key(false, 16));
    Send(Key(true, 31));   // Alt+S: accelerator
    Send(Key(true, 30));   // Alt+A
    Send(Key(true, 32));   // Alt+D
    Send(Key(true, 23));   // Alt+I
    Send(Key(true, 19));   // Alt+R
    Send(Key(false, 56));
    Send(Key(true, 68));   // F10 alone is a system key too
    EXPECT_EQ(view.log, (std::vector<std::string>{"cmd 32775", "cmd 32771", "cmd 32772", "cmd 32773",
                                                  "cmd 32774"}));
    EXPECT_TRUE(router.AsyncKeyDown(plat::kVkMenu) == false);
}

TEST_F(InputRouter, CtrlAltKeysAreNotSystemKeys)
{
    Send(Key(true, 29));
    Send(Key(true, 56));
    EXPECT_TRUE(router.AsyncKeyDown(plat::kVkControl));
    EXPECT_TRUE(router.AsyncKeyDown(plat::kVkMenu));
    Send(Key(true, 31));
    EXPECT_EQ(view.log.back(), "char 19");
}

TEST_F(InputRouter, RepeatedKeyDownsCarryThePreviousStateBit)
{
    Send(Key(true, 17));
    plat::RawEvent again = Key(true, 17);
    again.repeat = true;
    Send(again);
    EXPECT_EQ(view.log[0], "down 17");
    EXPECT_EQ(view.log[2], "down 17 rep");
}

TEST_F(InputRouter, DoubleClickIsDownUpDoubleUpWithinTimeAndRectangle)
{
    Send(Button(true, 1, 100, 100), 1000);
    Send(Button(false, 1, 100, 100), 1050);
    Send(Button(true, 1, 102, 98), 1499);  // within 500 ms, 2 px off: a double click
    Send(Button(false, 1, 102, 98), 1550);
    Send(Button(true, 1, 102, 98), 1600);  // a third press starts over
    EXPECT_EQ(view.log, (std::vector<std::string>{"ldown 100,100", "lup", "ldbl", "lup", "ldown 102,98"}));
}

TEST_F(InputRouter, SlowOrDistantOrOtherButtonSecondClickIsNotDouble)
{
    Send(Button(true, 1, 100, 100), 1000);
    Send(Button(true, 1, 100, 100), 1500);  // too slow
    Send(Button(true, 1, 103, 100), 1600);  // 3 px away
    Send(Button(true, 2, 103, 100), 1650);  // other button
    Send(Button(true, 2, 103, 100), 1700);  // right double click
    EXPECT_EQ(view.log, (std::vector<std::string>{"ldown 100,100", "ldown 100,100", "ldown 103,100",
                                                  "rdown", "rdbl"}));
}

TEST_F(InputRouter, FocusLossDeactivatesExceptWhileOurModalBoxIsUp)
{
    plat::RawEvent lost;
    lost.kind = plat::RawKind::FocusLost;
    {
        plat::CModalScope modal;
        Send(lost);
    }
    EXPECT_TRUE(frame.log.empty());
    Send(Key(true, 29));
    Send(lost);
    EXPECT_EQ(frame.log, (std::vector<std::string>{"deactivate"}));
    EXPECT_FALSE(router.AsyncKeyDown(plat::kVkControl));  // held keys are forgotten with the focus
}

TEST_F(InputRouter, CloseRequestsAreIgnored)
{
    plat::RawEvent close;
    close.kind = plat::RawKind::CloseRequest;
    Send(close);
    EXPECT_EQ(router.CloseRequests(), 1);
    EXPECT_TRUE(view.log.empty());
    EXPECT_TRUE(frame.log.empty());
}

}  // namespace
