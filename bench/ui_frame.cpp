// One frame of the in-game UI layer as it runs in play: the client started
// on the headless platform, all 60 windows of the directory created, the
// chat window holding 34 lines and five windows sliding open and shut,
// against a memcpy of the screen.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "RatioReporter.h"
#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "core/Display.h"
#include "fixtures/IntroArchive.h"
#include "fixtures/WidgetSprites.h"
#include "support/Harness.h"
#include "ui/WidgetWindow.h"
#include "windows/DaradirUzedo.h"
#include "windows/WindowTable.h"

namespace {

constexpr int kChatLines = 34;
constexpr int32_t kSliding[] = {6, 9, 12, 26, 58};

// The game's archive with a picture for every window of the directory (a
// side panel's fills the right edge) and for the controls they build.
CArchiveBuilder Archive()
{
    CArchiveBuilder b = CIntroArchive::Game();
    auto base = [](const char* name) {
        const char* slash = std::strrchr(name, '\\');
        return std::string(slash ? slash + 1 : name);
    };
    for (const SWindowRow& row : WindowTable()) {
        if (!row.sprite)
            continue;
        const bool side = row.base == EWindowBase::kSidePanel || row.base == EWindowBase::kListSidePanel;
        b.Replace(base(row.sprite), side ? CWidgetSprites::Picture(272, 600, 5) : CWidgetSprites::Picture(320, 200, 6));
    }
    for (const char* name : {"okg1", "cancelg1", "confirmbutton", "MailDn", "MailUp", "MailQuit", "MailWrite",
                             "MailRead", "MailSearch", "MailErase", "BullReLoad", "BullReList", "MailLeft", "MailRight",
                             "SearchDat", "SearchTTL", "SearchID", "Searching", "SlideBtn", "CheckBox", "BullTab",
                             "SupWin", "ReactWin", "ActWin"})
        b.Replace(std::string(name) + ".slr", CWidgetSprites::File(5, 30, 16, 11));
    b.Replace("ChatWin.slr", CWidgetSprites::Picture(800, 152, 7));
    return b;
}

struct Client {
    CHarness h{5000};
    CTestArchive archive{Archive(), false};
    CDaradirUzedo* ui = nullptr;
    CDisplay* display = nullptr;
    bool ok = false;

    Client()
    {
        if (!h.Start() || !h.RunUntil([] { return g_pView && g_pView->m_pDisplay && g_gameFrameCount >= 2; }))
            return;
        display = g_pView->m_pDisplay;
        ui = g_layerHolder.GetLayer();
        if (!ui || display->Lock() != 0 || !display->GetBits())
            return;
        ui->OnFrame();  // creates the windows
        auto* chat = dynamic_cast<CWidgetWindow*>(ui->GetRootContainer()->FindChild(2));
        if (!chat || ui->GetRootContainer()->GetChildCount() != 60)
            return;
        for (int i = 0; i < kChatLines; ++i)
            chat->AddTextLine("The quick brown fox jumps over the lazy dog, line by line.", 69);
        ok = true;
    }
    // Keeps the five windows moving: each turns round once it arrives.
    void KeepSliding()
    {
        for (int32_t id : kSliding) {
            CWidget* w = ui->GetRootContainer()->FindChild(id);
            if (w->GetState() == CWidget::kOpen)
                w->SetState(CWidget::kClosing);
            else if (w->GetState() == CWidget::kClosed)
                w->SetState(CWidget::kOpening);
        }
    }
};

Client& TheClient()
{
    static Client* client = new Client;
    return *client;
}

void BM_UiFrame(benchmark::State& state)
{
    Client& c = TheClient();
    if (!c.ok) {
        state.SkipWithError("the client did not come up");
        return;
    }
    for (auto _ : state) {
        c.KeepSliding();
        g_frameNow += 33;  // two UI ticks a frame, as at 30 frames a second
        benchmark::DoNotOptimize(c.ui->OnFrame());
        benchmark::DoNotOptimize(c.display->GetBits());
    }
}
BENCHMARK(BM_UiFrame)->Unit(benchmark::kMicrosecond);

void BM_MemcpyScreenReference(benchmark::State& state)
{
    std::vector<uint8_t> from(800 * 600, 9), to(800 * 600);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::DoNotOptimize(to.data());
    }
}
BENCHMARK(BM_MemcpyScreenReference)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double frame = reporter.Time("BM_UiFrame");
    const double ref = reporter.Time("BM_MemcpyScreenReference");
    if (frame > 0 && ref > 0)
        std::printf("UI layer frame, 60 windows, %d chat lines, %zu sliding: %.1f us (budget 1500 us); "
                    "frame / memcpy of the screen: %.2f\n",
                    kChatLines, std::size(kSliding), frame, frame / ref);
    benchmark::Shutdown();
    return 0;
}
