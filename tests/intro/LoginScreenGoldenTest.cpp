// The log-in screen built from a synthetic archive, pinned by the hash of
// the presented frame. To regenerate after an intended change of the
// picture, run this test with QUORVEL_UPDATE_GOLDEN=1 and commit the file.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "core/Display.h"
#include "fixtures/IntroArchive.h"
#include "intro/IntroLayer.h"
#include "support/FakeServer.h"
#include "support/Harness.h"

namespace {

const std::string kGoldenFile = std::string(QUORVEL_SOURCE_DIR) + "/tests/golden/login_screen.txt";

std::string HashFrame(const std::vector<uint8_t>& px)
{
    uint64_t h = 1469598103934665603ull;  // FNV-1a
    for (uint8_t b : px) {
        h ^= b;
        h *= 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
    return text;
}

std::map<std::string, std::string> ReadGolden()
{
    std::map<std::string, std::string> out;
    std::ifstream in(kGoldenFile);
    std::string name, hash;
    while (in >> name >> hash)
        out[name] = hash;
    return out;
}

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

    const std::vector<uint8_t>& px = view->m_pDisplay->BackBuffer();
    // The background picture covers the screen to its last row.
    ASSERT_NE(px[0], px[1]);
    ASSERT_NE(px[599 * 800 + 798], 0);
    std::map<std::string, std::string> got;
    got["login"] = HashFrame(view->m_pDisplay->BackBuffer());
    h.MouseDown(1, 470, 470);  // OK held down
    nextFrame();
    got["login_ok_held"] = HashFrame(view->m_pDisplay->BackBuffer());
    EXPECT_TRUE(h.Boxes().empty());

    const char* update = std::getenv("QUORVEL_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        std::ofstream out(kGoldenFile);
        for (const auto& [name, hash] : got)
            out << name << ' ' << hash << '\n';
        GTEST_SKIP() << "golden hashes written to " << kGoldenFile;
    }
    const auto want = ReadGolden();
    ASSERT_FALSE(want.empty()) << "no golden file; run with QUORVEL_UPDATE_GOLDEN=1";
    for (const auto& [name, hash] : got) {
        const auto it = want.find(name);
        ASSERT_NE(it, want.end()) << name;
        EXPECT_EQ(hash, it->second) << name;
    }
}

}  // namespace
