#include <gtest/gtest.h>

#include <cstdlib>

#include "app/FatalError.h"
#include "app/MainFrame.h"
#include "app/QuillonApp.h"
#include "app/QuillonView.h"
#include "core/Locale.h"
#include "platform/Settings.h"
#include "support/Harness.h"

TEST(Locale, OnlyTheKoreanValueSelectsKoreanTexts)
{
    plat::CMemorySettings settings;
    plat::SetSettings(&settings);
    settings.SetString("Control Panel\\International", "Locale", "00000412");
    EXPECT_FALSE(IsNonKoreanLocale());
    settings.SetString("Control Panel\\International", "Locale", "00000409");
    EXPECT_TRUE(IsNonKoreanLocale());
    settings.SetString("Control Panel\\International", "Locale", "");
    EXPECT_TRUE(IsNonKoreanLocale());
    plat::SetSettings(nullptr);
}

TEST(FatalError, ShowsItsBoxThenTheProgramEndsInOrder)
{
    CHarness h;
    ASSERT_TRUE(h.Start());
    ASSERT_TRUE(h.RunUntil([] { return g_pView && g_pView->m_pDisplay; }, 20000));
    ShowFatalError("palette missing");
    EXPECT_FALSE(h.Step());
    ASSERT_EQ(h.Boxes().size(), 1u);
    EXPECT_EQ(h.Boxes()[0].caption, "Error Msg");
    EXPECT_EQ(h.Boxes()[0].text, "palette missing");
    EXPECT_EQ(h.Loop().ExitCode(), 1);
    theApp.ExitInstance();  // what main does once the loop has ended
    EXPECT_EQ(g_pView, nullptr);
}
