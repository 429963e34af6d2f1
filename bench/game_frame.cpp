// The whole game frame, CQuillonView::GameFrame as the loop calls it, on
// the headless platform, on a busy stage of the sample world:
// - logged in through the scripted server onto stage 0, here a field of
//   the sample ground whose object section holds 1,000 one-cell trees and
//   posts on the cells nearest mine that the walkers leave free (every 7th
//   cell among them, the rest round them);
// - 300 others, brought by one area update, on the cells within 13 of mine
//   (the client lets go of those farther off), each walking to and fro
//   between two cells: ordered as a move packet orders it whenever it
//   stands (the client takes one packet a frame, too few to keep 300 going);
// - the status panel and the profile window opened by their keys (the
//   other main windows close each other), the chat window with its 34
//   lines, and a chat line from one of the others every 10th frame (the
//   line, and its balloon for 401 frames: some 40 balloons up);
// - a busy battle's effects kept running on the field (bench/BusyBattle.h);
// - the cursor over the crowd.
// One iteration is one frame; between frames, outside the time, the server
// sends, the walkers get their orders, the effects are topped up and the
// clock comes to the frame's tick. The frame is presented to the headless
// screen without the copy and hash the tests keep of every present. Against
// a memcpy of the 800 x 600 frame.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "BusyBattle.h"
#include "RatioReporter.h"
#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "core/AnimSpriteSet.h"
#include "fixtures/MapFileBuilder.h"
#include "fixtures/SampleWorld.h"
#include "platform/Clock.h"
#include "platform/Loop.h"
#include "support/FakeServer.h"
#include "support/FieldLogIn.h"
#include "support/FrameDriver.h"
#include "support/Harness.h"
#include "ui/WidgetWindow.h"
#include "windows/DaradirUzedo.h"
#include "world/BGLayer.h"
#include "world/Character.h"
#include "world/CharacterRecord.h"
#include "world/ObjLayer.h"
#include "world/StructureObj.h"

namespace {

constexpr uint16_t kMyId = 7;
constexpr int kCx = 80, kCy = 80;  // my cell
constexpr int kMapCells = 160;
constexpr int kWalkers = 300, kStructures = 1000, kChatLines = 34;
constexpr int kReach = 13;  // the farthest a walker stands from me
constexpr uint16_t kFirstWalker = 1000;
constexpr int kChatWindow = 2;
constexpr int32_t kOpened[] = {6, 26};  // the status panel (Ctrl+S), the profile window (F4)
constexpr uint8_t kCtrl = 29, kKeyS = 31, kF4 = 62;
constexpr int kChatEvery = 10;  // frames

// The headless screen, keeping its record of a present (a copy and a hash
// of the frame, for the tests) only while asked to.
class CPresenter : public plat::CHeadlessVideo {
public:
    int Flip() override { return record ? CHeadlessVideo::Flip() : plat::kVideoOk; }
    int Blt(plat::VideoSurface s) override { return record ? CHeadlessVideo::Blt(s) : plat::kVideoOk; }
    bool record = false;
};

struct Cell {
    int x, y;
};

// Chebyshev distance from my cell, for the nearest-first choices.
int Ring(const Cell& c) { return std::max(std::abs(c.x - kCx), std::abs(c.y - kCy)); }

// Each walker's two cells side by side in a row, within 13 of mine: every
// 7th cell of a row, staggered from row to row, and mine are left out, which
// leaves exactly 300 pairs.
std::vector<Cell> WalkerHomes()
{
    std::vector<Cell> homes;
    for (int dy = -kReach; dy <= kReach; ++dy) {
        auto left = [dy](int dx) { return (dx == 0 && dy == 0) || ((dx + 4 * dy) % 7 + 7) % 7 == 0; };
        for (int dx = -kReach; dx + 1 <= kReach;) {
            if (left(dx) || left(dx + 1)) {
                ++dx;
                continue;
            }
            homes.push_back({kCx + dx, kCy + dy});
            dx += 2;
        }
    }
    homes.resize(std::min<size_t>(homes.size(), kWalkers));
    return homes;
}

// The sample ground, and trees and posts on the 1,000 cells nearest mine
// that no walker uses.
Bytes BusyStage(const std::vector<Cell>& homes)
{
    const std::vector<std::string>& tiles = CSampleWorld::StageTileFiles();
    CMapFileBuilder m(kMapCells, kMapCells);
    for (size_t i = 0; i < tiles.size(); ++i)
        m.TileName(static_cast<int>(i), tiles[i]);
    auto slotOf = [&tiles](const char* name) {
        return static_cast<uint8_t>(std::find(tiles.begin(), tiles.end(), name) - tiles.begin());
    };
    const uint8_t grass = slotOf("ground1"), stone = slotOf("stone1");
    for (int y = 0; y < kMapCells; ++y)
        for (int x = 0; x < kMapCells; ++x)
            m.Cell(x, y, 1, (x - kCx) % 6 == 0 || (y - kCy) % 6 == 0 ? stone : grass,
                   static_cast<uint16_t>((x * 7 + y * 3) % 3));
    std::vector<uint8_t> walked(static_cast<size_t>(kMapCells * kMapCells), 0);
    walked[static_cast<size_t>(kCy * kMapCells + kCx)] = 1;
    for (const Cell& h : homes)
        for (int x : {h.x, h.x + 1})
            walked[static_cast<size_t>(h.y * kMapCells + x)] = 1;
    std::vector<Cell> cells;
    for (int y = 2; y < kMapCells - 2; ++y)
        for (int x = 2; x < kMapCells - 2; ++x)
            if (!walked[static_cast<size_t>(y * kMapCells + x)])
                cells.push_back({x, y});
    std::stable_sort(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) { return Ring(a) < Ring(b); });
    for (int i = 0; i < kStructures; ++i) {
        const Cell c = cells[static_cast<size_t>(i)];
        const std::string building = i % 2 ? "tree" + std::to_string(1 + i / 2 % 6) : "post" + std::to_string(1 + i / 2 % 5);
        m.Structure(building, static_cast<uint32_t>(c.x), static_cast<uint32_t>(c.y), building, {0x00});
    }
    m.MapName("Busy town");
    return m.Build();
}

// [7][u16 sender][12-byte name][u8 mode][u16 length][text]
Bytes ChatLine(uint16_t sender, int n)
{
    char text[80];
    std::snprintf(text, sizeof text, "line %d: the quick brown fox jumps over the lazy dog", n);
    Bytes b{7};
    PutU16(b, sender);
    Bytes name(12, 0);
    std::snprintf(reinterpret_cast<char*>(name.data()), name.size(), "w%u", sender);
    b.insert(b.end(), name.begin(), name.end());
    b.push_back(0);  // said on the field
    PutU16(b, static_cast<uint16_t>(std::strlen(text)));
    b.insert(b.end(), text, text + std::strlen(text));
    return b;
}

struct Scene {
    std::vector<Cell> homes = WalkerHomes();
    CPresenter video;  // outlives the client the harness tears down
    CHarness h{5000};
    CTestArchive archive{Archive(), false};
    CFrameDriver drive{h};
    CObjLayer* layer = nullptr;
    CDaradirUzedo* ui = nullptr;
    CBusyBattle battle;
    std::vector<CCharacter*> walkers = std::vector<CCharacter*>(kWalkers);
    int chats = 0;
    bool ok = false;

    CArchiveBuilder Archive() const
    {
        CArchiveBuilder b = CSampleWorld::Builder();
        b.Replace("1stage.map", BusyStage(homes));
        return b;
    }

    Scene()
    {
        plat::SetVideo(&video);
        Bytes record(436, 0);
        record[CharacterRecord::kHp] = 90;
        record[CharacterRecord::kLevel] = 5;
        if (!LogInToField(h, kMyId, kCx, kCy, record))
            return;
        layer = g_pView->m_pObjLayer;
        ui = g_layerHolder.GetLayer();
        CFakeServer& server = h.Server();

        // [10][u16 cx][u16 cy][u16 count], records [u16 id][u16 x][u16 y][u16 type][u8 speed][u8 look]
        Bytes area{10};
        for (int v : {kCx, kCy, kWalkers})
            PutU16(area, static_cast<uint16_t>(v));
        for (int i = 0; i < kWalkers; ++i) {
            for (int v : {kFirstWalker + i, homes[static_cast<size_t>(i)].x, homes[static_cast<size_t>(i)].y, i % 6})
                PutU16(area, static_cast<uint16_t>(v));
            area.insert(area.end(), {12, 0});
        }
        server.Send(area);
        if (!drive.Frames([this] { return Walkers() == kWalkers; }, 100))
            return;

        h.KeyDown(kCtrl);
        drive.Key(kKeyS);
        h.KeyUp(kCtrl);
        drive.Key(kF4);
        for (int i = 0; i < kChatLines; ++i)
            server.Send(ChatLine(Speaker(), ++chats));
        if (!drive.Frames([this] { return OpenWindows() == static_cast<int>(std::size(kOpened)); }, 200))
            return;
        // Every line taken, the windows settled.
        drive.Frames([] { return false; }, kChatLines + 10);
        h.MouseMove(120, 300);
        drive.Frames([] { return false; }, 2);
        auto* chat = dynamic_cast<CWidgetWindow*>(ui->GetRootContainer()->FindChild(kChatWindow));
        ok = chat && chat->GetLineCount() == kChatLines && Structures() == kStructures &&
             OpenWindows() == static_cast<int>(std::size(kOpened)) && Walkers() == kWalkers;
    }

    uint16_t Speaker() const { return static_cast<uint16_t>(kFirstWalker + chats * 37 % kWalkers); }
    CCharacter* Walker(int i)
    {
        CCharacter*& c = walkers[static_cast<size_t>(i)];
        if (!c || !c->IsActive() || c->GetServerId() != kFirstWalker + i)
            c = layer->FindCharacterById(kFirstWalker + i);
        return c;
    }
    int Walkers()
    {
        int n = 0;
        for (int i = 0; i < kWalkers; ++i)
            n += Walker(i) != nullptr;
        return n;
    }
    int Walking()
    {
        int n = 0;
        for (int i = 0; i < kWalkers; ++i)
            if (CCharacter* c = Walker(i))
                n += c->GetAction() == CCreature::orderMove;
        return n;
    }
    int Structures()
    {
        int n = 0;
        for (int i = 0; i < CObjLayer::kStructures; ++i)
            n += layer->StructureSlot(i).IsActive() != 0;
        return n;
    }
    int OpenWindows()
    {
        int n = 0;
        for (int32_t id : kOpened) {
            const CWidget* w = ui->GetRootContainer()->FindChild(id);
            n += w && w->GetState() == CWidget::kOpen;
        }
        return n;
    }

    // Everything between two frames: the walkers that stand are sent on,
    // every 10th frame a chat line comes, the effects are topped up, the
    // loop takes what came and the clock reaches the next frame.
    void BetweenFrames()
    {
        for (int i = 0; i < kWalkers; ++i) {
            CCharacter* c = Walker(i);
            if (!c || c->GetOrder() != CCreature::orderStand || c->GetAction() != CCreature::orderStand)
                continue;
            const Cell& home = homes[static_cast<size_t>(i)];
            c->MoveTo(c->GetTileX() == home.x ? home.x + 1 : home.x, home.y, 1);
        }
        if (g_gameFrameCount % kChatEvery == 0)
            h.Server().Send(ChatLine(Speaker(), ++chats));
        int x = 0, y = 0;  // the middle of the field's view
        g_pView->m_pBGLayer->ScreenToWorld(layer->GetViewRight() / 2, layer->GetViewBottom() / 2, x, y);
        battle.Keep(*g_pView->m_pEffectManager, x, y, layer->GetMyCharacter(), layer->GetCharSet(0)->GetFrame(0));
        h.Step();  // no frame is due yet: sockets, messages and timers
        h.Clock().Set(g_nextFrameDue);
        g_frameTime = plat::NowMs();
    }
};

std::unique_ptr<Scene> g_scene;

Scene& TheScene()
{
    if (!g_scene)
        g_scene = std::make_unique<Scene>();
    return *g_scene;
}

void Frames(benchmark::State& state, bool recorded)
{
    Scene& s = TheScene();
    if (!s.ok) {
        state.SkipWithError("the busy stage did not come up");
        return;
    }
    s.video.record = recorded;
    // What the frames drew, counted after each (but the last).
    double walking = 0, entries = 0, effects = 0, counted = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (counted++ > 0) {
            walking += s.Walking();
            entries += s.layer->DrawList().GetCount();
            effects += g_pView->m_pEffectManager->CountActive();
        }
        s.BetweenFrames();
        state.ResumeTiming();
        g_pView->GameFrame();
    }
    s.video.record = false;
    const double n = std::max(counted - 1, 1.0);
    state.counters["walking"] = walking / n;
    state.counters["entries"] = entries / n;
    state.counters["effects"] = effects / n;
}

void BM_GameFrame(benchmark::State& state) { Frames(state, false); }
BENCHMARK(BM_GameFrame)->Unit(benchmark::kMicrosecond);

// The same with the tests' record of every present, for comparison.
void BM_GameFrameRecordedPresent(benchmark::State& state) { Frames(state, true); }
BENCHMARK(BM_GameFrameRecordedPresent)->Unit(benchmark::kMicrosecond);

BENCHMARK(BM_FrameCopyReference)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    // A scene that did not come up fails the run (the CI's smoke loop).
    const bool broken = g_scene && !g_scene->ok;
    g_scene.reset();
    const double frame = reporter.Time("BM_GameFrame");
    const double recorded = reporter.Time("BM_GameFrameRecordedPresent");
    const double copy = reporter.Time("BM_FrameCopyReference");
    if (frame > 0 && copy > 0)
        std::printf("game frame, %d walkers, %d structures, two windows and the chat (%d lines) open, a busy "
                    "battle's effects: %.0f us (budget 1000 us), %.1f frame copies; with the tests' record of the "
                    "present %.0f us\n",
                    kWalkers, kStructures, kChatLines, frame, frame / copy, recorded);
    benchmark::Shutdown();
    return broken ? 1 : 0;
}
