// The sample world: its generator writes the same bytes on every run and
// the real binary starts on the generator's file (PlayThroughTest plays it);
// a new character is made on it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/ExitGame.h"
#include "app/QuillonView.h"
#include "core/ResFile.h"
#include "fixtures/SampleWorld.h"
#include "fixtures/TempDir.h"
#include "intro/IntroLayer.h"
#include "platform/Settings.h"
#include "support/ClientProcess.h"
#include "support/DemoServer.h"
#include "support/Harness.h"
#include "support/SampleTown.h"
#include "ui/WidgetContainer.h"
#include "windows/DaradirUzedo.h"
#include "windows/SystemWindows.h"
#include "windows/UiService.h"
#include "world/BGLayer.h"
#include "world/Character.h"
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

    EXPECT_EQ(RunGenerator({}), 2);
    EXPECT_EQ(RunGenerator({a.File("x"), a.File("y")}), 2);
    EXPECT_EQ(RunGenerator({"/proc/no-such-place/world"}), 1);

    // Names are found by bisection without regard to case: the file and its
    // bound archive hold each name once, and the writer refuses a second.
    const Bytes file(first.begin(), first.end());
    auto u32 = [&](size_t at) {
        return at + 4 <= file.size() ? static_cast<uint32_t>(file[at] | file[at + 1] << 8 | file[at + 2] << 16 |
                                                             static_cast<uint32_t>(file[at + 3]) << 24)
                                     : 0u;
    };
    uint32_t bindAt = 0;
    for (const size_t base : {size_t{0}, size_t{1}}) {
        const size_t start = base ? bindAt : 0;
        const uint32_t count = u32(start + 11), index = u32(start + 15);
        ASSERT_GT(count, 0u);
        ASSERT_LE(start + index + 8 + size_t{count} * 48, file.size());
        std::set<std::string> names;
        for (uint32_t i = 0; i < count; ++i) {
            const size_t entry = start + index + 8 + size_t{i} * 48;
            std::string name(reinterpret_cast<const char*>(&file[entry + 1]));
            if (!base && name == "bindfile.dat")
                bindAt = u32(entry + 24);
            for (char& c : name)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            EXPECT_TRUE(names.insert(name).second) << name << " twice";
        }
        ASSERT_NE(bindAt, 0u);
    }
    CArchiveBuilder world = CSampleWorld::Builder();
    EXPECT_THROW(world.Add("BANK.SLR", Bytes{}), std::invalid_argument);
    EXPECT_THROW(world.Nested().Add("Weapon01.bin", Bytes{}), std::invalid_argument);
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

// A new character made on the demo server as a new user would: the empty
// second card, a name typed, YES; two colours picked, the figure in front
// chosen with a click and a double click; PLAY under the card. The server
// frees the name, takes the new record and lets it onto stage 0. Ctrl+X and
// YES leave.
TEST(SampleWorldClient, ANewCharacterIsMadeInAnEmptySlotAndPlays)
{
    constexpr uint8_t kM = 50, kI = 23, kR = 19, kA = 30;
    CSampleTown town;
    CDemoServer& game = town.game;
    ASSERT_TRUE(town.ToCharacterScreen(false));
    town.ClickAt(400, 250);
    town.h.RunForMs(300);
    town.Type({kM, kI, kR, kA}, true);
    town.ClickAt(522, 384);
    ASSERT_TRUE(town.h.RunUntil([] { return CSampleTown::Scene() == kSceneChooser; }, 100000));
    ASSERT_EQ(game.Taken(125).size(), 1u);
    const Bytes name = game.Taken(125)[0];
    ASSERT_EQ(name.size(), 13u);
    EXPECT_EQ(Bytes(name.begin(), name.begin() + 6), (Bytes{125, 'm', 'i', 'r', 'a', 0}));

    town.h.RunForMs(1000);
    // Colour A up twice (apart, not a double click) and colour B up once:
    // the look 2 << 3 | 1.
    town.ClickAt(760, 525);
    town.h.RunForMs(600);
    town.ClickAt(760, 525);
    town.ClickAt(760, 560);
    town.ClickAt(424, 320);
    town.h.RunForMs(1000);
    town.DoubleClickAt(424, 320);
    ASSERT_TRUE(town.h.RunUntil([] { return CSampleTown::Scene() == kSceneCharacter; }, 100000));
    town.h.RunForMs(300);
    ASSERT_TRUE(town.Play(2));

    const std::vector<Bytes> choice = game.Taken(2);
    ASSERT_EQ(choice.size(), 1u);
    EXPECT_EQ(Bytes(choice[0].begin(), choice[0].begin() + 8), (Bytes{2, 1, 6, 'm', 'i', 'r', 'a', 0}));
    EXPECT_EQ(game.Record().Name(), "mira");
    CObjLayer* layer = g_pView->m_pObjLayer;
    ASSERT_NE(layer->GetMyCharacter(), nullptr);
    // The server keeps the name it was given, and the rest of the record as
    // the client sent it.
    EXPECT_EQ(game.Record().U32(CharacterRecord::kClass), layer->MyRecord().U32(CharacterRecord::kClass));
    EXPECT_EQ(game.Record().U32(CharacterRecord::kLook), 17u);
    EXPECT_EQ(layer->MyRecord().U32(CharacterRecord::kLook), 17u);
    EXPECT_EQ(std::pair(layer->GetMyCharacter()->GetTileX(), layer->GetMyCharacter()->GetTileY()),
              std::pair(CDemoServer::kStartX, CDemoServer::kStartY));

    // Ctrl+X asks; YES, lit under the pointer in the question's top band,
    // leaves the game.
    constexpr uint8_t kCtrl = 29, kX = 45;
    town.Chord({kCtrl, kX});
    ASSERT_TRUE(town.h.RunUntil([] { return Ui().IsWindowOpen(36); }, 20000));
    town.h.RunForMs(500);
    town.h.MouseMove(470, 255);
    town.h.RunForMs(100);
    {
        const std::vector<uint8_t>& shown = town.h.Platform().video.lastPresent.pixels;
        ASSERT_EQ(shown.size(), 800u * 600u);
        EXPECT_NE(shown[246 * 800 + 470], shown[246 * 800 + 510]) << "YES lit beside NO";
        EXPECT_NE(shown[246 * 800 + 510], shown[300 * 800 + 400]) << "NO on the question";
    }
    town.ClickAt(470, 255);
    EXPECT_TRUE(IsExiting());
    EXPECT_TRUE(town.h.Boxes().empty());
    EXPECT_EQ(game.Dropped(), 0);
}
