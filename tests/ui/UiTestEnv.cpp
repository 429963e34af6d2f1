#include "ui/UiTestEnv.h"

#include <algorithm>

#include "app/CommandRing.h"
#include "app/FrameClock.h"
#include "fixtures/FontBuilder.h"
#include "fixtures/WidgetSprites.h"
#include "ui/WidgetGlobals.h"

CArchiveBuilder UiTest::Archive()
{
    CArchiveBuilder b = CArchiveBuilder::MinimalGame();
    CWidgetSprites::AddTo(b);
    b.Add("Btn.slr", CWidgetSprites::File(4, 30, 16, 10));
    b.Add("Row.slr", CWidgetSprites::File(6, 40, 12, 20));
    b.Add("Win.slr", CWidgetSprites::Picture(200, 150, 7));
    b.Add("Fan.slr", CWidgetSprites::File(3, 24, 24, 30));
    b.Add("Bar.slr", CWidgetSprites::File(1, 120, 12, 110));
    return b;
}

UiTest::UiTest() : m_world(Archive()), m_screen(800 * 600, 0)
{
    English(false);
    const Bytes han = CFontBuilder::HangulFont(), eng = CFontBuilder::EnglishFont();
    m_text.SetFontData(han.data(), han.size(), eng.data(), eng.size());
    g_pTextLayer = &m_text;
    ResetWidgetGlobals();
    g_commandRing.Reset();
    g_gmFlag = 0;
    g_uiFrameTicks = 1;
}

UiTest::~UiTest()
{
    g_layerHolder.SetLayer(nullptr);
    m_ui.reset();
    g_pTextLayer = nullptr;
    ResetWidgetGlobals();
    g_commandRing.Reset();
    g_gmFlag = 0;
}

CWidgetContainer& UiTest::Root()
{
    if (!m_ui) {
        m_ui = std::make_unique<CDaradirUzedo>(nullptr);
        g_layerHolder.SetLayer(m_ui.get());
    }
    return *m_ui->GetRootContainer();
}

std::vector<int32_t> UiTest::Commands()
{
    std::vector<int32_t> out;
    while (!g_commandRing.IsEmpty())
        out.push_back(static_cast<int32_t>(g_commandRing.Pop()));
    return out;
}

void UiTest::English(bool on)
{
    m_world.Platform().settings.SetString("Control Panel\\International", "Locale", on ? "00000409" : "00000412");
}

void UiTest::Frames(CWidget& w, int frames, uint32_t ticks)
{
    g_uiFrameTicks = ticks;
    for (int i = 0; i < frames; ++i)
        w.Draw(Screen());
}
