// The sample world: its generator writes the same bytes on every run, the
// client logs in on it against the demo server and walks on stage 0, and the
// real binary starts on the generator's file.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/QuillonView.h"
#include "core/ResFile.h"
#include "fixtures/SampleWorld.h"
#include "fixtures/TempDir.h"
#include "intro/IntroLayer.h"
#include "platform/Settings.h"
#include "support/ClientProcess.h"
#include "support/DemoServer.h"
#include "support/Harness.h"
#include "ui/WidgetContainer.h"
#include "windows/DaradirUzedo.h"
#include "windows/SystemWindows.h"
#include "windows/WindowTable.h"
#include "world/BGLayer.h"
#include "world/Npc.h"
#include "world/ObjLayer.h"
#include "world/StageLoader.h"

namespace {

constexpr const char* kServerKey = "Software\\Brennix\\Quorvel\\Server";

// The generator's exit status (-1 when it could not be run).
int RunGenerator(const std::vector<std::string>& args)
{
    std::vector<std::string> words = {QUORVEL_SAMPLE_WORLD_TOOL};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (rc != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST(SampleWorldGenerator, WritesTheSameBytesOnEveryRun)
{
    CTempDir a, b;
    ASSERT_EQ(RunGenerator({a.File("world")}), 0);
    ASSERT_EQ(RunGenerator({b.File("world")}), 0);
    const std::string first = ReadFile(a.File("world/Resource.dat"));
    ASSERT_GT(first.size(), 100000u);
    EXPECT_TRUE(first == ReadFile(b.File("world/Resource.dat")));
    const Bytes inProcess = CSampleWorld::Archive();
    EXPECT_TRUE(first == std::string(inProcess.begin(), inProcess.end())) << "the tool writes the fixture's bytes";
    EXPECT_TRUE(ReadFile(a.File("world/Resource.dat.part")).empty());
    // Again over an existing file: the same.
    ASSERT_EQ(RunGenerator({a.File("world")}), 0);
    EXPECT_TRUE(first == ReadFile(a.File("world/Resource.dat")));

    // Every window of the in-game directory has its picture (a missing one
    // is a data error box as the window first opens).
    {
        CTestArchive archive(inProcess);
        for (const SWindowRow& row : WindowTable()) {
            if (!row.sprite)
                continue;
            const int h = ResOpen(row.sprite);
            EXPECT_GE(h, 0) << row.sprite;
            if (h >= 0)
                ResClose(h);
        }
    }

    EXPECT_EQ(RunGenerator({}), 2);
    EXPECT_EQ(RunGenerator({a.File("x"), a.File("y")}), 2);
    EXPECT_EQ(RunGenerator({"/proc/no-such-place/world"}), 1);
}

// In process on the virtual clock: the intro, the log-in form typed by
// keys, the character screen, the connect steps and stage 0, with every
// entry the client opens on the way; then a walk and a talk.
TEST(SampleWorldClient, LogsInOnTheDemoServerWalksAndTalksToTheMerchant)
{
    CHarness h{5000};
    CTestArchive archive(CSampleWorld::Builder(), false);
    CDemoServer server;
    ASSERT_TRUE(server.Listening());
    server.Register();
    plat::Settings().SetString(kServerKey, "Host", "127.0.0.1");
    plat::Settings().SetDword(kServerKey, "Port", server.Port());
    ResClearMissedNames();
    ASSERT_TRUE(h.Start());

    auto scene = [] { return g_pView && g_pView->m_pIntroLayer ? g_pView->m_pIntroLayer->m_sceneState : -1; };
    ASSERT_TRUE(h.RunUntil([&] { return scene() == kSceneLogin; }, 400000)) << "scene " << scene();
    // "123", Tab, "45" (digits: the edit line starts in Hangul mode), each
    // key held for some frames; then the OK button.
    for (uint8_t scan : {0x02, 0x03, 0x04, 0x0F, 0x05, 0x06}) {
        h.KeyDown(scan);
        h.RunForMs(100);
        h.KeyUp(scan);
        h.RunForMs(100);
    }
    h.MouseMove(490, 480);
    h.RunForMs(100);
    h.MouseDown(1, 490, 480);
    h.RunForMs(100);
    h.MouseUp(1, 490, 480);
    auto boxes = [&] {
        std::string all;
        for (const auto& b : h.Boxes())
            all += b.text + "; ";
        return all;
    };
    ASSERT_TRUE(h.RunUntil([&] { return scene() == kSceneCharacter; }, 400000))
        << "scene " << scene() << ", boxes " << boxes() << ", log-ins seen " << server.Seen('x');
    h.RunForMs(200);
    // The first slot's OK button.
    h.Click(1, 158, 447);
    ASSERT_TRUE(h.RunUntil([&] { return scene() == kSceneInWorld && server.EnteredField(); }, 800000))
        << "scene " << scene() << ", step " << g_connectStep;
    h.RunForMs(500);
    EXPECT_GT(server.CommandsAfterEntry(), 0);
    EXPECT_EQ(g_lastLoadedStage, 0);
    // Names looked up in one archive may be found in the other: only those
    // in neither are missing.
    std::set<std::string> missing;
    const std::vector<std::string> missed = ResMissedNames();
    for (const std::string& name : missed)
        if (ResOpen(name.c_str()) < 0 && ResBindOpen(name.c_str()) < 0)
            missing.insert(name);
    EXPECT_EQ(missing, std::set<std::string>{}) << "every entry the client asked for is there";
    for (const auto& b : h.Boxes())
        EXPECT_EQ(b.text.find("Data file not found"), std::string::npos) << b.text;
    EXPECT_EQ(server.Dropped(), 0);

    // The connection holds while the others wander, and a click beside the
    // player walks there: the server takes the steps and echoes them.
    h.RunForMs(5000);
    EXPECT_FALSE(server.ClientGone());
    h.Click(1, 400 + 96, 240 + 48);
    h.RunUntil([&] { return server.Echoes() > 0; }, 200000);
    EXPECT_FALSE(server.Steps().empty());
    EXPECT_GT(server.Echoes(), 0);

    // The merchant of the town: his shop's talk button, two pages in the
    // message box, then a sword the server keeps in the player's list.
    h.RunForMs(3000);
    CObjLayer* layer = g_pView->m_pObjLayer;
    const CNpc* merchant = nullptr;
    for (int i = 0; i < CObjLayer::kNpcs && !merchant; ++i)
        if (layer->NpcSlot(i).IsActive() && layer->NpcSlot(i).GetValue() == 0 &&
            layer->NpcSlot(i).GetTileX() == 179 && layer->NpcSlot(i).GetTileY() == 292)
            merchant = &layer->NpcSlot(i);
    ASSERT_NE(merchant, nullptr);
    int sx = 0, sy = 0;
    layer->GetBackground()->WorldToScreen(merchant->GetPixelX(), merchant->GetPixelY(), sx, sy);
    h.Click(1, sx, sy - 20);
    CWidget* shop = g_layerHolder.GetLayer()->GetRootContainer()->FindChild(102);
    ASSERT_TRUE(h.RunUntil([&] { return shop->GetState() == CWidget::kOpen; }, 200000)) << sx << "," << sy;
    h.RunForMs(200);
    h.Click(1, 240 + 181 + 20, 123 + 85 + 10);
    ASSERT_TRUE(h.RunUntil([&] { return server.Items()[0] == 1; }, 800000));
    EXPECT_STREQ(g_pMessageBoxWin->GetLine(4), "Take this sword for the road, and come back when it is blunt.");
    // Ctrl+V: the inventory where the sword now lies.
    h.KeyDown(29);
    h.KeyDown(47);
    h.RunForMs(100);
    h.KeyUp(47);
    h.KeyUp(29);
    CWidget* inventory = g_layerHolder.GetLayer()->GetRootContainer()->FindChild(9);
    ASSERT_TRUE(h.RunUntil([&] { return inventory->GetState() == CWidget::kOpen; }, 200000));
    h.RunForMs(200);
    // The sword's icon in the grid's first cell, on the panel's plain ground.
    const plat::PresentRecord& shown = h.Platform().video.lastPresent;
    ASSERT_EQ(shown.pixels.size(), 800u * 600u);
    auto at = [&](int x, int y) { return shown.pixels[static_cast<size_t>(y) * 800 + static_cast<size_t>(x)]; };
    int icon = 0;
    for (int y = 445; y < 445 + 52; ++y)
        for (int x = 528 + 18; x < 528 + 18 + 73; ++x)
            icon += at(x, y) != at(528 + 5, 300) ? 1 : 0;
    EXPECT_GT(icon, 100) << "the sword is drawn in the inventory";
    EXPECT_TRUE(h.Boxes().empty()) << boxes();
    EXPECT_FALSE(h.Quit());
}

// The real binary under SDL's invisible drivers on the generator's file:
// the start-up checks pass, the demo server is reached and the client is
// still up two seconds into the log-in screen.
TEST(SampleWorldClient, RealClientStartsOnTheGeneratedFile)
{
    CTempDir dir;
    ASSERT_EQ(RunGenerator({dir.Path()}), 0);
    CDemoServer server;
    ASSERT_TRUE(server.Listening());
    WriteClientServerSettings(dir, server.Port());
    const std::string errPath = dir.File("stderr.txt");
    const pid_t pid = SpawnClient(dir, errPath, true);
    ASSERT_GT(pid, 0);
    auto pump = [&](int ms) {
        int status = 0;
        for (int i = 0; i < ms / 5; ++i) {
            server.Pump();
            SleepMs(5);
            if (waitpid(pid, &status, WNOHANG) == pid)
                return false;
        }
        return true;
    };
    bool up = true;
    for (int i = 0; i < 200 && up && !(server.Accepted() && ReadFile(errPath).find("loading 102") != std::string::npos);
         ++i)
        up = pump(100);
    if (up)
        up = pump(2000);
    int status = 0;
    if (up) {
        kill(pid, SIGTERM);
        waitpid(pid, &status, 0);
    }
    const std::string err = ReadFile(errPath);
    EXPECT_TRUE(up) << "the client stopped by itself:\n" << err;
    EXPECT_TRUE(server.Accepted());
    EXPECT_NE(err.find("loading 102"), std::string::npos) << err;
    // A message box would have been written to the terminal too.
    EXPECT_EQ(err.find('['), std::string::npos) << err;
}
