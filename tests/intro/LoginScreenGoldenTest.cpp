// The log-in screen built from a synthetic archive, pinned by the hash of
// the presented frame. To regenerate after an intended change of the
// picture, run this test with QUORVEL_UPDATE_GOLDEN=1 and commit the files.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "core/Display.h"
#include "fixtures/IntroArchive.h"
#include "intro/IntroLayer.h"
#include "support/FakeServer.h"
#include "support/Golden.h"
#include "support/Harness.h"

namespace {

TEST(LoginScreenGolden, PresentedFramesMatch)
{
    CHarness h{5000};
    CFakeServer server;
    server.UseForClient();
    server.Register();
    CTestArchive archive(CIntroArchive::Game(800, 600), false);
    ASSERT_TRUE(h.Start());
    auto nextFrame = [&] {
        const uint32_t n = g_gameFrameCount;
        ASSERT_TRUE(h.RunUntil([&] { return g_gameFrameCount > n; }, 1000));
    };
    nextFrame();
    nextFrame();
    CQuillonView* view = g_pView;
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->m_pIntroLayer->m_sceneState, kSceneLogin);

    const plat::PresentRecord& shown = h.Platform().video.lastPresent;
    ASSERT_EQ(shown.depth, 8);
    const std::vector<uint8_t>& px = shown.pixels;
    // The background picture covers the screen to its last row.
    ASSERT_NE(px[0], px[1]);
    ASSERT_NE(px[599 * 800 + 798], 0);
    std::map<std::string, std::string> got;
    got["login_screen"] = GoldenHex(shown.hash);
    h.MouseDown(1, 470, 470);  // OK held down
    nextFrame();
    got["login_screen_ok_held"] = GoldenHex(h.Platform().video.lastPresent.hash);
    EXPECT_TRUE(h.Boxes().empty());

    const GoldenResult golden = CheckGoldens(got);
    if (golden.updated)
        GTEST_SKIP() << "golden hashes written";
    for (const std::string& m : golden.mismatches)
        ADD_FAILURE() << m;
}

}  // namespace
