// A window with buttons, a list and a scroll bar, built from the synthetic
// widget sprites and drawn through the root container, pinned by the hashes
// of the screen mid-slide and at rest. To regenerate after an intended change
// of the picture, run this test with QUORVEL_UPDATE_GOLDEN=1 and commit the
// files.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/headless/HeadlessVideo.h"
#include "support/Golden.h"
#include "ui/ButtonWidget.h"
#include "ui/CheckBox.h"
#include "ui/ListWidgetEx.h"
#include "ui/ScrollBarWidget.h"
#include "ui/UiTestEnv.h"
#include "ui/WidgetWindow.h"

namespace {

class WidgetGolden : public UiTest {
protected:
    std::string Hash() { return GoldenHex(plat::CHeadlessVideo::Hash(Screen(), 800 * 600)); }
};

TEST_F(WidgetGolden, WindowWithButtonsListAndScrollBar)
{
    English(true);
    CWidgetContainer& root = Root();
    auto* win = new CWidgetWindow(30, kWindow, 100, 100, 100, -200, 0);
    root.AddChild(win);
    auto* ok = new CButtonWidget(31, kButton, win, 10, 120, 5, 15);
    ok->SetTooltip("확인", "OK");
    win->AddChild(ok);
    win->AddChild(new CButtonWidget(32, kButton, win, 50, 120, 6, 15));
    win->AddChild(new CCheckBox(33, kButton, win, 110, 120, 7, 1));
    int32_t selection = 3;
    auto* list = new CListWidgetEx(win, 10, 10, win->GetSprite(), 10, 10, 120, 90, 4, 2, 6, &selection);
    const char* rows[] = {"alpha", "beta", "gamma", "delta", "epsilon", "zeta", "eta", "theta"};
    for (int i = 0; i < 8; ++i)
        list->AddRow(rows[i], i + 1);
    win->AddChild(list);
    win->AddChild(new CScrollBarWidget(win, 150, 10, 150, 90, 150, 22, 164, 90, list));

    std::map<std::string, std::string> got;
    win->Toggle();
    g_uiFrameTicks = 2;
    for (int frame = 0; frame < 3; ++frame) {
        ClearScreen();
        root.Draw(Screen());
    }
    got["widget_window_sliding"] = Hash();
    for (int frame = 0; frame < 10 && win->GetState() != CWidget::kOpen; ++frame)
        root.Draw(Screen());
    ASSERT_EQ(win->GetState(), CWidget::kOpen);
    list->Refresh();
    root.OnMouseMove(115, 225);  // over the first button
    ClearScreen();
    root.Draw(Screen());
    got["widget_window_open"] = Hash();
    EXPECT_EQ(Pixel(115, 225), 11) << "hovered";
    EXPECT_EQ(Pixel(110, 206), 60) << "its tooltip";

    const GoldenResult golden = CheckGoldens(got);
    if (golden.updated)
        GTEST_SKIP() << "golden hashes written";
    for (const std::string& m : golden.mismatches)
        ADD_FAILURE() << m;
}

}  // namespace
