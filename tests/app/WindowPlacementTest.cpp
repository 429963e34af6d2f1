#include <gtest/gtest.h>

#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "core/Display.h"
#include "support/Harness.h"

namespace {

constexpr const char* kKey = "Software\\Brennix\\Quorvel";

TEST(WindowPlacement, AMovedWindowIsRemembered)
{
    CHarness h{5000};
    plat::ISettings& s = h.Platform().settings;
    s.SetDword(kKey, "default", 100);
    s.SetDword(kKey, "Window_Position_LEFT", 100);
    s.SetDword(kKey, "Window_Position_TOP", 50);
    s.SetDword(kKey, "Window_Position_RIGHT", 899);
    s.SetDword(kKey, "Window_Position_BOTTOM", 649);
    s.SetDword(kKey, "Window_Position_FS", 0);
    ASSERT_TRUE(h.Start());
    ASSERT_TRUE(h.RunUntil([] { return g_gameFrameCount >= 1; }, 1000));
    ASSERT_FALSE(g_pView->m_pDisplay->IsFullScreen());

    h.Platform().video.windowRect = plat::Rect{300, 200, 1100, 800};
    plat::RawEvent moved;
    moved.kind = plat::RawKind::WindowMoved;
    h.Loop().InjectInput(moved);
    h.Step();
    EXPECT_EQ(s.GetDword(kKey, "Window_Position_LEFT"), 300u);
    EXPECT_EQ(s.GetDword(kKey, "Window_Position_TOP"), 200u);
    EXPECT_EQ(s.GetDword(kKey, "Window_Position_FS"), 0u);
}

}  // namespace
